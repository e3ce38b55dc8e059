#pragma once

#include "platform/qt/Handoff.h"

#include <QSemaphore>
#include <QThread>
#include <QThreadPool>
#include <atomic>

namespace fenwold::testing {

// Every thread of Qt's global pool held by a task, as a frame's fills may hold them, until
// `release` (or five seconds, so a failing test still ends).
class HeldThreadPool {
public:
    HeldThreadPool() : threads_(QThreadPool::globalInstance()->maxThreadCount()) {
        // Qt's pool hands tasks to threads it may have started earlier, through locks the
        // sanitizer that checks threads cannot see; say that this object is complete by then.
        handoff::release(this);
        for (int i = 0; i < threads_; ++i)
            QThreadPool::globalInstance()->start([this] {
                handoff::acquire(this);
                holding_.release();
                hold_.tryAcquire(1, 5'000);
                ++finished_;
            });
        held_ = holding_.tryAcquire(threads_, 5'000);
    }
    ~HeldThreadPool() { release(); }

    // Whether every thread was taken.
    bool held() const { return held_; }
    // How many of the holding tasks have ended.
    int finished() const { return finished_; }
    void release() {
        if (released_) return;
        released_ = true;
        hold_.release(threads_);
        // Waited for through the counter as well: the sanitizer that checks threads sees this
        // program's atomics, not Qt's own waiting.
        while (finished_.load() < threads_)
            QThread::yieldCurrentThread();
        QThreadPool::globalInstance()->waitForDone();
    }

private:
    const int threads_;
    QSemaphore hold_, holding_;
    std::atomic<int> finished_{0};
    bool held_ = false;
    bool released_ = false;
};

} // namespace fenwold::testing
