#pragma once

#include "ports/MainQueue.h"
#include "ports/StatusItem.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace fenwold {

class Screens;

// What the status menu shows besides its fixed items, read when it opens.
struct StatusMenuState {
    // The Accessibility permission was revoked after the shortcuts started: the tap lets every
    // key through until it is granted again.
    bool accessibilityRevoked = false;
    // The holder's name while Secure Keyboard Entry pauses every shortcut.
    std::optional<QString> secureInputHolder;
    // The application in front when the menu opened; empty when there is none.
    std::optional<QString> frontName;
    // Whether it can be excluded (it has a bundle identifier and is not the program itself), and
    // whether it is.
    bool frontExcludable = false;
    bool frontExcluded = false;
};

// The status menu, in order: the notices of what pauses every shortcut (a revoked Accessibility
// permission, whose item opens its settings; Secure Keyboard Entry), "Pause Shortcuts in" the
// front application, then the fixed items.
std::vector<StatusMenuItem> statusMenuItems(const StatusMenuState& state = {});
QString secureInputMenuTitle(const QString& holder);

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

// Asks for Accessibility (with the system prompt) and calls `arm` once, as soon as the
// permission is there: at once, or on the first 1-second poll that finds it. The poll goes on
// after that, because the user can revoke the permission while the program runs: `lost` runs on
// the first poll that finds it gone, `regained` on the first that finds it back.
class AccessibilityGate {
public:
    struct Handlers {
        std::function<void()> arm;
        std::function<void()> lost;
        std::function<void()> regained;
    };
    AccessibilityGate(MainQueue& queue, std::function<bool()> requestTrust, std::function<bool()> isTrusted,
                      Handlers handlers);
    void start();
    bool armed() const { return armed_; }
    // Whether the last answer (the request's or a poll's) found the permission granted.
    bool trusted() const { return trusted_; }
    bool polling() const { return timer_.isActive(); }

private:
    void poll();

    MainQueue& queue_;
    std::function<bool()> requestTrust_;
    std::function<bool()> isTrusted_;
    Handlers handlers_;
    TimerHandle timer_;
    bool armed_ = false;
    bool trusted_ = false;
};

} // namespace fenwold
