#pragma once

#include "ports/MainQueue.h"

#include <QThreadPool>

namespace fenwold {

// Detached tasks on a pool of the program's own. Not Qt's global pool: the raster paint engine
// splits large fills across that one and waits for them, so a frame would wait behind a run of
// window captures.
class ThreadPoolTasks final : public BackgroundTasks {
public:
    ThreadPoolTasks();

    void run(std::function<void()> work) override;
    // Waits until every task started has finished; false when the time ran out first.
    bool waitForDone(int milliseconds = -1);

private:
    QThreadPool pool_; // waits for its tasks when it goes
};

} // namespace fenwold
