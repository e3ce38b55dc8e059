// The program's panels inside the playground, worked from the simulated keyboard and pointer the
// way a Mac hands input to them: the clipboard shelf and a tracked menu take the keys while they
// are key, the Dock peek follows the pointer, and the screen scales to fit its window.
#include "PlaygroundFixture.h"
#include "core/clipboard/ClipboardStore.h"
#include "core/peek/PeekController.h"
#include "ports/KeyCodes.h"
#include "support/Snapshots.h"
#include "ui/clipboard/QtShelfPanel.h"
#include "ui/hints/HintView.h"
#include "ui/playground/PlaygroundWindow.h"
#include "ui/playground/QtKeyMap.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGraphicsView>
#include <QMenu>
#include <QMouseEvent>

using namespace fenwold;

namespace {

QStringList clipTexts(const ClipboardStore& store) {
    QStringList texts;
    for (const ClipboardEntry& e : store.entries())
        texts << e.text();
    return texts;
}

// The playground window with its screen drawn at 0.6, as a 1600×1000 display shows it.
struct ScaledPlayground : Playground {
    std::unique_ptr<PlaygroundWindow> scaledWindow() {
        auto window = std::make_unique<PlaygroundWindow>(*pg);
        window->show();
        window->screenView()->setFixedSize(864, 540);
        QCoreApplication::processEvents();
        return window;
    }
};

} // namespace

TEST_F(Playground, WinVDownReturnPastesTheOlderClipAndThePasswordManagersCopyNeverShows) {
    auto& editor = pg->apps().editor();
    ASSERT_TRUE(runShipped("clipboard-shelf.play"));
    // Down chose the older clip and Return pasted it on the new line; neither key reached the
    // editor itself (its Return would have added a line, its Down moved the caret).
    EXPECT_EQ(editor.text(focused(editor)), "second clip\nfirst clip");
    EXPECT_FALSE(pg->delegate().shelf().isOpen());
    // Only the editor's two copies are on the shelf: the vault's password was skipped.
    EXPECT_EQ(clipTexts(pg->delegate().clipboard()), (QStringList{"second clip", "first clip"}));
    // The shelf was drawn over the simulated screen, near its bottom edge.
    const QImage open(shots.filePath("clipboard-shelf.png"));
    const QImage after(shots.filePath("clipboard-pasted.png"));
    ASSERT_EQ(open.size(), QSize(1440, 900));
    ASSERT_EQ(after.size(), open.size());
    auto* panel = dynamic_cast<QtShelfPanel*>(&pg->delegate().shelf().panel());
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->window()->parentWidget(), &pg->desktop());
    const QRect shelfArea = pg->desktop().toWidget(pg->delegate().shelf().frame());
    EXPECT_GT(shelfArea.top(), 400);
    EXPECT_GT(changedPixels(open, after, shelfArea), shelfArea.width() * shelfArea.height() / 3);
    // The event log says where the keys went.
    EXPECT_TRUE(pg->log().lines().join('\n').contains(QString::fromUtf8("passed to the clipboard shelf")));
}

TEST_F(Playground, TypingIntoTheOpenShelfSearchesAndEscapeClearsThenCloses) {
    auto& editor = pg->apps().editor();
    ASSERT_TRUE(run(R"(activate TextEdit
ctrl+a
type "apples"
ctrl+a
ctrl+c
wait 1
type "pears"
ctrl+a
ctrl+c
wait 1
super+v
wait 0.3
type "app"
backspace
type "p"
wait 0.3)"));
    const QString before = editor.text(focused(editor));
    ClipboardShelfController& shelf = pg->delegate().shelf();
    ASSERT_TRUE(shelf.isOpen());
    EXPECT_EQ(shelf.model().query(), "app");
    ASSERT_EQ(shelf.model().visible().size(), 1u);
    EXPECT_EQ(shelf.model().visible().front()->text(), "apples");
    EXPECT_EQ(before, "pears");
    // Escape first empties the search, then closes the shelf; later keys reach the editor again.
    ASSERT_TRUE(run("escape"));
    EXPECT_TRUE(shelf.isOpen());
    EXPECT_EQ(shelf.model().query(), "");
    ASSERT_TRUE(run("escape\nwait 0.3\nend\ntype \"!\""));
    EXPECT_FALSE(shelf.isOpen());
    EXPECT_EQ(editor.text(focused(editor)), "pears!");
}

TEST_F(Playground, AltSpaceMenuMovesTheFrontWindowByKeyboard) {
    // In its window, as the program runs it: the screen is shown by a scaling view.
    PlaygroundWindow playgroundWindow(*pg);
    auto& browser = pg->apps().browser();
    ASSERT_TRUE(run("activate Safari\nwait 0.3\nscreenshot before-menu"));
    const uint32_t window = focused(browser);
    const Rect before = sim.windows.window(window)->frame;
    ASSERT_TRUE(runShipped("window-menu.play"));
    // M selected "Move", Return chose it; five steps right and three down, Return kept it there.
    const Rect after = sim.windows.window(window)->frame;
    EXPECT_DOUBLE_EQ(after.x, before.x + 5 * WindowMenuController::kMoveStep);
    EXPECT_DOUBLE_EQ(after.y, before.y + 3 * WindowMenuController::kMoveStep);
    EXPECT_EQ(pg->desktop().trackedMenu(), nullptr);
    EXPECT_FALSE(pg->delegate().windowMenu().isFollowingPointer());
    // The menu's keys were the menu's: Safari got none of them.
    EXPECT_FALSE(browser.received().contains("M"));
    // The menu was drawn over the front window's title bar in the screenshot taken while open.
    const QImage open(shots.filePath("window-menu.png"));
    const QImage closed(shots.filePath("before-menu.png"));
    ASSERT_FALSE(open.isNull());
    ASSERT_EQ(open.size(), closed.size());
    const QRect menuArea(qRound(before.x) + 12, qRound(before.y) + 40, 150, 200);
    EXPECT_GT(changedPixels(open, closed, menuArea), menuArea.width() * menuArea.height() / 4);
}

TEST_F(Playground, TheWindowMenuClosesWithEscapeAndLeavesTheWindowAlone) {
    auto& browser = pg->apps().browser();
    ASSERT_TRUE(run("activate Safari"));
    const uint32_t window = focused(browser);
    const Rect before = sim.windows.window(window)->frame;
    ASSERT_TRUE(run("alt+space\nwait 0.2\nx\ndown\nescape\nwait 0.2\nright"));
    EXPECT_EQ(pg->desktop().trackedMenu(), nullptr);
    const Rect after = sim.windows.window(window)->frame;
    EXPECT_DOUBLE_EQ(after.x, before.x);
    EXPECT_DOUBLE_EQ(after.y, before.y);
    EXPECT_FALSE(pg->delegate().windowMenu().isFollowingPointer());
    // The menu had the keys while open; Right after it closed went to Safari again.
    EXPECT_FALSE(browser.received().contains("X"));
    EXPECT_FALSE(browser.received().contains("Esc"));
    EXPECT_TRUE(browser.received().contains(QString(QChar(0x2192))));
}

TEST_F(Playground, AClickOutsideTheWindowMenuClosesItAndReachesNothingElse) {
    auto& browser = pg->apps().browser();
    ASSERT_TRUE(run("activate Safari"));
    const Rect term = sim.windows.window(focused(pg->apps().terminal()))->frame;
    // The click lands on the terminal's title bar; the script plays on after the menu closed.
    ASSERT_TRUE(run(QStringLiteral("alt+space\nwait 0.2\nclick %1 %2\nwait 0.2\nright")
                        .arg(qRound(term.x) + 60)
                        .arg(qRound(term.maxY()) - 10)));
    EXPECT_EQ(pg->desktop().trackedMenu(), nullptr);
    EXPECT_EQ(frontPid(), browser.pid());
    EXPECT_TRUE(browser.received().contains(QString(QChar(0x2192))));
}

TEST_F(Playground, RestingOnADockIconPeeksAtThatApplicationsWindowsAndMovingAwayHidesIt) {
    const QPoint icon(720, 862);
    SimApplication* hovered = nullptr;
    for (SimApplication* app : pg->apps().all())
        if (pg->desktop().dockIconRect(app->pid())->contains(icon)) hovered = app;
    ASSERT_NE(hovered, nullptr) << "the script's point is on no Dock icon";
    const QImage before = pg->desktop().snapshot();
    ASSERT_TRUE(run("move 720 862\nwait 0.8"));
    PeekController& peek = pg->delegate().peek();
    EXPECT_TRUE(peek.isShowing());
    EXPECT_EQ(peek.currentKey(), QStringLiteral("p%1").arg(hovered->pid()));
    // The peek's panel is drawn above the icon.
    const QImage shown = pg->desktop().snapshot();
    EXPECT_GT(changedPixels(before, shown, QRect(icon.x() - 150, 600, 300, 220)), 5000);
    ASSERT_TRUE(run("move 720 500\nwait 0.8"));
    EXPECT_FALSE(peek.isShowing());
    // The shipped script does the same and writes both screenshots.
    ASSERT_TRUE(runShipped("dock-peek.play"));
    const QImage peekShot(shots.filePath("dock-peek.png"));
    const QImage goneShot(shots.filePath("dock-peek-gone.png"));
    ASSERT_FALSE(peekShot.isNull());
    EXPECT_GT(changedPixels(peekShot, goneShot, QRect(icon.x() - 150, 600, 300, 220)), 5000);
}

TEST_F(Playground, TheScreenScalesToFitItsWindowAndClicksLandOnTheScaledPoint) {
    PlaygroundWindow window(*pg);
    window.show();
    QGraphicsView* view = window.screenView();
    // Half the simulated screen's size: the view scales by one half, aspect kept.
    view->setFixedSize(720, 450);
    QCoreApplication::processEvents();
    EXPECT_NEAR(window.screenScale(), 0.5, 1e-6);
    EXPECT_DOUBLE_EQ(view->transform().m11(), view->transform().m22());
    // A taller view keeps the aspect: the width decides, and the screen sits centred.
    view->setFixedSize(720, 700);
    QCoreApplication::processEvents();
    EXPECT_NEAR(window.screenScale(), 0.5, 1e-6);
    const QPoint origin = view->mapFromScene(QPointF(0, 0));
    EXPECT_NEAR(origin.y(), (700 - 450) / 2, 1);

    // Clicking the terminal's title bar where it is drawn at that scale raises it, and the
    // simulated pointer lands on the unscaled point.
    const uint32_t term = focused(pg->apps().terminal());
    const Rect frame = sim.windows.window(term)->frame;
    const QPointF target(frame.x + 60, frame.maxY() - 10);
    const QPoint at = view->mapFromScene(target);
    const QPoint global = view->viewport()->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view->viewport(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view->viewport(), &release);
    pg->settle();
    EXPECT_EQ(frontPid(), pg->apps().terminal().pid());
    EXPECT_NEAR(sim.screens.pointerLocation().x, target.x(), 2);
    EXPECT_NEAR(sim.screens.pointerLocation().y, 900 - target.y(), 2);
    // Screenshots stay at the simulated screen's own size whatever the window's.
    EXPECT_EQ(pg->desktop().snapshot().size(), QSize(1440, 900));
}

TEST(PlaygroundKeys, MacKeysReachTheProgramsQtWidgetsAsQtNamesThem) {
    SimSession sim;
    // Round trip for the keys the shelf and menus use.
    for (int key : {int(Qt::Key_Return), int(Qt::Key_Escape), int(Qt::Key_Backspace), int(Qt::Key_Down),
                    int(Qt::Key_Up), int(Qt::Key_Left), int(Qt::Key_Right), int(Qt::Key_Tab), int(Qt::Key_A),
                    int(Qt::Key_M), int(Qt::Key_1), int(Qt::Key_Space), int(Qt::Key_Comma)}) {
        const auto press = qtKeyPress(*macKeyCode(key), 0, sim.keyboardLayout);
        ASSERT_TRUE(press) << key;
        EXPECT_EQ(press->key, key);
    }
    const auto shiftedA = qtKeyPress(*macKeyCode(Qt::Key_A), flag::shift, sim.keyboardLayout);
    EXPECT_EQ(shiftedA->text, "A");
    EXPECT_EQ(shiftedA->modifiers, Qt::ShiftModifier);
    EXPECT_EQ(qtKeyPress(*macKeyCode(Qt::Key_2), flag::shift, sim.keyboardLayout)->text, "@");
    // Command is Qt's Control on a Mac and types nothing; Control is Meta.
    const auto commandOne = qtKeyPress(*macKeyCode(Qt::Key_1), flag::command, sim.keyboardLayout);
    EXPECT_EQ(commandOne->modifiers, Qt::ControlModifier);
    EXPECT_TRUE(commandOne->text.isEmpty());
    EXPECT_EQ(qtKeyPress(*macKeyCode(Qt::Key_C), flag::control, sim.keyboardLayout)->modifiers,
              Qt::MetaModifier);
    EXPECT_FALSE(qtKeyPress(*macKeyCode(Qt::Key_F5), 0, sim.keyboardLayout));
}

TEST_F(ScaledPlayground, TheHintIsDrawnWholeWhenTheScreenIsScaledDown) {
    const auto window = scaledWindow();
    ASSERT_NEAR(window->screenScale(), 0.6, 1e-6);
    QGraphicsView* view = window->screenView();
    const QImage before = view->viewport()->grab().toImage();

    pg->delegate().hints().present(HintHUD::demoHint());
    pg->settle();
    auto* panel = dynamic_cast<HintPanelWidget*>(pg->delegate().hints().panel());
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(panel->isVisible());
    QCoreApplication::processEvents();
    const QImage after = view->viewport()->grab().toImage();
    ASSERT_EQ(after.size(), before.size());

    // Where the view draws the panel, at the view's scale: every quarter of it shows the HUD, the
    // bottom-right one included (a clipped panel showed only its top-left part).
    const QRect drawn = view->mapFromScene(QRectF(panel->view()->geometry())).boundingRect();
    const QRect quarters[] = {
        QRect(drawn.topLeft(), drawn.size() / 2),
        QRect(drawn.center(), drawn.size() / 2).adjusted(0, 0, -2, -2),
        QRect(QPoint(drawn.center().x(), drawn.top()), drawn.size() / 2),
        QRect(QPoint(drawn.left(), drawn.center().y()), drawn.size() / 2),
    };
    for (const QRect& quarter : quarters)
        EXPECT_GT(changedPixels(before, after, quarter & after.rect()),
                  quarter.width() * quarter.height() / 4)
            << quarter.x() << "," << quarter.y();
    // The picture for the documentation, where asked for.
    const QString folder = fenwold::testing::snapshotFolder();
    if (!folder.isEmpty()) after.save(QDir(folder).filePath("playground-hint-scaled.png"));
}

TEST_F(ScaledPlayground, TheShelfsBackdropCoversTheWholePanelWhenTheScreenIsScaledDown) {
    const auto window = scaledWindow();
    ASSERT_NEAR(window->screenScale(), 0.6, 1e-6);
    QGraphicsView* view = window->screenView();
    // The panel animates in as on the real clock.
    pg->desktop().setAnimates(true);
    ASSERT_TRUE(run("activate TextEdit\nsuper+v\nwait 0.5"));
    ASSERT_TRUE(pg->delegate().shelf().isOpen());
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 800)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    auto* shelf = dynamic_cast<QtShelfPanel*>(&pg->delegate().shelf().panel());
    ASSERT_NE(shelf, nullptr);
    const QImage shown = view->viewport()->grab().toImage();

    // Half of the panel lies over the dark terminal and half over white windows. The playground
    // blurs nothing behind its panels, so the backdrop must hide them all the same: across the
    // panel's empty band under its message, one colour (translucent, it was grey over the terminal
    // and near white elsewhere, and looked frosted only on the left).
    const QRect drawn = view->mapFromScene(QRectF(shelf->window()->geometry())).boundingRect() & shown.rect();
    ASSERT_FALSE(drawn.isEmpty());
    const int y = drawn.top() + drawn.height() * 86 / 100;
    const QColor first = shown.pixelColor(drawn.left() + drawn.width() / 10, y);
    for (int tenth = 3; tenth <= 9; tenth += 2) {
        const QColor c = shown.pixelColor(drawn.left() + drawn.width() * tenth / 10, y);
        EXPECT_LE(std::abs(c.lightness() - first.lightness()), 2) << "at " << tenth << "/10";
    }
    const QString folder = fenwold::testing::snapshotFolder();
    if (!folder.isEmpty()) shown.save(QDir(folder).filePath("playground-shelf-scaled.png"));
}
