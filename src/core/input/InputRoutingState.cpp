#include "InputRoutingState.h"

#include <limits>

namespace fenwold {

InputRoutingState::Snapshot InputRoutingState::snapshot() const {
    std::lock_guard guard(lock_);
    return state_;
}

uint64_t InputRoutingState::beginSwitcherSession() {
    std::lock_guard guard(lock_);
    const uint64_t id =
        nextSwitcherSessionID_ == std::numeric_limits<uint64_t>::max() ? 1 : nextSwitcherSessionID_ + 1;
    nextSwitcherSessionID_ = id;
    state_.switcherPhase = SwitcherPhase::capturing(id);
    return id;
}

bool InputRoutingState::beginSwitcherCancellation(uint64_t id) {
    std::lock_guard guard(lock_);
    if (!state_.switcherPhase.isSession(id)) return false;
    state_.switcherPhase = SwitcherPhase::cancelling(id);
    return true;
}

bool InputRoutingState::commitSwitcherSession(uint64_t id) {
    std::lock_guard guard(lock_);
    if (state_.switcherPhase != SwitcherPhase::capturing(id)) return false;
    state_.switcherPhase = SwitcherPhase::committing(id);
    return true;
}

bool InputRoutingState::endSwitcherSession(uint64_t id) {
    std::lock_guard guard(lock_);
    if (!state_.switcherPhase.isSession(id)) return false;
    state_.switcherPhase = SwitcherPhase::closed();
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
}

void InputRoutingState::setSnapLayoutsOpen(bool open) {
    std::lock_guard guard(lock_);
    state_.snapLayoutsOpen = open;
}

void InputRoutingState::setClipboardOpen(bool open) {
    std::lock_guard guard(lock_);
    state_.clipboardOpen = open;
}

void InputRoutingState::setMoveTarget(std::optional<WindowMoveTarget> target) {
    std::lock_guard guard(lock_);
    state_.moveTarget = target;
}

void InputRoutingState::setLastIssuedID(uint64_t id) {
    std::lock_guard guard(lock_);
    nextSwitcherSessionID_ = id;
}

bool InputRoutingState::selfcheck(QStringList& failures) {
    const auto before = failures.size();
    InputRoutingState r;
    const uint64_t first = r.beginSwitcherSession();
    const uint64_t second = r.beginSwitcherSession();
    if (first != 1 || second != 2) failures << "InputRoutingState: ids are not issued 1, 2";
    if (r.beginSwitcherCancellation(first)) failures << "InputRoutingState: a stale id cancelled the session";
    if (!r.commitSwitcherSession(second) || r.snapshot().switcherPhase != SwitcherPhase::committing(second))
        failures << "InputRoutingState: Alt release did not commit";
    if (!r.endSwitcherSession(second) || r.beginSwitcherCancellation(second))
        failures << "InputRoutingState: a closed session could still be cancelled";
    r.setLastIssuedID(std::numeric_limits<uint64_t>::max());
    if (r.beginSwitcherSession() != 1) failures << "InputRoutingState: the id did not wrap to 1";
    return failures.size() == before;
}

} // namespace fenwold
