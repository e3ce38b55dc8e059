#pragma once

#include "ports/MainQueue.h"
#include "ports/Subscription.h"

#include <functional>

namespace fenwold {

class Accessibility;

// Asks for Accessibility (with the system prompt) and calls `arm` once, as soon as the
// permission is there: at once, or when the system announces a change to its list of trusted
// applications and the permission is then found granted. The answer can lag the announcement, so
// it is read at once and again a moment later; a slow poll stands in for an announcement that
// never came. The watch goes on after arming, because the user can revoke the permission while
// the program runs: `lost` runs when it is first found gone, `regained` when first found back.
class AccessibilityGate {
public:
    struct Handlers {
        std::function<void()> arm;
        std::function<void()> lost;
        std::function<void()> regained;
    };
    static constexpr double pollInterval = 10.0;
    static constexpr double recheckDelay = 1.0; // after an announcement

    AccessibilityGate(MainQueue& queue, Accessibility& accessibility, Handlers handlers);
    void start();
    bool armed() const { return armed_; }
    // Whether the last answer (the request's or a later check's) found the permission granted.
    bool trusted() const { return trusted_; }
    bool polling() const { return timer_.isActive(); }

private:
    void check();

    MainQueue& queue_;
    Accessibility& accessibility_;
    Handlers handlers_;
    TimerHandle timer_;
    TimerHandle recheck_;
    Subscription announcements_;
    bool armed_ = false;
    bool trusted_ = false;
};

} // namespace fenwold
