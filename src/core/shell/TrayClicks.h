#pragma once

#include "ports/MainQueue.h"
#include "ports/StatusItemView.h"

#include <functional>

namespace fenwold {

class Screens;

// Turns clicks on the status icon into "open the menu" or "open the settings": a right click
// opens the menu at once; a single left click opens it after the double-click interval, unless
// a second click within that interval opens the settings instead.
class TrayClicks {
public:
    using Button = StatusItemView::Button;
    TrayClicks(MainQueue& queue, Screens& screens, std::function<void()> popMenu,
               std::function<void()> openSettings);

    void clicked(Button button, int clickCount);
    bool menuPending() const { return pending_.isActive(); }

private:
    void popMenu();

    MainQueue& queue_;
    Screens& screens_;
    std::function<void()> popMenu_;
    std::function<void()> openSettings_;
    TimerHandle pending_;
};

} // namespace fenwold
