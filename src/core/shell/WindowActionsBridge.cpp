#include "WindowActionsBridge.h"

#include "core/windows/Windows.h"

namespace fenwold {

namespace {

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
    windows_.applySnap(snap, w.pid, w.id);
}

std::optional<SnapKind> WindowActionsBridge::currentSnap(const WindowRef& w) {
    return windows_.currentSnap(w.pid, w.id);
}

void WindowActionsBridge::moveToDisplay(bool right, const WindowRef& w) {
    windows_.moveToDisplay(right, WindowTarget{w.pid, w.id});
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

bool WindowActionsBridge::pressMenuItem(const QString& menu, const QStringList& path) {
    return windows_.pressFrontMenuItem(menu, path);
}

} // namespace fenwold
