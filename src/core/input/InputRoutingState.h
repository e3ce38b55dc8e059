#pragma once

#include <QStringList>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>

namespace fenwold {

// The window being moved with the keyboard from the window menu.
struct WindowMoveTarget {
    int32_t pid = 0;
    uint32_t id = 0;
    friend bool operator==(const WindowMoveTarget&, const WindowMoveTarget&) = default;
};

// Where the Alt+Tab switcher is, with the session id on every open phase.
struct SwitcherPhase {
    enum class Kind { closed, capturing, committing, cancelling };
    Kind kind = Kind::closed;
    uint64_t id = 0;

    static SwitcherPhase closed() { return {}; }
    static SwitcherPhase capturing(uint64_t id) { return {Kind::capturing, id}; }
    static SwitcherPhase committing(uint64_t id) { return {Kind::committing, id}; }
    static SwitcherPhase cancelling(uint64_t id) { return {Kind::cancelling, id}; }

    bool isClosed() const { return kind == Kind::closed; }
    // An open phase carrying this session id.
    bool isSession(uint64_t sessionID) const { return kind != Kind::closed && id == sessionID; }
    friend bool operator==(const SwitcherPhase&, const SwitcherPhase&) = default;
};

// The one structure shared by the event-tap thread and the main thread: which overlay owns the
// keyboard, and the switcher session ids that let queued work recognise it has gone stale. Its
// lock is always the innermost one: it is held only for a copy or a single transition.
class InputRoutingState {
public:
    struct Snapshot {
        SwitcherPhase switcherPhase;
        bool snapAssistOpen = false;
        bool snapLayoutsOpen = false;
        bool clipboardOpen = false;
        std::optional<WindowMoveTarget> moveTarget;
        friend bool operator==(const Snapshot&, const Snapshot&) = default;
    };

    InputRoutingState() = default;
    InputRoutingState(const InputRoutingState&) = delete;
    InputRoutingState& operator=(const InputRoutingState&) = delete;

    Snapshot snapshot() const;

    // Issues the next session id (never 0, never repeated in a run) and starts capturing.
    uint64_t beginSwitcherSession();
    // An open phase of this session becomes cancelling; false (and no change) otherwise.
    bool beginSwitcherCancellation(uint64_t id);
    // Alt released: capturing(id) becomes committing(id); false otherwise.
    bool commitSwitcherSession(uint64_t id);
    // The session ends: an open phase of this id becomes closed; false otherwise.
    bool endSwitcherSession(uint64_t id);
    // The session is still the current one (open, with this id).
    bool isCurrentSession(uint64_t id) const;
    // The current session is being torn down; queued work for it should stop.
    bool isCancelling(uint64_t id) const;

    void setSnapAssistOpen(bool open);
    void setSnapLayoutsOpen(bool open);
    void setClipboardOpen(bool open);
    void setMoveTarget(std::optional<WindowMoveTarget> target);

    // For tests and the self-check: the id counter starts here instead of 0.
    void setLastIssuedID(uint64_t id);

private:
    // Publishes whether the state is at rest (nothing open); called with the lock held after each
    // change.
    void changed() { atRest_.store(state_ == Snapshot{}, std::memory_order_release); }

    mutable std::mutex lock_;
    Snapshot state_;
    // Nothing open: most of the time, when a snapshot needs no lock.
    std::atomic<bool> atRest_{true};
    uint64_t nextSwitcherSessionID_ = 0;
};

} // namespace fenwold
