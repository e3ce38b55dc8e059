#include "WorkerThreadQueue.h"

namespace fenwold {

WorkerThreadQueue::WorkerThreadQueue() : thread_([this] { loop(); }) {}

WorkerThreadQueue::~WorkerThreadQueue() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void WorkerThreadQueue::async(std::function<void()> work) {
    {
        std::lock_guard lock(mutex_);
        work_.push_back(std::move(work));
    }
    wake_.notify_one();
}

void WorkerThreadQueue::loop() {
    for (;;) {
        std::function<void()> work;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !work_.empty(); });
            if (work_.empty()) return; // stopping and drained
            work = std::move(work_.front());
            work_.pop_front();
        }
        work();
    }
}

} // namespace fenwold
