#include "ThreadPoolTasks.h"

#include "Handoff.h"

namespace fenwold {

ThreadPoolTasks::ThreadPoolTasks() {
    // The tasks are captures run one after another; one thread leaves the other cores to the
    // frames they feed.
    pool_.setMaxThreadCount(1);
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
    pool_.start(std::move(start));
}

bool ThreadPoolTasks::waitForDone(int milliseconds) {
    return pool_.waitForDone(milliseconds);
}

} // namespace fenwold
