#include "SettingsDeps.h"

#include "ports/Platform.h"

namespace fenwold {

SettingsDeps SettingsDeps::of(const Platform& platform) {
    SettingsDeps deps;
    deps.prefs = platform.prefs;
    deps.loginItems = platform.loginItems;
    deps.workspace = platform.workspace;
    deps.appShell = platform.appShell;
    deps.bundle = platform.appShell->bundle();
    return deps;
}

} // namespace fenwold
