#include "AccessibilityGate.h"

#include "ports/Accessibility.h"

namespace fenwold {

AccessibilityGate::AccessibilityGate(MainQueue& queue, Accessibility& accessibility, Handlers handlers)
    : queue_(queue), accessibility_(accessibility), handlers_(std::move(handlers)) {}

void AccessibilityGate::start() {
    if (armed_ || timer_.isActive()) return;
    trusted_ = accessibility_.requestTrust();
    if (trusted_) {
        armed_ = true;
        handlers_.arm();
    }
    // No limit: the user may grant (or revoke) the permission at any time.
    announcements_ = accessibility_.observeTrustChanges([this] {
        check();
        recheck_.cancel();
        recheck_ = queue_.after(recheckDelay, [this] { check(); });
    });
    timer_ = queue_.every(pollInterval, 1.0, [this] { check(); });
}

void AccessibilityGate::check() {
    const bool now = accessibility_.isTrusted();
    if (now == trusted_) return;
    trusted_ = now;
    if (now && !armed_) {
        armed_ = true;
        handlers_.arm();
    } else if (armed_) {
        const auto& changed = now ? handlers_.regained : handlers_.lost;
        if (changed) changed();
    }
}

} // namespace fenwold
