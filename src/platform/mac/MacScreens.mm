#include "MacScreens.h"

#include "EventMonitors.h"

#import <AppKit/AppKit.h>
#import <CoreGraphics/CoreGraphics.h>

namespace fenwold {

namespace {
Rect toRect(NSRect r) { return {r.origin.x, r.origin.y, r.size.width, r.size.height}; }
} // namespace

std::vector<ScreenInfo> MacScreens::screens() const {
    std::vector<ScreenInfo> out;
    for (NSScreen* screen in NSScreen.screens)
        out.push_back({toRect(screen.frame), toRect(screen.visibleFrame)});
    return out;
}

int MacScreens::mainScreenIndex() const {
    const NSUInteger index = [NSScreen.screens indexOfObject:NSScreen.mainScreen];
    return index == NSNotFound ? -1 : static_cast<int>(index);
}

Point MacScreens::pointerLocation() const {
    const NSPoint p = NSEvent.mouseLocation;
    return {p.x, p.y};
}

void MacScreens::warpPointer(Point p) { CGWarpMouseCursorPosition(CGPointMake(p.x, p.y)); }

double MacScreens::doubleClickInterval() const { return NSEvent.doubleClickInterval; }

bool MacScreens::reduceMotion() const {
    return NSWorkspace.sharedWorkspace.accessibilityDisplayShouldReduceMotion;
}

bool MacScreens::reduceTransparency() const {
    return NSWorkspace.sharedWorkspace.accessibilityDisplayShouldReduceTransparency;
}

Subscription MacScreens::observeMouseMoved(std::function<void()> handler) {
    return monitorEvents(NSEventMaskMouseMoved,
                         [handler = std::move(handler)](NSEvent*, bool) { handler(); });
}

int64_t MacScreens::windowNumberAt(Point point) const {
    // Screen coordinates are the ones AppKit's are; 0 asks for the frontmost window of any
    // application at the point, whatever its level.
    return [NSWindow windowNumberAtPoint:NSMakePoint(point.x, point.y) belowWindowWithWindowNumber:0];
}

void MacScreens::setCursor(PointerCursor cursor) {
    // -[NSCursor set] changes the cursor at once, also for an application that is not active;
    // the next cursor update of the window under the pointer may change it again.
    switch (cursor) {
    case PointerCursor::iBeam:
        [NSCursor.IBeamCursor set];
        return;
    case PointerCursor::pointingHand:
        [NSCursor.pointingHandCursor set];
        return;
    case PointerCursor::arrow:
        break;
    }
    [NSCursor.arrowCursor set];
}

} // namespace fenwold
