#include "SimClickSender.h"

namespace fenwold {

bool SimClickSender::post(uint32_t type, Point location, uint64_t flags, int64_t clickState) {
    const PostedClick click{type, location, flags, clickState};
    {
        std::lock_guard lock(mutex_);
        posted_.push_back(click);
    }
    if (onPost) onPost(click);
    return true;
}

std::vector<PostedClick> SimClickSender::posted() const {
    std::lock_guard lock(mutex_);
    return posted_;
}

void SimClickSender::clear() {
    std::lock_guard lock(mutex_);
    posted_.clear();
}

} // namespace fenwold
