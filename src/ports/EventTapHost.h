#pragma once

#include "Geometry.h"

#include <cstdint>
#include <functional>

namespace fenwold {

// Event types as the tap reports them.
namespace eventtype {
inline constexpr uint32_t leftMouseDown = 1;
inline constexpr uint32_t leftMouseUp = 2;
inline constexpr uint32_t leftMouseDragged = 6;
inline constexpr uint32_t keyDown = 10;
inline constexpr uint32_t keyUp = 11;
inline constexpr uint32_t flagsChanged = 12;
inline constexpr uint32_t systemDefined = 14;
inline constexpr uint32_t scrollWheel = 22;
inline constexpr uint32_t otherMouseDown = 25;
inline constexpr uint32_t otherMouseUp = 26;
inline constexpr uint32_t tapDisabledByTimeout = 0xFFFFFFFE;
inline constexpr uint32_t tapDisabledByUserInput = 0xFFFFFFFF;
} // namespace eventtype

// One event as the tap sees it. The platform fills it from the real event and writes back the
// fields the dispatch changed (flags, key code, button number) before answering.
struct TapEvent {
    uint32_t type = 0;
    int64_t keyCode = 0;        // keyboard key code
    uint64_t flags = 0;         // the flag word
    int64_t autorepeat = 0;     // keyboard autorepeat
    int64_t clickState = 0;     // mouse click state
    int64_t buttonNumber = 0;   // mouse button number
    double scrollDelta = 0;     // scroll-wheel delta axis 1
    int64_t sourcePid = 0;      // source Unix process id
    int64_t sourceUserData = 0; // source user data
    int64_t keyboardType = 0;   // the type of keyboard a key event came from; 0 when unknown
    Point location;             // top-left-origin global coordinates
    // Trace-only readings.
    double scrollDelta2 = 0;
    double scrollPointDelta1 = 0;
    int64_t scrollContinuous = 0;
    int64_t systemSubtype = 0;
    int64_t systemData1 = 0;
};

enum class TapAnswer { pass, swallow }; // a modified event passes with its new fields

// Which modifier state to read: the keyboard hardware's, or the whole session's combined.
enum class ModifierState { hardware, combinedSession };

// The session event tap.
class EventTapHost {
public:
    EventTapHost() = default;
    EventTapHost(const EventTapHost&) = delete;
    EventTapHost& operator=(const EventTapHost&) = delete;
    virtual ~EventTapHost() = default;

    // Create the tap for the event types in the mask (bit 1 << type) at the head of the session on
    // its own thread and start delivering events to the handler on that thread; false when the
    // tap could not be created.
    virtual bool start(uint64_t eventMask, std::function<TapAnswer(TapEvent&)> handler) = 0;
    // Turn the tap back on after the system or `disable` turned it off.
    virtual void reEnable() = 0;
    // Turn the tap off, keeping it, so that events flow past it untouched until `reEnable` (the
    // permission a modifying tap needs was revoked; an enabled tap would stall the input).
    virtual void disable() = 0;
    // Remove the tap and end its thread. When this returns the handler is not running and will
    // never be called again, so its owner may go. Does nothing when the tap is not running.
    virtual void stop() = 0;
    // The modifier flags currently held in the given state (for trace lines).
    virtual uint64_t modifierState(ModifierState which) const = 0;
};

} // namespace fenwold
