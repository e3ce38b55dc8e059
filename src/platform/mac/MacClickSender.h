#pragma once

#include "MarkedEventSources.h"
#include "ports/ClickSender.h"

namespace fenwold {

// Left-button events stamped with the own-event marker, posted where the mouse's own events
// enter the session, from the posting thread's own event source.
class MacClickSender final : public ClickSender {
public:
    explicit MacClickSender(MarkedEventSources& sources) : sources_(sources) {}
    bool post(uint32_t type, Point location, uint64_t flags, int64_t clickState) override;

private:
    MarkedEventSources& sources_;
};

} // namespace fenwold
