#pragma once

#include "MarkedEventSources.h"
#include "ports/KeySender.h"

#include <cstdint>

namespace fenwold {

// Keyboard events stamped with the own-event marker, posted to a single process or into the
// session where the keyboard's events enter it, from the posting thread's own event source.
class MacKeySender final : public KeySender {
public:
    explicit MacKeySender(MarkedEventSources& sources) : sources_(sources) {}
    bool post(uint16_t keyCode, bool keyDown, uint64_t flags, int32_t pid) override;
    bool postToSession(uint16_t keyCode, bool keyDown, uint64_t flags) override;

private:
    // A key event with exactly these flags, owned by the caller (the Create rule); null when none
    // can be made.
    void* createEvent(uint16_t keyCode, bool keyDown, uint64_t flags);

    MarkedEventSources& sources_;
};

} // namespace fenwold
