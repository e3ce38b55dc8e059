#pragma once

#include "DesktopView.h"
#include "EventLog.h"
#include "core/shell/AppDelegate.h"

#include <QTimer>
#include <memory>

namespace fenwold {

// The whole program running against a visible simulated Mac: the session's applications, its
// hardware, the desktop that draws it and hosts the program's panels, and the program itself
// (`AppDelegate` with its controllers) on the given platform.
class PlaygroundSession {
public:
    // `virtualClock`: the platform's main queue is the session's virtual one and `settle()` /
    // `advance()` move it; otherwise the platform runs on Qt's event loop.
    PlaygroundSession(SimSession& session, const Platform& platform, const StartupOptions& options,
                      bool virtualClock);
    PlaygroundSession(const PlaygroundSession&) = delete;
    PlaygroundSession& operator=(const PlaygroundSession&) = delete;
    ~PlaygroundSession();

    // Open the applications' windows and launch the program (status item, permissions, tap).
    void start();
    // Run what is due: keys posted to applications, queued main-thread work, worker jobs.
    void settle();
    // Let virtual time pass in small steps, settling after each (virtual clock only).
    void advance(double seconds);
    bool virtualClock() const { return virtualClock_; }

    SimSession& session() { return session_; }
    SimApps& apps() { return apps_; }
    SimHardware& hardware() { return hardware_; }
    DesktopView& desktop() { return *desktop_; }
    EventLog& log() { return log_; }
    AppDelegate& delegate() { return *delegate_; }
    QtShellViews& views() { return *views_; }

private:
    void pollTools();
    QString appName(int32_t pid) const;

    SimSession& session_;
    Platform platform_;
    bool virtualClock_;
    SimApps apps_;
    SimHardware hardware_;
    EventLog log_;
    std::unique_ptr<DesktopView> desktop_;
    std::unique_ptr<QtShellViews> views_;
    std::unique_ptr<AppDelegate> delegate_;
    QTimer ticker_;
    int ticks_ = 0;
    std::size_t toolsSeen_ = 0;
    qsizetype privateCallsSeen_ = 0;
    int32_t lastFront_ = 0;
    Subscription activations_;
};

} // namespace fenwold
