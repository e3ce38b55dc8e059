#pragma once

#include <cstdint>

namespace fenwold {

// Posts synthetic keyboard events to one process, or to the session as the keyboard would. Every
// event carries the own-event marker in its source user-data field.
class KeySender {
public:
    KeySender() = default;
    KeySender(const KeySender&) = delete;
    KeySender& operator=(const KeySender&) = delete;
    virtual ~KeySender() = default;

    // Create one key event with exactly these flags and post it to pid; false when the event
    // could not be created. Callable from the event-tap thread.
    virtual bool post(uint16_t keyCode, bool keyDown, uint64_t flags, int32_t pid) = 0;
    // The same into the session's input where the keyboard's events enter it, so that the
    // system's own shortcuts (Spotlight's, the Spaces') see it; false as above.
    virtual bool postToSession(uint16_t keyCode, bool keyDown, uint64_t flags) = 0;
};

} // namespace fenwold
