#include "InputRoutingState.h"

#include <limits>

namespace fenwold {

InputRoutingState::Snapshot InputRoutingState::snapshot() const {
    if (atRest_.load(std::memory_order_acquire)) return {};
    std::lock_guard guard(lock_);
    return state_;
}

uint64_t InputRoutingState::beginSwitcherSession() {
    std::lock_guard guard(lock_);
    const uint64_t id =
        nextSwitcherSessionID_ == std::numeric_limits<uint64_t>::max() ? 1 : nextSwitcherSessionID_ + 1;
    nextSwitcherSessionID_ = id;
    state_.switcherPhase = SwitcherPhase::capturing(id);
    changed();
    return id;
}

bool InputRoutingState::beginSwitcherCancellation(uint64_t id) {
    std::lock_guard guard(lock_);
    if (!state_.switcherPhase.isSession(id)) return false;
    state_.switcherPhase = SwitcherPhase::cancelling(id);
    changed();
    return true;
}

bool InputRoutingState::commitSwitcherSession(uint64_t id) {
    std::lock_guard guard(lock_);
    if (state_.switcherPhase != SwitcherPhase::capturing(id)) return false;
    state_.switcherPhase = SwitcherPhase::committing(id);
    changed();
    return true;
}

bool InputRoutingState::endSwitcherSession(uint64_t id) {
    std::lock_guard guard(lock_);
    if (!state_.switcherPhase.isSession(id)) return false;
    state_.switcherPhase = SwitcherPhase::closed();
    changed();
    return true;
}

bool InputRoutingState::isCurrentSession(uint64_t id) const {
    std::lock_guard guard(lock_);
    return state_.switcherPhase.isSession(id);
}

bool InputRoutingState::isCancelling(uint64_t id) const {
    std::lock_guard guard(lock_);
    return state_.switcherPhase == SwitcherPhase::cancelling(id);
}

void InputRoutingState::setSnapAssistOpen(bool open) {
    std::lock_guard guard(lock_);
    state_.snapAssistOpen = open;
    changed();
}

void InputRoutingState::setSnapLayoutsOpen(bool open) {
    std::lock_guard guard(lock_);
    state_.snapLayoutsOpen = open;
    changed();
}

void InputRoutingState::setClipboardOpen(bool open) {
    std::lock_guard guard(lock_);
    state_.clipboardOpen = open;
    changed();
}

void InputRoutingState::setMoveTarget(std::optional<WindowMoveTarget> target) {
    std::lock_guard guard(lock_);
    state_.moveTarget = target;
    changed();
}

void InputRoutingState::setLastIssuedID(uint64_t id) {
    std::lock_guard guard(lock_);
    nextSwitcherSessionID_ = id;
}

} // namespace fenwold
