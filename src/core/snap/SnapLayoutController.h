#pragma once

#include "SnapLayoutPanel.h"
#include "core/input/DispatchTargets.h"
#include "core/windows/Lifetime.h"
#include "core/windows/WindowInfo.h"
#include "ports/Screens.h"

#include <functional>
#include <memory>
#include <optional>

namespace fenwold {

class InputRoutingState;
class Windows;
class Screens;
class MainQueue;
class PrefsStore;
class SnapAssistController;

// The snap layouts: a small panel over the front window with the layouts of its display, each
// drawn as its zones. A digit chooses a layout and a second digit one of its zones; arrows, Tab
// and Return do the same one zone at a time; a click on a zone picks it; Escape, any other key or
// a click elsewhere closes it. The front window is snapped into the picked zone, after which snap
// assist offers the other windows for the layout's other zones. While it shows, the event tap
// hands it the keys pressed without Command, Control or Option.
class SnapLayoutController final : public SnapLayoutTarget {
public:
    struct Parts {
        InputRoutingState* routing = nullptr;
        Windows* windows = nullptr;
        Screens* screens = nullptr;
        MainQueue* mainQueue = nullptr;
        PrefsStore* prefs = nullptr;
        SnapAssistController* assist = nullptr; // optional
    };
    // Builds the panel on first use.
    using PanelFactory = std::function<std::unique_ptr<SnapLayoutPanel>()>;

    SnapLayoutController(const Parts& parts, PanelFactory makePanel);

    // Event-tap thread: decides whether the key is ours and queues the work.
    bool handleKey(int64_t key, bool shift) override;
    // Opens over the front window, or closes when it is open (the shortcut toggles it).
    void show() override;
    void close();
    bool isOpen() const { return target_.has_value(); }

    // Main thread, what the keys do: the next or previous zone of all layouts in turn, the
    // layout in the row above or below, a digit, and snapping into a zone.
    void move(int step);
    void moveRow(int step);
    void digit(int n);
    void pick(int layout, int zone);

    const SnapLayoutState& state() const { return state_; }
    // The window the panel is over.
    std::optional<WindowTarget> target() const { return target_; }
    SnapLayoutPanel* panel() const { return panel_.get(); }

private:
    void select(int layout, int zone);
    int zoneCount(int layout) const;

    Parts p_;
    PanelFactory makePanel_;
    std::unique_ptr<SnapLayoutPanel> panel_;
    SnapLayoutState state_;
    std::optional<WindowTarget> target_;
    std::optional<ScreenInfo> screen_;
    Rect frame_;
    Lifetime lifetime_;
};

} // namespace fenwold
