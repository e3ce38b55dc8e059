#include "SimLoginItems.h"

namespace fenwold {

LoginItems::Status SimLoginItems::status() const {
    std::lock_guard lock(mutex_);
    return status_;
}

std::optional<QString> SimLoginItems::registerItem() {
    std::lock_guard lock(mutex_);
    if (failure_) return failure_;
    status_ = Status::enabled;
    return std::nullopt;
}

std::optional<QString> SimLoginItems::unregisterItem() {
    std::lock_guard lock(mutex_);
    if (failure_) return failure_;
    status_ = Status::notRegistered;
    return std::nullopt;
}

void SimLoginItems::setStatus(Status status) {
    std::lock_guard lock(mutex_);
    status_ = status;
}

void SimLoginItems::setFailure(std::optional<QString> error) {
    std::lock_guard lock(mutex_);
    failure_ = std::move(error);
}

} // namespace fenwold
