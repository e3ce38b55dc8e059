#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace fenwold {

class PrefsStore;
class MainQueue;
class Workspace;
class Accessibility;
class PrivateServices;
class Inject;
class WindowActions;
class ShelfTarget;
class QuickLinkTarget;
class ShortcutLayout;
class MenuEquivalents;

// What the shortcuts that reach past the front application do: the Win+key actions, and the
// system's panels, menus and windows other rows open. The dispatch's rows decide on the
// event-tap thread which key asks for which; each of these only queues its work on the main
// queue.
class FenwoldKeys {
public:
    struct Targets {
        WindowActions* windows = nullptr;
        ShelfTarget* shelf = nullptr;
        QuickLinkTarget* quickLinks = nullptr;
        // The layout shortcuts' letters are posted with; without it, the keys' US meaning.
        const ShortcutLayout* layout = nullptr;
        // A letter no key of the layout gives goes through the front application's menus.
        MenuEquivalents* menus = nullptr;
    };

    // System Settings, and the panes the shortcuts open in it.
    enum class SettingsPane { start, displays, about };
    // The items of the Apple menu the program presses, by their titles there (none of them has a
    // key equivalent).
    enum class PowerItem { sleep, restart, shutDown };

    FenwoldKeys(PrefsStore& prefs, MainQueue& mainQueue, Workspace& workspace, Accessibility& accessibility,
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
    // Win+Tab and Win+Ctrl+D: Mission Control.
    void openMissionControl();
    // Win+1…9: the n-th application kept in the Dock.
    void openDockApp(int n);
    // Win alone and Win+S: Spotlight, through its own shortcut (⌘Space) typed to the session.
    void openSpotlight();
    // Win+Ctrl+← / →: the Space on that side, through the system's ⌃← and ⌃→.
    void switchSpace(bool right);
    // Win+I, Win+P, Win+Pause.
    void openSettings(SettingsPane pane);
    // Win+A and Win+N: the menu bar's Control Centre item, and its clock (Notification Centre);
    // nothing when the menu bar has none.
    void openControlCentre();
    void openNotificationCentre();
    // Win+X: the quick link menu at the pointer.
    void showQuickLinks();
    // Ctrl+Alt+Delete: the Force Quit window (⌥⌘Esc, the Apple menu's key equivalent).
    void forceQuit();
    // The Apple menu's Log Out… (⇧⌘Q), which asks before it logs out.
    void logOut();
    // The Apple menu's Sleep, Restart… and Shut Down…; the last two ask before they act.
    void pressPowerItem(PowerItem item);
    // Shift+F10 and the Menu key: the focused element's context menu; nothing without one.
    void showContextMenu();

    // Main queue.
    void launchApps();
    void activateDockApp(int n);
    // Presses the item of the menu bar's extras with this identifier; false when there is none.
    bool pressMenuExtra(const QString& identifier);

    // The System Settings address of a pane.
    static QString settingsAddress(SettingsPane pane);
    static QString powerItemTitle(PowerItem item);

private:
    // Posts a letter with modifiers to the front application, with the key that gives it, or
    // presses its menu item for that shortcut when no key of the layout gives the letter.
    void postLetter(char32_t letter, uint64_t flags, const QString& keys) const;

    PrefsStore* prefs_;
    MainQueue* mainQueue_;
    Workspace* workspace_;
    Accessibility* ax_;
    PrivateServices* private_;
    const Inject* inject_;
    Targets targets_;
    int macOSMajorVersion_;
};

} // namespace fenwold
