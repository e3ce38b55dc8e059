#pragma once

#include "ManualQueue.h"
#include "SimAccessibility.h"
#include "SimAppShell.h"
#include "SimClickSender.h"
#include "SimClock.h"
#include "SimDock.h"
#include "SimEventTap.h"
#include "SimInputSources.h"
#include "SimKeySender.h"
#include "SimKeyboardLayout.h"
#include "SimLog.h"
#include "SimLoginItems.h"
#include "SimPasteboard.h"
#include "SimPrefs.h"
#include "SimPrivateServices.h"
#include "SimProcesses.h"
#include "SimScreens.h"
#include "SimSecureInput.h"
#include "SimSystemUI.h"
#include "SimUpdates.h"
#include "SimWindowServer.h"
#include "SimWindows.h"
#include "SimWorkspace.h"
#include "VirtualMainQueue.h"
#include "ports/Platform.h"

namespace fenwold {

class SimSession;
class SimWindowBuilder;

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
    // Open a window of this application (frame in Accessibility coordinates).
    SimWindowBuilder window(const QString& title, Rect frame);

private:
    SimSession* session_;
    int32_t pid_;
};

// Fluent set-up of one simulated window:
//   sim.app("com.apple.TextEdit", "TextEdit").window("Notes", {80, 60, 800, 600}).minimized();
class SimWindowBuilder {
public:
    SimWindowBuilder(SimSession& session, int32_t pid, uint32_t number)
        : session_(&session), pid_(pid), number_(number) {}

    uint32_t number() const { return number_; }
    operator uint32_t() const { return number_; }
    int32_t pid() const { return pid_; }
    SimWindowBuilder& minimized();
    SimWindowBuilder& fullscreen(); // already in full screen, on its own Space
    SimWindowBuilder& subrole(const std::optional<QString>& subrole);
    SimWindowBuilder& onSpace(int space);
    SimWindowBuilder& layer(int64_t layer);
    SimWindowBuilder& alpha(double alpha);
    // The application keeps the window at least this large.
    SimWindowBuilder& minimumSize(Size size);
    // The application keeps the window at the size it has (a panel that cannot be resized).
    SimWindowBuilder& fixedSize();
    SimWindowBuilder& notInWindowsList();         // missing from "AXWindows" (as on another Space)
    SimWindowBuilder& withoutAccessibility();     // known to the window server only
    SimWindowBuilder& image(const QImage& image); // both capture paths
    SimWindowBuilder& directImage(const QImage& image);
    SimWindowBuilder& captureImage(const QImage& image);
    // Another window of the same application.
    SimWindowBuilder window(const QString& title, Rect frame);

private:
    SimSession* session_;
    int32_t pid_;
    uint32_t number_;
};

// Fluent set-up of one more display: a menu bar of its own (25 points, as every display has with
// separate Spaces) and no Dock. It starts right of the last display with their top edges aligned:
//   sim.display(1920, 1080).leftOf(0).offset(100);
class SimDisplayBuilder {
public:
    SimDisplayBuilder(SimScreens& screens, int index, Size size);

    int index() const { return index_; }
    operator int() const { return index_; }
    // Beside another display, top edges aligned.
    SimDisplayBuilder& rightOf(int display);
    SimDisplayBuilder& leftOf(int display);
    // Over or under another display, left edges aligned.
    SimDisplayBuilder& above(int display);
    SimDisplayBuilder& below(int display);
    // Slid along the shared edge: down beside a display, right over or under one.
    SimDisplayBuilder& offset(double points);
    // It holds the key window (the "main" screen).
    SimDisplayBuilder& main();

private:
    enum class Side { right, left, above, below };
    SimDisplayBuilder& place(Side side, int display);
    void apply();

    SimScreens* screens_;
    int index_;
    Size size_;
    Side side_ = Side::right;
    int neighbour_ = 0;
    double offset_ = 0;
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
    // Connect another display (points); the primary one is there from the start.
    SimDisplayBuilder display(double width, double height);

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
    SimKeyboardLayout keyboardLayout{inputSources};
    SimPrivateServices privateServices;
    SimKeySender keys;
    SimClickSender clicks;
    SimSecureInput secureInput{workspace};
    SimEventTap eventTap;
    SimLoginItems loginItems;
    SimUpdates updates;
    SimAppShell appShell;
    SimLog log;
    SimClock clock;
    SimWindows windows{accessibility, windowServer, workspace, screens, mainQueue};
    // Not running until a test launches it.
    SimDock dock{accessibility, workspace, screens, prefs};
    // Its Control Centre process is not running until a test starts it.
    SimSystemUI systemUI{accessibility, workspace, windows, keys};
};

} // namespace fenwold
