#pragma once

#include "ports/MainQueue.h"
#include "ports/PrefKey.h"

#include <QString>
#include <QUrl>
#include <array>
#include <functional>
#include <vector>

namespace fenwold {

class Accessibility;
class LoginItems;
class PrefsStore;
class WindowServer;
class Workspace;

// The two privacy permissions the program asks for.
enum class Permission { accessibility, screenRecording };

struct PermissionText {
    Permission permission;
    QString title;
    QString enables; // what the permission lets the program do, and what happens without it
    QString button;
};
const std::vector<PermissionText>& permissionTexts();
// The permission's pane in System Settings.
QUrl permissionPane(Permission permission);
QString permissionStatus(bool granted);

inline const QString kWelcomeTitle = QStringLiteral("Welcome to Fenwold");
inline const QString kWelcomeIntro = QStringLiteral(
    "Fenwold makes this Mac answer the shortcuts a Windows keyboard taught you: Alt+Tab switches "
    "windows with live previews, Win+arrows snap them, Ctrl+C, Ctrl+V and the other Ctrl keys edit "
    "as on Windows, and Finder learns Explorer's keys. It lives in the menu bar — look for the W; "
    "Settings… there lists every shortcut.");
inline const QString kWinKeysChoice = QStringLiteral(
    "Use the Windows key for Windows shortcuts (Win+D, Win+E, Win+V, …) — hides the matching ⌘ shortcuts");
inline const QString kWinKeysDetail = QStringLiteral(
    "The Windows key arrives as ⌘, so each of these takes a Mac shortcut away: Win+D is ⌘D, Win+V "
    "is ⌘V. They can be turned on and off one by one in Settings… → Shortcuts.");
// The other Windows habit the welcome offers: the green button maximises.
inline const QString kGreenButtonChoice =
    QStringLiteral("Click the green button to maximize a window, as on Windows — instead of full screen");
inline const QString kGreenButtonDetail = QStringLiteral(
    "A second click gives the window back its size; Option-click and holding the button down keep the "
    "Mac's full screen and tiling.");
// The program puts itself in the login items when it starts (the preference is on by default):
// the welcome says so beside the settings' own switch for it.
inline const QString kLoginItemDetail = QStringLiteral(
    "Fenwold added itself to this Mac's login items when it started, so that its shortcuts work after "
    "every restart. Untick to take it out; System Settings › General › Login Items also lists it.");
inline const QString kWelcomeContinue = QStringLiteral("Continue");
// The About tab's way back to it.
inline const QString kAboutShowWelcome = QStringLiteral("Show the Welcome Window…");

// The rows whose shortcut is the Windows key with other keys, each hiding the ⌘ shortcut of the
// same keys: the catalogue's rows declared as Windows-key switches, in its order.
std::vector<PrefKey> winKeyRows();

// Asks the system for each permission at most once a run: the welcome's buttons may ask for one
// first, its end asks for the rest.
class PermissionPrompts {
public:
    PermissionPrompts(std::function<void()> askAccessibility, std::function<void()> askScreenRecording);
    void ask(Permission permission);
    void askAll();
    bool asked(Permission permission) const { return asked_[index(permission)]; }

private:
    static std::size_t index(Permission p) { return static_cast<std::size_t>(p); }
    std::array<std::function<void()>, 2> ask_;
    std::array<bool, 2> asked_{};
};

// The first-run welcome: what the program does, the two permissions with their state as it is
// now, the choice that turns the Windows-key rows on or off together, the green button's switch
// beside it, and the login item the program registered at start, which can be turned off there.
// Shown once, before the system's permission prompts; again on request.
class Welcome {
public:
    struct Services {
        PrefsStore* prefs = nullptr;
        Accessibility* accessibility = nullptr;
        WindowServer* windowServer = nullptr;
        Workspace* workspace = nullptr;
        MainQueue* mainQueue = nullptr;
        LoginItems* loginItems = nullptr;
    };
    Welcome(Services services, PermissionPrompts& prompts);
    Welcome(const Welcome&) = delete;
    Welcome& operator=(const Welcome&) = delete;
    ~Welcome();

    // Whether this Mac's user has not seen it yet.
    bool firstRun() const;
    bool granted(Permission permission) const;
    // The system lists the program in a permission's pane only once it has asked for it: ask,
    // then open the pane.
    void openPane(Permission permission);
    // On while every Windows-key row is on.
    bool winKeysOn() const;
    void setWinKeys(bool on) const;
    // The green button's switch.
    bool greenMaximizes() const;
    void setGreenMaximizes(bool on) const;

    // The login item: the settings' switch, with its title there.
    static QString loginItemTitle();
    bool opensAtLogin() const;
    void setOpensAtLogin(bool on) const;

    // A permission granted already needs no prompt: it is asked for now, so that what it enables
    // does not wait for the welcome to close.
    void askForGranted();

    // The window opened: from now on it counts as seen, and the permissions are read every second
    // while it stays open; `changed` runs when one of them changes.
    void opened(std::function<void()> changed);
    // The window closed (its button or its close box): the prompts not asked yet follow.
    void closed();
    bool isOpen() const { return open_; }

private:
    void poll();

    Services s_;
    PermissionPrompts& prompts_;
    std::function<void()> changed_;
    TimerHandle poll_;
    std::array<bool, 2> last_{};
    bool open_ = false;
};

} // namespace fenwold
