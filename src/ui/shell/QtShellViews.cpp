#include "QtShellViews.h"

#include "StatusIcon.h"
#include "WelcomeWindow.h"
#include "ports/Log.h"
#include "ports/Screens.h"
#include "ui/clipboard/QtShelfPanel.h"
#include "ui/common/PanelHost.h"
#include "ui/hints/HintView.h"
#include "ui/menus/QtMenuPresenter.h"
#include "ui/peek/EmptyPeekView.h"
#include "ui/settings/SettingsWindow.h"
#include "ui/snap/SnapLayoutView.h"
#include "ui/snap/SnapOutlineView.h"
#include "ui/switcher/TileGridPanelWidget.h"

#include <QGuiApplication>
#include <QPalette>

#include <QCursor>

namespace fenwold {

QtShellViews::QtShellViews(const Platform& platform, SettingsDeps settings,
                           std::unique_ptr<StatusItemView> statusItem, const PanelHost* panels,
                           FloatingPanelFactory nativePanels)
    : platform_(platform), settingsDeps_(std::move(settings)), statusItem_(std::move(statusItem)),
      desktopPanels_(std::make_unique<DesktopPanelHost>(std::move(nativePanels), platform_)),
      panels_(panels ? panels : desktopPanels_.get()) {}

QtShellViews::~QtShellViews() = default;

std::unique_ptr<HintPanel> QtShellViews::makeHintPanel(const PanelStyle& style) {
    return std::make_unique<HintPanelWidget>(*panels_, style);
}

void QtShellViews::installStatusItem(std::function<void(TrayClicks::Button, int)> onClick) {
    statusItem_->install(std::move(onClick));
}

void QtShellViews::popStatusMenu(const std::vector<StatusMenuItem>& items,
                                 std::function<void(StatusAction)> chosen) {
    statusItem_->popMenu(items, std::move(chosen));
}

void QtShellViews::showSettings() {
    if (!settings_) settings_ = std::make_unique<SettingsWindow>(settingsDeps_);
    if (const QSize room = panels_->windowRoom(); room.isValid()) settings_->setRoom(room);
    panels_->showWindow(*settings_);
}

void QtShellViews::showWelcome(Welcome& welcome) {
    if (!welcome_) welcome_ = std::make_unique<WelcomeWindow>(welcome, settingsDeps_.appIcon);
    welcome.opened([window = QPointer<WelcomeWindow>(welcome_.get())] {
        if (window) window->refresh();
    });
    welcome_->refresh();
    panels_->showWindow(*welcome_);
}

std::unique_ptr<TileGridPanel> QtShellViews::makeTileGridPanel(SwitcherModel& model, const Metrics& metrics,
                                                               const PanelStyle& style) {
    return std::make_unique<TileGridPanelWidget>(model, metrics, *panels_, style);
}

std::unique_ptr<EmptyPeekPanel> QtShellViews::makeEmptyPeekPanel(const PanelStyle& style) {
    return std::make_unique<EmptyPeekPanelWidget>(*panels_, style);
}

std::unique_ptr<SnapLayoutPanel> QtShellViews::makeSnapLayoutPanel(const PanelStyle& style) {
    return std::make_unique<SnapLayoutPanelWidget>(*panels_, style);
}

std::unique_ptr<SnapOutlinePanel> QtShellViews::makeSnapOutlinePanel(const PanelStyle& style) {
    return std::make_unique<SnapOutlinePanelWidget>(*panels_, style);
}

std::unique_ptr<MenuPresenter> QtShellViews::makeMenuPresenter() {
    return std::make_unique<QtMenuPresenter>(*panels_);
}

std::unique_ptr<ShelfPanel> QtShellViews::makeShelfPanel(const ShelfViewContext& context,
                                                         const PanelStyle& style) {
    Screens& screens = *platform_.screens;
    const ShelfStyle look{QGuiApplication::palette().color(QPalette::Window).lightness() < 128,
                          screens.reduceTransparency(), screens.reduceMotion()};
    WallClock* clock = platform_.clock;
    return std::make_unique<QtShelfPanel>(
        context, look, [clock] { return clock->now(); }, *panels_, style);
}

std::unique_ptr<QMenu> QtShellViews::buildStatusMenu(const std::vector<StatusMenuItem>& items,
                                                     std::function<void(StatusAction)> chosen) {
    auto menu = std::make_unique<QMenu>();
    for (const StatusMenuItem& item : items) {
        if (item.isSeparator()) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(item.title);
        if (!item.keyEquivalent.isEmpty())
            action->setShortcut(QKeySequence(QStringLiteral("Ctrl+") + item.keyEquivalent.toUpper()));
        action->setEnabled(item.enabled && item.action);
        action->setCheckable(item.checked);
        action->setChecked(item.checked);
        if (!item.action) continue;
        const StatusAction what = *item.action;
        QObject::connect(action, &QAction::triggered, action, [chosen, what] { chosen(what); });
    }
    return menu;
}

void QtTrayItem::install(std::function<void(Button, int)> onClick) {
    // Not every desktop has a tray; the program then runs without a status item.
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
    tray_ = std::make_unique<QSystemTrayIcon>(QIcon(QPixmap::fromImage(statusIconImage(2, opacity_))));
    tray_->setToolTip(QStringLiteral("Fenwold"));
    QObject::connect(tray_.get(), &QSystemTrayIcon::activated, tray_.get(),
                     [onClick = std::move(onClick)](QSystemTrayIcon::ActivationReason reason) {
                         switch (reason) {
                         case QSystemTrayIcon::Context:
                             onClick(Button::right, 1);
                             break;
                         case QSystemTrayIcon::DoubleClick:
                             onClick(Button::left, 2);
                             break;
                         case QSystemTrayIcon::Trigger:
                             onClick(Button::left, 1);
                             break;
                         default:
                             break;
                         }
                     });
    tray_->show();
}

void QtTrayItem::setIconOpacity(double opacity) {
    opacity_ = opacity;
    if (tray_) tray_->setIcon(QIcon(QPixmap::fromImage(statusIconImage(2, opacity_))));
}

void QtTrayItem::popMenu(const std::vector<StatusMenuItem>& items, std::function<void(StatusAction)> chosen) {
    menu_ = QtShellViews::buildStatusMenu(items, std::move(chosen));
    const QPoint at = tray_ ? tray_->geometry().bottomLeft() : QCursor::pos();
    menu_->popup(at.isNull() ? QCursor::pos() : at);
}

void SlotStatusItem::install(std::function<void(Button, int)> onClick) {
    slot_.install(statusIconImage(2), std::move(onClick));
    installed_ = true;
}

void SlotStatusItem::setIconOpacity(double opacity) {
    slot_.setIcon(statusIconImage(2, opacity));
}

SlotStatusItem::~SlotStatusItem() {
    delete menu_;
}

void SlotStatusItem::popMenu(const std::vector<StatusMenuItem>& items,
                             std::function<void(StatusAction)> chosen) {
    delete menu_;
    menu_ = QtShellViews::buildStatusMenu(items, std::move(chosen)).release();
    slot_.showMenu(*menu_);
}

} // namespace fenwold
