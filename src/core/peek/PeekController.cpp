#include "PeekController.h"

#include "core/settings/Prefs.h"
#include "core/windows/AccessibilityTimeouts.h"
#include "core/windows/Windows.h"
#include "ports/PrefsStore.h"
#include "ports/Screens.h"
#include "ports/WindowServer.h"
#include "ports/Workspace.h"

#include <algorithm>

namespace fenwold {

namespace {
const QString kDockBundleID = QStringLiteral("com.apple.dock");
} // namespace

PeekController::PeekController(const Parts& parts) : p_(parts) {
    p_.panel->onAction =
        lifetime_.guard([this](int index, TileAction action) { onTileAction(index, action); });
}

void PeekController::start() {
    mouseMonitor_ = p_.platform.screens->observeMouseMoved(lifetime_.guard([this] { mouseMoved(); }));
    workspaceSub_ = p_.platform.workspace->observe(lifetime_.guard([this](const WorkspaceEvent& e) {
        if (e.kind == WorkspaceEvent::Kind::terminated && currentKey_ == QStringLiteral("p%1").arg(e.pid))
            hideNow();
    }));
}

bool PeekController::isShowing() const {
    return p_.panel->isVisible() || p_.emptyPanel->isVisible();
}

void PeekController::hideNow() {
    showTimer_.cancel();
    hideTimer_.cancel();
    refreshTimer_.cancel();
    showTimer_ = hideTimer_ = refreshTimer_ = TimerHandle();
    currentKey_.clear();
    hoverKey_.clear();
    p_.panel->orderOut();
    p_.emptyPanel->orderOut();
    p_.model->setWindows({});
}

void PeekController::mouseMoved() {
    const Prefs prefs(*p_.platform.prefs);
    const bool peeking = !suppressed() && prefs.dockPeek();
    if (!peeking && isShowing()) hideNow();
    // A click on a Dock icon may be the program's: the icons are looked for even with no peek.
    if (!peeking && !prefs.dockMinimizes()) return;
    const Point p = p_.platform.screens->pointerLocation();
    // On or near the peek: it stays while the pointer travels from the icon to the panel.
    if (peeking && p_.panel->isVisible() && p_.panel->frame().insetBy(-kGrace, -kGrace).contains(p)) {
        hideTimer_.cancel();
        hideTimer_ = TimerHandle();
        showTimer_.cancel();
        hoverKey_ = currentKey_;
        return;
    }
    const bool showing = isShowing();
    // Pointer movement in the middle of the screen never reaches the Dock's hit-test.
    if (!showing && !nearEdge(p)) return;
    const double now = p_.platform.mainQueue->uptime();
    if (now - lastHit_ <= kHitInterval) return;
    lastHit_ = now;

    const auto target = dockItemAt(p);
    noteDockArea(p, target);
    if (!peeking) return;
    if (!target) {
        showTimer_.cancel();
        hoverKey_.clear();
        if (!showing || hideTimer_.isActive()) return;
        hideTimer_ = p_.platform.mainQueue->after(kHideDelay, lifetime_.guard([this] { hideNow(); }));
        return;
    }
    hideTimer_.cancel();
    hideTimer_ = TimerHandle();
    const QString key = target->key();
    anchor_ = target->rect;
    if (key == hoverKey_) return;
    hoverKey_ = key;
    scheduleShow(*target, showing ? kNextShowDelay : kFirstShowDelay);
}

void PeekController::noteDockArea(Point p, const std::optional<DockTarget>& target) {
    const auto screens = p_.platform.screens->screens();
    if (screens.empty()) return;
    const double primaryTop = screens.front().frame.maxY();
    if (!target) {
        dockArea_.foundNothingAt({p.x, primaryTop - p.y});
        return;
    }
    const Rect& r = target->rect;
    dockArea_.found({r.x, primaryTop - r.maxY(), r.width, r.height});
}

void PeekController::scheduleShow(const DockTarget& target, double delay) {
    showTimer_.cancel();
    showTimer_ = p_.platform.mainQueue->after(delay, lifetime_.guard([this, target] {
        const QString key = target.key();
        if (hoverKey_ != key) return;
        currentKey_ = key;
        if (target.kind == DockTarget::Kind::app)
            show(target.pid);
        else
            showEmpty(EmptyReason::notRunning);
    }));
}

bool PeekController::nearEdge(Point p) const {
    const auto screens = p_.platform.screens->screens();
    std::optional<ScreenInfo> screen;
    for (const auto& s : screens) {
        if (s.frame.contains(p)) {
            screen = s;
            break;
        }
    }
    if (!screen) screen = mainScreen();
    if (!screen) return false;
    const Rect& f = screen->frame;
    return p.y - f.minY() < kEdgeReach || p.x - f.minX() < kEdgeReach || f.maxX() - p.x < kEdgeReach;
}

std::optional<ScreenInfo> PeekController::mainScreen() const {
    const auto screens = p_.platform.screens->screens();
    if (screens.empty()) return std::nullopt;
    const int main = p_.platform.screens->mainScreenIndex();
    if (main >= 0 && main < static_cast<int>(screens.size())) return screens[static_cast<std::size_t>(main)];
    return screens.front();
}

std::optional<DockTarget> PeekController::dockItemAt(Point p) {
    Accessibility& ax = *p_.platform.accessibility;
    if (!dockAX_) {
        const auto docks = p_.platform.workspace->appsWithBundleID(kDockBundleID);
        if (docks.empty()) return std::nullopt;
        dockAX_ = ax.application(docks.front().pid);
        ax.setMessagingTimeout(*dockAX_, kLookupTimeout);
    }
    const auto screens = p_.platform.screens->screens();
    const double primaryTop = screens.empty() ? 0 : screens.front().frame.maxY();
    const AXValue hit = ax.elementAtPosition(*dockAX_, {p.x, primaryTop - p.y});
    if (hit.kind == AXValue::Kind::error &&
        (hit.error == axerr::invalidUIElement || hit.error == axerr::cannotComplete)) {
        // The Dock was restarted or is not answering: look it up again next time.
        dockAX_.reset();
        return std::nullopt;
    }
    const auto element = hit.asElement();
    if (!element) return std::nullopt;

    const auto subrole = ax.attribute(*element, QStringLiteral("AXSubrole")).asString();
    const auto title = ax.attribute(*element, QStringLiteral("AXTitle")).asString();
    const auto running = ax.attribute(*element, QStringLiteral("AXIsApplicationRunning")).asBool();
    const Point position = ax.attribute(*element, QStringLiteral("AXPosition")).asPoint().value_or(Point{});
    const Size size = ax.attribute(*element, QStringLiteral("AXSize")).asSize().value_or(Size{});
    if (!subrole) return std::nullopt;

    std::optional<int32_t> pid;
    if (*subrole == QLatin1String("AXApplicationDockItem")) {
        const auto url = ax.attribute(*element, QStringLiteral("AXURL")).asUrl();
        for (const RunningApp& app : p_.platform.workspace->runningApps()) {
            if (app.policy != ActivationPolicy::regular) continue;
            const bool sameURL = url && app.bundleURL && *app.bundleURL == *url;
            const bool samePath =
                url && app.bundleURL && !url->path().isEmpty() && app.bundleURL->path() == url->path();
            const bool sameName = title && app.name && *app.name == *title;
            if (sameURL || samePath || sameName) {
                pid = app.pid;
                break;
            }
        }
    } else if (*subrole == QLatin1String("AXMinimizedWindowDockItem")) {
        if (title && !title->isEmpty()) {
            const auto list = p_.platform.windowServer->windowList(windowlist::excludeDesktopElements, 0);
            std::optional<WindowDescription> chosen;
            for (const auto& d : list) {
                if (d.name != title) continue;
                if (d.layer == 0) {
                    chosen = d;
                    break;
                }
                if (!chosen) chosen = d;
            }
            if (chosen) pid = chosen->ownerPid;
        }
    } else {
        return std::nullopt;
    }

    const Rect rect{position.x, primaryTop - position.y - size.height, size.width, size.height};
    if (pid && running != false) return DockTarget::app(*pid, rect);
    return DockTarget::idle(rect);
}

void PeekController::show(int32_t pid) {
    if (currentKey_ != QStringLiteral("p%1").arg(pid) || suppressed()) return;
    std::vector<WindowInfo> list;
    for (WindowInfo& w : p_.windows->list()) {
        if (w.pid == pid) list.push_back(std::move(w));
    }
    if (list.empty()) {
        if (p_.panel->isVisible()) hideNow(); // its last window went away while shown
        // The empty panel is rebuilt only when it speaks for another icon: a refresh leaves it be.
        else if (!p_.emptyPanel->isVisible() || emptyKey_ != currentKey_)
            showEmpty(EmptyReason::noWindows);
        return;
    }
    p_.emptyPanel->orderOut();
    if (peekListChanged(list, p_.model->windows())) {
        p_.model->setWindows(list);
        p_.model->setSelected(-1);
        relayout();
    }
    startLiveRefresh();
    p_.windows->loadThumbnails(list, lifetime_.guard([this](uint32_t id, const QImage& image) {
        if (p_.panel->isVisible()) p_.model->setThumb(id, image);
    }),
                               lifetime_.guard([this](uint32_t id) {
                                   if (!p_.panel->isVisible() || !p_.model->removeBlank(id)) return;
                                   if (p_.model->windows().empty())
                                       hideNow();
                                   else
                                       relayout();
                               }));
}

void PeekController::relayout() {
    if (p_.model->windows().empty()) {
        hideNow();
        return;
    }
    const auto screen = mainScreen();
    if (!screen) return;
    const Rect& vf = screen->visibleFrame;
    const double maxRowW = 0.7 * vf.width;
    const double maxHeight = 0.9 * vf.height - kHeaderHeight;
    Metrics& m = *p_.metrics;
    m.thumbH = m.preferredThumbH;
    FlowLayout layout = flowRows(p_.model->windows(), maxRowW, m);
    while ((layout.size.width > maxRowW + 2 * Metrics::kPadding || layout.size.height > maxHeight) &&
           m.thumbH > Metrics::kMinThumbH) {
        m.thumbH = std::max(Metrics::kMinThumbH, m.thumbH - 4);
        layout = flowRows(p_.model->windows(), maxRowW, m);
    }

    header_.reset();
    if (Prefs(*p_.platform.prefs).peekBadges()) {
        const auto& windows = p_.model->windows();
        const auto n = windows.size();
        header_ = windows.front().appName + QStringLiteral(" — %1 window").arg(n) + (n == 1 ? "" : "s");
    }
    const Size size = p_.panel->measure(layout.rows, header_);
    const Point at = origin(size, kPeekGap);
    p_.panel->show(layout.rows, header_, Rect{at.x, at.y, size.width, size.height});
}

void PeekController::onTileAction(int index, TileAction action) {
    lastTileAction_ = p_.platform.mainQueue->uptime();
    handleTileAction(action, index, *p_.model, *p_.operations, lifetime_.guard([this] { relayout(); }),
                     lifetime_.guard([this] { hideNow(); }));
}

void PeekController::showEmpty(EmptyReason reason) {
    if (!Prefs(*p_.platform.prefs).peekEmpty()) {
        hideNow();
        return;
    }
    p_.panel->orderOut();
    p_.model->setWindows({});
    const QString text =
        reason == EmptyReason::noWindows ? QStringLiteral("No windows") : QStringLiteral("Not running");
    const Size size = p_.emptyPanel->measure(text);
    const Point at = origin(size, kEmptyGap);
    p_.emptyPanel->show(text, Rect{at.x, at.y, size.width, size.height});
    emptyKey_ = currentKey_;
    startLiveRefresh();
}

Point PeekController::origin(Size size, double gap) const {
    const QString orientation =
        p_.platform.prefs->readDomain(kDockBundleID, QStringLiteral("orientation")).toString();
    const Rect& a = anchor_;
    double x = 0;
    double y = 0;
    if (orientation == QLatin1String("left")) {
        x = a.maxX() + gap;
        y = a.midY() - size.height / 2;
    } else if (orientation == QLatin1String("right")) {
        x = a.minX() - gap - size.width;
        y = a.midY() - size.height / 2;
    } else {
        x = a.midX() - size.width / 2;
        y = a.maxY() + gap;
    }
    const auto screen = mainScreen();
    if (!screen) return {x, y};
    const Rect& vf = screen->visibleFrame;
    // The far edge wins when the panel is larger than the visible frame.
    x = std::min(std::max(x, vf.minX() + kScreenMargin), vf.maxX() - size.width - kScreenMargin);
    y = std::min(std::max(y, vf.minY() + kScreenMargin), vf.maxY() - size.height - kScreenMargin);
    return {x, y};
}

void PeekController::startLiveRefresh() {
    if (refreshTimer_.isActive()) return;
    refreshTimer_ = p_.platform.mainQueue->every(kRefreshInterval, kRefreshTolerance,
                                                 lifetime_.guard([this] { refreshTick(); }));
}

void PeekController::refreshTick() {
    if (!isShowing()) return;
    const auto pid = pidFromKey(currentKey_);
    if (!pid) return;
    // The grid is not rebuilt under a click that has just changed it.
    if (p_.platform.mainQueue->uptime() - lastTileAction_ <= kPauseAfterTileAction) return;
    show(*pid);
}

} // namespace fenwold
