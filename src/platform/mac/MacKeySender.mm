#include "MacKeySender.h"

#import <ApplicationServices/ApplicationServices.h>

namespace fenwold {

void* MacKeySender::createEvent(uint16_t keyCode, bool keyDown, uint64_t flags) {
    CGEventRef event =
        CGEventCreateKeyboardEvent(static_cast<CGEventSourceRef>(sources_.forThisThread()), keyCode, keyDown);
    if (event)
        CGEventSetFlags(event, static_cast<CGEventFlags>(flags)); // replaced, not merged
    return event;
}

bool MacKeySender::post(uint16_t keyCode, bool keyDown, uint64_t flags, int32_t pid) {
    CGEventRef made = static_cast<CGEventRef>(createEvent(keyCode, keyDown, flags));
    if (!made)
        return false;
    CGEventPostToPid(pid, made);
    CFRelease(made);
    return true;
}

bool MacKeySender::postToSession(uint16_t keyCode, bool keyDown, uint64_t flags) {
    CGEventRef made = static_cast<CGEventRef>(createEvent(keyCode, keyDown, flags));
    if (!made)
        return false;
    // Where the keyboard's own events enter: the window server's hot keys (Spotlight, the Spaces)
    // and the session's taps, ours included, see it after this point.
    CGEventPost(kCGHIDEventTap, made);
    CFRelease(made);
    return true;
}

} // namespace fenwold
