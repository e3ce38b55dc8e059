#pragma once

#include "ports/EventTapHost.h"

namespace fenwold::testing {

// A key-down or key-up as the tap delivers it.
inline TapEvent keyEvent(int64_t code, bool down, uint64_t flags) {
    TapEvent e;
    e.type = down ? eventtype::keyDown : eventtype::keyUp;
    e.keyCode = code;
    e.flags = flags;
    return e;
}

} // namespace fenwold::testing
