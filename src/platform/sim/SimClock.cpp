#include "SimClock.h"

namespace fenwold {

double SimClock::now() const {
    std::lock_guard lock(mutex_);
    return now_;
}

void SimClock::set(double seconds) {
    std::lock_guard lock(mutex_);
    now_ = seconds;
}

void SimClock::advance(double seconds) {
    std::lock_guard lock(mutex_);
    now_ += seconds;
}

} // namespace fenwold
