#pragma once

#include <cstdint>

namespace fenwold {

class KeySender;
class Workspace;
class Log;

// The one way the program types a key: a key-down and key-up pair with exactly the given flags
// (replaced, not merged), marked as the program's own, posted to one process.
class Inject {
public:
    Inject(KeySender& sender, Workspace& workspace, Log& log)
        : sender_(&sender), workspace_(&workspace), log_(&log) {}

    void post(uint16_t key, uint64_t flags, int32_t pid) const;
    // One half of a press, for a key the user holds whose press was held back: its key-down as
    // soon as its meaning is known, then each autorepeat, and its key-up on release.
    void postHalf(uint16_t key, bool keyDown, uint64_t flags, int32_t pid) const;
    // To the frontmost application.
    void post(uint16_t key, uint64_t flags) const;
    // To the session, as typed on the keyboard: for the system's own shortcuts, which keys posted
    // to an application never reach.
    void postToSession(uint16_t key, uint64_t flags) const;

private:
    // False, and logged, for a target that is no process.
    bool targets(uint16_t key, int32_t pid) const;

    KeySender* sender_;
    Workspace* workspace_;
    Log* log_;
};

} // namespace fenwold
