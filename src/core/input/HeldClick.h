#pragma once

#include "core/windows/Lifetime.h"
#include "ports/EventTapHost.h"
#include "ports/MainQueue.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>

namespace fenwold {

class ClickSender;
class ClickTarget;

// A left-button press held back while the main thread asks its target whether it is a click the
// program takes (on a window's green button, on a Dock icon). A click there is swallowed, down and
// up together, and the target acts on it. Anything else goes back to the system: a press the
// target does not take, one held down (the Mac's menus behind a long press) and a drag that starts
// there get their press posted again where it happened, followed by what ended the wait (the
// release, or the first move beyond the slop); what comes after passes untouched.
class HeldClick {
public:
    // A press still down this long is the Mac's.
    static constexpr double kHeldPress = 0.4;
    // Points the pointer may move while the button is down and still make a click.
    static constexpr double kDragSlop = 4;

    HeldClick(MainQueue& queue, ClickSender* sender);
    HeldClick(const HeldClick&) = delete;
    HeldClick& operator=(const HeldClick&) = delete;

    // Event-tap thread. Hold this press for the target; the press is swallowed.
    void hold(const TapEvent& down, ClickTarget& target);
    // A mouse-dragged event: true when it is to be swallowed. Costs one atomic load while nothing
    // is held.
    bool dragged(const TapEvent& event);
    // The button went up: true when the release is to be swallowed.
    bool released(const TapEvent& event);
    // The tap was off for a while, so the release may have gone by unseen: whatever is held is
    // forgotten (posting its press now could leave the button down for the system).
    void forget();
    bool holding() const { return holding_.load(std::memory_order_acquire); }

private:
    struct Press {
        uint64_t id = 0;
        ClickTarget* target = nullptr;
        TapEvent down;
        bool taken = false;            // the target takes it if it ends as a click
        std::optional<TapEvent> after; // the release, when it came before the answer
    };

    // With the lock held: nothing is held any more; answers what was.
    std::optional<Press> letGo();
    // Main thread.
    void decide(uint64_t id);
    void heldTooLong(uint64_t id);
    // Posts the press again, and the event that followed it when there was one.
    void replay(const Press& press, const std::optional<TapEvent>& then) const;

    MainQueue& queue_;
    ClickSender* sender_;
    mutable std::mutex mutex_;
    std::optional<Press> press_;
    uint64_t lastID_ = 0;
    // Read without the lock on every mouse-dragged event.
    std::atomic<bool> holding_{false};
    TimerHandle heldTimer_; // main thread
    Lifetime lifetime_;
};

} // namespace fenwold
