#include "WindowMenuController.h"

#include "core/input/Keys.h"
#include "core/input/Trace.h"
#include "core/settings/Prefs.h"
#include "core/windows/Windows.h"
#include "ports/MainQueue.h"
#include "ports/Screens.h"
#include "ports/Workspace.h"

#include <algorithm>

namespace fenwold {

QString literalMenuTitle(const QString& text) {
    QString out = text;
    return out.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

std::optional<QChar> menuRowLetter(const QString& title) {
    for (qsizetype i = 0; i + 1 < title.size(); ++i) {
        if (title[i] != QLatin1Char('&')) continue;
        if (title[i + 1] != QLatin1Char('&')) return title[i + 1].toLower();
        ++i; // an ampersand shown as it is
    }
    return std::nullopt;
}

QString menuRowText(const QString& title) {
    QString out;
    for (qsizetype i = 0; i < title.size(); ++i) {
        if (title[i] == QLatin1Char('&') && i + 1 < title.size()) ++i;
        out += title[i];
    }
    return out;
}

const QColor WindowMenuController::kYellow = QColor::fromRgbF(0.996f, 0.737f, 0.18f);
const QColor WindowMenuController::kGreen = QColor::fromRgbF(0.157f, 0.784f, 0.251f);
const QColor WindowMenuController::kRed = QColor::fromRgbF(1.0f, 0.373f, 0.341f);

WindowMenuController::WindowMenuController(const Platform& platform, Windows& windows,
                                           InputRoutingState& routing, SnapAssistTarget* assist,
                                           MenuPresenter& presenter, Trace* trace)
    : platform_(platform), windows_(windows), routing_(routing), assist_(assist), presenter_(presenter),
      trace_(trace) {}

std::vector<WindowMenuItem> WindowMenuController::items(WindowMode mode,
                                                        const std::optional<QString>& bundleID,
                                                        const std::optional<QString>& appName) {
    using A = WindowMenuAction;
    auto item = [](QString title, A action, QString symbol, std::optional<QColor> tint = {},
                   bool checked = false) {
        return WindowMenuItem{{false, std::move(title), std::move(symbol), tint, checked, true}, action};
    };
    const bool quittable = bundleID && !bundleID->isEmpty() && !Windows::neverQuit.contains(*bundleID);
    // The application's name as it is: an ampersand in it chooses nothing.
    WindowMenuItem quit =
        item(QStringLiteral("Quit ") + literalMenuTitle(appName.value_or(QStringLiteral("App"))), A::quitApp,
             QStringLiteral("power"), quittable ? std::optional<QColor>(kRed) : std::nullopt);
    if (!quittable) {
        quit.action.reset();
        quit.enabled = false;
    }
    return {
        item(QStringLiteral("Restore"), A::restore, QStringLiteral("arrow.uturn.backward")),
        item(QStringLiteral("Move"), A::startMove,
             QStringLiteral("arrow.up.and.down.and.arrow.left.and.right")),
        item(QStringLiteral("Minimize"), A::minimize, QStringLiteral("minus.circle.fill"), kYellow),
        item(QStringLiteral("Maximize"), A::maximize, QStringLiteral("rectangle.inset.filled"), {},
             mode == WindowMode::maximized),
        item(QStringLiteral("Snap Left"), A::snapLeft, QStringLiteral("rectangle.leadinghalf.filled"), {},
             mode == WindowMode::snappedLeft),
        item(QStringLiteral("Snap Right"), A::snapRight, QStringLiteral("rectangle.trailinghalf.filled"), {},
             mode == WindowMode::snappedRight),
        WindowMenuItem::divider(),
        item(QStringLiteral("Full Screen — Entire Screen"), A::fullScreen,
             QStringLiteral("arrow.up.left.and.arrow.down.right"), kGreen, mode == WindowMode::fullscreen),
        item(QStringLiteral("Full Screen — Left of Screen"), A::fullScreenLeft,
             QStringLiteral("rectangle.lefthalf.inset.filled"), kGreen, mode == WindowMode::tiledLeft),
        item(QStringLiteral("Full Screen — Right of Screen"), A::fullScreenRight,
             QStringLiteral("rectangle.righthalf.inset.filled"), kGreen, mode == WindowMode::tiledRight),
        WindowMenuItem::divider(),
        item(QStringLiteral("Close"), A::close, QStringLiteral("xmark.circle.fill"), kRed),
        quit,
    };
}

Point WindowMenuController::placement(const Rect& frame, const std::optional<Rect>& closeButton,
                                      const Rect& visible, double primaryHeight, Size menu) {
    const Point anchor = closeButton ? Point{closeButton->minX(), closeButton->maxY() + kBelowCloseButton}
                                     : Point{frame.x + kCornerInset, frame.y + kCornerInset};
    const double x = std::max(std::min(anchor.x, visible.maxX() - menu.width - kScreenMargin),
                              visible.minX() + kScreenMargin);
    const double y = std::min(primaryHeight - anchor.y, visible.maxY() - kScreenMargin);
    return {x, y};
}

double WindowMenuController::primaryHeight() const {
    const auto screens = platform_.screens->screens();
    return screens.empty() ? 0 : screens.front().frame.maxY();
}

void WindowMenuController::show() {
    // Opening the menu again ends a move in progress; the window stays where it is.
    endMove(false);
    const auto front = windows_.frontmostWindow();
    if (!front) return;
    target_ = front;
    mode_ = windows_.mode(front->pid, front->id);

    const auto app = platform_.workspace->app(front->pid);
    const auto rows = items(mode_, app ? app->bundleID : std::nullopt, app ? app->name : std::nullopt);
    const std::vector<MenuRow> shown(rows.begin(), rows.end());

    const Rect frame = windows_.axFrame(front->pid, front->id).value_or(Rect{});
    Rect visible;
    if (auto screen = windows_.screen(frame)) {
        visible = screen->visibleFrame;
    } else {
        const auto screens = platform_.screens->screens();
        const int main = platform_.screens->mainScreenIndex();
        if (main >= 0 && main < static_cast<int>(screens.size()))
            visible = screens[static_cast<size_t>(main)].visibleFrame;
        else if (!screens.empty())
            visible = screens.front().visibleFrame;
    }
    const Point at = placement(frame, windows_.closeButtonFrame(front->pid, front->id), visible,
                               primaryHeight(), presenter_.measure(shown));

    if (trace_) trace_->mark(QStringLiteral("menu popUp ENTER"));
    const auto chosen = presenter_.popUp(shown, at);
    if (trace_) trace_->mark(QStringLiteral("menu popUp EXIT"));
    if (chosen && *chosen < rows.size() && rows[*chosen].action) perform(*rows[*chosen].action);
}

void WindowMenuController::perform(WindowMenuAction action) {
    if (!target_) return;
    const WindowTarget t = *target_;
    switch (action) {
    case WindowMenuAction::restore:
        windows_.restoreOriginal(t.pid, t.id);
        break;
    case WindowMenuAction::startMove:
        startMove();
        break;
    case WindowMenuAction::minimize:
        windows_.minimizeFrontmost();
        break;
    case WindowMenuAction::maximize:
        snapTo(WindowSnap::maximize, WindowMode::maximized);
        break;
    case WindowMenuAction::snapLeft:
        snapTo(WindowSnap::left, WindowMode::snappedLeft);
        break;
    case WindowMenuAction::snapRight:
        snapTo(WindowSnap::right, WindowMode::snappedRight);
        break;
    case WindowMenuAction::fullScreen:
        windows_.toggleFullscreen(t.pid, t.id);
        break;
    case WindowMenuAction::fullScreenLeft:
        fullScreenSide(true);
        break;
    case WindowMenuAction::fullScreenRight:
        fullScreenSide(false);
        break;
    case WindowMenuAction::close:
        windows_.closeFrontmostWindowOrQuit();
        break;
    case WindowMenuAction::quitApp: {
        const auto app = platform_.workspace->app(t.pid);
        if (app && app->bundleID && !app->bundleID->isEmpty() && !Windows::neverQuit.contains(*app->bundleID))
            platform_.workspace->terminate(t.pid);
        break;
    }
    }
}

void WindowMenuController::snapTo(WindowSnap snap, WindowMode undoMode) {
    const WindowTarget t = *target_;
    if (mode_ == undoMode) {
        windows_.restoreOriginal(t.pid, t.id);
        return;
    }
    windows_.snap(snap, t);
    if (snap != WindowSnap::maximize && assist_ && Prefs(*platform_.prefs).snapAssist())
        assist_->show(snap == WindowSnap::left, t.id);
}

void WindowMenuController::fullScreenSide(bool left) {
    const WindowTarget t = *target_;
    if (mode_ == (left ? WindowMode::tiledLeft : WindowMode::tiledRight)) {
        windows_.toggleFullscreen(t.pid, t.id);
        return;
    }
    windows_.fullscreenTile(left, t);
}

void WindowMenuController::startMove() {
    const WindowTarget t = *target_;
    if (windows_.fullscreenState(t.pid, t.id) == true) {
        windows_.toggleFullscreen(t.pid, t.id);
        windows_.whenNotFullscreen(t.pid, t.id, lifetime_.guard([this, t] { beginMove(t); }));
        return;
    }
    beginMove(t);
}

void WindowMenuController::beginMove(WindowTarget t) {
    const auto frame = windows_.axFrame(t.pid, t.id);
    if (!frame) return;
    moveOrigin_ = frame->origin();
    grabOffset_.reset();
    routing_.setMoveTarget(WindowMoveTarget{t.pid, t.id});
    const auto button = windows_.closeButtonFrame(t.pid, t.id);
    const double y = button ? button->midY() : frame->y + kTitlebarDrop;
    platform_.screens->warpPointer({frame->midX(), y});
}

void WindowMenuController::attach() {
    if (moveMonitor_.active()) return;
    const auto snap = routing_.snapshot();
    if (!snap.moveTarget) return;
    const WindowMoveTarget t = *snap.moveTarget;
    const auto frame = windows_.axFrame(t.pid, t.id);
    if (!frame) return;
    const Point p = platform_.screens->pointerLocation();
    grabOffset_ = Point{p.x - frame->x, primaryHeight() - p.y - frame->y};
    moveMonitor_ = platform_.screens->observeMouseMoved(lifetime_.guard([this, t] {
        if (!grabOffset_) return;
        const Point pointer = platform_.screens->pointerLocation();
        windows_.moveTo(t.pid, t.id,
                        {pointer.x - grabOffset_->x, primaryHeight() - pointer.y - grabOffset_->y});
    }));
}

void WindowMenuController::step(const WindowMoveTarget& t, double dx, double dy) {
    // A step queued before the move ended has nothing left to move.
    if (routing_.snapshot().moveTarget != t) return;
    const auto frame = windows_.axFrame(t.pid, t.id);
    if (!frame) return;
    windows_.moveTo(t.pid, t.id, {frame->x + dx, frame->y + dy});
    const Point p = platform_.screens->pointerLocation();
    platform_.screens->warpPointer({p.x + dx, primaryHeight() - p.y + dy});
    attach();
}

bool WindowMenuController::handleMoveKey(int64_t key, const WindowMoveTarget& target) {
    MainQueue& queue = *platform_.mainQueue;
    auto later = [&](auto work) { queue.post(lifetime_.guard(std::move(work))); };
    auto nudge = [&](double dx, double dy) { later([this, target, dx, dy] { step(target, dx, dy); }); };
    switch (key) {
    case kReturn:
    case kKeypadEnter:
        later([this] { endMove(false); });
        return true;
    case kEsc:
        later([this] { endMove(true); });
        return true;
    case kLeft:
        nudge(-kMoveStep, 0);
        return true;
    case kRight:
        nudge(kMoveStep, 0);
        return true;
    case kDown:
        nudge(0, kMoveStep);
        return true;
    case kUp:
        nudge(0, -kMoveStep);
        return true;
    default:
        later([this] { endMove(false); });
        return false;
    }
}

void WindowMenuController::endMove(bool restore) {
    moveMonitor_.reset();
    grabOffset_.reset();
    const auto moving = routing_.snapshot().moveTarget;
    if (restore && moving && moveOrigin_) windows_.moveTo(moving->pid, moving->id, *moveOrigin_);
    moveOrigin_.reset();
    routing_.setMoveTarget(std::nullopt);
}

} // namespace fenwold
