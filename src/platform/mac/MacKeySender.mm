#include "MacKeySender.h"

#import <ApplicationServices/ApplicationServices.h>

namespace fenwold {

MacKeySender::MacKeySender(int64_t marker) {
    // Every event made from this source carries the marker, so the tap passes it untouched. An
    // explicit source also keeps event creation off the input-source machinery of the main thread.
    CGEventSourceRef source = CGEventSourceCreate(kCGEventSourceStatePrivate);
    if (source)
        CGEventSourceSetUserData(source, marker);
    source_ = source;
}

MacKeySender::~MacKeySender() {
    if (source_)
        CFRelease(static_cast<CGEventSourceRef>(source_));
}

bool MacKeySender::post(uint16_t keyCode, bool keyDown, uint64_t flags, int32_t pid) {
    CGEventRef event = CGEventCreateKeyboardEvent(static_cast<CGEventSourceRef>(source_), keyCode, keyDown);
    if (!event)
        return false;
    CGEventSetFlags(event, static_cast<CGEventFlags>(flags)); // replaced, not merged
    CGEventPostToPid(pid, event);
    CFRelease(event);
    return true;
}

} // namespace fenwold
