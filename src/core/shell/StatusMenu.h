#pragma once

#include "ports/MainQueue.h"
#include "ports/StatusItem.h"
#include "ports/Subscription.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace fenwold {

class Accessibility;
class Screens;

// What the status menu shows besides its fixed items, read when it opens.
struct StatusMenuState {
    // The Accessibility permission was revoked after the shortcuts started: the tap lets every
    // key through until it is granted again.
    bool accessibilityRevoked = false;
    // The holder's name while Secure Keyboard Entry pauses every shortcut.
    std::optional<QString> secureInputHolder;
    // A scheduled check found an update while the program was not in front; the update item says
    // so instead of offering a check.
    bool updateWaiting = false;
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
// permission is there: at once, or when the system announces a change to its list of trusted
// applications and the permission is then found granted. The answer can lag the announcement, so
// it is read at once and again a moment later; a slow poll stands in for an announcement that
// never came. The watch goes on after arming, because the user can revoke the permission while
// the program runs: `lost` runs when it is first found gone, `regained` when first found back.
class AccessibilityGate {
public:
    struct Handlers {
        std::function<void()> arm;
        std::function<void()> lost;
        std::function<void()> regained;
    };
    static constexpr double pollInterval = 10.0;
    static constexpr double recheckDelay = 1.0; // after an announcement

    AccessibilityGate(MainQueue& queue, Accessibility& accessibility, Handlers handlers);
    void start();
    bool armed() const { return armed_; }
    // Whether the last answer (the request's or a later check's) found the permission granted.
    bool trusted() const { return trusted_; }
    bool polling() const { return timer_.isActive(); }

private:
    void check();

    MainQueue& queue_;
    Accessibility& accessibility_;
    Handlers handlers_;
    TimerHandle timer_;
    TimerHandle recheck_;
    Subscription announcements_;
    bool armed_ = false;
    bool trusted_ = false;
};

} // namespace fenwold
