#pragma once

#include "ports/StatusItemView.h"

#include <QString>
#include <optional>
#include <vector>

namespace fenwold {

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

} // namespace fenwold
