#include "WorkerQueues.h"

#include "Handoff.h"

#include <QThreadPool>

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

void ThreadPoolTasks::run(std::function<void()> work) {
    // The pool's thread may read nothing handed over before it has acquired, not even the
    // closure's own fields: the hand-off is known by a fixed address instead.
    static char handedToPool;
    std::function<void()> start = [work = std::move(work)] {
        handoff::acquire(&handedToPool);
        work();
    };
    handoff::release(&handedToPool);
    QThreadPool::globalInstance()->start(std::move(start));
}

} // namespace fenwold
