#pragma once

#include "ports/KeySender.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <thread>

namespace fenwold {

// Keyboard events stamped with the own-event marker, posted to a single process or into the
// session where the keyboard's events enter it. Keys are posted
// from the event tap's thread and from the main thread; each posting thread has an event source
// of its own, since Quartz documents no thread safety for a shared one.
class MacKeySender final : public KeySender {
public:
    // marker: the value stamped into every event's source user-data field.
    explicit MacKeySender(int64_t marker);
    ~MacKeySender() override;
    bool post(uint16_t keyCode, bool keyDown, uint64_t flags, int32_t pid) override;
    bool postToSession(uint16_t keyCode, bool keyDown, uint64_t flags) override;

private:
    // This thread's source (CGEventSourceRef), made on its first post; null when none can be made.
    void* source();
    // A key event from this thread's source with exactly these flags, owned by the caller (the
    // Create rule); null when none can be made.
    void* createEvent(uint16_t keyCode, bool keyDown, uint64_t flags);

    const int64_t marker_;
    std::mutex mutex_;
    std::map<std::thread::id, void*> sources_;
};

} // namespace fenwold
