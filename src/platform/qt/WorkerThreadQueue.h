#pragma once

#include "ports/MainQueue.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace fenwold {

// A serial queue on one worker thread of its own; drains its work before it is destroyed.
class WorkerThreadQueue final : public SerialQueue {
public:
    WorkerThreadQueue();
    ~WorkerThreadQueue() override;
    void async(std::function<void()> work) override;

private:
    void loop();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> work_;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace fenwold
