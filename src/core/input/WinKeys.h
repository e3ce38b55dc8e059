#pragma once

#include <QStringList>
#include <cstdint>

namespace fenwold {

class PrefsStore;
class MainQueue;
class Workspace;
class PrivateServices;
class Inject;
class WindowActions;
class ShelfTarget;

// What the plain Win+key shortcuts do. The dispatch's rows decide on the event-tap thread which
// key asks for which; each of these only queues its work on the main queue.
class FenwoldKeys {
public:
    struct Targets {
        WindowActions* windows = nullptr;
        ShelfTarget* shelf = nullptr;
    };

    FenwoldKeys(PrefsStore& prefs, MainQueue& mainQueue, Workspace& workspace,
                PrivateServices& privateServices, const Inject& inject, Targets targets,
                int macOSMajorVersion);
    FenwoldKeys(const FenwoldKeys&) = delete;
    FenwoldKeys& operator=(const FenwoldKeys&) = delete;

    // Win+D: the Dock's show-desktop gesture, or fn F11 without it.
    void showDesktop();
    // Win+V: the clipboard shelf opens or closes.
    void toggleShelf();
    // Win+E: a Finder window at the home folder.
    void openHomeFolder();
    // Win+R: the application launcher.
    void openLauncher();
    // Win+L: the lock screen, or ⌃⌘Q without it.
    void lockScreen();
    // Win+M (every window) and Win+Home (all but the front one).
    void minimizeAll(bool exceptFrontmost);
    // Win+Tab: Mission Control.
    void openMissionControl();
    // Win+1…9: the n-th application kept in the Dock.
    void openDockApp(int n);

    // Main queue.
    void launchApps();
    void activateDockApp(int n);

private:
    PrefsStore* prefs_;
    MainQueue* mainQueue_;
    Workspace* workspace_;
    PrivateServices* private_;
    const Inject* inject_;
    Targets targets_;
    int macOSMajorVersion_;
};

} // namespace fenwold
