#pragma once

#include "core/input/DispatchTargets.h"
#include "core/switcher/TileGrid.h"
#include "core/switcher/TileGridPanel.h"
#include "core/windows/Lifetime.h"
#include "core/windows/WindowInfo.h"
#include "ports/Screens.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace fenwold {

class InputRoutingState;
class Windows;
class Screens;
class MainQueue;

// After a window is snapped, offers the other windows as tiles in the zones left empty on its
// display: the other half after a half snap, the rest of a layout after a pick from the snap
// layouts, one zone after the other. The picked window is brought forward and snapped into the
// zone. While it shows, the event tap hands it every key-down.
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
    void dismiss() override;
    void show(bool snappedLeft, uint32_t snappedWindowID) override;
    // Opens only after a half snap, with at least one other window to offer.
    void show(WindowSnap snapped, uint32_t snappedWindowID);
    // Offers the other windows for these zones of the snapped window's display, in order;
    // nothing without a zone or another window.
    void offer(std::vector<WindowSnap> zones, uint32_t snappedWindowID);
    // Hides the panel, empties the grid, forgets the zones left and gives the keyboard back.
    void close();

    void relayout();
    void move(int step);
    void pick(int index);

    const SwitcherModel& model() const { return model_; }
    TileGridPanel* panel() const { return panel_.get(); }
    // The zone being offered, and the ones after it.
    WindowSnap zone() const { return zones_.empty() ? WindowSnap::right : zones_.front(); }
    const std::vector<WindowSnap>& zones() const { return zones_; }

private:
    // Shows the grid of these windows, less the ones already placed, for the first zone left;
    // closes when no zone or no window is left.
    void offerNext(std::vector<WindowInfo> windows);
    void tileAction(int index, TileAction action);

    Parts p_;
    PanelFactory makePanel_;
    SwitcherModel model_; // before the panel, which observes it
    std::unique_ptr<TileGridPanel> panel_;
    std::vector<WindowSnap> zones_;
    std::vector<uint32_t> placed_; // the snapped window and the ones picked since
    std::optional<ScreenInfo> screen_;
    uint64_t offers_ = 0; // tells a pick's queued next zone that a new offer has begun
    Lifetime lifetime_;
};

} // namespace fenwold
