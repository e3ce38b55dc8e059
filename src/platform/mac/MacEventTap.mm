#include "MacEventTap.h"

#import <AppKit/AppKit.h>
#import <ApplicationServices/ApplicationServices.h>
#import <Foundation/Foundation.h>

#include "CFRef.h"

#include <chrono>
#include <future>
#include <pthread.h>
#include <pthread/qos.h>
#include <thread>

namespace fenwold {

struct MacEventTap::State {
    std::function<TapAnswer(TapEvent&)> handler;
    CFRef<CFMachPortRef> tap;
    CFRef<CFRunLoopSourceRef> source;
    CFRef<CFRunLoopRef> runLoop; // the thread's, retained so that stopping can wake it safely
    std::future<void> finished;  // ready once the thread's run loop has returned
    std::thread thread;
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
    e.keyboardType = field(event, kCGKeyboardEventKeyboardType);
    const CGPoint location = CGEventGetLocation(event); // global, top-left origin
    e.location = {location.x, location.y};
    e.scrollDelta2 = static_cast<double>(field(event, kCGScrollWheelEventDeltaAxis2));
    e.scrollPointDelta1 = static_cast<double>(field(event, kCGScrollWheelEventPointDeltaAxis1));
    e.scrollContinuous = field(event, kCGScrollWheelEventIsContinuous);
    // Subtype and data1 exist only on system-defined events; reading them elsewhere raises.
    NSEvent* system =
        type == static_cast<CGEventType>(NSEventTypeSystemDefined) ? [NSEvent eventWithCGEvent:event] : nil;
    e.systemSubtype = system ? system.subtype : 0;
    e.systemData1 = system ? system.data1 : 0;
    return e;
}

CGEventRef deliver(MacEventTap::State* state, CGEventType type, CGEventRef event) {
    // The system's notices that it turned the tap off carry no event worth reading: only the type
    // goes to the dispatch, and the notice goes back as it came.
    if (type == kCGEventTapDisabledByTimeout || type == kCGEventTapDisabledByUserInput) {
        TapEvent notice;
        notice.type = static_cast<uint32_t>(type);
        state->handler(notice);
        return event;
    }
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

CGEventRef callback(CGEventTapProxy, CGEventType type, CGEventRef event, void* refcon) {
    // The thread has no pool of its own, and the dispatch asks the workspace for autoreleased
    // objects (the front application) on it: drain what each event made.
    @autoreleasepool {
        return deliver(static_cast<MacEventTap::State*>(refcon), type, event);
    }
}

// The tap thread: named and prioritised from inside (macOS sets both only for the calling
// thread). It runs until its run loop is stopped or loses the tap's source.
void run(MacEventTap::State* state, std::promise<void> ready, std::promise<void> finished) {
    pthread_setname_np("Fenwold.eventTap");
    pthread_set_qos_class_self_np(QOS_CLASS_USER_INTERACTIVE, 0);
    state->runLoop =
        CFRef<CFRunLoopRef>(static_cast<CFRunLoopRef>(const_cast<void*>(CFRetain(CFRunLoopGetCurrent()))));
    CFRunLoopAddSource(state->runLoop.get(), state->source.get(), kCFRunLoopCommonModes);
    CGEventTapEnable(state->tap.get(), true);
    ready.set_value();
    CFRunLoopRun();
    finished.set_value();
}

} // namespace

MacEventTap::MacEventTap() : state_(std::make_unique<State>()) {}

MacEventTap::~MacEventTap() { stop(); }

bool MacEventTap::start(uint64_t eventMask, std::function<TapAnswer(TapEvent&)> handler) {
    state_->handler = std::move(handler);
    state_->tap = CFRef<CFMachPortRef>(
        CGEventTapCreate(kCGSessionEventTap, kCGHeadInsertEventTap, kCGEventTapOptionDefault,
                         static_cast<CGEventMask>(eventMask), &callback, state_.get()));
    if (!state_->tap)
        return false;
    state_->source =
        CFRef<CFRunLoopSourceRef>(CFMachPortCreateRunLoopSource(kCFAllocatorDefault, state_->tap.get(), 0));
    std::promise<void> ready;
    std::future<void> running = ready.get_future();
    std::promise<void> finished;
    state_->finished = finished.get_future();
    state_->thread = std::thread(run, state_.get(), std::move(ready), std::move(finished));
    running.wait(); // the run loop is known before anyone can ask to stop it
    return true;
}

void MacEventTap::reEnable() {
    if (state_->tap)
        CGEventTapEnable(state_->tap.get(), true);
}

void MacEventTap::disable() {
    if (state_->tap)
        CGEventTapEnable(state_->tap.get(), false);
}

void MacEventTap::stop() {
    if (!state_->thread.joinable())
        return;
    // Off first, so no new event waits on the callback; invalidating the port takes its source
    // out of the run loop. A stop request can be missed by a loop that is between two turns, so
    // it is repeated until the loop has returned; only then is the thread joined.
    CGEventTapEnable(state_->tap.get(), false);
    CFMachPortInvalidate(state_->tap.get());
    do {
        CFRunLoopStop(state_->runLoop.get());
        CFRunLoopWakeUp(state_->runLoop.get());
    } while (state_->finished.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready);
    state_->thread.join();
    state_->source.reset();
    state_->tap.reset();
    state_->runLoop.reset();
}

uint64_t MacEventTap::modifierState(ModifierState which) const {
    const CGEventSourceStateID id = which == ModifierState::hardware
                                        ? kCGEventSourceStateHIDSystemState
                                        : kCGEventSourceStateCombinedSessionState;
    return static_cast<uint64_t>(CGEventSourceFlagsState(id));
}

} // namespace fenwold
