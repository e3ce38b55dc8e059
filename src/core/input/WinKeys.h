#pragma once

#include <QStringList>
#include <cstdint>

namespace fenwold {

class PrefsStore;
class MainQueue;
class Workspace;
class PrivateServices;
class Inject;
class HintHUD;
class WindowActions;
class ShelfTarget;

// The Win-key action table for plain Win+key presses. `handleCmdKey` runs on the event-tap
// thread and only decides, shows the hint and queues the action on the main queue.
class FenwoldKeys {
public:
    struct Targets {
        WindowActions* windows = nullptr;
        ShelfTarget* shelf = nullptr;
    };

    FenwoldKeys(PrefsStore& prefs, MainQueue& mainQueue, Workspace& workspace,
                PrivateServices& privateServices, const Inject& inject, HintHUD& hints, Targets targets,
                int macOSMajorVersion);
    FenwoldKeys(const FenwoldKeys&) = delete;
    FenwoldKeys& operator=(const FenwoldKeys&) = delete;

    // True when the key is in the table and its preference is on (the dispatch swallows it).
    bool handleCmdKey(int64_t key);
    // Main queue.
    void launchApps();
    void activateDockApp(int n);

private:
    PrefsStore* prefs_;
    MainQueue* mainQueue_;
    Workspace* workspace_;
    PrivateServices* private_;
    const Inject* inject_;
    HintHUD* hints_;
    Targets targets_;
    int macOSMajorVersion_;
};

} // namespace fenwold
