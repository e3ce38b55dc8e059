#include "PlaygroundState.h"

#include "MacMenuStyle.h"
#include "PlaygroundSession.h"
#include "ui/clipboard/ClipboardCard.h"
#include "ui/clipboard/ClipboardShelfView.h"
#include "ui/snap/SnapLayoutView.h"
#include "ui/switcher/SwitcherView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGraphicsProxyWidget>
#include <QGraphicsView>
#include <QJsonArray>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTabBar>

namespace fenwold {

namespace {

QJsonArray rectArray(const QRectF& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}

// A point of a widget on the host's display: through the scene of the view showing the simulated
// screen for the widgets inside it (and the menus it embeds), directly for the others.
QPointF onDisplay(const QGraphicsView* view, const QWidget& widget, QPointF local) {
    const QWidget* window = widget.window();
    const QGraphicsProxyWidget* proxy = window->graphicsProxyWidget();
    if (!proxy || !view) return widget.mapToGlobal(local);
    const QPointF scene = proxy->mapToScene(widget.mapTo(window, local));
    return view->viewport()->mapToGlobal(QPointF(view->mapFromScene(scene)));
}

QRectF onDisplay(const QGraphicsView* view, const QWidget& widget, const QRectF& local) {
    return QRectF(onDisplay(view, widget, local.topLeft()), onDisplay(view, widget, local.bottomRight()))
        .normalized();
}

// The places a person can click: named, with their rectangles on the host's display.
class Targets {
public:
    explicit Targets(const QGraphicsView* view) : view_(view) {}
    void add(const QString& name, const QWidget& widget, const QRectF& local, QJsonObject more = {}) {
        // Only what shows: a control scrolled out of its pane cannot be clicked.
        const QRectF shown = local.intersected(QRectF(widget.visibleRegion().boundingRect()));
        if (shown.isEmpty()) return;
        more["name"] = name;
        more["rect"] = rectArray(onDisplay(view_, widget, shown));
        list_.append(more);
    }
    void addWidget(const QString& name, const QWidget& widget) {
        if (widget.isVisible()) add(name, widget, QRectF(widget.rect()));
    }
    QJsonArray take() { return std::exchange(list_, {}); }
    const QGraphicsView* view() const { return view_; }

private:
    const QGraphicsView* view_;
    QJsonArray list_;
};

QString buttonName(const QAbstractButton& button) {
    if (!button.accessibleName().isEmpty()) return button.accessibleName();
    if (!button.toolTip().isEmpty()) return button.toolTip();
    return button.text();
}

void describeTileGrid(const SwitcherView& view, Targets& targets, QJsonObject& out) {
    const auto& windows = view.model().windows();
    QJsonArray tiles;
    for (int i = 0; i < static_cast<int>(windows.size()); ++i) {
        const QString tile = QStringLiteral("tile %1").arg(i);
        targets.add(tile, view, view.tileRect(i));
        for (TileAction action : SwitcherView::buttonActions())
            targets.add(tile + QLatin1Char('/') + view.tooltip(i, action), view, view.buttonRect(i, action));
        tiles.append(QJsonObject{{"title", windows[static_cast<std::size_t>(i)].title},
                                 {"app", windows[static_cast<std::size_t>(i)].appName}});
    }
    out["tiles"] = tiles;
    out["hoveredTile"] = view.hoveredTile();
    out["selectedTile"] = view.model().selected();
}

void describeSnapLayouts(const SnapLayoutView& view, Targets& targets, QJsonObject& out) {
    const SnapLayoutGeometry geometry(view.state());
    const auto& layouts = view.state().layouts;
    for (int l = 0; l < static_cast<int>(layouts.size()); ++l)
        for (int z = 0; z < static_cast<int>(layouts[static_cast<std::size_t>(l)].zones.size()); ++z)
            targets.add(QStringLiteral("zone %1.%2").arg(l).arg(z), view, geometry.zoneRect(l, z));
    const auto hovered = view.hoveredZone();
    out["hoveredZone"] =
        hovered ? QJsonValue(QStringLiteral("%1.%2").arg(hovered->layout).arg(hovered->zone)) : QJsonValue();
}

void describeShelf(const ClipboardShelfView& view, Targets& targets, QJsonObject& out) {
    QJsonArray cards;
    int index = 0;
    for (const ClipboardCard* card : view.cards()) {
        const QString name = QStringLiteral("card %1").arg(index++);
        // What of a card shows inside the shelf's scrolled row.
        const QWidget* row = card->parentWidget();
        const QWidget* viewport = row ? row->parentWidget() : nullptr;
        QRectF shown = QRectF(card->rect());
        if (viewport)
            shown =
                shown.intersected(QRectF(card->mapFrom(viewport, QPointF(0, 0)), QSizeF(viewport->size())));
        targets.add(name, *card, shown);
        for (const QAbstractButton* button : card->findChildren<QAbstractButton*>())
            if (button->isVisible())
                targets.add(name + QLatin1Char('/') + button->objectName(), *button, QRectF(button->rect()));
        cards.append(QJsonObject{{"text", card->entry().text()},
                                 {"pinned", card->entry().pinned},
                                 {"selected", card->selected()},
                                 {"shown", viewport ? shown.width() >= ClipboardCard::width - 1 : true}});
    }
    out["cards"] = cards;
}

// Buttons, tabs, fields and list rows of a panel or window, and what its custom views draw.
void describeWidgets(const QWidget& top, Targets& targets, QJsonObject& out) {
    if (const auto* grid = dynamic_cast<const SwitcherView*>(&top)) describeTileGrid(*grid, targets, out);
    if (const auto* zones = dynamic_cast<const SnapLayoutView*>(&top))
        describeSnapLayouts(*zones, targets, out);
    for (const auto* shelf : top.findChildren<const ClipboardShelfView*>())
        describeShelf(*shelf, targets, out);
    for (const QWidget* w : top.findChildren<QWidget*>()) {
        if (!w->isVisible() || qobject_cast<const ClipboardCard*>(w->parentWidget())) continue;
        if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
            if (!buttonName(*button).isEmpty())
                targets.add(buttonName(*button), *button, QRectF(button->rect()),
                            button->isCheckable() ? QJsonObject{{"checked", button->isChecked()}}
                                                  : QJsonObject{});
        } else if (const auto* field = qobject_cast<const QLineEdit*>(w)) {
            targets.addWidget(field->accessibleName().isEmpty() ? QStringLiteral("text field")
                                                                : field->accessibleName(),
                              *field);
        } else if (const auto* tabs = qobject_cast<const QTabBar*>(w)) {
            for (int i = 0; i < tabs->count(); ++i)
                targets.add(QStringLiteral("tab ") + tabs->tabText(i), *tabs, tabs->tabRect(i));
        } else if (const auto* list = qobject_cast<const QListWidget*>(w)) {
            const QWidget* viewport = list->viewport();
            targets.add(QStringLiteral("list"), *viewport, QRectF(viewport->rect()));
            for (int i = 0; i < list->count(); ++i) {
                const QRect row = list->visualItemRect(list->item(i)).intersected(viewport->rect());
                const QString text = list->item(i)->text().isEmpty()
                                         ? list->item(i)->data(Qt::UserRole).toString()
                                         : list->item(i)->text();
                targets.add(QStringLiteral("row ") + text, *viewport, row,
                            QJsonObject{{"current", list->currentRow() == i}});
            }
        }
    }
}

QJsonObject describeMenu(const QGraphicsView* view, const QMenu& menu) {
    Targets targets(view);
    // Key equivalents as the menu draws them.
    const bool mac = dynamic_cast<const MacMenuStyle*>(menu.style());
    for (QAction* action : menu.actions()) {
        if (action->isSeparator() || !action->isVisible()) continue;
        const QString keys = action->shortcut().toString(QKeySequence::NativeText);
        targets.add(menuRowText(action->text()), menu, menu.actionGeometry(action),
                    QJsonObject{{"keys", mac ? MacMenuStyle::macKeys(keys) : keys},
                                {"checked", action->isChecked()}});
    }
    return QJsonObject{{"frame", rectArray(onDisplay(view, menu, QRectF(menu.rect())))},
                       {"targets", targets.take()}};
}

} // namespace

QJsonObject playgroundState(PlaygroundSession& playground, const QGraphicsView* view) {
    SimSession& session = playground.session();
    DesktopView& desktop = playground.desktop();
    QJsonObject state;

    // Where the simulated screen's points land on the host's display.
    const QPointF origin = onDisplay(view, desktop, QPointF(0, 0));
    const double scale = view ? view->transform().m11() : 1.0;
    state["screen"] = QJsonObject{{"x", origin.x()},
                                  {"y", origin.y()},
                                  {"scale", scale},
                                  {"frame", rectArray(QRectF(desktop.screenRect()))},
                                  {"visible", rectArray(QRectF(desktop.visibleRect()))}};
    if (view && view->window())
        state["playgroundWindow"] = rectArray(QRectF(view->window()->frameGeometry()));

    const auto front = session.workspace.frontmostApp();
    state["front"] = front && front->name ? QJsonValue(*front->name) : QJsonValue();
    QJsonArray windows;
    for (uint32_t n : session.windows.stacking()) {
        const auto w = session.windows.window(n);
        if (!w) continue;
        const auto app = session.workspace.app(w->pid);
        const SimApplication* simApp = playground.apps().byPid(w->pid);
        windows.append(
            QJsonObject{{"number", static_cast<qint64>(n)},
                        {"content", simApp ? simApp->content(n).join('\n') : QString()},
                        {"app", app && app->name ? *app->name : QString()},
                        {"title", w->title},
                        {"frame", rectArray(QRectF(w->frame.x, w->frame.y, w->frame.width, w->frame.height))},
                        {"minimized", w->minimized}});
    }
    state["windows"] = windows;

    // The simulated Mac's own places: the menu bar's items and the Dock's icons.
    Targets places(view);
    places.add(QStringLiteral("status item"), desktop, desktop.statusItemRect());
    places.add(QStringLiteral("input menu"), desktop, desktop.inputMenuRect());
    for (SimApplication* app : playground.apps().all())
        if (const auto icon = desktop.dockIconRect(app->pid()))
            places.add(QStringLiteral("dock ") + app->name(), desktop, *icon);
    state["places"] = places.take();

    QJsonArray panels;
    for (const QWidget* content : desktop.programPanels()) {
        if (!content->isVisible()) continue;
        Targets targets(view);
        QJsonObject panel{{"title", content->windowTitle()},
                          {"frame", rectArray(onDisplay(view, *content, QRectF(content->rect())))}};
        describeWidgets(*content, targets, panel);
        panel["targets"] = targets.take();
        panels.append(panel);
    }
    state["panels"] = panels;

    // Open menus: the one the screen tracks and those the panels opened (options, context).
    QJsonArray menus;
    for (QWidget* top : QApplication::allWidgets())
        if (auto* menu = qobject_cast<QMenu*>(top); menu && menu->isVisible())
            menus.append(describeMenu(view, *menu));
    state["menus"] = menus;

    QJsonArray programWindows;
    for (const QWidget* window : desktop.programWindows()) {
        Targets targets(view);
        QJsonObject out{{"title", window->windowTitle()},
                        {"frame", rectArray(onDisplay(view, *window, QRectF(window->rect())))}};
        describeWidgets(*window, targets, out);
        out["targets"] = targets.take();
        programWindows.append(out);
    }
    state["programWindows"] = programWindows;

    ClipboardShelfController& shelf = playground.delegate().shelf();
    QJsonArray pins;
    for (const ClipboardEntry& e : playground.delegate().clipboard().entries())
        if (e.pinned) pins.append(e.text());
    state["shelf"] = QJsonObject{{"open", shelf.isOpen()},
                                 {"query", shelf.model().query()},
                                 {"filter", rawValue(shelf.model().filter())},
                                 {"paused", playground.delegate().clipboard().paused()},
                                 {"pinned", pins}};

    state["systemPanel"] = static_cast<int>(session.systemUI.panel());
    state["systemJournal"] = QJsonArray::fromStringList(session.systemUI.journal());
    QString text;
    for (const auto& item : session.pasteboard.contents())
        for (const auto& [type, bytes] : item.types)
            if (type == QStringLiteral("public.utf8-plain-text")) text = QString::fromUtf8(bytes);
    state["pasteboard"] = text;
    const PointerCursor cursor = session.screens.cursor();
    state["cursor"] = cursor == PointerCursor::iBeam          ? QStringLiteral("iBeam")
                      : cursor == PointerCursor::pointingHand ? QStringLiteral("pointingHand")
                                                              : QStringLiteral("arrow");
    state["log"] = QJsonArray::fromStringList(playground.log().lines());
    return state;
}

} // namespace fenwold
