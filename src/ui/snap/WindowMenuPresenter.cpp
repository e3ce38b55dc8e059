#include "WindowMenuPresenter.h"

#include "ui/common/PanelHost.h"
#include "ui/common/SymbolIcons.h"

#include <QMenu>
#include <QPalette>

namespace fenwold {

namespace {
constexpr int kSymbolSize = 13;
}

QtMenuPresenter::QtMenuPresenter(const PanelHost& host) : host_(host) {}

std::map<QAction*, WindowMenuAction> QtMenuPresenter::build(QMenu& menu,
                                                            const std::vector<WindowMenuItem>& items) {
    std::map<QAction*, WindowMenuAction> actions;
    // Monochrome symbols follow the menu's text colour, as template images do.
    const QColor text = menu.palette().color(QPalette::WindowText);
    for (const WindowMenuItem& item : items) {
        if (item.separator) {
            menu.addSeparator();
            continue;
        }
        QAction* action =
            menu.addAction(symbolIcon(item.symbol, item.tint.value_or(text), kSymbolSize), item.title);
        action->setCheckable(item.checked);
        action->setChecked(item.checked);
        action->setEnabled(item.action.has_value());
        action->setIconVisibleInMenu(true);
        if (item.action) actions.emplace(action, *item.action);
    }
    return actions;
}

Size QtMenuPresenter::measure(const std::vector<WindowMenuItem>& items) {
    QMenu menu;
    build(menu, items);
    const QSize size = menu.sizeHint();
    return {static_cast<double>(size.width()), static_cast<double>(size.height())};
}

std::optional<WindowMenuAction> QtMenuPresenter::popUp(const std::vector<WindowMenuItem>& items,
                                                       Point topLeft) {
    // Without a parent: a pop-up made inside a container gets a native window of its own, which
    // a host that keeps menus as its children could not draw.
    QMenu menu;
    const auto actions = build(menu, items);
    QAction* chosen = host_.trackMenu(menu, host_.toWidget(Rect{topLeft.x, topLeft.y, 0, 0}).topLeft());
    auto it = actions.find(chosen);
    if (it == actions.end()) return std::nullopt;
    return it->second;
}

} // namespace fenwold
