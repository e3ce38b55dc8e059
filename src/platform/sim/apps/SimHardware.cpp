#include "SimHardware.h"

#include "ports/KeyCodes.h"

#include <algorithm>
#include <optional>

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

Point SimHardware::onADisplay(Point location) const {
    const auto screens = session_.screens.screens();
    if (screens.empty()) return location;
    const double H = screens.front().frame.maxY();
    std::optional<Point> nearest;
    double best = 0;
    for (const ScreenInfo& s : screens) {
        const Rect f{s.frame.x, H - s.frame.maxY(), s.frame.width, s.frame.height};
        const Point p{std::clamp(location.x, f.minX(), f.maxX() - 1),
                      std::clamp(location.y, f.minY(), f.maxY() - 1)};
        const double d = (p.x - location.x) * (p.x - location.x) + (p.y - location.y) * (p.y - location.y);
        if (!nearest || d < best) nearest = p, best = d;
    }
    return *nearest;
}

TapAnswer SimHardware::dragPointer(Point to) {
    // The pointer stops at the displays' outer edges, however far the hand goes.
    const Point location = buttonDown_ ? onADisplay(to) : to;
    session_.screens.dragPointer(screenPoint(location));
    if (!buttonDown_) {
        pointer_ = location;
        return TapAnswer::pass;
    }
    TapEvent e = hardwareEvent(eventtype::leftMouseDragged, 0, flags_);
    e.location = location;
    const TapAnswer answer = run(e);
    if (answer == TapAnswer::pass) carryWindow(location);
    pointer_ = location;
    return answer;
}

void SimHardware::carryWindow(Point location) {
    if (!windowDrag_) return;
    const auto w = session_.windows.window(windowDrag_->window);
    if (!w || w->minimized || w->fullscreen) {
        windowDrag_.reset();
        return;
    }
    // Moved or resized by someone else since: the pointer holds it where it now is.
    if (w->frame != windowDrag_->placed)
        windowDrag_->grab = {pointer_.x - w->frame.x, pointer_.y - w->frame.y};
    // The title bar stays below the menu bar of the display the pointer is on.
    double top = 0;
    const auto screens = session_.screens.screens();
    if (!screens.empty()) {
        const double H = screens.front().frame.maxY();
        const Point p = screenPoint(location);
        for (const ScreenInfo& s : screens)
            if (s.frame.contains(p)) top = H - s.visibleFrame.maxY();
    }
    const Rect placed{location.x - windowDrag_->grab.x, std::max(top, location.y - windowDrag_->grab.y),
                      w->frame.width, w->frame.height};
    session_.windows.update(w->number, [&](SimWindow& x) { x.frame = placed; });
    windowDrag_->placed = placed;
}

std::optional<uint32_t> SimHardware::draggedWindow() const {
    if (!windowDrag_) return std::nullopt;
    return windowDrag_->window;
}

TapAnswer SimHardware::mouseDown(Point location, int clickCount) {
    movePointer(location);
    pointer_ = location;
    buttonDown_ = true;
    windowDrag_.reset();
    TapEvent e = hardwareEvent(eventtype::leftMouseDown, 0, flags_);
    e.clickState = clickCount;
    e.location = location;
    const TapAnswer answer = run(e);
    // A single press on a title bar, away from its buttons, picks the window up.
    const auto w =
        answer == TapAnswer::pass && clickCount < 2 ? session_.windows.windowAt(location) : std::nullopt;
    if (w && location.y < w->frame.y + SimWindows::kTitleBarHeight &&
        location.x >= SimWindows::buttonFrame(w->frame, 2).maxX() + 3)
        windowDrag_ = WindowDrag{w->number, {location.x - w->frame.x, location.y - w->frame.y}, w->frame};
    return answer;
}

TapAnswer SimHardware::mouseUp(Point at, int clickCount) {
    const Point location = buttonDown_ ? onADisplay(at) : at;
    buttonDown_ = false;
    windowDrag_.reset();
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
