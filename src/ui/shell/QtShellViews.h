#pragma once

#include "core/shell/AppDelegate.h"
#include "ui/settings/SettingsDeps.h"

#include <QMenu>
#include <QSystemTrayIcon>
#include <memory>

namespace fenwold {

class SettingsWindow;

// A system-tray item where the desktop offers one, with a pop-up status menu.
class QtTrayItem final : public StatusItemView {
public:
    void install(std::function<void(Button, int)> onClick) override;
    bool installed() const override { return tray_ != nullptr; }
    void popMenu(const std::vector<StatusMenuItem>& items, std::function<void(StatusAction)> chosen) override;
    QMenu* menu() const { return menu_.get(); }

private:
    std::unique_ptr<QSystemTrayIcon> tray_;
    std::unique_ptr<QMenu> menu_;
};

// The shell's views on Qt: the status item given to it, the hint panel and the settings window
// (built on first use and kept).
class QtShellViews final : public ShellViews {
public:
    QtShellViews(SettingsDeps settings, std::unique_ptr<StatusItemView> statusItem);
    ~QtShellViews() override;

    std::unique_ptr<HintPanel> makeHintPanel() override;
    void installStatusItem(std::function<void(TrayClicks::Button, int)> onClick) override;
    bool hasStatusItem() const override { return statusItem_->installed(); }
    void popStatusMenu(const std::vector<StatusMenuItem>& items, std::function<void(StatusAction)> chosen) override;
    void showSettings() override;

    SettingsWindow* settingsWindow() const { return settings_.get(); }
    static std::unique_ptr<QMenu> buildStatusMenu(const std::vector<StatusMenuItem>& items,
                                                  std::function<void(StatusAction)> chosen);

private:
    SettingsDeps settingsDeps_;
    std::unique_ptr<SettingsWindow> settings_;
    std::unique_ptr<StatusItemView> statusItem_;
};

} // namespace fenwold
