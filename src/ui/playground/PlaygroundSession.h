#pragma once

#include "ApplicationChooser.h"
#include "DesktopView.h"
#include "EventLog.h"
#include "core/shell/AppDelegate.h"

#include <QMetaObject>
#include <memory>

namespace fenwold {

// The settings the simulated user starts with.
enum class StartingSettings {
    // Hints, Alt+Space and every Windows-key shortcut on and the welcome seen: what scripts and
    // tests play against.
    demonstration,
    // Hints, Win+V and Alt+Space on, the welcome still to come: a playground run for the first time.
    firstRun,
    // What the preferences store holds already: the settings an earlier run kept.
    kept,
};

// The whole program running against a visible simulated Mac: the session's applications, its
// hardware, the desktop that draws it and hosts the program's panels, and the program itself
// (`AppDelegate` with its controllers) on the given platform.
class PlaygroundSession {
public:
    // `virtualClock`: the platform's main queue is the session's virtual one and `settle()` /
    // `advance()` move it; otherwise the platform runs on Qt's event loop.
    PlaygroundSession(SimSession& session, const Platform& platform, const StartupOptions& options,
                      bool virtualClock, StartingSettings startingSettings = StartingSettings::demonstration);
    PlaygroundSession(const PlaygroundSession&) = delete;
    // The playground's second display, right of the built-in one with their tops aligned and
    // smaller than it; connected before the session is made, which draws every display.
    static void connectSecondDisplay(SimSession& session);
    PlaygroundSession& operator=(const PlaygroundSession&) = delete;
    ~PlaygroundSession();

    // Open the applications' windows and launch the program (status item, permissions, tap).
    void start();
    // Run what is due (keys posted to applications, queued main-thread work, worker jobs) and
    // draw what changed.
    void settle();
    // Let virtual time pass in small steps, settling after each (virtual clock only).
    void advance(double seconds);
    bool virtualClock() const { return virtualClock_; }
    // Runs the session until `done` answers true, for a modal loop of the program (a menu being
    // tracked). On the real clock Qt's loop runs; on the virtual one only a script moves time, so
    // the loop plays the script on through `modalDriver` and ends at once without one.
    void runModal(const std::function<bool()>& done);
    std::function<void(const std::function<bool()>& done)> modalDriver;

    SimSession& session() { return session_; }
    SimApps& apps() { return apps_; }
    SimHardware& hardware() { return hardware_; }
    DesktopView& desktop() { return *desktop_; }
    EventLog& log() { return log_; }
    AppDelegate& delegate() { return *delegate_; }
    QtShellViews& views() { return *views_; }
    // The simulated file chooser the settings' "+" opens.
    ApplicationChooser& chooser() { return *chooser_; }

private:
    void settleBeforeSleep();
    void pollTools();
    QString appName(int32_t pid);
    // The program's own window that has the keyboard (a tracked menu, the open shelf, the
    // settings window), if any.
    std::optional<QString> programKeyWindow() const;
    // A key-down the tap passed while that window is key, handed to it as a Mac hands it over.
    bool deliverToProgram(const AppKey& key);
    bool deliverToProgramWindow(const AppKey& key);

    SimSession& session_;
    Platform platform_;
    bool virtualClock_;
    StartingSettings startingSettings_;
    SimApps apps_;
    SimHardware hardware_;
    EventLog log_;
    std::unique_ptr<DesktopView> desktop_;
    std::unique_ptr<QtShellViews> views_;
    std::unique_ptr<AppDelegate> delegate_;
    std::unique_ptr<ApplicationChooser> chooser_;
    QMetaObject::Connection beforeSleep_;
    std::size_t toolsSeen_ = 0;
    qsizetype privateCallsSeen_ = 0;
    qsizetype logLinesSeen_ = 0;
    int32_t lastFront_ = 0;
    QString lastLayout_;
    Subscription activations_;
    Subscription layoutChanges_;
};

} // namespace fenwold
