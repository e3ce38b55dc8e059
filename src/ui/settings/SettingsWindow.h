#pragma once

#include "SettingsDeps.h"
#include "ports/Subscription.h"

#include <QSize>
#include <QStackedWidget>
#include <QToolBar>
#include <QWidget>
#include <optional>
#include <vector>

namespace fenwold {

class AboutPane;
class GeneralPane;
class ShortcutsPane;

// The program's one regular window: General, Shortcuts and About in a toolbar. Built once and
// kept; closing hides it.
class SettingsWindow final : public QWidget {
public:
    explicit SettingsWindow(const SettingsDeps& deps, QWidget* parent = nullptr);

    int selectedTab() const { return stack_->currentIndex(); }
    void selectTab(int index, bool animated = true);
    // Resize to the selected pane's measured size, keeping the window's top edge in place; a pane
    // taller than the room the window has scrolls inside it.
    void fitWindow(bool animated);
    // The most the window may take, without its title bar: the visible frame of its screen.
    void setRoom(QSize room);
    const std::vector<QSize>& paneSizes() const { return paneSizes_; }

    GeneralPane* general() const { return general_; }
    ShortcutsPane* shortcuts() const { return shortcuts_; }
    AboutPane* about() const { return about_; }
    QToolBar* toolbar() const { return toolbar_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void refresh();

    SettingsDeps deps_;
    QToolBar* toolbar_;
    QStackedWidget* stack_;
    GeneralPane* general_;
    ShortcutsPane* shortcuts_;
    AboutPane* about_;
    std::vector<QSize> paneSizes_;
    Subscription prefsChanged_;
    bool fitted_ = false;
    std::optional<QSize> room_;
};

} // namespace fenwold
