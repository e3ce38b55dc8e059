#include "ThreadPoolTasks.h"

#include "Handoff.h"

#include <QThreadPool>

namespace fenwold {

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
