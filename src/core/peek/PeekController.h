#pragma once

#include "DockArea.h"
#include "DockTarget.h"
#include "EmptyPeekPanel.h"
#include "core/switcher/TileGridPanel.h"
#include "core/windows/Lifetime.h"
#include "ports/Accessibility.h"
#include "ports/MainQueue.h"
#include "ports/Platform.h"
#include "ports/Screens.h"
#include "ports/Subscription.h"

#include <functional>
#include <limits>
#include <optional>

namespace fenwold {

class Windows;

// The Dock peek: while the pointer rests on a Dock icon, a panel next to it previews all of that
// application's windows (minimised and hidden ones too), or says there are none. It follows the
// pointer with mouse-moved monitors and asks the Dock's Accessibility tree what is under it.
// Main thread.
class PeekController {
public:
    static constexpr double kGrace = 24;
    static constexpr double kEdgeReach = 130;
    static constexpr double kHitInterval = 0.05;
    static constexpr double kHideDelay = 0.3;
    static constexpr double kFirstShowDelay = 0.35;
    static constexpr double kNextShowDelay = 0.25;
    static constexpr double kRefreshInterval = 0.3;
    static constexpr double kRefreshTolerance = 0.1;
    static constexpr double kPauseAfterTileAction = 1.0;
    static constexpr double kPeekGap = 10;
    static constexpr double kEmptyGap = 48;
    static constexpr double kScreenMargin = 8;
    static constexpr double kHeaderHeight = 26;

    enum class EmptyReason { noWindows, notRunning };

    // What the peek works with; the panels, the model and the metrics belong to the caller.
    struct Parts {
        Platform platform;
        Windows* windows = nullptr;
        Metrics* metrics = nullptr;
        SwitcherModel* model = nullptr;
        TileGridPanel* panel = nullptr;
        EmptyPeekPanel* emptyPanel = nullptr;
        TileOperations* operations = nullptr;
    };

    explicit PeekController(const Parts& parts);
    PeekController(const PeekController&) = delete;
    PeekController& operator=(const PeekController&) = delete;

    // Install the mouse-moved monitors and follow applications quitting. Once.
    void start();
    // While the test answers true the peek neither shows nor stays (a switcher session or the
    // clipboard shelf owns the screen).
    void setSuppressed(std::function<bool()> suppressed) { suppressed_ = std::move(suppressed); }
    // Close everything at once and forget what was hovered.
    void hideNow();

    void mouseMoved();
    std::optional<DockTarget> dockItemAt(Point screenPoint);
    void show(int32_t pid);
    void showEmpty(EmptyReason reason);
    void relayout();
    void startLiveRefresh();
    // Where a panel of this size goes next to the hovered icon, inside the visible frame.
    Point origin(Size size, double gap) const;
    bool nearEdge(Point screenPoint) const;

    // State, for tests and diagnostics.
    const QString& currentKey() const { return currentKey_; }
    const QString& hoverKey() const { return hoverKey_; }
    std::optional<QString> header() const { return header_; }
    bool isShowing() const;
    bool hasCachedDock() const { return dockAX_.has_value(); }
    // Where the pointer found Dock icons, for the event tap (read on its thread).
    const DockArea& dockArea() const { return dockArea_; }

private:
    void onTileAction(int index, TileAction action);
    void refreshTick();
    void scheduleShow(const DockTarget& target, double delay);
    void noteDockArea(Point screenPoint, const std::optional<DockTarget>& target);
    std::optional<ScreenInfo> mainScreen() const;
    bool suppressed() const { return suppressed_ && suppressed_(); }

    Parts p_;
    QString currentKey_;
    QString hoverKey_;
    Rect anchor_;
    TimerHandle showTimer_;
    TimerHandle hideTimer_;
    TimerHandle refreshTimer_;
    double lastTileAction_ = -std::numeric_limits<double>::infinity();
    double lastHit_ = -std::numeric_limits<double>::infinity();
    std::optional<AXElement> dockAX_;
    std::optional<QString> header_;
    QString emptyKey_; // the target the empty panel speaks for
    std::function<bool()> suppressed_;
    DockArea dockArea_;
    Subscription mouseMonitor_;
    Subscription workspaceSub_;
    Lifetime lifetime_;
};

} // namespace fenwold
