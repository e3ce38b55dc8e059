#pragma once

#include "core/shell/AppDelegate.h"
#include "ui/settings/SettingsDeps.h"

#include <QMenu>
#include <QSystemTrayIcon>
#include <memory>

namespace fenwold {

class SettingsWindow;

// The shell's views on Qt: a system-tray item where the desktop offers one, a pop-up status
// menu, the hint panel and the settings window (built on first use and kept).
class QtShellViews final : public ShellViews {
public:
    explicit QtShellViews(SettingsDeps settings);
    ~QtShellViews() override;

    std::unique_ptr<HintPanel> makeHintPanel() override;
    void installStatusItem(std::function<void(TrayClicks::Button, int)> onClick) override;
    bool hasStatusItem() const override { return tray_ != nullptr; }
    void popStatusMenu(const std::vector<StatusMenuItem>& items, std::function<void(StatusAction)> chosen) override;
    void showSettings() override;

    SettingsWindow* settingsWindow() const { return settings_.get(); }
    // The status menu as last built, for inspection and snapshots.
    QMenu* statusMenu() const { return menu_.get(); }
    static std::unique_ptr<QMenu> buildStatusMenu(const std::vector<StatusMenuItem>& items,
                                                  std::function<void(StatusAction)> chosen);

private:
    SettingsDeps settingsDeps_;
    std::unique_ptr<SettingsWindow> settings_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    std::unique_ptr<QMenu> menu_;
};

} // namespace fenwold
