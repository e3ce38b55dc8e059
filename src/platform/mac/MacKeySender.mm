#include "MacKeySender.h"

#import <ApplicationServices/ApplicationServices.h>

namespace fenwold {

MacKeySender::MacKeySender(int64_t marker) : marker_(marker) {}

MacKeySender::~MacKeySender() {
    for (const auto& [thread, source] : sources_)
        if (source)
            CFRelease(static_cast<CGEventSourceRef>(source));
}

void* MacKeySender::source() {
    std::lock_guard lock(mutex_);
    auto [it, made] = sources_.try_emplace(std::this_thread::get_id(), nullptr);
    if (!made)
        return it->second;
    // Every event made from this source carries the marker, so the tap passes it untouched. An
    // explicit source also keeps event creation off the main thread's input-source machinery.
    CGEventSourceRef source = CGEventSourceCreate(kCGEventSourceStatePrivate);
    if (source)
        CGEventSourceSetUserData(source, marker_);
    it->second = source;
    return source;
}

void* MacKeySender::createEvent(uint16_t keyCode, bool keyDown, uint64_t flags) {
    CGEventRef event = CGEventCreateKeyboardEvent(static_cast<CGEventSourceRef>(source()), keyCode, keyDown);
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
