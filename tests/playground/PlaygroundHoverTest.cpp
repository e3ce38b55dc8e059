// Hover over the program's panels in the playground, which gives them pointer movement only as a
// Mac gives it to an application that is not active: through the program's own mouse-moved
// monitors. Qt's own pointer events never reach them.
#include "PlaygroundFixture.h"
#include "core/clipboard/ShelfTexts.h"
#include "ui/clipboard/ClipboardCard.h"
#include "ui/clipboard/QtShelfPanel.h"
#include "ui/common/PanelHover.h"
#include "ui/switcher/SwitcherView.h"
#include "ui/switcher/TileGridPanelWidget.h"

#include <QCoreApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolButton>
#include <QToolTip>

using namespace fenwold;

namespace {

struct PlaygroundHover : Playground {
    // The script's pointer at the centre of a rectangle of a widget on the screen.
    bool moveTo(const QWidget& widget, const QRectF& area) {
        const QPoint at = widget.mapTo(&pg->desktop(), area.center().toPoint());
        return run(QStringLiteral("move %1 %2").arg(at.x()).arg(at.y()));
    }
    void TearDown() override { QToolTip::hideText(); }
};

} // namespace

TEST_F(PlaygroundHover, SwitcherTilesLightUpAndExplainTheirButtonsOnlyThroughThePointerMonitors) {
    ASSERT_TRUE(run("activate TextEdit\nwait 0.5\nhold alt\ntab\nwait 0.3"));
    auto* grid = dynamic_cast<TileGridPanelWidget*>(pg->delegate().switcher().panel());
    ASSERT_NE(grid, nullptr);
    ASSERT_TRUE(grid->isVisible());
    SwitcherView& view = grid->view();

    // Qt's own requests for a tooltip and its enter events (what its tracking would send an
    // active application) do nothing.
    const QPointF button = view.buttonRect(0, TileAction::close).center();
    QHelpEvent qtTooltip(QEvent::ToolTip, button.toPoint(), view.mapToGlobal(button).toPoint());
    QCoreApplication::sendEvent(&view, &qtTooltip);
    EXPECT_FALSE(QToolTip::isVisible());
    QEnterEvent qtEnter(button, button, view.mapToGlobal(button));
    QCoreApplication::sendEvent(&view, &qtEnter);
    EXPECT_FALSE(view.underMouse());

    // The simulated pointer over the second tile: the monitors see the move and the tile lights up
    // with its buttons, at once.
    ASSERT_TRUE(moveTo(view, view.tileRect(1)));
    EXPECT_EQ(view.hoveredTile(), 1);
    EXPECT_EQ(pg->desktop().hover()->hovered(), &view);
    EXPECT_TRUE(view.underMouse());
    EXPECT_FALSE(QToolTip::isVisible());
    // A leave or a move from Qt (what its tracking sends the active application) changes nothing:
    // the panel gets one stream, the monitors'.
    QEvent qtLeave(QEvent::Leave);
    QCoreApplication::sendEvent(&view, &qtLeave);
    EXPECT_EQ(view.hoveredTile(), 1);
    const QPointF first = view.tileRect(0).center();
    QMouseEvent qtMove(QEvent::MouseMove, first, view.mapToGlobal(first), Qt::NoButton, Qt::NoButton,
                       Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &qtMove);
    EXPECT_EQ(view.hoveredTile(), 1);
    ASSERT_TRUE(moveTo(view, view.tileRect(0)));
    EXPECT_EQ(view.hoveredTile(), 0);

    // Resting on its close button: after Qt's tooltip delay the button says what it does.
    ASSERT_TRUE(moveTo(view, view.buttonRect(1, TileAction::close)));
    EXPECT_FALSE(QToolTip::isVisible());
    ASSERT_TRUE(run("wait 1"));
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), view.tooltip(1, TileAction::close));

    // Off the panel: the tile goes dark, the tooltip goes, Qt no longer counts the pointer on it.
    ASSERT_TRUE(run("move 20 400"));
    EXPECT_EQ(view.hoveredTile(), -1);
    EXPECT_FALSE(view.underMouse());
    EXPECT_EQ(pg->desktop().hover()->hovered(), nullptr);
    ASSERT_TRUE(run("release alt\nwait 0.5"));
    EXPECT_FALSE(grid->isVisible());
}

TEST_F(PlaygroundHover, ShelfCardsLightUpUnderThePointerAndThePinButtonExplainsItself) {
    ASSERT_TRUE(run(R"(activate TextEdit
ctrl+a
type "apples"
ctrl+a
ctrl+c
wait 1
super+v
wait 0.3)"));
    auto* shelf = dynamic_cast<QtShelfPanel*>(&pg->delegate().shelf().panel());
    ASSERT_NE(shelf, nullptr);
    ASSERT_TRUE(pg->delegate().shelf().isOpen());
    ASSERT_FALSE(shelf->view()->cards().empty());
    ClipboardCard& card = *shelf->view()->cards().front();
    const QImage dark = card.grab().toImage();

    // Entered through the monitors, the card draws its hover colour; Qt's own enter does nothing.
    QEnterEvent qtEnter(QPointF(10, 10), QPointF(10, 10), card.mapToGlobal(QPointF(10, 10)));
    QCoreApplication::sendEvent(&card, &qtEnter);
    EXPECT_EQ(card.grab().toImage(), dark);
    ASSERT_TRUE(moveTo(card, QRectF(0, 0, ClipboardCard::width, ClipboardCard::height / 2.0)));
    EXPECT_TRUE(card.underMouse());
    EXPECT_NE(card.grab().toImage(), dark);

    // The pin button, a child of the card, takes the pointer and, resting, shows its tooltip.
    auto* pin = card.findChild<QToolButton*>(QStringLiteral("pin"));
    ASSERT_NE(pin, nullptr);
    ASSERT_TRUE(moveTo(*pin, pin->rect()));
    EXPECT_EQ(pg->desktop().hover()->hovered(), pin);
    EXPECT_TRUE(card.underMouse()); // still inside the card
    ASSERT_TRUE(run("wait 1"));
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), ShelfTexts::pinHelp(false));

    // Closing the shelf leaves whatever the pointer was over, without another move.
    ASSERT_TRUE(run("escape\nwait 0.5"));
    EXPECT_FALSE(pg->delegate().shelf().isOpen());
    EXPECT_FALSE(pin->underMouse());
    EXPECT_FALSE(card.underMouse());
    EXPECT_EQ(pg->desktop().hover()->hovered(), nullptr);
}

TEST_F(PlaygroundHover, APanelUnderAnotherWindowIsNotHovered) {
    ASSERT_TRUE(run("activate TextEdit\nwait 0.5\nhold alt\ntab\nwait 0.3"));
    auto* grid = dynamic_cast<TileGridPanelWidget*>(pg->delegate().switcher().panel());
    ASSERT_NE(grid, nullptr);
    SwitcherView& view = grid->view();
    // The screen answers which window is frontmost where it draws the switcher: the switcher's.
    const QPoint tile = view.mapTo(&pg->desktop(), view.tileRect(1).center().toPoint());
    const Point at{double(tile.x()), 900.0 - tile.y()};
    EXPECT_EQ(sim.screens.windowNumberAt(at), grid->panel().windowNumber());
    ASSERT_TRUE(moveTo(view, view.tileRect(1)));
    EXPECT_EQ(view.hoveredTile(), 1);

    // Another application's floating window above it there: the tile goes dark, and stays dark
    // while the pointer moves under that window.
    sim.screens.setWindowNumberAt([](Point) { return int64_t(4242); });
    ASSERT_TRUE(moveTo(view, view.tileRect(0)));
    EXPECT_EQ(view.hoveredTile(), -1);
    EXPECT_EQ(pg->desktop().hover()->hovered(), nullptr);
    // Gone, the switcher is the frontmost window again and its tile lights up.
    const int64_t switcher = grid->panel().windowNumber();
    sim.screens.setWindowNumberAt([switcher](Point) { return switcher; });
    ASSERT_TRUE(moveTo(view, view.tileRect(0)));
    EXPECT_EQ(view.hoveredTile(), 0);
    ASSERT_TRUE(run("release alt\nwait 0.5"));
}
