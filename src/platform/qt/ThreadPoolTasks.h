#pragma once

#include "ports/MainQueue.h"

namespace fenwold {

// Detached tasks on Qt's global thread pool.
class ThreadPoolTasks final : public BackgroundTasks {
public:
    void run(std::function<void()> work) override;
};

} // namespace fenwold
