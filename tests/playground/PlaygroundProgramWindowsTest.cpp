// The status menu and the settings window inside the simulated screen: opened from the status item
// in its menu bar, worked by the simulated keyboard and by clicks, drawn into its screenshots.
#include "PlaygroundFixture.h"
#include "core/settings/SettingsContent.h"
#include "ui/playground/ProgramWindowFrame.h"
#include "ui/settings/SettingsWindow.h"

#include <QCheckBox>
#include <QMenu>

using namespace fenwold;

namespace {

QString click(QPoint at) {
    return QStringLiteral("click %1 %2").arg(at.x()).arg(at.y());
}

} // namespace

struct ProgramWindows : Playground {
    QMenu* statusMenu() const { return static_cast<SlotStatusItem&>(pg->views().statusItem()).menu(); }
    // Clicks the status item and lets the double-click interval pass, after which the menu opens.
    void openStatusMenu() {
        ASSERT_TRUE(run(click(pg->desktop().statusItemRect().center()) + "\nwait 0.6"));
        ASSERT_NE(pg->desktop().trackedMenu(), nullptr);
    }
    // Where an item of the open status menu is drawn, in the screen's coordinates.
    QPoint itemCentre(const QString& title) const {
        QMenu* menu = statusMenu();
        for (QAction* a : menu->actions())
            if (a->text() == title) return menu->geometry().topLeft() + menu->actionGeometry(a).center();
        ADD_FAILURE() << "no item " << title.toStdString();
        return {};
    }
    ProgramWindowFrame* settingsFrame() const {
        SettingsWindow* settings = pg->views().settingsWindow();
        return settings ? dynamic_cast<ProgramWindowFrame*>(settings->parentWidget()) : nullptr;
    }
};

TEST_F(ProgramWindows, TheStatusMenuOpensInsideTheScreenUnderItsIconAndClosesWithoutActing) {
    DesktopView& desk = pg->desktop();
    const QImage before = desk.snapshot();
    openStatusMenu();
    QMenu* menu = statusMenu();
    ASSERT_EQ(desk.trackedMenu(), menu);
    // A child of the screen, its top-left just under the icon, and drawn into the screenshot.
    EXPECT_EQ(menu->parentWidget(), &desk);
    EXPECT_TRUE(menu->isVisible());
    // It hangs from the icon, moved left only as far as it must to stay on the screen.
    const QRect icon = desk.statusItemRect();
    EXPECT_LE(menu->geometry().left(), icon.left());
    EXPECT_GE(menu->geometry().right(), icon.right());
    EXPECT_LT(menu->geometry().right(), desk.width());
    EXPECT_GT(menu->geometry().right(), desk.width() - 10);
    EXPECT_NEAR(menu->geometry().top(), icon.bottom(), 3);
    const QImage open = desk.snapshot();
    EXPECT_GT(changedPixels(before, open, menu->geometry()), menu->width() * menu->height() / 3);

    // Keys are the menu's while it is open: S selects "Settings…", Escape closes it unchosen,
    // and neither reaches the editor in front.
    auto& editor = pg->apps().editor();
    const QStringList earlier = editor.received();
    ASSERT_TRUE(run("s\nesc\nwait 0.3"));
    EXPECT_EQ(desk.trackedMenu(), nullptr);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(pg->views().settingsWindow(), nullptr);
    EXPECT_EQ(editor.received(), earlier);
    EXPECT_TRUE(pg->log().lines().join('\n').contains("passed to the status menu"));
    // Afterwards keys reach the editor again.
    ASSERT_TRUE(run("x"));
    EXPECT_TRUE(editor.received().contains("X"));

    // A click elsewhere on the screen closes it and does nothing else: the terminal's title bar
    // under that click is not brought forward.
    openStatusMenu();
    const Rect term = sim.windows.window(focused(pg->apps().terminal()))->frame;
    ASSERT_TRUE(run(click(QPoint(qRound(term.x) + 60, qRound(term.maxY()) - 10)) + "\nwait 0.3"));
    EXPECT_EQ(desk.trackedMenu(), nullptr);
    EXPECT_FALSE(statusMenu()->isVisible());
    EXPECT_EQ(frontPid(), editor.pid());
    EXPECT_EQ(pg->views().settingsWindow(), nullptr);
}

TEST_F(ProgramWindows, SettingsChosenFromTheStatusMenuOpenFramedInsideTheScreenAndCloseToHide) {
    DesktopView& desk = pg->desktop();
    const QImage before = desk.snapshot();
    const QPoint icon = desk.statusItemRect().center();
    ASSERT_TRUE(desk.statusItemRect().contains(QPoint(1301, 11))) << "the script's click misses the icon";
    ASSERT_TRUE(runShipped("status-menu.play"));
    // The menu was drawn under the icon in the screenshot taken while it was open.
    const QImage menuShot(shots.filePath("status-menu.png"));
    ASSERT_EQ(menuShot.size(), before.size());
    EXPECT_GT(changedPixels(before, menuShot, QRect(icon.x() - 10, icon.y() + 12, 100, 60)), 2000);

    // "Settings…" opened the settings window as a framed window of the screen, centred near the top.
    SettingsWindow* settings = pg->views().settingsWindow();
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(desk.trackedMenu(), nullptr);
    ProgramWindowFrame* frame = settingsFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->parentWidget(), &desk);
    EXPECT_TRUE(settings->isVisible());
    EXPECT_EQ(settings->windowTitle(), kSettingsWindowTitle);
    const QRect placed = frame->geometry();
    EXPECT_NEAR(placed.center().x(), desk.width() / 2, 1);
    EXPECT_GT(placed.top(), desk.menuBarRect().bottom());
    EXPECT_LT(placed.top(), desk.height() / 4);
    // The window sits below its title bar and the frame is its size plus the bar.
    EXPECT_EQ(settings->geometry().topLeft(), QPoint(0, 28));
    EXPECT_EQ(frame->size(), settings->size() + QSize(0, 28));
    // It is in the screenshot, with a title bar whose close button is red.
    const QImage shot(shots.filePath("settings.png"));
    EXPECT_GT(changedPixels(before, shot, placed), placed.width() * placed.height() / 3);
    const QPoint close = placed.topLeft() + frame->closeButtonRect().center();
    EXPECT_GT(qRed(shot.pixel(close)), 200);
    EXPECT_LT(qGreen(shot.pixel(close)), 140);

    // Clicks on the window are its own: none reaches the editor's window beneath it.
    const auto editorWindow = focused(pg->apps().editor());
    ASSERT_TRUE(run(click(placed.bottomLeft() + QPoint(4, -4))));
    EXPECT_EQ(frontPid(), pg->apps().editor().pid());
    EXPECT_EQ(focused(pg->apps().editor()), editorWindow);
    // Its title bar drags it, never up into the menu bar.
    const QPoint bar(placed.center().x(), placed.top() + 14);
    ASSERT_TRUE(run(QStringLiteral("drag %1 %2 to %3 %4")
                        .arg(bar.x())
                        .arg(bar.y())
                        .arg(bar.x() - 100)
                        .arg(bar.y() + 50)));
    EXPECT_EQ(frame->pos(), placed.topLeft() + QPoint(-100, 50));
    const QPoint moved = frame->pos();
    ASSERT_TRUE(run(QStringLiteral("drag %1 %2 to %1 0").arg(bar.x() - 100).arg(bar.y() + 50)));
    EXPECT_EQ(frame->pos(), QPoint(moved.x(), desk.menuBarRect().height()));

    // The close button hides it; the window is kept and the screen shows what was beneath.
    const QPoint closeAt = frame->pos() + frame->closeButtonRect().center();
    ASSERT_TRUE(run(click(closeAt)));
    EXPECT_FALSE(settings->isVisible());
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(pg->views().settingsWindow(), settings);
    EXPECT_EQ(changedPixels(before, desk.snapshot(), frame->geometry()), 0);

    // Clicking "Settings…" in the status menu shows the same window again where it was left.
    openStatusMenu();
    ASSERT_TRUE(run(click(itemCentre(QStringLiteral("Settings\u2026"))) + "\nwait 0.3"));
    EXPECT_EQ(desk.trackedMenu(), nullptr);
    EXPECT_EQ(pg->views().settingsWindow(), settings);
    EXPECT_TRUE(settings->isVisible());
    EXPECT_EQ(settingsFrame(), frame);
    EXPECT_EQ(frame->pos(), QPoint(moved.x(), desk.menuBarRect().height()));
}

TEST_F(ProgramWindows, TheOpenSettingsWindowTakesTheKeysUntilTheScreenIsClicked) {
    auto& editor = pg->apps().editor();
    const QString text = editor.text(focused(editor));
    pg->delegate().openSettings();
    SettingsWindow* settings = pg->views().settingsWindow();
    ASSERT_NE(settings, nullptr);
    QCheckBox* peek = nullptr;
    for (QCheckBox* box : settings->findChildren<QCheckBox*>())
        if (box->text() == QStringLiteral("Dock peek")) peek = box;
    ASSERT_NE(peek, nullptr);
    const bool was = peek->isChecked();
    peek->setFocus();

    // Space works the focused switch; typed letters reach no application.
    ASSERT_TRUE(run("press space\ntype \"x\""));
    EXPECT_NE(peek->isChecked(), was);
    EXPECT_EQ(editor.text(focused(editor)), text);
    EXPECT_TRUE(pg->log().lines().join('\n').contains(QStringLiteral("passed to ") + kSettingsWindowTitle));

    // A click on the editor's window gives the keys back to it.
    const Rect frame = sim.windows.window(focused(editor))->frame;
    ASSERT_TRUE(run(click(QPoint(int(frame.x + 40), int(frame.y + frame.height / 2))) + "\ntype \"y\""));
    EXPECT_NE(editor.text(focused(editor)), text);
    EXPECT_TRUE(editor.text(focused(editor)).contains('y'));
}
