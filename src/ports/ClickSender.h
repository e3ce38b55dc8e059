#pragma once

#include "Geometry.h"

#include <cstdint>

namespace fenwold {

// Posts left-button events into the session where the mouse's own events enter it, each with the
// own-event marker: how a press the program held back reaches what lies under the pointer after
// all.
class ClickSender {
public:
    ClickSender() = default;
    ClickSender(const ClickSender&) = delete;
    ClickSender& operator=(const ClickSender&) = delete;
    virtual ~ClickSender() = default;

    // One left-button down, dragged or up event (`eventtype::leftMouseDown`, `leftMouseDragged`,
    // `leftMouseUp`) at a point (top-left-origin global coordinates) with these flags and click
    // count; false when the event could not be made. Callable from the event-tap thread and the
    // main thread.
    virtual bool post(uint32_t type, Point location, uint64_t flags, int64_t clickState) = 0;
};

} // namespace fenwold
