#pragma once

#include "ports/MainQueue.h"

#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <utility>

namespace fenwold {

// A main queue on a virtual clock: nothing runs until the owner calls `drain()` or
// `advance()`, and delays are exact. Work is run on the calling thread; `post` may be called
// from any thread.
class VirtualMainQueue final : public MainQueue {
public:
    explicit VirtualMainQueue(double startUptime = 1000.0) : now_(startUptime) {}

    void post(std::function<void()> work) override;
    TimerHandle after(double seconds, std::function<void()> work) override;
    TimerHandle every(double seconds, double tolerance, std::function<void()> work) override;
    double uptime() const override;

    // Run posted work and timers that are due now, until nothing more is due.
    void drain();
    // Move the clock forward, running everything that comes due on the way, in time order.
    void advance(double seconds);
    // Posted work items not yet run, plus live timers.
    std::size_t pendingCount() const;

private:
    struct Timer {
        std::function<void()> work;
        std::shared_ptr<TimerHandle::State> state;
        double interval = 0; // 0 for one-shot
    };
    using Key = std::pair<double, uint64_t>; // due time, insertion order

    TimerHandle schedule(double seconds, double interval, std::function<void()> work);
    bool runOnePosted();
    bool runOneTimerDueBy(double limit);

    mutable std::mutex mutex_;
    std::deque<std::function<void()>> posted_;
    std::map<Key, Timer> timers_;
    uint64_t sequence_ = 0;
    double now_;
};

} // namespace fenwold
