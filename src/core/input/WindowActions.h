#pragma once

#include "core/windows/WindowSnap.h"
#include "ports/Geometry.h"

#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>

namespace fenwold {

// The snap targets are the window model's.
using SnapKind = WindowSnap;

// A window as (process, window number).
struct WindowRef {
    int32_t pid = 0;
    uint32_t id = 0;
    friend bool operator==(const WindowRef&, const WindowRef&) = default;
};

// Window operations the shortcuts perform (main thread).
class WindowActions {
public:
    WindowActions() = default;
    WindowActions(const WindowActions&) = delete;
    WindowActions& operator=(const WindowActions&) = delete;
    virtual ~WindowActions() = default;

    virtual std::optional<WindowRef> frontmostWindow() = 0;
    // Whether the window is in native full screen; empty when unknown.
    virtual std::optional<bool> fullscreenState(const WindowRef& window) = 0;
    // Run the action once the window has left full screen.
    virtual void whenNotFullscreen(const WindowRef& window, std::function<void()> action) = 0;
    virtual void toggleFullscreen(const WindowRef& window) = 0;
    virtual void applySnap(SnapKind snap, const WindowRef& window) = 0;
    virtual std::optional<SnapKind> currentSnap(const WindowRef& window) = 0;
    // Move the window to the display on one side (wrapping round), keeping its snap.
    virtual void moveToDisplay(bool right, const WindowRef& window) = 0;
    virtual void minimizeFrontmost() = 0;
    virtual void minimizeAll(bool exceptFrontmost) = 0;
    virtual void closeFrontmostWindowOrQuit() = 0;
    // The window whose title bar is under a point (top-left-origin coordinates). Event-tap thread.
    virtual std::optional<WindowRef> titlebarHit(Point point) = 0;
    // Press an item of the front application's menu bar, by the titles from the menu down to it
    // ("Apple", "Restart…"); false when there is none or it is disabled.
    virtual bool pressMenuItem(const QString& menu, const QStringList& path) = 0;
};

} // namespace fenwold
