#pragma once

#include "core/shell/AppDelegate.h"
#include "ports/FloatingPanel.h"
#include "ports/StatusItemView.h"
#include "ui/settings/SettingsDeps.h"

#include <QMenu>
#include <QPointer>
#include <QSystemTrayIcon>
#include <memory>

namespace fenwold {

class PanelHost;
class SettingsWindow;
class WelcomeWindow;

// A system-tray item where the desktop offers one, with a pop-up status menu.
class QtTrayItem final : public StatusItemView {
public:
    void install(std::function<void(Button, int)> onClick) override;
    bool installed() const override { return tray_ != nullptr; }
    void popMenu(const std::vector<StatusMenuItem>& items, std::function<void(StatusAction)> chosen) override;
    void setIconOpacity(double opacity) override;
    QMenu* menu() const { return menu_.get(); }

private:
    std::unique_ptr<QSystemTrayIcon> tray_;
    double opacity_ = 1.0;
    std::unique_ptr<QMenu> menu_;
};

// Where the status item lives when it is not in the desktop's tray: a menu bar the program draws
// itself (the playground's simulated screen).
class StatusItemSlot {
public:
    StatusItemSlot() = default;
    StatusItemSlot(const StatusItemSlot&) = delete;
    StatusItemSlot& operator=(const StatusItemSlot&) = delete;
    virtual ~StatusItemSlot() = default;

    // Show the icon; clicks on it arrive with their button and click count.
    virtual void install(const QImage& icon, std::function<void(TrayClicks::Button, int)> onClick) = 0;
    // Draw another image for the installed icon.
    virtual void setIcon(const QImage& icon) = 0;
    // Open the status menu under the item without waiting for it: it closes itself when an item
    // is chosen or it is dismissed.
    virtual void showMenu(QMenu& menu) = 0;
};

// The status item in a slot of a menu bar the program draws.
class SlotStatusItem final : public StatusItemView {
public:
    explicit SlotStatusItem(StatusItemSlot& slot) : slot_(slot) {}
    ~SlotStatusItem() override;
    void install(std::function<void(Button, int)> onClick) override;
    bool installed() const override { return installed_; }
    void popMenu(const std::vector<StatusMenuItem>& items, std::function<void(StatusAction)> chosen) override;
    void setIconOpacity(double opacity) override;
    QMenu* menu() const { return menu_; }

private:
    StatusItemSlot& slot_;
    bool installed_ = false;
    // The slot may parent the menu to the bar it draws, which then deletes it if it goes first.
    QPointer<QMenu> menu_;
};

// The shell's views on Qt: the status item given to it, the hint panel placed by the panel host,
// and the settings window (built on first use and kept).
class QtShellViews final : public ShellViews {
public:
    // Without a panel host panels are top-level windows: the platform's native panels where it
    // makes them, otherwise Qt's own floating windows.
    QtShellViews(const Platform& platform, SettingsDeps settings, std::unique_ptr<StatusItemView> statusItem,
                 const PanelHost* panels = nullptr, FloatingPanelFactory nativePanels = {});
    ~QtShellViews() override;

    std::unique_ptr<HintPanel> makeHintPanel(const PanelStyle& style) override;
    void installStatusItem(std::function<void(TrayClicks::Button, int)> onClick) override;
    bool hasStatusItem() const override { return statusItem_->installed(); }
    void popStatusMenu(const std::vector<StatusMenuItem>& items,
                       std::function<void(StatusAction)> chosen) override;
    void setStatusIconOpacity(double opacity) override { statusItem_->setIconOpacity(opacity); }
    void showSettings() override;
    void showWelcome(Welcome& welcome) override;
    std::unique_ptr<TileGridPanel> makeTileGridPanel(SwitcherModel& model, const Metrics& metrics,
                                                     const PanelStyle& style) override;
    std::unique_ptr<EmptyPeekPanel> makeEmptyPeekPanel(const PanelStyle& style) override;
    std::unique_ptr<SnapLayoutPanel> makeSnapLayoutPanel(const PanelStyle& style) override;
    std::unique_ptr<SnapOutlinePanel> makeSnapOutlinePanel(const PanelStyle& style) override;
    std::unique_ptr<MenuPresenter> makeMenuPresenter() override;
    std::unique_ptr<ShelfPanel> makeShelfPanel(const ShelfViewContext& context,
                                               const PanelStyle& style) override;

    SettingsWindow* settingsWindow() const { return settings_.get(); }
    WelcomeWindow* welcomeWindow() const { return welcome_.get(); }
    StatusItemView& statusItem() const { return *statusItem_; }
    static std::unique_ptr<QMenu> buildStatusMenu(const std::vector<StatusMenuItem>& items,
                                                  std::function<void(StatusAction)> chosen);

private:
    Platform platform_;
    SettingsDeps settingsDeps_;
    std::unique_ptr<StatusItemView> statusItem_;
    std::unique_ptr<PanelHost> desktopPanels_;
    const PanelHost* panels_;
    std::unique_ptr<SettingsWindow> settings_;
    std::unique_ptr<WelcomeWindow> welcome_;
};

} // namespace fenwold
