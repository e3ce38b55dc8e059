#pragma once

#include "core/input/DispatchTargets.h"
#include "core/switcher/TileGrid.h"
#include "core/switcher/TileGridPanel.h"
#include "core/windows/Lifetime.h"
#include "core/windows/WindowInfo.h"

#include <functional>
#include <memory>
#include <optional>

namespace fenwold {

class InputRoutingState;
class Windows;
class Screens;
class MainQueue;

// After a window is snapped to one half of the screen, offers the other windows as tiles in the
// empty half; the picked one is brought forward and snapped there. While it shows, the event tap
// hands it every key-down.
class SnapAssistController final : public SnapAssistTarget {
public:
    struct Parts {
        InputRoutingState* routing = nullptr;
        Windows* windows = nullptr;
        Screens* screens = nullptr;
        MainQueue* mainQueue = nullptr;
        Metrics* metrics = nullptr;
    };
    // Builds the panel over the controller's model on the first layout.
    using PanelFactory = std::function<std::unique_ptr<TileGridPanel>(SwitcherModel&)>;

    SnapAssistController(const Parts& parts, PanelFactory makePanel);

    // Event-tap thread: decides whether the key is ours and queues the work.
    bool handleKey(int64_t key, bool shift) override;
    void show(bool snappedLeft, uint32_t snappedWindowID) override;
    // Opens only after a half snap, with at least one other window to offer.
    void show(WindowSnap snapped, uint32_t snappedWindowID);
    // Hides the panel, empties the grid and gives the keyboard back.
    void close();

    void relayout();
    void move(int step);
    void pick(int index);

    const SwitcherModel& model() const { return model_; }
    TileGridPanel* panel() const { return panel_.get(); }
    WindowSnap otherSide() const { return otherSide_; }

private:
    void tileAction(int index, TileAction action);

    Parts p_;
    PanelFactory makePanel_;
    SwitcherModel model_; // before the panel, which observes it
    std::unique_ptr<TileGridPanel> panel_;
    WindowSnap otherSide_ = WindowSnap::right;
    Lifetime lifetime_;
};

} // namespace fenwold
