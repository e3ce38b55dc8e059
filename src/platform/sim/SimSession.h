#pragma once

#include "ManualQueue.h"
#include "SimAccessibility.h"
#include "SimKeyboard.h"
#include "SimPasteboard.h"
#include "SimPrefs.h"
#include "SimScreens.h"
#include "SimSystem.h"
#include "SimWindowServer.h"
#include "SimWorkspace.h"
#include "VirtualMainQueue.h"
#include "ports/Platform.h"

namespace fenwold {

class SimSession;

// Fluent set-up of one simulated application:
//   sim.app("com.apple.TextEdit", "TextEdit").frontmost();
class SimAppBuilder {
public:
    SimAppBuilder(SimSession& session, int32_t pid) : session_(&session), pid_(pid) {}

    int32_t pid() const { return pid_; }
    operator int32_t() const { return pid_; }
    SimAppBuilder& frontmost();
    SimAppBuilder& hidden();
    SimAppBuilder& accessory();
    SimAppBuilder& neverActivates();
    SimAppBuilder& processName(const QString& name);
    SimAppBuilder& icon(const QImage& image);

private:
    SimSession* session_;
    int32_t pid_;
};

// A small, believable macOS login session held in memory. It implements every port; tests
// drive it directly and run the program's main-thread work on its virtual clock.
class SimSession {
public:
    SimSession();
    SimSession(const SimSession&) = delete;
    SimSession& operator=(const SimSession&) = delete;

    // Launch a regular application.
    SimAppBuilder app(const QString& bundleID, const QString& name);
    SimAppBuilder appWithPid(int32_t pid, const QString& bundleID, const QString& name);

    // The ports, with the virtual main queue and the manual worker queues.
    Platform platform();

    VirtualMainQueue mainQueue;
    ManualQueue worker;     // the clipboard's serial queue
    ManualQueue background; // detached capture tasks
    SimPrefs prefs;
    SimWorkspace workspace;
    SimAccessibility accessibility;
    SimWindowServer windowServer;
    SimScreens screens;
    SimPasteboard pasteboard;
    SimProcesses processes;
    SimInputSources inputSources;
    SimPrivateServices privateServices;
    SimKeySender keys;
    SimEventTap eventTap;
    SimLoginItems loginItems;
    SimUpdates updates;
    SimAppShell appShell;
    SimLog log;
    SimClock clock;
};

} // namespace fenwold
