#include "AccessibilityTimeouts.h"
#include "DisplayGeometry.h"
#include "SnapGeometry.h"
#include "WindowStore.h"
#include "Windows.h"
#include "ports/MainQueue.h"
#include "ports/Screens.h"
#include "ports/WindowServer.h"

#include <cmath>

namespace fenwold {

namespace {
constexpr double kPollInterval = 0.05;
constexpr int kActivationChecks = 40;
constexpr int kFullscreenExitChecks = 60;
constexpr double kAfterFullscreenExit = 0.35;
constexpr double kMenuSnapRecordDelay = 0.4;
constexpr double kSnapTolerance = 8;
constexpr double kSplitViewWidth = 0.9;
constexpr double kTitlebarHeight = 30;
constexpr double kTitlebarLeftInset = 80;
// The top-left corner where a window keeps its close, minimise and green buttons: lower than the
// title bar alone, as a unified toolbar centres them in its height.
constexpr double kButtonsHeight = 52;
const QString kMoveAndResize = QStringLiteral("Move & Resize");
} // namespace

const QStringList Windows::neverQuit = {
    QStringLiteral("com.apple.finder"),         QStringLiteral("com.apple.dock"),
    QStringLiteral("com.apple.systemuiserver"), QStringLiteral("com.apple.loginwindow"),
    QStringLiteral("com.apple.controlcenter"),  QStringLiteral("com.apple.notificationcenterui"),
    QStringLiteral("com.apple.Spotlight"),      QStringLiteral("com.apple.WindowManager"),
    QStringLiteral("com.apple.SystemUIServer")};

QStringList Windows::menuPath(Snap snap) {
    switch (snap) {
    case Snap::left:
        return {kMoveAndResize, QStringLiteral("Left")};
    case Snap::right:
        return {kMoveAndResize, QStringLiteral("Right")};
    case Snap::maximize:
        return {QStringLiteral("Fill")};
    case Snap::topLeft:
        return {kMoveAndResize, QStringLiteral("Top Left")};
    case Snap::topRight:
        return {kMoveAndResize, QStringLiteral("Top Right")};
    case Snap::bottomLeft:
        return {kMoveAndResize, QStringLiteral("Bottom Left")};
    case Snap::bottomRight:
        return {kMoveAndResize, QStringLiteral("Bottom Right")};
    case Snap::leftThird:
    case Snap::centreThird:
    case Snap::rightThird:
    case Snap::leftTwoThirds:
    case Snap::rightTwoThirds:
        // The system's Window menu has no thirds: their frames are set directly.
        return {};
    }
    return {};
}

std::optional<WindowTarget> Windows::resolveTarget(std::optional<WindowTarget> target) {
    return target ? target : frontmostWindow();
}

// --- Waiting ---

void Windows::whenSettled(int tries, std::function<bool()> condition, std::function<void()> then) {
    if (tries < 1 || condition()) {
        then();
        return;
    }
    queue_.after(kPollInterval, lifetime_.guard([this, tries, condition = std::move(condition),
                                                 then = std::move(then)]() mutable {
        whenSettled(tries - 1, std::move(condition), std::move(then));
    }));
}

void Windows::whenActive(int32_t pid, std::function<void()> action) {
    auto isActive = [this, pid] {
        auto app = workspace_.app(pid);
        return app && app->active;
    };
    if (isActive()) {
        action();
        return;
    }
    workspace_.activate(pid);
    if (isActive()) {
        action();
        return;
    }
    queue_.after(kPollInterval, lifetime_.guard([this, isActive, action = std::move(action)]() mutable {
        whenSettled(kActivationChecks, isActive, std::move(action));
    }));
}

void Windows::whenNotFullscreen(int32_t pid, uint32_t id, std::function<void()> action) {
    auto later = [this](std::function<void()> work) {
        queue_.after(kAfterFullscreenExit, lifetime_.guard(work));
    };
    if (fullscreenState(pid, id) == false) {
        later(std::move(action));
        return;
    }
    queue_.after(kPollInterval, lifetime_.guard([this, pid, id, later, action = std::move(action)]() mutable {
        whenSettled(
            kFullscreenExitChecks, [this, pid, id] { return fullscreenState(pid, id) == false; },
            [later, action = std::move(action)] { later(action); });
    }));
}

// --- Element helpers ---

std::optional<bool> Windows::fullscreenState(int32_t pid, uint32_t id) {
    std::optional<bool> state;
    withAXWindow(pid, id, [&](const AXElement& w) {
        state = ax_.attribute(w, QStringLiteral("AXFullScreen")).asBool();
    });
    return state;
}

void Windows::focus(int32_t pid, uint32_t id) {
    withAXWindow(pid, id, [&](const AXElement& w) {
        ax_.performAction(w, QStringLiteral("AXRaise"));
        ax_.setAttribute(w, QStringLiteral("AXMain"), AXValue::of(true));
    });
}

std::optional<AXElement> Windows::child(const AXElement& of, const QString& titled) {
    const auto children = ax_.attribute(of, QStringLiteral("AXChildren")).asElements();
    if (!children) return std::nullopt;
    for (const AXElement& c : *children) {
        ax_.setMessagingTimeout(c, kMenuTimeout);
        const auto title = ax_.attribute(c, QStringLiteral("AXTitle")).asString();
        if (title == titled) return c;
        if (title && !title->isEmpty()) continue;
        // An untitled child (the menu under an item) holds the items themselves.
        if (auto found = child(c, titled)) return found;
    }
    return std::nullopt;
}

bool Windows::pressWindowMenuItem(const QStringList& path, int32_t pid) {
    return pressMenuItem(QStringLiteral("Window"), path, pid);
}

bool Windows::pressMenuItem(const QString& menu, const QStringList& path, int32_t pid) {
    const AXElement app = ax_.application(pid);
    ax_.setMessagingTimeout(app, kMenuTimeout);
    const auto menuBar = ax_.attribute(app, QStringLiteral("AXMenuBar")).asElement();
    if (!menuBar) return false;
    ax_.setMessagingTimeout(*menuBar, kMenuTimeout);
    const auto items = ax_.attribute(*menuBar, QStringLiteral("AXChildren")).asElements();
    if (!items) return false;
    std::optional<AXElement> current;
    for (const AXElement& item : *items) {
        ax_.setMessagingTimeout(item, kMenuTimeout);
        if (ax_.attribute(item, QStringLiteral("AXTitle")).asString() == menu) {
            current = item;
            break;
        }
    }
    if (!current) return false;
    for (const QString& title : path) {
        current = child(*current, title);
        if (!current) return false;
    }
    if (ax_.attribute(*current, QStringLiteral("AXEnabled")).asBool() == false) return false;
    return ax_.performAction(*current, QStringLiteral("AXPress")) == axerr::success;
}

bool Windows::pressFrontMenuItem(const QString& menu, const QStringList& path) {
    const int32_t pid = workspace_.frontmostPid();
    return pid > 0 && pressMenuItem(menu, path, pid);
}

bool Windows::pressButton(const AXElement& window, const QString& attribute) {
    const auto button = ax_.attribute(window, attribute).asElement();
    if (!button) return false;
    ax_.setMessagingTimeout(*button, kLookupTimeout);
    return ax_.performAction(*button, QStringLiteral("AXPress")) == axerr::success;
}

// --- Frames ---

std::optional<Rect> Windows::axFrame(int32_t pid, uint32_t id) {
    std::optional<Rect> frame;
    withAXWindow(pid, id, [&](const AXElement& w) {
        const Point p = ax_.attribute(w, QStringLiteral("AXPosition")).asPoint().value_or(Point{});
        const Size s = ax_.attribute(w, QStringLiteral("AXSize")).asSize().value_or(Size{});
        frame = Rect{p.x, p.y, s.width, s.height};
    });
    return frame;
}

std::optional<Rect> Windows::closeButtonFrame(int32_t pid, uint32_t id) {
    std::optional<Rect> frame;
    withAXWindow(pid, id, [&](const AXElement& w) {
        const auto button = ax_.attribute(w, QStringLiteral("AXCloseButton")).asElement();
        if (!button) return;
        ax_.setMessagingTimeout(*button, kLookupTimeout);
        const Point p = ax_.attribute(*button, QStringLiteral("AXPosition")).asPoint().value_or(Point{});
        const Size s = ax_.attribute(*button, QStringLiteral("AXSize")).asSize().value_or(Size{});
        frame = Rect{p.x, p.y, s.width, s.height};
    });
    return frame;
}

std::optional<Rect> Windows::visibleFrameAX(const Rect& containingAX) {
    const auto on = screen(containingAX);
    if (!on) return std::nullopt;
    return snapgeometry::toAX(on->visibleFrame, platform_.screens->screens().front().frame.maxY());
}

std::optional<ScreenInfo> Windows::screen(const Rect& containingAX) {
    const auto screens = platform_.screens->screens();
    const int index =
        snapgeometry::screenIndexContainingAX(screens, platform_.screens->mainScreenIndex(), containingAX);
    if (index < 0) return std::nullopt;
    return screens[static_cast<std::size_t>(index)];
}

void Windows::setAXFrame(int32_t pid, uint32_t id, Rect frame) {
    const AXElement app = ax_.application(pid);
    ax_.setMessagingTimeout(app, kLookupTimeout);
    const QString enhanced = QStringLiteral("AXEnhancedUserInterface");
    // Applications with the enhanced interface on animate and fight frame changes.
    bool switchedOff = false;
    if (ax_.attribute(app, enhanced).asBool() == true)
        switchedOff = ax_.setAttribute(app, enhanced, AXValue::of(false)) == axerr::success;
    withAXWindow(pid, id, [&](const AXElement& w) {
        ax_.setAttribute(w, QStringLiteral("AXPosition"), AXValue::of(frame.origin()));
        ax_.setAttribute(w, QStringLiteral("AXSize"), AXValue::of(frame.size()));
        ax_.setAttribute(w, QStringLiteral("AXPosition"), AXValue::of(frame.origin()));
    });
    if (switchedOff) ax_.setAttribute(app, enhanced, AXValue::of(true));
}

void Windows::moveTo(int32_t pid, uint32_t id, Point origin) {
    withAXWindow(pid, id, [&](const AXElement& w) {
        ax_.setAttribute(w, QStringLiteral("AXPosition"), AXValue::of(origin));
    });
}

// --- Snapping ---

void Windows::snap(Snap snap, std::optional<WindowTarget> target, std::optional<ScreenInfo> display,
                   std::optional<Rect> original) {
    const auto t = resolveTarget(target);
    if (!t) return;
    const auto apply = [this, snap, t, display, original] {
        if (display) carryTo(*display, t->pid, t->id);
        applySnap(snap, t->pid, t->id, original);
    };
    if (fullscreenState(t->pid, t->id) == true) {
        toggleFullscreen(t->pid, t->id);
        whenNotFullscreen(t->pid, t->id, apply);
    } else {
        apply();
    }
}

void Windows::carryTo(const ScreenInfo& display, int32_t pid, uint32_t id) {
    const auto frame = axFrame(pid, id);
    const auto current = frame ? screen(*frame) : std::nullopt;
    if (!current || *current == display) return;
    const double H = platform_.screens->screens().front().frame.maxY();
    setAXFrame(pid, id,
               displaygeometry::carryFrame(*frame, snapgeometry::toAX(current->visibleFrame, H),
                                           snapgeometry::toAX(display.visibleFrame, H)));
}

void Windows::applySnap(Snap snap, int32_t pid, uint32_t id, std::optional<Rect> given) {
    Rect original;
    if (auto it = snapMemory_.find(id); it != snapMemory_.end())
        original = it->second.original;
    else
        original = given ? *given : axFrame(pid, id).value_or(Rect{});
    if (!workspace_.app(pid)) return;
    focus(pid, id);
    whenActive(pid, [this, snap, pid, id, original] {
        const QStringList path = menuPath(snap);
        if (!path.isEmpty() && pressWindowMenuItem(path, pid)) {
            // Remembered at once, so a restore or a drag straight after the key finds it; where the
            // system's tile really ends is read once its animation has settled.
            const Rect frame = axFrame(pid, id).value_or(Rect{});
            const auto visible = visibleFrameAX(frame);
            snapMemory_[id] =
                SnapRecord{snap, visible ? snapgeometry::snapRectAX(snap, *visible) : frame, original};
            queue_.after(kMenuSnapRecordDelay, lifetime_.guard([this, snap, pid, id] {
                // Gone or replaced meanwhile (restored, dragged away, snapped elsewhere): not this
                // snap's to settle.
                const auto it = snapMemory_.find(id);
                if (it == snapMemory_.end() || it->second.kind != snap) return;
                if (const auto settled = axFrame(pid, id)) it->second.rect = *settled;
            }));
        } else {
            frameSnap(snap, pid, id);
        }
    });
}

void Windows::frameSnap(Snap snap, int32_t pid, uint32_t id) {
    const Rect current = axFrame(pid, id).value_or(Rect{});
    const auto visibleAX = visibleFrameAX(current);
    if (!visibleAX) return;
    const Rect visible = *visibleAX;
    Rect A = snapgeometry::snapRectAX(snap, visible);
    setAXFrame(pid, id, A);
    // A window that keeps a size of its own (fixed, or a minimum larger than the zone) ends as
    // close to the zone as it allows, inside the visible frame.
    if (const auto placed = axFrame(pid, id); placed && placed->size() != A.size()) {
        A = snapgeometry::fitInZone(placed->size(), A, visible);
        moveTo(pid, id, A.origin());
    }
    auto it = snapMemory_.find(id);
    const Rect original = it != snapMemory_.end() ? it->second.original : current;
    snapMemory_[id] = SnapRecord{snap, A, original};
}

void Windows::moveToDisplay(bool right, std::optional<WindowTarget> target) {
    const auto t = resolveTarget(target);
    // A full-screen window is a Space of its own, which Accessibility cannot move.
    if (!t || fullscreenState(t->pid, t->id) == true) return;
    const auto screens = platform_.screens->screens();
    if (screens.size() < 2) return;
    const auto frame = axFrame(t->pid, t->id);
    if (!frame) return;
    const int from =
        snapgeometry::screenIndexContainingAX(screens, platform_.screens->mainScreenIndex(), *frame);
    const int to = displaygeometry::adjacentScreen(screens, from, right);
    if (to < 0 || to == from) return;
    const double H = screens.front().frame.maxY();
    const Rect fromVisible = snapgeometry::toAX(screens[static_cast<std::size_t>(from)].visibleFrame, H);
    const Rect toVisible = snapgeometry::toAX(screens[static_cast<std::size_t>(to)].visibleFrame, H);

    // A snapped window takes the same zone there. One arranged by other means (the green button,
    // the system's own tiling) is recognised by its frame, but the program does not start
    // remembering it.
    const std::optional<Snap> remembered = currentSnap(t->pid, t->id);
    const std::optional<Snap> kind =
        remembered ? remembered : snapgeometry::snapMatching(*frame, fromVisible, kSnapTolerance);
    if (!kind) {
        setAXFrame(t->pid, t->id, displaygeometry::carryFrame(*frame, fromVisible, toVisible));
        return;
    }
    const Rect A = snapgeometry::snapRectAX(*kind, toVisible);
    setAXFrame(t->pid, t->id, A);
    if (remembered) {
        SnapRecord& record = snapMemory_[t->id];
        record.rect = A;
        // Restoring later gives the unsnapped size on the new display.
        record.original = displaygeometry::carryFrame(record.original, fromVisible, toVisible);
    }
}

std::optional<Windows::SnapRecord> Windows::takeSnapRecord(uint32_t id) {
    const auto it = snapMemory_.find(id);
    if (it == snapMemory_.end()) return std::nullopt;
    const SnapRecord record = it->second;
    snapMemory_.erase(it);
    return record;
}

std::optional<Windows::Snap> Windows::currentSnap(int32_t pid, uint32_t id) {
    auto it = snapMemory_.find(id);
    if (it == snapMemory_.end()) return std::nullopt;
    const auto frame = axFrame(pid, id);
    const Rect& r = it->second.rect;
    if (frame && std::abs(frame->x - r.x) < kSnapTolerance && std::abs(frame->y - r.y) < kSnapTolerance &&
        std::abs(frame->width - r.width) < kSnapTolerance)
        return it->second.kind;
    snapMemory_.erase(it);
    return std::nullopt;
}

Windows::Mode Windows::mode(int32_t pid, uint32_t id) {
    const auto frame = axFrame(pid, id);
    if (!frame) return Mode::normal;
    if (fullscreenState(pid, id) == true) {
        const auto s = screen(*frame);
        if (s && frame->width < kSplitViewWidth * s->frame.width)
            return frame->midX() < s->frame.midX() ? Mode::tiledLeft : Mode::tiledRight;
        return Mode::fullscreen;
    }
    switch (currentSnap(pid, id).value_or(Snap::topLeft)) {
    case Snap::left:
        return Mode::snappedLeft;
    case Snap::right:
        return Mode::snappedRight;
    case Snap::maximize:
        return Mode::maximized;
    default:
        return Mode::normal;
    }
}

void Windows::restoreOriginal(int32_t pid, uint32_t id) {
    if (fullscreenState(pid, id) == true) {
        toggleFullscreen(pid, id);
        return;
    }
    std::optional<SnapRecord> entry;
    if (auto it = snapMemory_.find(id); it != snapMemory_.end()) {
        entry = it->second;
        snapMemory_.erase(it);
    }
    if (!workspace_.app(pid)) return;
    focus(pid, id);
    whenActive(pid, [this, pid, id, entry] {
        if (!pressWindowMenuItem({kMoveAndResize, QStringLiteral("Return to Previous Size")}, pid) && entry)
            setAXFrame(pid, id, entry->original);
    });
}

// --- Full screen and tiling ---

void Windows::toggleFullscreen(int32_t pid, uint32_t id) {
    const bool inFullscreen = fullscreenState(pid, id) == true;
    withAXWindow(pid, id, [&](const AXElement& w) {
        if (ax_.setAttribute(w, QStringLiteral("AXFullScreen"), AXValue::of(!inFullscreen)) != axerr::success)
            pressButton(w, QStringLiteral("AXZoomButton"));
    });
    workspace_.activate(pid);
}

void Windows::fullscreenTile(bool left, std::optional<WindowTarget> target) {
    const auto t = resolveTarget(target);
    if (!t) return;
    if (fullscreenState(t->pid, t->id) == true) {
        toggleFullscreen(t->pid, t->id);
        whenNotFullscreen(t->pid, t->id, [this, left, t] { pressTileItem(left, t->pid, t->id); });
    } else {
        pressTileItem(left, t->pid, t->id);
    }
}

void Windows::pressTileItem(bool left, int32_t pid, uint32_t id) {
    if (!workspace_.app(pid)) return;
    focus(pid, id);
    whenActive(pid, [this, left, pid] {
        const QString side = left ? QStringLiteral("Left") : QStringLiteral("Right");
        const QList<QStringList> paths = {
            {QStringLiteral("Full Screen Tile"), side + QStringLiteral(" of Screen")},
            {QStringLiteral("Tile Window to %1 of Screen").arg(side)}};
        for (const auto& path : paths) {
            if (pressWindowMenuItem(path, pid)) return;
        }
    });
}

// --- Minimising and closing ---

void Windows::minimize(const WindowInfo& info) {
    if (AXElement w = elementFor(info)) ax_.setAttribute(w, QStringLiteral("AXMinimized"), AXValue::of(true));
}

void Windows::minimizeFrontmost() {
    const auto front = frontmostWindow();
    if (!front) return;
    withAXWindow(front->pid, front->id, [&](const AXElement& w) {
        ax_.setAttribute(w, QStringLiteral("AXMinimized"), AXValue::of(true));
    });
}

void Windows::minimizeAll(bool exceptFrontmost) {
    const auto front = exceptFrontmost ? frontmostWindow() : std::nullopt;
    for (const WindowInfo& w : list()) {
        if (w.isMinimized || (front && front->id == w.id && front->pid == w.pid)) continue;
        minimize(w);
    }
}

void Windows::close(const WindowInfo& info) {
    if (AXElement w = elementFor(info)) pressButton(w, QStringLiteral("AXCloseButton"));
}

void Windows::closeFrontmostWindowOrQuit() {
    const auto front = frontmostWindow();
    if (!front) return;
    const AXElement app = ax_.application(front->pid);
    ax_.setMessagingTimeout(app, kLookupTimeout);
    const auto windows = ax_.attribute(app, QStringLiteral("AXWindows")).asElements();
    const auto running = workspace_.app(front->pid);
    // The desktop and system agents are never quit: closing their last window only closes it.
    const bool quittable = !(running && running->bundleID && neverQuit.contains(*running->bundleID));
    if ((windows && windows->size() >= 2) || !quittable) {
        withAXWindow(front->pid, front->id,
                     [&](const AXElement& w) { pressButton(w, QStringLiteral("AXCloseButton")); });
        return;
    }
    workspace_.terminate(front->pid);
}

std::optional<std::pair<WindowTarget, Rect>> Windows::ordinaryWindowAt(Point point) {
    const auto list = server_.windowList(windowlist::onScreenOnly | windowlist::excludeDesktopElements, 0);
    for (const auto& d : list) {
        if (d.layer != 0 || !d.bounds || !d.bounds->contains(point)) continue;
        if (!d.ownerPid || !d.number || *d.ownerPid == workspace_.ownPid() || !regularApp(*d.ownerPid))
            return std::nullopt;
        return std::pair{WindowTarget{*d.ownerPid, *d.number}, *d.bounds};
    }
    return std::nullopt;
}

std::optional<std::pair<WindowTarget, Rect>> Windows::titlebarHitWithBounds(Point point) {
    const auto hit = ordinaryWindowAt(point);
    if (!hit) return std::nullopt;
    const Rect& bounds = hit->second;
    if (point.y - bounds.y < kTitlebarHeight && point.x - bounds.x > kTitlebarLeftInset) return hit;
    return std::nullopt;
}

std::optional<WindowTarget> Windows::titlebarButtonsHit(Point point) {
    const auto hit = ordinaryWindowAt(point);
    if (!hit) return std::nullopt;
    const Rect& bounds = hit->second;
    if (point.y - bounds.y < kButtonsHeight && point.x - bounds.x <= kTitlebarLeftInset) return hit->first;
    return std::nullopt;
}

std::optional<Rect> Windows::greenButtonFrame(int32_t pid, uint32_t id) {
    std::optional<Rect> frame;
    withAXWindow(pid, id, [&](const AXElement& w) {
        // Only a standard window that is not in full screen; its green button is the full-screen
        // button when it can go full screen, else the zoom button.
        if (ax_.attribute(w, QStringLiteral("AXSubrole")).asString() != QStringLiteral("AXStandardWindow"))
            return;
        if (ax_.attribute(w, QStringLiteral("AXFullScreen")).asBool() == true) return;
        auto button = ax_.attribute(w, QStringLiteral("AXFullScreenButton")).asElement();
        if (!button) button = ax_.attribute(w, QStringLiteral("AXZoomButton")).asElement();
        if (!button) return;
        ax_.setMessagingTimeout(*button, kLookupTimeout);
        // Greyed out: the window keeps the size it has.
        if (ax_.attribute(*button, QStringLiteral("AXEnabled")).asBool() == false) return;
        const auto p = ax_.attribute(*button, QStringLiteral("AXPosition")).asPoint();
        const auto s = ax_.attribute(*button, QStringLiteral("AXSize")).asSize();
        if (p && s) frame = Rect{p->x, p->y, s->width, s->height};
    });
    return frame;
}

std::optional<WindowTarget> Windows::titlebarHit(Point point) {
    const auto hit = titlebarHitWithBounds(point);
    if (!hit) return std::nullopt;
    return hit->first;
}

} // namespace fenwold
