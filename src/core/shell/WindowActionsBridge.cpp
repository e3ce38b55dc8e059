#include "WindowActionsBridge.h"

#include "core/windows/Windows.h"

namespace fenwold {

namespace {

WindowSnap toWindowSnap(SnapKind snap) {
    switch (snap) {
    case SnapKind::left:
        return WindowSnap::left;
    case SnapKind::right:
        return WindowSnap::right;
    case SnapKind::maximize:
        return WindowSnap::maximize;
    case SnapKind::topLeft:
        return WindowSnap::topLeft;
    case SnapKind::topRight:
        return WindowSnap::topRight;
    case SnapKind::bottomLeft:
        return WindowSnap::bottomLeft;
    case SnapKind::bottomRight:
        return WindowSnap::bottomRight;
    }
    return WindowSnap::maximize;
}

SnapKind toSnapKind(WindowSnap snap) {
    switch (snap) {
    case WindowSnap::left:
        return SnapKind::left;
    case WindowSnap::right:
        return SnapKind::right;
    case WindowSnap::maximize:
        return SnapKind::maximize;
    case WindowSnap::topLeft:
        return SnapKind::topLeft;
    case WindowSnap::topRight:
        return SnapKind::topRight;
    case WindowSnap::bottomLeft:
        return SnapKind::bottomLeft;
    case WindowSnap::bottomRight:
        return SnapKind::bottomRight;
    }
    return SnapKind::maximize;
}

std::optional<WindowRef> toRef(const std::optional<WindowTarget>& target) {
    if (!target) return std::nullopt;
    return WindowRef{target->pid, target->id};
}

} // namespace

std::optional<WindowRef> WindowActionsBridge::frontmostWindow() {
    return toRef(windows_.frontmostWindow());
}

std::optional<bool> WindowActionsBridge::fullscreenState(const WindowRef& w) {
    return windows_.fullscreenState(w.pid, w.id);
}

void WindowActionsBridge::whenNotFullscreen(const WindowRef& w, std::function<void()> action) {
    windows_.whenNotFullscreen(w.pid, w.id, std::move(action));
}

void WindowActionsBridge::toggleFullscreen(const WindowRef& w) {
    windows_.toggleFullscreen(w.pid, w.id);
}

void WindowActionsBridge::applySnap(SnapKind snap, const WindowRef& w) {
    windows_.applySnap(toWindowSnap(snap), w.pid, w.id);
}

std::optional<SnapKind> WindowActionsBridge::currentSnap(const WindowRef& w) {
    const auto snap = windows_.currentSnap(w.pid, w.id);
    if (!snap) return std::nullopt;
    return toSnapKind(*snap);
}

void WindowActionsBridge::pressTileItem(bool left, const WindowRef& w) {
    windows_.pressTileItem(left, w.pid, w.id);
}

void WindowActionsBridge::minimizeFrontmost() {
    windows_.minimizeFrontmost();
}

void WindowActionsBridge::minimizeAll(bool exceptFrontmost) {
    windows_.minimizeAll(exceptFrontmost);
}

void WindowActionsBridge::closeFrontmostWindowOrQuit() {
    windows_.closeFrontmostWindowOrQuit();
}

std::optional<WindowRef> WindowActionsBridge::titlebarHit(Point point) {
    return toRef(windows_.titlebarHit(point));
}

} // namespace fenwold
