#include "MacClickSender.h"

#import <ApplicationServices/ApplicationServices.h>

namespace fenwold {

bool MacClickSender::post(uint32_t type, Point location, uint64_t flags, int64_t clickState) {
    // The port's event types are Quartz's numbers (left down 1, up 2, dragged 6).
    const CGEventType eventType = static_cast<CGEventType>(type);
    if (eventType != kCGEventLeftMouseDown && eventType != kCGEventLeftMouseUp &&
        eventType != kCGEventLeftMouseDragged)
        return false;
    // Global coordinates with the origin at the top left of the primary display, as the tap's.
    CGEventRef event =
        CGEventCreateMouseEvent(static_cast<CGEventSourceRef>(sources_.forThisThread()), eventType,
                                CGPointMake(location.x, location.y), kCGMouseButtonLeft);
    if (!event)
        return false;
    CGEventSetFlags(event, static_cast<CGEventFlags>(flags)); // replaced, not merged
    CGEventSetIntegerValueField(event, kCGMouseEventClickState, clickState);
    // The source stamps its events already; the field is set as well so that the tap's test of
    // the marker does not depend on how the source's data reaches a mouse event.
    CGEventSetIntegerValueField(event, kCGEventSourceUserData, sources_.marker());
    // Where the mouse's own events enter: the window server routes it to what lies under the
    // point, and the session's taps, ours included, see it after this point.
    CGEventPost(kCGHIDEventTap, event);
    CFRelease(event);
    return true;
}

} // namespace fenwold
