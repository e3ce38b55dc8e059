#include "HeldClick.h"

#include "core/input/DispatchTargets.h"
#include "ports/ClickSender.h"

#include <cmath>
#include <utility>

namespace fenwold {

HeldClick::HeldClick(MainQueue& queue, ClickSender* sender) : queue_(queue), sender_(sender) {}

void HeldClick::hold(const TapEvent& down, ClickTarget& target) {
    uint64_t id = 0;
    {
        std::lock_guard lock(mutex_);
        // A press still held from before lost its release (`forget` covers the tap's own
        // outages): it is dropped, as its release already reached the system.
        id = ++lastID_;
        press_ = Press{id, &target, down, false, std::nullopt};
        holding_.store(true, std::memory_order_release);
    }
    queue_.post(lifetime_.guard([this, id] {
        heldTimer_.cancel();
        heldTimer_ = queue_.after(kHeldPress, lifetime_.guard([this, id] { heldTooLong(id); }));
        decide(id);
    }));
}

bool HeldClick::dragged(const TapEvent& event) {
    if (!holding()) return false;
    std::optional<Press> given;
    {
        std::lock_guard lock(mutex_);
        if (!press_) return false;
        const Point from = press_->down.location;
        if (std::hypot(event.location.x - from.x, event.location.y - from.y) <= kDragSlop) return true;
        given = letGo();
    }
    // A drag from here is the system's: its press goes back and this move after it, so that what
    // lies under the pointer sees the press before any movement.
    replay(*given, event);
    return true;
}

bool HeldClick::released(const TapEvent& event) {
    if (!holding()) return false;
    ClickTarget* target = nullptr;
    {
        std::lock_guard lock(mutex_);
        if (!press_) return false;
        if (!press_->taken) {
            // Still being decided: the release waits with the press.
            press_->after = event;
            return true;
        }
        target = letGo()->target;
    }
    queue_.post(lifetime_.guard([target] { target->clicked(); }));
    return true;
}

void HeldClick::forget() {
    std::lock_guard lock(mutex_);
    letGo();
}

std::optional<HeldClick::Press> HeldClick::letGo() {
    holding_.store(false, std::memory_order_release);
    return std::exchange(press_, std::nullopt);
}

void HeldClick::decide(uint64_t id) {
    ClickTarget* target = nullptr;
    TapEvent down;
    {
        std::lock_guard lock(mutex_);
        if (!press_ || press_->id != id) return;
        target = press_->target;
        down = press_->down;
    }
    // Asked without the lock: the answer reads Accessibility, and the tap must not wait for it.
    const bool takes = target->takes(down.location, down.flags);
    std::optional<Press> done;
    {
        std::lock_guard lock(mutex_);
        // Given back meanwhile (a drag), or a newer press.
        if (!press_ || press_->id != id) return;
        if (takes && !press_->after) {
            press_->taken = true;
            return;
        }
        done = letGo();
    }
    heldTimer_.cancel();
    if (takes)
        target->clicked();
    else
        replay(*done, done->after);
}

void HeldClick::heldTooLong(uint64_t id) {
    std::optional<Press> given;
    {
        std::lock_guard lock(mutex_);
        if (!press_ || press_->id != id || press_->after) return;
        given = letGo();
    }
    replay(*given, std::nullopt);
}

void HeldClick::replay(const Press& press, const std::optional<TapEvent>& then) const {
    if (!sender_) return;
    const TapEvent& d = press.down;
    sender_->post(eventtype::leftMouseDown, d.location, d.flags, d.clickState);
    if (then) sender_->post(then->type, then->location, then->flags, then->clickState);
}

} // namespace fenwold
