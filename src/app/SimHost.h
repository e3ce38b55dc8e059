#pragma once

#include "FeedUpdates.h"
#include "Host.h"
#include "platform/qt/QtMainQueue.h"
#include "platform/qt/StderrLog.h"
#include "platform/qt/SystemClock.h"
#include "platform/qt/ThreadPoolTasks.h"
#include "platform/qt/WorkerThreadQueue.h"
#include "platform/sim/SimSession.h"
#include "platform/sim/apps/SimApps.h"

#include <memory>

namespace fenwold {

// The program's platform where there is no Mac: a simulated session, run on the real clock
// (Qt's event loop, a worker thread, the thread pool), logging to standard error.
class SimHost final : public Host {
public:
    SimHost();
    ~SimHost() override;
    Platform platform() override;
    std::unique_ptr<StatusItemView> makeStatusItem() override;
    FloatingPanelFactory nativePanels() override;
    void onTerminate(std::function<void()> quit) override;
    std::unique_ptr<Updates> makeUpdates() override;
    std::unique_ptr<UpdateCheck> makeUpdateCheck() override;
    SimSession& session() { return session_; }
    ThreadPoolTasks& background() { return background_; }
    // Open the simulated applications' standard desktop, so that the program and its diagnostic
    // modes have windows to work on when the playground does not draw them.
    void openStandardDesktop();

private:
    SimSession session_;
    QtMainQueue mainQueue_;
    WorkerThreadQueue clipboardQueue_;
    ThreadPoolTasks background_;
    StderrLog log_;
    SystemClock clock_;
    FeedUpdates feedUpdates_;
    std::unique_ptr<SimApps> apps_;
    TimerHandle appsTimer_;
};

} // namespace fenwold
