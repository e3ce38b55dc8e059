#include "Welcome.h"

#include "core/settings/Prefs.h"
#include "core/settings/SettingsContent.h"
#include "core/settings/ShortcutCatalogue.h"
#include "ports/Accessibility.h"
#include "ports/WindowServer.h"
#include "ports/Workspace.h"

#include <algorithm>

namespace fenwold {

const std::vector<PermissionText>& permissionTexts() {
    static const std::vector<PermissionText> texts = {
        {Permission::accessibility, QStringLiteral("Accessibility"),
         QStringLiteral("Lets Fenwold read the keys you press, turn Windows shortcuts into Mac ones and move "
                        "windows. Without it nothing is remapped."),
         QStringLiteral("Open Accessibility Settings")},
        {Permission::screenRecording, QStringLiteral("Screen Recording"),
         QStringLiteral(
             "Lets the window switcher and the Dock peek show live previews of your windows. Without "
             "it they show the windows without pictures; nothing is recorded or kept."),
         QStringLiteral("Open Screen Recording Settings")},
    };
    return texts;
}

QUrl permissionPane(Permission permission) {
    switch (permission) {
    case Permission::screenRecording:
        return QUrl(
            QStringLiteral("x-apple.systempreferences:com.apple.preference.security?Privacy_ScreenCapture"));
    case Permission::accessibility:
        break;
    }
    return QUrl(
        QStringLiteral("x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility"));
}

QString permissionStatus(bool granted) {
    return granted ? QStringLiteral("Allowed") : QStringLiteral("Not allowed yet");
}

std::vector<PrefKey> winKeyRows() {
    std::vector<PrefKey> rows;
    for (const RemapSection& section : remapSections()) {
        for (const Remap& row : section.rows) {
            if (isWinKeySwitch(row.key)) rows.push_back(row.key);
        }
    }
    return rows;
}

PermissionPrompts::PermissionPrompts(std::function<void()> askAccessibility,
                                     std::function<void()> askScreenRecording)
    : ask_{std::move(askAccessibility), std::move(askScreenRecording)} {}

void PermissionPrompts::ask(Permission permission) {
    const std::size_t i = index(permission);
    if (asked_[i]) return;
    asked_[i] = true;
    ask_[i]();
}

void PermissionPrompts::askAll() {
    // Screen Recording first, as the start-up has always asked: its prompt does not wait for an
    // answer, the Accessibility one is followed by the poll that arms the shortcuts.
    ask(Permission::screenRecording);
    ask(Permission::accessibility);
}

Welcome::Welcome(Services services, PermissionPrompts& prompts) : s_(services), prompts_(prompts) {}

Welcome::~Welcome() {
    poll_.cancel();
}

bool Welcome::firstRun() const {
    return !Prefs(*s_.prefs).flag(PrefKey::welcomeShown);
}

bool Welcome::granted(Permission permission) const {
    switch (permission) {
    case Permission::screenRecording:
        return s_.windowServer->preflightScreenCapture();
    case Permission::accessibility:
        break;
    }
    return s_.accessibility->isTrusted();
}

void Welcome::openPane(Permission permission) {
    prompts_.ask(permission);
    s_.workspace->open(permissionPane(permission));
}

void Welcome::askForGranted() {
    for (const PermissionText& text : permissionTexts()) {
        if (granted(text.permission)) prompts_.ask(text.permission);
    }
}

bool Welcome::winKeysOn() const {
    const Prefs prefs(*s_.prefs);
    const auto rows = winKeyRows();
    return std::all_of(rows.begin(), rows.end(), [&](PrefKey key) { return prefs.flag(key); });
}

void Welcome::setWinKeys(bool on) const {
    const Prefs prefs(*s_.prefs);
    for (PrefKey key : winKeyRows())
        prefs.set(key, on);
}

bool Welcome::greenMaximizes() const {
    return Prefs(*s_.prefs).flag(PrefKey::greenMaximizes);
}

void Welcome::setGreenMaximizes(bool on) const {
    Prefs(*s_.prefs).set(PrefKey::greenMaximizes, on);
}

QString Welcome::loginItemTitle() {
    for (const GeneralOption& option : generalOptions()) {
        if (option.pref == PrefKey::launchAtLogin) return option.title;
    }
    return {};
}

bool Welcome::opensAtLogin() const {
    return Prefs(*s_.prefs).flag(PrefKey::launchAtLogin);
}

void Welcome::setOpensAtLogin(bool on) const {
    setLaunchAtLogin(Prefs(*s_.prefs), *s_.loginItems, on);
}

void Welcome::opened(std::function<void()> changed) {
    Prefs(*s_.prefs).set(PrefKey::welcomeShown, true);
    changed_ = std::move(changed);
    open_ = true;
    last_ = {granted(Permission::accessibility), granted(Permission::screenRecording)};
    poll_.cancel();
    poll_ = s_.mainQueue->every(1.0, 0.1, [this] { poll(); });
}

void Welcome::poll() {
    const std::array<bool, 2> now = {granted(Permission::accessibility),
                                     granted(Permission::screenRecording)};
    if (now == last_) return;
    last_ = now;
    if (changed_) changed_();
}

void Welcome::closed() {
    if (!open_) return;
    open_ = false;
    poll_.cancel();
    changed_ = nullptr;
    prompts_.askAll();
}

} // namespace fenwold
