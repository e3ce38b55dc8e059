#pragma once

#include "ports/KeySender.h"

#include <cstdint>

namespace fenwold {

// Keyboard events from one private event source stamped with the own-event marker, posted to a
// single process.
class MacKeySender final : public KeySender {
public:
    // marker: the value stamped into every event's source user-data field.
    explicit MacKeySender(int64_t marker);
    ~MacKeySender() override;
    bool post(uint16_t keyCode, bool keyDown, uint64_t flags, int32_t pid) override;

private:
    void* source_ = nullptr; // CGEventSourceRef; null when it could not be created
};

} // namespace fenwold
