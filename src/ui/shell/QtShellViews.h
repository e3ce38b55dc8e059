#pragma once

#include "core/shell/AppDelegate.h"
#include "ui/settings/SettingsDeps.h"

#include <QMenu>
#include <QSystemTrayIcon>
#include <memory>

namespace fenwold {

class PanelHost;
class SettingsWindow;

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
    // Where the status menu opens, in global coordinates (under the item).
    virtual QPoint menuPosition() const = 0;
};

// The shell's views on Qt: a status item (in the desktop's tray where it offers one, or in the
// given slot), a pop-up status menu, the hint panel placed by the panel host, and the settings
// window (built on first use and kept).
class QtShellViews final : public ShellViews {
public:
    explicit QtShellViews(SettingsDeps settings, const PanelHost* panels = nullptr,
                          StatusItemSlot* slot = nullptr);
    ~QtShellViews() override;

    std::unique_ptr<HintPanel> makeHintPanel() override;
    void installStatusItem(std::function<void(TrayClicks::Button, int)> onClick) override;
    bool hasStatusItem() const override { return tray_ != nullptr || slotInstalled_; }
    void popStatusMenu(const std::vector<StatusMenuItem>& items,
                       std::function<void(StatusAction)> chosen) override;
    void showSettings() override;

    SettingsWindow* settingsWindow() const { return settings_.get(); }
    // The status menu as last built, for inspection and snapshots.
    QMenu* statusMenu() const { return menu_.get(); }
    static std::unique_ptr<QMenu> buildStatusMenu(const std::vector<StatusMenuItem>& items,
                                                  std::function<void(StatusAction)> chosen);

    const PanelHost& panelHost() const;

private:
    SettingsDeps settingsDeps_;
    std::unique_ptr<PanelHost> desktopPanels_;
    const PanelHost* panels_;
    StatusItemSlot* slot_;
    bool slotInstalled_ = false;
    std::unique_ptr<SettingsWindow> settings_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    std::unique_ptr<QMenu> menu_;
};

} // namespace fenwold
