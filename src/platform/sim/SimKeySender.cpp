#include "SimKeySender.h"

namespace fenwold {

bool SimKeySender::post(uint16_t keyCode, bool keyDown, uint64_t flags, int32_t pid) {
    PostedKey key{keyCode, keyDown, flags, pid};
    {
        std::lock_guard lock(mutex_);
        if (creationFails_) return false;
        posted_.push_back(key);
    }
    if (onDeliver) onDeliver(key);
    return true;
}

bool SimKeySender::postToSession(uint16_t keyCode, bool keyDown, uint64_t flags) {
    PostedKey key{keyCode, keyDown, flags, 0};
    {
        std::lock_guard lock(mutex_);
        if (creationFails_) return false;
        posted_.push_back(key);
    }
    if (onSession) onSession(key);
    return true;
}

std::vector<PostedKey> SimKeySender::posted() const {
    std::lock_guard lock(mutex_);
    return posted_;
}

void SimKeySender::clear() {
    std::lock_guard lock(mutex_);
    posted_.clear();
}

void SimKeySender::setCreationFails(bool fails) {
    std::lock_guard lock(mutex_);
    creationFails_ = fails;
}

} // namespace fenwold
