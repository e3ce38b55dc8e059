#include "MacEventTap.h"

#import <AppKit/AppKit.h>
#import <ApplicationServices/ApplicationServices.h>
#import <Foundation/Foundation.h>

namespace fenwold {

struct MacEventTap::State {
    std::function<TapAnswer(TapEvent &)> handler;
    CFMachPortRef tap = nullptr;
    CFRunLoopSourceRef source = nullptr;
    NSThread *thread = nil; // strong under ARC
};

namespace {

int64_t field(CGEventRef e, CGEventField f) { return CGEventGetIntegerValueField(e, f); }

TapEvent record(CGEventType type, CGEventRef event) {
    TapEvent e;
    e.type = static_cast<uint32_t>(type);
    e.keyCode = field(event, kCGKeyboardEventKeycode);
    e.flags = static_cast<uint64_t>(CGEventGetFlags(event));
    e.autorepeat = field(event, kCGKeyboardEventAutorepeat);
    e.clickState = field(event, kCGMouseEventClickState);
    e.buttonNumber = field(event, kCGMouseEventButtonNumber);
    e.scrollDelta = CGEventGetDoubleValueField(event, kCGScrollWheelEventDeltaAxis1);
    e.sourcePid = field(event, kCGEventSourceUnixProcessID);
    e.sourceUserData = field(event, kCGEventSourceUserData);
    const CGPoint location = CGEventGetLocation(event); // global, top-left origin
    e.location = {location.x, location.y};
    e.scrollDelta2 = static_cast<double>(field(event, kCGScrollWheelEventDeltaAxis2));
    e.scrollPointDelta1 = static_cast<double>(field(event, kCGScrollWheelEventPointDeltaAxis1));
    e.scrollContinuous = field(event, kCGScrollWheelEventIsContinuous);
    // Subtype and data1 exist only on system-defined events; reading them elsewhere raises.
    // The tap thread has no pool of its own for the autoreleased event.
    @autoreleasepool {
        NSEvent *system = type == static_cast<CGEventType>(NSEventTypeSystemDefined)
                              ? [NSEvent eventWithCGEvent:event]
                              : nil;
        e.systemSubtype = system ? system.subtype : 0;
        e.systemData1 = system ? system.data1 : 0;
    }
    return e;
}

CGEventRef callback(CGEventTapProxy, CGEventType type, CGEventRef event, void *refcon) {
    auto *state = static_cast<MacEventTap::State *>(refcon);
    TapEvent e = record(type, event);
    const TapEvent before = e;
    const TapAnswer answer = state->handler(e);
    // Write back only what the dispatch changed.
    if (e.flags != before.flags)
        CGEventSetFlags(event, static_cast<CGEventFlags>(e.flags));
    if (e.keyCode != before.keyCode)
        CGEventSetIntegerValueField(event, kCGKeyboardEventKeycode, e.keyCode);
    if (e.buttonNumber != before.buttonNumber)
        CGEventSetIntegerValueField(event, kCGMouseEventButtonNumber, e.buttonNumber);
    return answer == TapAnswer::pass ? event : nullptr;
}

} // namespace

MacEventTap::MacEventTap() : state_(std::make_unique<State>()) {}

MacEventTap::~MacEventTap() = default; // the tap lives as long as the process

bool MacEventTap::start(uint64_t eventMask, std::function<TapAnswer(TapEvent &)> handler) {
    state_->handler = std::move(handler);
    state_->tap = CGEventTapCreate(kCGSessionEventTap, kCGHeadInsertEventTap, kCGEventTapOptionDefault,
                                   static_cast<CGEventMask>(eventMask), &callback, state_.get());
    if (!state_->tap)
        return false;
    state_->source = CFMachPortCreateRunLoopSource(kCFAllocatorDefault, state_->tap, 0);
    State *state = state_.get();
    state_->thread = [[NSThread alloc] initWithBlock:^{
      CFRunLoopAddSource(CFRunLoopGetCurrent(), state->source, kCFRunLoopCommonModes);
      CGEventTapEnable(state->tap, true);
      CFRunLoopRun();
    }];
    state_->thread.name = @"Fenwold.eventTap";
    state_->thread.qualityOfService = NSQualityOfServiceUserInteractive;
    [state_->thread start];
    return true;
}

void MacEventTap::reEnable() { CGEventTapEnable(state_->tap, true); }

uint64_t MacEventTap::modifierState(ModifierState which) const {
    const CGEventSourceStateID id = which == ModifierState::hardware
                                        ? kCGEventSourceStateHIDSystemState
                                        : kCGEventSourceStateCombinedSessionState;
    return static_cast<uint64_t>(CGEventSourceFlagsState(id));
}

} // namespace fenwold
