#pragma once

#include "MenuPresenter.h"
#include "core/input/DispatchTargets.h"
#include "core/input/InputRoutingState.h"
#include "core/windows/Lifetime.h"
#include "core/windows/WindowInfo.h"
#include "ports/Platform.h"
#include "ports/Subscription.h"

#include <QColor>
#include <QString>
#include <optional>
#include <vector>

namespace fenwold {

class Windows;
class Trace;

enum class WindowMenuAction {
    restore,
    startMove,
    minimize,
    maximize,
    snapLeft,
    snapRight,
    fullScreen,
    fullScreenLeft,
    fullScreenRight,
    close,
    quitApp,
};

// One row of the window menu and what it does; an item without an action is disabled.
struct WindowMenuItem : MenuRow {
    std::optional<WindowMenuAction> action;

    static WindowMenuItem divider() { return {MenuRow::divider(), std::nullopt}; }
};

// The Alt+Space menu for the frontmost window and its keyboard move: the pointer jumps onto the
// title bar, the window follows the pointer, arrows nudge it, Return keeps and Escape restores.
class WindowMenuController final : public WindowMenuTarget {
public:
    static constexpr double kMoveStep = 25;
    static constexpr double kBelowCloseButton = 6;
    static constexpr double kCornerInset = 16;
    static constexpr double kScreenMargin = 8;
    static constexpr double kTitlebarDrop = 14;
    static const QColor kYellow;
    static const QColor kGreen;
    static const QColor kRed;

    // `assist` and `trace` may be null.
    WindowMenuController(const Platform& platform, Windows& windows, InputRoutingState& routing,
                         SnapAssistTarget* assist, MenuPresenter& presenter, Trace* trace);

    // WindowMenuTarget.
    void show() override;
    bool handleMoveKey(int64_t key, const WindowMoveTarget& target) override;
    void endMove(bool restore) override;

    // The rows for a window in a mode, its application's bundle identifier and name.
    static std::vector<WindowMenuItem> items(WindowMode mode, const std::optional<QString>& bundleID,
                                             const std::optional<QString>& appName);
    // Where the menu's top-left corner goes (screen coordinates) for a window frame, its close
    // button (both Accessibility coordinates), the visible frame of its screen and the primary
    // screen's height.
    static Point placement(const Rect& frame, const std::optional<Rect>& closeButton, const Rect& visible,
                           double primaryHeight, Size menu);

    void perform(WindowMenuAction action);

    // State, for tests and diagnostics.
    std::optional<WindowTarget> target() const { return target_; }
    WindowMode mode() const { return mode_; }
    bool isFollowingPointer() const { return moveMonitor_.active(); }
    std::optional<Point> moveOrigin() const { return moveOrigin_; }

private:
    void startMove();
    void beginMove(WindowTarget t);
    void attach();
    void step(const WindowMoveTarget& t, double dx, double dy);
    void snapTo(WindowSnap snap, WindowMode undoMode);
    void fullScreenSide(bool left);
    double primaryHeight() const;

    Platform platform_;
    Windows& windows_;
    InputRoutingState& routing_;
    SnapAssistTarget* assist_;
    MenuPresenter& presenter_;
    Trace* trace_;

    std::optional<WindowTarget> target_;
    WindowMode mode_ = WindowMode::normal;
    Subscription moveMonitor_;
    std::optional<Point> grabOffset_;
    std::optional<Point> moveOrigin_;
    Lifetime lifetime_;
};

} // namespace fenwold
