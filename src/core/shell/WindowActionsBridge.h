#pragma once

#include "core/input/DispatchTargets.h"
#include "core/input/WindowActions.h"

namespace fenwold {

class Windows;

// The shortcuts' window operations, carried out by the window model.
class WindowActionsBridge final : public WindowActions {
public:
    explicit WindowActionsBridge(Windows& windows) : windows_(windows) {}

    std::optional<WindowRef> frontmostWindow() override;
    std::optional<bool> fullscreenState(const WindowRef& window) override;
    void whenNotFullscreen(const WindowRef& window, std::function<void()> action) override;
    void toggleFullscreen(const WindowRef& window) override;
    void applySnap(SnapKind snap, const WindowRef& window) override;
    std::optional<SnapKind> currentSnap(const WindowRef& window) override;
    void moveToDisplay(bool right, const WindowRef& window) override;
    void minimizeFrontmost() override;
    void minimizeAll(bool exceptFrontmost) override;
    void closeFrontmostWindowOrQuit() override;
    std::optional<WindowRef> titlebarHit(Point point) override;
    bool pressMenuItem(const QString& menu, const QStringList& path) override;

private:
    Windows& windows_;
};

} // namespace fenwold
