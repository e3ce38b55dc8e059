#pragma once

#include "ports/MainQueue.h"

#include <deque>
#include <mutex>

namespace fenwold {

// A serial queue and background executor whose work runs only when the owner says so, so
// tests decide exactly when a worker's job finishes. `async`/`run` may be called from any thread.
class ManualQueue final : public SerialQueue, public BackgroundTasks {
public:
    void async(std::function<void()> work) override { enqueue(std::move(work)); }
    void run(std::function<void()> work) override { enqueue(std::move(work)); }

    // Run the oldest queued item; false when nothing was queued.
    bool runNext();
    // Run items until none is queued (including items queued while running).
    std::size_t runAll();
    std::size_t pending() const;

private:
    void enqueue(std::function<void()> work);

    mutable std::mutex mutex_;
    std::deque<std::function<void()>> work_;
};

} // namespace fenwold
