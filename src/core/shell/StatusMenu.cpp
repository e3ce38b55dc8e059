#include "StatusMenu.h"

#include "ports/Accessibility.h"
#include "ports/Screens.h"

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

TrayClicks::TrayClicks(MainQueue& queue, Screens& screens, std::function<void()> popMenu,
                       std::function<void()> openSettings)
    : queue_(queue), screens_(screens), popMenu_(std::move(popMenu)), openSettings_(std::move(openSettings)) {
}

void TrayClicks::clicked(Button button, int clickCount) {
    if (button == Button::right) {
        popMenu();
        return;
    }
    pending_.cancel();
    if (clickCount < 2) {
        pending_ = queue_.after(screens_.doubleClickInterval(), [this] { popMenu(); });
        return;
    }
    openSettings_();
}

void TrayClicks::popMenu() {
    pending_.cancel();
    popMenu_();
}

AccessibilityGate::AccessibilityGate(MainQueue& queue, Accessibility& accessibility, Handlers handlers)
    : queue_(queue), accessibility_(accessibility), handlers_(std::move(handlers)) {}

void AccessibilityGate::start() {
    if (armed_ || timer_.isActive()) return;
    trusted_ = accessibility_.requestTrust();
    if (trusted_) {
        armed_ = true;
        handlers_.arm();
    }
    // No limit: the user may grant (or revoke) the permission at any time.
    announcements_ = accessibility_.observeTrustChanges([this] {
        check();
        recheck_.cancel();
        recheck_ = queue_.after(recheckDelay, [this] { check(); });
    });
    timer_ = queue_.every(pollInterval, 1.0, [this] { check(); });
}

void AccessibilityGate::check() {
    const bool now = accessibility_.isTrusted();
    if (now == trusted_) return;
    trusted_ = now;
    if (now && !armed_) {
        armed_ = true;
        handlers_.arm();
    } else if (armed_) {
        const auto& changed = now ? handlers_.regained : handlers_.lost;
        if (changed) changed();
    }
}

} // namespace fenwold
