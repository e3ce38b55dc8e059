#include "SimHardware.h"

#include "ports/KeyCodes.h"

#include <algorithm>

namespace fenwold {

namespace {

// The flag a modifier key holds down, with the device bit that tells left from right.
std::optional<std::pair<uint64_t, uint64_t>> modifierBits(uint16_t keyCode) {
    switch (keyCode) {
    case kCommand:
        return std::pair{flag::command, uint64_t{0x08}};
    case kRightCommand:
        return std::pair{flag::command, uint64_t{0x10}};
    case kShift:
        return std::pair{flag::shift, uint64_t{0x02}};
    case kRightShift:
        return std::pair{flag::shift, uint64_t{0x04}};
    case kOption:
        return std::pair{flag::option, flag::leftOption};
    case kRightOption:
        return std::pair{flag::option, flag::rightOption};
    case kControl:
        return std::pair{flag::control, uint64_t{0x01}};
    case kRightControl:
        return std::pair{flag::control, uint64_t{0x2000}};
    default:
        return std::nullopt;
    }
}

constexpr uint64_t kNonCoalesced = 0x100;

TapEvent hardwareEvent(uint32_t type, int64_t keyCode, uint64_t flags) {
    TapEvent e;
    e.type = type;
    e.keyCode = keyCode;
    e.flags = flags | kNonCoalesced;
    return e;
}

} // namespace

bool TapDecision::rewritten() const {
    return answer == TapAnswer::pass && (before.keyCode != after.keyCode || before.flags != after.flags ||
                                         before.buttonNumber != after.buttonNumber);
}

SimHardware::SimHardware(SimSession& session, SimApps& apps) : session_(session), apps_(apps) {}

void SimHardware::keyDown(uint16_t keyCode, bool autorepeat) {
    if (const auto bits = modifierBits(keyCode)) {
        if (std::find(heldModifiers_.begin(), heldModifiers_.end(), keyCode) != heldModifiers_.end()) return;
        heldModifiers_.push_back(keyCode);
        flags_ |= bits->first | bits->second;
        run(hardwareEvent(eventtype::flagsChanged, keyCode, flags_));
        return;
    }
    TapEvent e = hardwareEvent(eventtype::keyDown, keyCode, flags_);
    e.autorepeat = autorepeat ? 1 : 0;
    run(e);
}

void SimHardware::keyUp(uint16_t keyCode) {
    if (const auto bits = modifierBits(keyCode)) {
        auto it = std::find(heldModifiers_.begin(), heldModifiers_.end(), keyCode);
        if (it == heldModifiers_.end()) return;
        heldModifiers_.erase(it);
        flags_ &= ~bits->second;
        // The side-independent bit stays while the other side's key is still held.
        const bool otherSide = std::any_of(heldModifiers_.begin(), heldModifiers_.end(),
                                           [&](uint16_t k) { return modifierBits(k)->first == bits->first; });
        if (!otherSide) flags_ &= ~bits->first;
        run(hardwareEvent(eventtype::flagsChanged, keyCode, flags_));
        return;
    }
    run(hardwareEvent(eventtype::keyUp, keyCode, flags_));
}

void SimHardware::tap(uint16_t keyCode) {
    keyDown(keyCode);
    keyUp(keyCode);
}

void SimHardware::releaseAll() {
    while (!heldModifiers_.empty())
        keyUp(heldModifiers_.back());
}

Point SimHardware::screenPoint(Point location) const {
    const auto screens = session_.screens.screens();
    const double primaryHeight = screens.empty() ? 0 : screens.front().frame.height;
    return {location.x, primaryHeight - location.y};
}

void SimHardware::movePointer(Point location) {
    session_.screens.movePointer(screenPoint(location));
}

void SimHardware::dragPointer(Point location) {
    session_.screens.dragPointer(screenPoint(location));
}

TapAnswer SimHardware::mouseDown(Point location, int clickCount) {
    movePointer(location);
    TapEvent e = hardwareEvent(eventtype::leftMouseDown, 0, flags_);
    e.clickState = clickCount;
    e.location = location;
    return run(e);
}

TapAnswer SimHardware::mouseUp(Point location, int clickCount) {
    TapEvent e = hardwareEvent(eventtype::leftMouseUp, 0, flags_);
    e.clickState = clickCount;
    e.location = location;
    return run(e);
}

TapAnswer SimHardware::scroll(Point location, double delta) {
    TapEvent e = hardwareEvent(eventtype::scrollWheel, 0, flags_);
    e.scrollDelta = delta;
    e.location = location;
    return run(e);
}

TapAnswer SimHardware::run(TapEvent event) {
    if (event.type == eventtype::keyDown || event.type == eventtype::keyUp)
        event.keyboardType = session_.keyboardLayout.keyboardType();
    session_.eventTap.setModifierState(ModifierState::hardware, flags_);
    session_.eventTap.setModifierState(ModifierState::combinedSession, flags_);
    TapDecision decision{event, event, TapAnswer::pass};
    decision.answer = session_.eventTap.feed(decision.after);
    if (onDecision) onDecision(decision);
    // Keys the program posted while deciding reach their process before the passed event does.
    apps_.flush();
    if (decision.answer == TapAnswer::pass && decision.after.type == eventtype::keyDown) {
        const AppKey key{static_cast<uint16_t>(decision.after.keyCode), decision.after.flags,
                         decision.after.autorepeat != 0};
        if (programKeyWindow && programKeyWindow(key)) return decision.answer;
        if (SimApplication* front = apps_.front()) apps_.deliver(front->pid(), key);
    }
    return decision.answer;
}

} // namespace fenwold
