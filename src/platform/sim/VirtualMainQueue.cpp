#include "VirtualMainQueue.h"

#include <algorithm>
#include <stdexcept>

namespace fenwold {

namespace {
// A safety net against work that keeps re-posting itself forever at one instant.
constexpr int kMaxStepsPerInstant = 1'000'000;
} // namespace

void VirtualMainQueue::post(std::function<void()> work) {
    std::lock_guard lock(mutex_);
    posted_.push_back(std::move(work));
}

TimerHandle VirtualMainQueue::schedule(double seconds, double interval, std::function<void()> work) {
    auto state = std::make_shared<TimerHandle::State>();
    std::lock_guard lock(mutex_);
    timers_.emplace(Key{now_ + std::max(0.0, seconds), sequence_++}, Timer{std::move(work), state, interval});
    return TimerHandle(state);
}

TimerHandle VirtualMainQueue::after(double seconds, std::function<void()> work) {
    return schedule(seconds, 0, std::move(work));
}

TimerHandle VirtualMainQueue::every(double seconds, double, std::function<void()> work) {
    // A zero interval would fire forever at one instant; repeat at the smallest step instead.
    const double interval = seconds > 0 ? seconds : 1e-3;
    return schedule(interval, interval, std::move(work));
}

double VirtualMainQueue::uptime() const {
    std::lock_guard lock(mutex_);
    return now_;
}

bool VirtualMainQueue::runOnePosted() {
    std::function<void()> work;
    {
        std::lock_guard lock(mutex_);
        if (posted_.empty()) return false;
        work = std::move(posted_.front());
        posted_.pop_front();
    }
    work();
    return true;
}

bool VirtualMainQueue::runOneTimerDueBy(double limit) {
    Timer timer;
    {
        std::lock_guard lock(mutex_);
        // Drop cancelled timers first so they never move the clock.
        for (auto it = timers_.begin(); it != timers_.end();) {
            if (it->second.state->cancelled)
                it = timers_.erase(it);
            else
                ++it;
        }
        if (timers_.empty() || timers_.begin()->first.first > limit) return false;
        auto node = timers_.extract(timers_.begin());
        now_ = std::max(now_, node.key().first);
        timer = std::move(node.mapped());
        if (timer.interval > 0) {
            timers_.emplace(Key{now_ + timer.interval, sequence_++},
                            Timer{timer.work, timer.state, timer.interval});
        }
    }
    if (timer.interval == 0) timer.state->done = true;
    timer.work();
    return true;
}

void VirtualMainQueue::drain() {
    const double instant = uptime();
    int steps = 0;
    while (runOnePosted() || runOneTimerDueBy(instant)) {
        if (++steps > kMaxStepsPerInstant) throw std::runtime_error("VirtualMainQueue: work never settles");
    }
}

void VirtualMainQueue::advance(double seconds) {
    const double target = uptime() + std::max(0.0, seconds);
    drain();
    while (runOneTimerDueBy(target))
        drain();
    {
        // Work run on the way may have advanced the clock itself (a modal loop playing on); time
        // never goes back.
        std::lock_guard lock(mutex_);
        now_ = std::max(now_, target);
    }
    drain();
}

std::size_t VirtualMainQueue::pendingCount() const {
    std::lock_guard lock(mutex_);
    std::size_t live = 0;
    for (const auto& [key, t] : timers_)
        live += t.state->cancelled ? 0 : 1;
    return posted_.size() + live;
}

} // namespace fenwold
