#include "SimEventTap.h"

#include "SimAccessibility.h"

#include "ports/SecureInput.h"

namespace fenwold {

bool SimEventTap::start(uint64_t eventMask, std::function<TapAnswer(TapEvent&)> handler) {
    std::lock_guard lock(mutex_);
    if (creationFails_) return false;
    keysAllowed_ = !accessibility_ || accessibility_->isTrusted();
    revocationsAtStart_ = accessibility_ ? accessibility_->revocations() : 0;
    const uint64_t keys = (uint64_t{1} << eventtype::keyDown) | (uint64_t{1} << eventtype::keyUp);
    const uint64_t mask = keysAllowed_ ? eventMask : eventMask & ~keys;
    if (mask == 0) return false;
    mask_ = mask;
    handler_ = std::move(handler);
    enabled_ = true;
    ++starts_;
    return true;
}

void SimEventTap::reEnable() {
    if (beforeReEnable) beforeReEnable();
    std::lock_guard lock(mutex_);
    ++reEnables_;
    enabled_ = true;
}

int SimEventTap::startCount() const {
    std::lock_guard lock(mutex_);
    return starts_;
}

void SimEventTap::setAccessibility(const SimAccessibility* accessibility) {
    std::lock_guard lock(mutex_);
    accessibility_ = accessibility;
}

void SimEventTap::disable() {
    std::lock_guard lock(mutex_);
    enabled_ = false;
}

void SimEventTap::stop() {
    {
        std::lock_guard lock(mutex_);
        handler_ = nullptr;
    }
    std::lock_guard wait(delivering_);
}

bool SimEventTap::enabled() const {
    std::lock_guard lock(mutex_);
    return enabled_;
}

uint64_t SimEventTap::modifierState(ModifierState which) const {
    std::lock_guard lock(mutex_);
    return which == ModifierState::hardware ? hardwareFlags_ : sessionFlags_;
}

void SimEventTap::setModifierState(ModifierState which, uint64_t flags) {
    std::lock_guard lock(mutex_);
    (which == ModifierState::hardware ? hardwareFlags_ : sessionFlags_) = flags;
}

bool SimEventTap::started() const {
    std::lock_guard lock(mutex_);
    return static_cast<bool>(handler_);
}

uint64_t SimEventTap::eventMask() const {
    std::lock_guard lock(mutex_);
    return mask_;
}

int SimEventTap::reEnableCount() const {
    std::lock_guard lock(mutex_);
    return reEnables_;
}

void SimEventTap::setCreationFails(bool fails) {
    std::lock_guard lock(mutex_);
    creationFails_ = fails;
}

void SimEventTap::setSecureInput(const SecureInput* secureInput) {
    std::lock_guard lock(mutex_);
    secureInput_ = secureInput;
}

TapAnswer SimEventTap::feed(TapEvent& event) {
    std::lock_guard delivery(delivering_);
    std::function<TapAnswer(TapEvent&)> handler;
    {
        std::lock_guard lock(mutex_);
        const bool notice = event.type >= eventtype::tapDisabledByTimeout;
        if (!notice && (event.type >= 64 || !(mask_ & (uint64_t{1} << event.type)))) return TapAnswer::pass;
        if (!enabled_) return TapAnswer::pass;
        const bool key = event.type == eventtype::keyDown || event.type == eventtype::keyUp;
        if (key && secureInput_ && secureInput_->enabled()) return TapAnswer::pass;
        const bool keysKept =
            keysAllowed_ && (!accessibility_ || (accessibility_->isTrusted() &&
                                                 accessibility_->revocations() == revocationsAtStart_));
        if (key && !keysKept) return TapAnswer::pass;
        handler = handler_;
    }
    return handler ? handler(event) : TapAnswer::pass;
}

} // namespace fenwold
