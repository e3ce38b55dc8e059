#pragma once

#include "ports/Geometry.h"
#include "ports/Subscription.h"

#include <functional>
#include <memory>

class QWidget;

namespace fenwold {

// The window the shelf view lives in. Qt's frameless tool window serves on every desktop; on a
// Mac a native non-activating panel takes its place so the shelf can take keys without
// activating the program and float over full-screen windows. Frames are in screen coordinates
// (origin bottom-left of the primary screen).
class ShelfWindow {
public:
    ShelfWindow() = default;
    ShelfWindow(const ShelfWindow&) = delete;
    ShelfWindow& operator=(const ShelfWindow&) = delete;
    virtual ~ShelfWindow() = default;

    // Move and fade at once, without animation.
    virtual void place(const Rect& frame, double alpha) = 0;
    // Animate to a frame and alpha; ease-out or ease-in; completion (always callable) runs when
    // it ends.
    virtual void animate(const Rect& frame, double alpha, double seconds, bool easeOut,
                         std::function<void()> completion) = 0;
    // Take keyboard input and come to the front without activating the program.
    virtual void makeKeyAndOrderFront() = 0;
    virtual void resignKey() = 0;
    virtual void orderOut() = 0;
    virtual bool isKeyWindow() const = 0;
    virtual void clearFirstResponder() = 0;
    // Left and right mouse-downs in this program or any other; the handler learns whether the
    // click landed in the window.
    virtual Subscription monitorClicks(std::function<void(bool inPanel)> handler) = 0;
};

// Makes the window around the shelf's top-level content widget.
using ShelfWindowFactory = std::function<std::unique_ptr<ShelfWindow>(QWidget& content)>;

} // namespace fenwold
