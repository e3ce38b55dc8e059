#pragma once

#include "SimApps.h"

namespace fenwold {

// What the tap did with one hardware event: the event before and after the program saw it.
struct TapDecision {
    TapEvent before;
    TapEvent after;
    TapAnswer answer = TapAnswer::pass;
    bool rewritten() const;
};

// The keyboard and mouse of the simulated Mac. Each press becomes the event macOS would make
// (modifier keys as flags-changed events carrying the held flags), runs through the program's
// tap, and what the tap passes reaches the key window: the front application's, or a window of
// the program's own while it has one key (the clipboard shelf, a menu being tracked). A press the
// tap passes on a window's title bar picks the window up: the window server moves it with the
// pointer until the button goes up.
class SimHardware {
public:
    SimHardware(SimSession& session, SimApps& apps);

    void keyDown(uint16_t keyCode, bool autorepeat = false);
    void keyUp(uint16_t keyCode);
    // Down and up, with the modifiers currently held.
    void tap(uint16_t keyCode);
    uint64_t flags() const { return flags_; }
    // Let go of every held key (the playground lost the keyboard).
    void releaseAll();

    // The pointer, in Accessibility coordinates (top-left origin, y down). A move with the button
    // held is a drag, which the mouse-moved monitors do not see and the tap does.
    void movePointer(Point location);
    // A move with the button held stops at the displays' outer edges, as the Mac's pointer does.
    TapAnswer dragPointer(Point location);
    TapAnswer mouseDown(Point location, int clickCount);
    TapAnswer mouseUp(Point location, int clickCount);
    bool buttonDown() const { return buttonDown_; }
    // The window the pointer carries by its title bar, if any.
    std::optional<uint32_t> draggedWindow() const;
    TapAnswer scroll(Point location, double delta);

    std::function<void(const TapDecision&)> onDecision;
    // Offered each key-down the tap passes before the front application gets it; true when a
    // window of the program's own is key and took it.
    std::function<bool(const AppKey&)> programKeyWindow;

private:
    // A window carried by its title bar: where the pointer holds it, and the frame it was last
    // moved to (a frame changed by anyone else is picked up where it now is).
    struct WindowDrag {
        uint32_t window = 0;
        Point grab;
        Rect placed;
    };

    TapAnswer run(TapEvent event);
    Point screenPoint(Point location) const;
    // The nearest point on some display.
    Point onADisplay(Point location) const;
    void carryWindow(Point location);

    SimSession& session_;
    SimApps& apps_;
    uint64_t flags_ = 0;
    std::vector<uint16_t> heldModifiers_;
    bool buttonDown_ = false;
    Point pointer_;
    std::optional<WindowDrag> windowDrag_;
};

} // namespace fenwold
