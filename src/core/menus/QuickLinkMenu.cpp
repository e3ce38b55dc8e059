#include "QuickLinkMenu.h"

#include "core/input/FenwoldKeys.h"
#include "core/switcher/MainScreen.h"
#include "ports/Workspace.h"

#include <QUrl>
#include <algorithm>

namespace fenwold {

namespace {

const char* applicationOf(QuickLink link) {
    switch (link) {
    case QuickLink::activityMonitor:
        return "/System/Applications/Utilities/Activity Monitor.app";
    case QuickLink::terminal:
        return "/System/Applications/Utilities/Terminal.app";
    case QuickLink::diskUtility:
        return "/System/Applications/Utilities/Disk Utility.app";
    default:
        return nullptr;
    }
}

} // namespace

QuickLinkMenu::QuickLinkMenu(const Platform& platform, FenwoldKeys& keys, MenuPresenter& presenter)
    : platform_(platform), keys_(keys), presenter_(presenter) {}

std::vector<QuickLinkItem> QuickLinkMenu::items() {
    using L = QuickLink;
    // Windows' own letters where the Mac's counterpart keeps them (Task Manager's T, Terminal's
    // I, Disk Management's K, Settings' N, File Explorer's E, Shut down's U).
    auto item = [](const char* title, L link) {
        return QuickLinkItem{{false, QString::fromUtf8(title), {}, {}, false, true}, link};
    };
    const QuickLinkItem divider{MenuRow::divider(), std::nullopt};
    return {
        item("Ac&tivity Monitor", L::activityMonitor),
        item("Term&inal", L::terminal),
        item("Dis&k Utility", L::diskUtility),
        divider,
        item("System Setti&ngs", L::systemSettings),
        item("Find&er", L::finder),
        item("&Force Quit", L::forceQuit),
        divider,
        item("&Lock Screen", L::lockScreen),
        item("Log &Out…", L::logOut),
        divider,
        item("&Sleep", L::sleep),
        item("&Restart…", L::restart),
        item("Sh&ut Down…", L::shutDown),
    };
}

Point QuickLinkMenu::placement(Point pointer, const Rect& visible, Size menu) {
    const double x = std::max(std::min(pointer.x, visible.maxX() - menu.width - kScreenMargin),
                              visible.minX() + kScreenMargin);
    const double y = std::max(std::min(pointer.y, visible.maxY() - kScreenMargin),
                              visible.minY() + menu.height + kScreenMargin);
    return {x, y};
}

void QuickLinkMenu::show() {
    const auto rows = items();
    const std::vector<MenuRow> shown(rows.begin(), rows.end());
    const auto screen = pointerScreen(*platform_.screens);
    const Point pointer = platform_.screens->pointerLocation();
    const Point at = screen ? placement(pointer, screen->visibleFrame, presenter_.measure(shown)) : pointer;
    const auto chosen = presenter_.popUp(shown, at);
    if (chosen && *chosen < rows.size() && rows[*chosen].link) perform(*rows[*chosen].link);
}

void QuickLinkMenu::perform(QuickLink link) {
    using Power = FenwoldKeys::PowerItem;
    if (const char* app = applicationOf(link)) {
        platform_.workspace->open(QUrl::fromLocalFile(QString::fromUtf8(app)));
        return;
    }
    switch (link) {
    case QuickLink::systemSettings:
        keys_.openSettings(FenwoldKeys::SettingsPane::start);
        break;
    case QuickLink::finder:
        keys_.openHomeFolder();
        break;
    case QuickLink::forceQuit:
        keys_.forceQuit();
        break;
    case QuickLink::lockScreen:
        keys_.lockScreen();
        break;
    case QuickLink::logOut:
        keys_.logOut();
        break;
    case QuickLink::sleep:
        keys_.pressPowerItem(Power::sleep);
        break;
    case QuickLink::restart:
        keys_.pressPowerItem(Power::restart);
        break;
    case QuickLink::shutDown:
        keys_.pressPowerItem(Power::shutDown);
        break;
    default:
        break;
    }
}

} // namespace fenwold
