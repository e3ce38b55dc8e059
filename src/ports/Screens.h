#pragma once

#include "Geometry.h"
#include "Subscription.h"

#include <functional>
#include <vector>

namespace fenwold {

// One display, in screen coordinates (origin bottom-left of the primary screen, y up).
struct ScreenInfo {
    Rect frame;
    Rect visibleFrame; // without the menu bar and the Dock
    friend bool operator==(const ScreenInfo&, const ScreenInfo&) = default;
};

// The pointer's look the program asks for over its panels.
enum class PointerCursor { arrow, iBeam, pointingHand };

// Displays, the pointer and the user's display options.
class Screens {
public:
    Screens() = default;
    Screens(const Screens&) = delete;
    Screens& operator=(const Screens&) = delete;
    virtual ~Screens() = default;

    // Every screen; the first is the primary screen (the one with the menu bar).
    virtual std::vector<ScreenInfo> screens() const = 0;
    // Index of the screen holding the key window (the "main" screen); -1 when there is none.
    virtual int mainScreenIndex() const = 0;
    // The pointer, in screen coordinates.
    virtual Point pointerLocation() const = 0;
    // Move the pointer; top-left-origin global coordinates.
    virtual void warpPointer(Point topLeftOrigin) = 0;
    // The system's double-click interval in seconds.
    virtual double doubleClickInterval() const = 0;
    virtual bool reduceMotion() const = 0;
    virtual bool reduceTransparency() const = 0;
    // Observe pointer movement anywhere (global and local monitors together); main thread.
    virtual Subscription observeMouseMoved(std::function<void()> handler) = 0;
    // The number of the frontmost window at a point of the screen, whichever application's; 0
    // where there is none. What lies above a panel (a menu, another application's floating
    // window) is what the pointer is over, not the panel.
    virtual int64_t windowNumberAt(Point point) const = 0;
    // Show this cursor now, whichever application is active: over the program's panels, shown
    // while another application is, nothing else sets it.
    virtual void setCursor(PointerCursor cursor) = 0;
};

} // namespace fenwold
