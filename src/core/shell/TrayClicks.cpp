#include "TrayClicks.h"

#include "ports/Screens.h"

namespace fenwold {

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

} // namespace fenwold
