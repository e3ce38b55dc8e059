#pragma once

#include "ports/AppShell.h"
#include "ports/PrefKey.h"

#include <QString>
#include <optional>
#include <vector>

namespace fenwold {

class LoginItems;
class Prefs;
class PrefsStore;

// One checkbox row of the General pane; `pref` is empty for the system's keyboard-navigation
// setting, which is not one of the program's preferences.
struct GeneralOption {
    QString title;
    std::optional<PrefKey> pref;
    QString detail;
    bool dividerBefore = false;
};
const std::vector<GeneralOption>& generalOptions();

// Texts of the Shortcuts pane.
struct SwitchText {
    QString title;
    QString detail;
};
SwitchText swapSwitchText();
SwitchText capsGlobeSwitchText();
SwitchText masterSwitchText();
// The selectable command that makes an F19 key act as Globe, in the program's defaults domain.
QString f19GlobeCommand();
// The detail area's heading for a selection ("Win+D — Show the desktop"), or "The full story".
QString detailHeading(const QString& keys, const QString& purpose, bool selected);

// The settings window's tabs, in order.
struct SettingsTab {
    QString title;
    QString symbol; // the system symbol's name, drawn by the views
};
const std::vector<SettingsTab>& settingsTabs();
inline const QString kSettingsWindowTitle = QStringLiteral("Fenwold Settings");
// The tab to open on: "--tab" n when 0 <= n < tab count, otherwise the first.
int initialSettingsTab(std::optional<int> requested);

// About pane lines.
QString aboutVersionLine(const BundleInfo& bundle);
inline const QString kAboutTagline = QStringLiteral("A helper for people moving from Windows to a Mac.");
inline const QString kAboutClosing = QStringLiteral("Made for fingers that still think in Ctrl.");

// The system-wide keyboard-navigation switch: AppleKeyboardUIMode in the any-application domain.
struct KeyboardNav {
    static inline const QString key = QStringLiteral("AppleKeyboardUIMode");
    static inline const QString changed = QStringLiteral("com.apple.KeyboardUIModeDidChange");
    // On when the stored integer has the bit of value 2 set; absent or not an integer is off.
    static bool enabled(const PrefsStore& store);
    // Writes 2 or 0 and announces the change, only when it differs from the current setting.
    static void set(PrefsStore& store, bool on);
};

// The login-item switch acts at once; failures are ignored and the preference keeps the
// user's choice.
void setLaunchAtLogin(const Prefs& prefs, LoginItems& loginItems, bool on);

} // namespace fenwold
