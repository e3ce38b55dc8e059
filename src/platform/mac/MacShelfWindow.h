#pragma once

#include "ports/ShelfWindow.h"

#include <functional>
#include <memory>

class QWindow;

namespace fenwold {

// The shelf's native window: a non-activating panel at the pop-up-menu level that joins every
// Space, stays out of window cycling and may sit beside full-screen windows. It takes keys
// without activating the program and hosts a Qt window as its content. Frames are in screen
// coordinates (origin bottom-left), as AppKit uses them.
class MacShelfWindow final : public ShelfWindow {
public:
    explicit MacShelfWindow(QWindow* content);
    ~MacShelfWindow() override;

    void place(const Rect& frame, double alpha) override;
    void animate(const Rect& frame, double alpha, double seconds, bool easeOut,
                 std::function<void()> completion) override;
    void makeKeyAndOrderFront() override;
    void resignKey() override;
    void orderOut() override;
    bool isKeyWindow() const override;
    void clearFirstResponder() override;
    // Left and right mouse-downs in other applications (never in the panel) and in this one,
    // telling whether the click landed in the panel.
    Subscription monitorClicks(std::function<void(bool inPanel)> handler) override;

private:
    struct Native;
    std::unique_ptr<Native> native_;
};

} // namespace fenwold
