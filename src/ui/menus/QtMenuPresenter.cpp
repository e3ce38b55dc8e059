#include "QtMenuPresenter.h"

#include "ui/common/PanelHost.h"
#include "ui/common/SymbolIcons.h"

#include <QMenu>
#include <QPalette>

namespace fenwold {

namespace {
constexpr int kSymbolSize = 13;
}

QtMenuPresenter::QtMenuPresenter(const PanelHost& host) : host_(host) {}

std::map<QAction*, std::size_t> QtMenuPresenter::build(QMenu& menu, const std::vector<MenuRow>& rows) {
    std::map<QAction*, std::size_t> actions;
    // Monochrome symbols follow the menu's text colour, as template images do.
    const QColor text = menu.palette().color(QPalette::WindowText);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const MenuRow& row = rows[i];
        if (row.separator) {
            menu.addSeparator();
            continue;
        }
        QAction* action =
            menu.addAction(symbolIcon(row.symbol, row.tint.value_or(text), kSymbolSize), row.title);
        action->setCheckable(row.checked);
        action->setChecked(row.checked);
        action->setEnabled(row.enabled);
        action->setIconVisibleInMenu(true);
        if (row.enabled) actions.emplace(action, i);
    }
    return actions;
}

Size QtMenuPresenter::measure(const std::vector<MenuRow>& rows) {
    QMenu menu;
    build(menu, rows);
    const QSize size = menu.sizeHint();
    return {static_cast<double>(size.width()), static_cast<double>(size.height())};
}

std::optional<std::size_t> QtMenuPresenter::popUp(const std::vector<MenuRow>& rows, Point topLeft) {
    // Without a parent: a pop-up made inside a container gets a native window of its own, which
    // a host that keeps menus as its children could not draw.
    QMenu menu;
    const auto actions = build(menu, rows);
    QAction* chosen = host_.trackMenu(menu, host_.toWidget(Rect{topLeft.x, topLeft.y, 0, 0}).topLeft());
    auto it = actions.find(chosen);
    if (it == actions.end()) return std::nullopt;
    return it->second;
}

} // namespace fenwold
