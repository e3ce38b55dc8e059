#include "MacKeySender.h"

#import <ApplicationServices/ApplicationServices.h>

namespace fenwold {

MacKeySender::MacKeySender(int64_t marker) : marker_(marker) {}

MacKeySender::~MacKeySender() {
    for (const auto &[thread, source] : sources_)
        if (source)
            CFRelease(static_cast<CGEventSourceRef>(source));
}

void *MacKeySender::source() {
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

bool MacKeySender::post(uint16_t keyCode, bool keyDown, uint64_t flags, int32_t pid) {
    CGEventRef event = CGEventCreateKeyboardEvent(static_cast<CGEventSourceRef>(source()), keyCode, keyDown);
    if (!event)
        return false;
    CGEventSetFlags(event, static_cast<CGEventFlags>(flags)); // replaced, not merged
    CGEventPostToPid(pid, event);
    CFRelease(event);
    return true;
}

} // namespace fenwold
