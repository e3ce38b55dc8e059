#pragma once

#include <atomic>
#include <functional>
#include <memory>

namespace fenwold {

// A scheduled piece of main-thread work. Cancelling is like invalidating a timer: work that has
// not started yet never runs. Copies refer to the same timer.
class TimerHandle {
public:
    struct State {
        std::atomic<bool> cancelled{false};
        std::atomic<bool> done{false};
    };
    TimerHandle() = default;
    explicit TimerHandle(std::shared_ptr<State> s) : state_(std::move(s)) {}

    void cancel() {
        if (state_) state_->cancelled = true;
    }
    // True while the timer may still fire (not cancelled, and a one-shot that has not fired).
    bool isActive() const { return state_ && !state_->cancelled && !state_->done; }
    explicit operator bool() const { return isActive(); }

private:
    std::shared_ptr<State> state_;
};

// The main thread's run loop: everything that touches windows, panels or controllers runs here.
class MainQueue {
public:
    MainQueue() = default;
    MainQueue(const MainQueue&) = delete;
    MainQueue& operator=(const MainQueue&) = delete;
    virtual ~MainQueue() = default;

    // Queue work to run soon on the main thread; safe to call from any thread.
    virtual void post(std::function<void()> work) = 0;
    // Run work once after the given delay (main thread only).
    virtual TimerHandle after(double seconds, std::function<void()> work) = 0;
    // Run work repeatedly every interval until cancelled (main thread only).
    virtual TimerHandle every(double seconds, double tolerance, std::function<void()> work) = 0;
    // Seconds since an arbitrary fixed start, monotonic (system uptime on a Mac).
    virtual double uptime() const = 0;
};

// A serial queue off the main thread (the clipboard worker).
class SerialQueue {
public:
    SerialQueue() = default;
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;
    virtual ~SerialQueue() = default;

    // Queue work; items run one at a time, in order.
    virtual void async(std::function<void()> work) = 0;
};

// Detached background work (preview captures).
class BackgroundTasks {
public:
    BackgroundTasks() = default;
    BackgroundTasks(const BackgroundTasks&) = delete;
    BackgroundTasks& operator=(const BackgroundTasks&) = delete;
    virtual ~BackgroundTasks() = default;

    // Start work on some background thread.
    virtual void run(std::function<void()> work) = 0;
};

} // namespace fenwold
