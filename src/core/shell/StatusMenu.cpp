#include "StatusMenu.h"

namespace fenwold {

std::vector<StatusMenuItem> statusMenuItems(const StatusMenuState& state) {
    std::vector<StatusMenuItem> items;
    const StatusMenuItem separator;
    if (state.accessibilityRevoked)
        items.push_back({QStringLiteral("Shortcuts paused: allow Fenwold in Accessibility settings…"),
                         QString(), StatusAction::openAccessibilitySettings});
    if (state.secureInputHolder)
        items.push_back({secureInputMenuTitle(*state.secureInputHolder), QString(), std::nullopt, false});
    if (state.accessibilityRevoked || state.secureInputHolder) items.push_back(separator);
    items.push_back(
        {QStringLiteral("Pause Shortcuts in ") + state.frontName.value_or(QStringLiteral("This App")),
         QString(), StatusAction::toggleExclusion, state.frontExcludable,
         state.frontExcludable && state.frontExcluded});
    items.push_back(separator);
    items.push_back({QStringLiteral("Clipboard Shelf"), QString(), StatusAction::openClipboard});
    items.push_back(separator);
    items.push_back({QStringLiteral("Settings…"), QStringLiteral(","), StatusAction::openSettings});
    items.push_back(
        {state.updateWaiting ? QStringLiteral("Update available") : QStringLiteral("Check for Updates…"),
         QString(), StatusAction::checkForUpdates});
    items.push_back(separator);
    items.push_back({QStringLiteral("Quit Fenwold"), QStringLiteral("q"), StatusAction::quit});
    return items;
}

QString secureInputMenuTitle(const QString& holder) {
    return QStringLiteral("Shortcuts paused: ") + holder + QStringLiteral(" is using Secure Keyboard Entry");
}

} // namespace fenwold
