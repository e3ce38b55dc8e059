#include "SettingsContent.h"

#include "Prefs.h"
#include "core/shell/AppIdentifier.h"
#include "ports/AppShell.h"

#include <QVariant>

namespace fenwold {

const std::vector<GeneralOption>& generalOptions() {
    static const std::vector<GeneralOption> options = {
        {QStringLiteral("⌥Tab window switcher"), PrefKey::altTab,
         QStringLiteral("Hold ⌥ (Alt) and press Tab for a Windows-style switcher with live previews of every "
                        "window. Tab or → moves forward, ⇧Tab or ← moves back, releasing ⌥ switches to the "
                        "highlighted window, Esc cancels, and Delete closes the highlighted window."),
         false},
        {QStringLiteral("Dock peek"), PrefKey::dockPeek,
         QStringLiteral("Hover over a Dock icon for a moment to preview all of that app's windows, including "
                        "minimized and hidden ones. Click a preview to bring that window to the front."),
         true},
        {QStringLiteral("Show window count in Dock peek"), PrefKey::peekBadges,
         QStringLiteral("The preview shows how many windows the app has open."), false},
        {QStringLiteral("Say when an app has no windows"), PrefKey::peekEmpty,
         QStringLiteral("When Dock peek finds nothing to preview, show a small \"No windows\" tooltip "
                        "instead of staying silent — so an app with nothing open never looks the same as a "
                        "hover that failed to register."),
         false},
        {QStringLiteral("Teach the Mac way"), PrefKey::macHints,
         QStringLiteral(
             "Each time Fenwold handles a Windows shortcut, briefly show the native Mac equivalent in the "
             "corner of the screen — until your fingers pick up the local dialect."),
         true},
        {QStringLiteral("Keyboard navigation (a macOS setting)"), std::nullopt,
         QStringLiteral("Tab moves focus between buttons and controls in dialogs and windows, like on "
                        "Windows. This is the system-wide \"Keyboard navigation\" switch from System "
                        "Settings › Keyboard — changing it here changes it everywhere."),
         true},
        {QStringLiteral("Open Fenwold at login"), PrefKey::launchAtLogin,
         QStringLiteral("Start Fenwold automatically when you log in to this Mac. Removing it in System "
                        "Settings › Login Items also works and wins over this checkbox."),
         true},
    };
    return options;
}

SwitchText swapSwitchText() {
    return {QStringLiteral("Swap Ctrl and Command"),
            QStringLiteral(
                "Trades the two keys for everything, not just the shortcuts listed below — Ctrl+T opens a "
                "browser tab, and the Win rows follow the key that now sends ⌃. Covers keyboards attached "
                "to this Mac and keys sent by a remote session (RustDesk, Parsec) alike; turn the remote "
                "app's own swap off, or the two cancel out.")};
}

SwitchText capsGlobeSwitchText() {
    return {QStringLiteral("Caps Lock acts as 🌐 (Globe)"),
            QStringLiteral(
                "Puts the Mac's Globe key under the left pinky, where a Windows keyboard keeps Caps Lock — "
                "🌐E opens emoji, 🌐F toggles full screen, 🌐H shows the desktop. Caps Lock stops toggling "
                "capitals. Keys sent by a remote session never reach the hardware, so this can't cover "
                "them: on a VIA or QMK keyboard, bind Caps Lock to F19 and run")};
}

SwitchText masterSwitchText() {
    return {QStringLiteral("Enable shortcuts"),
            QStringLiteral(
                "The master switch for every remap below — ⌘⎋ flips it from anywhere. Individual settings "
                "are kept.")};
}

QString f19GlobeCommand() {
    return QStringLiteral("defaults write %1 f19Globe -bool true").arg(appIdentifier());
}

QString detailHeading(const QString& keys, const QString& purpose, bool selected) {
    return selected ? keys + QStringLiteral(" — ") + purpose : QStringLiteral("The full story");
}

const std::vector<SettingsTab>& settingsTabs() {
    static const std::vector<SettingsTab> tabs = {{QStringLiteral("General"), QStringLiteral("gearshape")},
                                                  {QStringLiteral("Shortcuts"), QStringLiteral("keyboard")},
                                                  {QStringLiteral("About"), QStringLiteral("info.circle")}};
    return tabs;
}

int initialSettingsTab(std::optional<int> requested) {
    const int count = static_cast<int>(settingsTabs().size());
    return requested && *requested >= 0 && *requested < count ? *requested : 0;
}

QString aboutVersionLine(const BundleInfo& bundle) {
    return QStringLiteral("Version %1 (%2)")
        .arg(bundle.version.value_or(QStringLiteral("?")), bundle.build.value_or(QStringLiteral("?")));
}

bool KeyboardNav::enabled(const PrefsStore& store) {
    const QVariant v = store.readGlobal(key);
    bool ok = false;
    const qlonglong mode = v.toLongLong(&ok);
    // Booleans and text are not the integer the system stores.
    const bool isInteger =
        ok && (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong ||
               (v.typeId() == QMetaType::Double && v.toDouble() == static_cast<double>(mode)));
    return isInteger && (mode & 2) != 0;
}

void KeyboardNav::set(PrefsStore& store, bool on) {
    if (on == enabled(store)) return;
    store.writeGlobal(key, QVariant(on ? 2 : 0));
    store.postDistributed(changed);
}

void setLaunchAtLogin(const Prefs& prefs, LoginItems& loginItems, bool on) {
    prefs.set(PrefKey::launchAtLogin, on);
    // A failure is not reported: the system's Login Items settings have the last word.
    if (on)
        (void)loginItems.registerItem();
    else
        (void)loginItems.unregisterItem();
}

} // namespace fenwold
