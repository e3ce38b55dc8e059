#include "SimUpdates.h"

namespace fenwold {

void SimUpdates::start() {
    started_ = true;
}
bool SimUpdates::canCheckForUpdates() const {
    return started_;
}
void SimUpdates::checkForUpdates() {
    ++checks_;
    // A user-initiated check brings a waiting update into view.
    if (waiting_) {
        ++shown_;
        finishSession();
    }
}

void SimUpdates::remindGently(std::function<bool()> inFront, std::function<void(bool)> waiting) {
    inFront_ = std::move(inFront);
    notice_ = std::move(waiting);
}

bool SimUpdates::findScheduledUpdate() {
    if (!inFront_ || inFront_()) {
        ++shown_;
        return true;
    }
    waiting_ = true;
    if (notice_) notice_(true);
    return false;
}

void SimUpdates::finishSession() {
    if (!waiting_) return;
    waiting_ = false;
    if (notice_) notice_(false);
}

} // namespace fenwold
