#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace fenwold {

// What a status-menu item does.
enum class StatusAction {
    openAccessibilitySettings,
    toggleExclusion,
    openClipboard,
    openSettings,
    checkForUpdates,
    quit
};

// One row of the status menu; a separator has neither title nor action, a line of information
// a title and no action.
struct StatusMenuItem {
    QString title;
    QString keyEquivalent;
    std::optional<StatusAction> action;
    bool enabled = true;
    bool checked = false;
    bool isSeparator() const { return !action && title.isEmpty(); }
};

// The status-bar item: its icon, its clicks and its pop-up menu.
class StatusItemView {
public:
    enum class Button { left, right };
    StatusItemView() = default;
    StatusItemView(const StatusItemView&) = delete;
    StatusItemView& operator=(const StatusItemView&) = delete;
    virtual ~StatusItemView() = default;

    // Put the icon in the status bar; clicks arrive with their button and click count.
    virtual void install(std::function<void(Button, int clickCount)> onClick) = 0;
    virtual bool installed() const = 0;
    // Open the menu under the icon; the chosen action is reported back.
    virtual void popMenu(const std::vector<StatusMenuItem>& items,
                         std::function<void(StatusAction)> chosen) = 0;
    // Draw the icon at this opacity (1 normally, 0.5 while shortcuts cannot work).
    virtual void setIconOpacity(double opacity) = 0;
};

} // namespace fenwold
