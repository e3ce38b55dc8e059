#include "StatusMenu.h"

#include "ports/Screens.h"

namespace fenwold {

const std::vector<StatusMenuItem>& statusMenuItems() {
    static const std::vector<StatusMenuItem> items = {
        {QStringLiteral("Clipboard Shelf"), QString(), StatusAction::openClipboard},
        {QString(), QString(), std::nullopt},
        {QStringLiteral("Settings…"), QStringLiteral(","), StatusAction::openSettings},
        {QStringLiteral("Check for Updates…"), QString(), StatusAction::checkForUpdates},
        {QString(), QString(), std::nullopt},
        {QStringLiteral("Quit Fenwold"), QStringLiteral("q"), StatusAction::quit},
    };
    return items;
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

AccessibilityGate::AccessibilityGate(MainQueue& queue, std::function<bool()> requestTrust,
                                     std::function<bool()> isTrusted, std::function<void()> arm)
    : queue_(queue), requestTrust_(std::move(requestTrust)), isTrusted_(std::move(isTrusted)),
      arm_(std::move(arm)) {}

void AccessibilityGate::start() {
    if (armed_ || timer_.isActive()) return;
    if (requestTrust_()) {
        armed_ = true;
        arm_();
        return;
    }
    // No limit: the user may grant the permission at any time.
    timer_ = queue_.every(1.0, 0.1, [this] {
        if (armed_ || !isTrusted_()) return;
        timer_.cancel();
        armed_ = true;
        arm_();
    });
}

} // namespace fenwold
