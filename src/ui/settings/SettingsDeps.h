#pragma once

#include "ports/AppShell.h"

#include <QImage>
#include <functional>
#include <optional>

namespace fenwold {

class LoginItems;
class PrefsStore;
class Workspace;
struct Platform;

// What the settings window works with.
struct SettingsDeps {
    PrefsStore* prefs = nullptr;
    LoginItems* loginItems = nullptr;
    Workspace* workspace = nullptr; // names and icons of the excluded applications
    AppShell* appShell = nullptr;   // the chooser for an application to exclude
    BundleInfo bundle;
    QImage appIcon;                          // null: a drawn placeholder
    std::function<void()> reapplyKeyMapping; // after the swap or Caps Lock switch changes
    std::function<void()> showWelcome;       // the About tab's button; none hides it
    std::optional<int> requestedTab;         // "--tab" n

    // The platform's stores and the running bundle's information; the rest left unset.
    static SettingsDeps of(const Platform& platform);
};

} // namespace fenwold
