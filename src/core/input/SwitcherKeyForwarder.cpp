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

bool SwitcherKeyForwarder::selfcheck(QStringList& failures) {
    const auto before = failures.size();
    InputRoutingState routing;
    std::vector<std::pair<uint16_t, int32_t>> delivered;
    SwitcherKeyForwarder f(routing, [&](uint16_t key, uint64_t, int32_t pid) {
        delivered.push_back({key, pid});
    });
    const uint64_t id = routing.beginSwitcherSession();
    f.start(id);
    routing.commitSwitcherSession(id);
    if (!f.capture(id, kV, flag::command, true))
        failures << "SwitcherKeyForwarder: a committing key was not captured";
    f.resolve(id, 42);
    if (!delivered.empty()) failures << "SwitcherKeyForwarder: replayed while a key was still held";
    f.capture(id, kV, flag::command, false);
    if (delivered != std::vector<std::pair<uint16_t, int32_t>>{{kV, 42}})
        failures << "SwitcherKeyForwarder: the stroke was not replayed once to the target";
    if (!routing.snapshot().switcherPhase.isClosed())
        failures << "SwitcherKeyForwarder: the session did not end";
    if (f.capture(id, 0, 0, true)) failures << "SwitcherKeyForwarder: captured after the session ended";
    return failures.size() == before;
}

} // namespace fenwold
