// The everyday Windows keys played on the visible simulated Mac from the shipped scripts: the
// navigation and function keys in the browser and in Finder, the Windows key's system panels and
// menus, and windows across two displays with the snap layouts.
#include "PlaygroundFixture.h"

#include "core/windows/SnapGeometry.h"
#include <QRegularExpression>

#include <QDir>

using namespace fenwold;

TEST_F(Playground, AltArrowsTabsRefreshAndBookmarksInTheBrowserAndExplorersKeysInFinder) {
    ASSERT_TRUE(runShipped("navigation-keys.play"));
    BrowserApp& web = pg->apps().browser();
    const uint32_t page = focused(web);
    // Back to the page before the typed address, then forward to it again.
    EXPECT_EQ(web.address(page), "news.example/sport");
    EXPECT_EQ(web.tabs(page), 3);
    EXPECT_EQ(web.currentTab(page), 2); // Ctrl+9 went to the last tab, Ctrl+PgUp one back
    EXPECT_EQ(web.reloads(page), 1);
    EXPECT_TRUE(web.bookmarked(page));
    // Finder showed the file's information, went up to the home folder, into Documents and back.
    FinderApp& finder = pg->apps().finder();
    const uint32_t folder = focused(finder);
    EXPECT_EQ(finder.folder(folder), "sam");
    EXPECT_EQ(finder.selected(folder), "Documents");
    EXPECT_TRUE(finder.opened().isEmpty()); // a folder opens in its window, no file was opened
    for (const char* shot : {"navigation-back", "navigation-browser", "navigation-finder-info",
                             "navigation-finder-up", "navigation-finder-back"})
        EXPECT_TRUE(QFile::exists(QDir(shots.path()).filePath(QString(shot) + ".png"))) << shot;
    const QStringList log = pg->log().lines();
    EXPECT_TRUE(log.join('\n').contains(QString::fromUtf8("⌘["))) << log.join('\n').toStdString();
}

TEST_F(Playground, TheWindowsKeyOpensTheSystemsPanelsTheQuickLinkMenuAndTheSpaces) {
    ASSERT_TRUE(runShipped("system-keys.play"));
    const QStringList journal = sim.systemUI.journal();
    EXPECT_EQ(journal, (QStringList{"spotlight", "control centre", "notification centre", "asked Restart",
                                    "force quit", "space 2", "space 1"}));
    // K chose Disk Utility; Restart… only asked, and Escape answered no.
    EXPECT_TRUE(sim.workspace.openedURLs().contains(
        QUrl::fromLocalFile("/System/Applications/Utilities/Disk Utility.app")));
    EXPECT_EQ(sim.systemUI.panel(), SimSystemUI::Panel::none);
    EXPECT_EQ(sim.windows.currentSpace(), 1);
    // The panels were drawn over the screen: Control Centre under the menu bar's right end (its
    // Sound tile, below the hint).
    const QImage shot(QDir(shots.path()).filePath("system-control-centre.png"));
    ASSERT_FALSE(shot.isNull());
    EXPECT_TRUE(isGray(shot.pixel(1300, 245), 250));
    const QImage restart(QDir(shots.path()).filePath("system-restart-asks.png"));
    EXPECT_TRUE(isGray(restart.pixel(530, 320), 220)); // the dialog, left of its buttons
}

TEST_F(Playground, WinShiftRightMovesTheWindowToTheSecondDisplayWhereWinZSnapsItIntoAThird) {
    ASSERT_TRUE(runShipped("displays.play"));
    ASSERT_EQ(sim.screens.screens().size(), 2u);
    EXPECT_EQ(pg->desktop().snapshot().size(), QSize(1440 + 1280, 900));
    const auto screens = sim.screens.screens();
    const Rect second = snapgeometry::toAX(screens[1].visibleFrame, 900);
    std::optional<SimWindow> notes;
    for (const SimWindow& w : sim.windows.windowsOf(pg->apps().editor().pid()))
        if (w.title == "Notes") notes = w;
    ASSERT_TRUE(notes);
    EXPECT_EQ(notes->frame, snapgeometry::snapRectAX(WindowSnap::leftThird, second));
    // Snap assist filled the next third with the window picked there.
    bool centre = false;
    for (const uint32_t w : sim.windows.stacking())
        centre |= sim.windows.window(w)->frame == snapgeometry::snapRectAX(WindowSnap::centreThird, second);
    EXPECT_TRUE(centre);
    EXPECT_FALSE(pg->delegate().routing().snapshot().snapAssistOpen);
    EXPECT_FALSE(pg->delegate().routing().snapshot().snapLayoutsOpen);
}

TEST_F(Playground, BackAndForwardWorkOnLayoutsWithoutBracketsThroughTheMenus) {
    ASSERT_TRUE(runShipped("navigation-layouts.play"));
    const auto menuPresses = [&](int32_t pid) {
        return sim.windows.journal(pid).filter(QRegularExpression("^menu "));
    };
    // Back on German, forward and back again on French: the page before the typed address.
    BrowserApp& web = pg->apps().browser();
    EXPECT_NE(web.address(focused(web)), "news.example/weather");
    EXPECT_EQ(menuPresses(web.pid()), (QStringList{"menu Back", "menu Forward", "menu Back"}));
    // Finder went up to the home folder and, by its Go menu, back to Documents on German.
    FinderApp& finder = pg->apps().finder();
    EXPECT_EQ(finder.folder(focused(finder)), "Documents");
    EXPECT_EQ(menuPresses(finder.pid()), QStringList{"menu Back"});
    for (const char* shot : {"navigation-layouts-back-german", "navigation-layouts-finder-german"})
        EXPECT_TRUE(QFile::exists(QDir(shots.path()).filePath(QString(shot) + ".png"))) << shot;
}
