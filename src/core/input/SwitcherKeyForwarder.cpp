#include "SwitcherKeyForwarder.h"

#include "core/input/InputRoutingState.h"
#include "ports/KeyCodes.h"

namespace fenwold {

SwitcherKeyForwarder::SwitcherKeyForwarder(InputRoutingState& routing, Deliver deliver)
    : routing_(&routing), deliver_(std::move(deliver)) {}

void SwitcherKeyForwarder::start(uint64_t sessionID) {
    std::lock_guard guard(lock_);
    clearLocked();
    sessionID_ = sessionID;
}

bool SwitcherKeyForwarder::capture(uint64_t id, uint16_t key, uint64_t flags, bool down) {
    std::lock_guard guard(lock_);
    if (sessionID_ != id) return false;
    if (!routing_->isCurrentSession(id)) return false;
    if (down) {
        heldKeys_.insert(key);
        strokes_.push_back({key, flags});
    } else if (heldKeys_.erase(key) == 0) {
        // Its key-down was typed before Alt was released and reached the application.
        return false;
    }
    flushIfReadyLocked(id);
    return true;
}

void SwitcherKeyForwarder::resolve(uint64_t id, std::optional<int32_t> targetPID) {
    std::lock_guard guard(lock_);
    if (sessionID_ != id || !routing_->isCurrentSession(id)) return;
    targetResolved_ = true;
    if (targetPID && *targetPID >= 1) targetPID_ = targetPID;
    flushIfReadyLocked(id);
}

void SwitcherKeyForwarder::clear() {
    std::lock_guard guard(lock_);
    clearLocked();
}

void SwitcherKeyForwarder::clearIfSession(uint64_t id) {
    std::lock_guard guard(lock_);
    if (sessionID_ == id) clearLocked();
}

std::optional<uint64_t> SwitcherKeyForwarder::sessionID() const {
    std::lock_guard guard(lock_);
    return sessionID_;
}

std::vector<SwitcherKeyForwarder::Stroke> SwitcherKeyForwarder::strokes() const {
    std::lock_guard guard(lock_);
    return strokes_;
}

void SwitcherKeyForwarder::clearLocked() {
    sessionID_.reset();
    targetResolved_ = false;
    targetPID_.reset();
    strokes_.clear();
    heldKeys_.clear();
}

void SwitcherKeyForwarder::flushIfReadyLocked(uint64_t id) {
    if (!targetResolved_ || !heldKeys_.empty()) return;
    // Delivered under the lock, so a stroke captured meanwhile cannot overtake the replay.
    if (targetPID_)
        for (const Stroke& s : strokes_)
            deliver_(s.key, s.flags, *targetPID_);
    clearLocked();
    routing_->endSwitcherSession(id);
}

} // namespace fenwold
