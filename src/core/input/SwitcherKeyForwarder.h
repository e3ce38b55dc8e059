#pragma once

#include <QStringList>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

namespace fenwold {

class InputRoutingState;

// Keys typed between Alt release and the end of the switcher session would land in the old
// application; the forwarder captures them, waits until the activated window's process is known
// and every captured key is released, then replays them in order to that process.
// Lock order: this object's lock first, the routing lock inside it.
class SwitcherKeyForwarder {
public:
    struct Stroke {
        uint16_t key = 0;
        uint64_t flags = 0;
        friend bool operator==(const Stroke&, const Stroke&) = default;
    };
    using Deliver = std::function<void(uint16_t key, uint64_t flags, int32_t pid)>;

    SwitcherKeyForwarder(InputRoutingState& routing, Deliver deliver);
    SwitcherKeyForwarder(const SwitcherKeyForwarder&) = delete;
    SwitcherKeyForwarder& operator=(const SwitcherKeyForwarder&) = delete;

    // A new session begins capturing (event-tap thread).
    void start(uint64_t sessionID);
    // A key while the session commits; true when captured (the tap swallows it).
    bool capture(uint64_t sessionID, uint16_t key, uint64_t flags, bool down);
    // The commit named its target (main thread); a pid below 1 or none drops the strokes.
    void resolve(uint64_t sessionID, std::optional<int32_t> targetPID);
    // Back to idle without delivering anything.
    void clear();
    // Back to idle when the forwarder belongs to this session (cancellation, hide).
    void clearIfSession(uint64_t sessionID);

    std::optional<uint64_t> sessionID() const;
    std::vector<Stroke> strokes() const;

private:
    void clearLocked();
    void flushIfReadyLocked(uint64_t id);

    InputRoutingState* routing_;
    Deliver deliver_;
    mutable std::mutex lock_;
    std::optional<uint64_t> sessionID_;
    bool targetResolved_ = false;
    std::optional<int32_t> targetPID_;
    std::vector<Stroke> strokes_;
    std::set<uint16_t> heldKeys_;
};

} // namespace fenwold
