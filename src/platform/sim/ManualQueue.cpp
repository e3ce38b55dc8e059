#include "ManualQueue.h"

namespace fenwold {

void ManualQueue::enqueue(std::function<void()> work) {
    std::lock_guard lock(mutex_);
    work_.push_back(std::move(work));
}

bool ManualQueue::runNext() {
    std::function<void()> work;
    {
        std::lock_guard lock(mutex_);
        if (work_.empty()) return false;
        work = std::move(work_.front());
        work_.pop_front();
    }
    work();
    return true;
}

std::size_t ManualQueue::runAll() {
    std::size_t n = 0;
    while (runNext())
        ++n;
    return n;
}

std::size_t ManualQueue::pending() const {
    std::lock_guard lock(mutex_);
    return work_.size();
}

} // namespace fenwold
