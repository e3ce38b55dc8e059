// The playground with its second display: both drawn side by side, a window moved across and
// zoomed there, and the snap layouts worked from the simulated keyboard on that display.
#include "PlaygroundFixture.h"
#include "core/windows/SnapGeometry.h"

#include <QWidget>

using namespace fenwold;

namespace {

struct TwoDisplays : Playground {
    void SetUp() override {
        PlaygroundSession::connectSecondDisplay(sim);
        Playground::SetUp();
    }
    // The front window, the editor's "Notes" at {40, 50, 580, 340}.
    uint32_t front() { return focused(pg->apps().editor()); }
    Rect frameOf(uint32_t w) const { return sim.windows.window(w)->frame; }
    Rect zone(WindowSnap snap) const {
        const auto screens = sim.screens.screens();
        return snapgeometry::snapRectAX(snap, snapgeometry::toAX(screens[1].visibleFrame, 900));
    }
};

bool isDarkFill(QColor c) {
    return c.red() < 30 && c.green() < 30 && c.blue() < 30;
}

} // namespace

TEST_F(TwoDisplays, BothDisplaysAreDrawnSideBySideAndAWindowMovesAcross) {
    const QImage before = pg->desktop().snapshot();
    ASSERT_EQ(before.size(), QSize(1440 + 1280, 900));
    EXPECT_FALSE(isDarkFill(before.pixelColor(2000, 400))); // the second display's wallpaper
    EXPECT_TRUE(isDarkFill(before.pixelColor(2000, 850)));  // below it, no display
    // The menu bar with the status item and the clock is the primary display's.
    EXPECT_EQ(pg->desktop().menuBarRect().width(), 1440);
    EXPECT_LT(pg->desktop().statusItemRect().right(), 1440);

    const uint32_t notes = front();
    pg->delegate().windows().moveToDisplay(true);
    pg->settle();
    EXPECT_EQ(frameOf(notes), (Rect{1480, 50, 580, 340}));
    const QImage after = pg->desktop().snapshot();
    EXPECT_GT(changedPixels(before, after, QRect(1480, 60, 580, 320)), 580 * 320 / 2);

    // The green button fills the window's own display.
    ASSERT_TRUE(run("doubleclick 1800 60"));
    EXPECT_EQ(frameOf(notes), zone(WindowSnap::maximize));
}

TEST_F(TwoDisplays, TheSnapLayoutsOpenOverTheWindowOnItsDisplayAndTakeTheDigits) {
    const uint32_t notes = front();
    pg->delegate().windows().moveToDisplay(true);
    pg->delegate().snapLayouts().show();
    pg->settle();
    ASSERT_TRUE(pg->delegate().routing().snapshot().snapLayoutsOpen);
    SnapLayoutPanel* panel = pg->delegate().snapLayouts().panel();
    ASSERT_TRUE(panel && panel->isVisible());

    // Thirds, then the first of them: the window fills the left third of the second display and
    // snap assist offers the others in its centre third.
    ASSERT_TRUE(run("2\n1\nscreenshot layouts-assist"));
    EXPECT_FALSE(pg->delegate().routing().snapshot().snapLayoutsOpen);
    EXPECT_EQ(frameOf(notes), zone(WindowSnap::leftThird));
    ASSERT_TRUE(pg->delegate().routing().snapshot().snapAssistOpen);
    const TileGridPanel* grid = pg->delegate().assist().panel();
    ASSERT_TRUE(grid && grid->isVisible());
    const Rect centre =
        snapgeometry::snapRect(WindowSnap::centreThird, sim.screens.screens()[1].visibleFrame);
    EXPECT_NEAR(grid->frame().midX(), centre.midX(), 1);
    EXPECT_EQ(QImage(shots.filePath("layouts-assist.png")).size(), QSize(2720, 900));

    // Return puts the first offered window into the centre third; the right third comes next.
    ASSERT_TRUE(run("return"));
    EXPECT_EQ(frameOf(sim.windows.stacking().front()), zone(WindowSnap::centreThird));
    EXPECT_EQ(pg->delegate().assist().zone(), WindowSnap::rightThird);
    ASSERT_TRUE(run("esc"));
    EXPECT_FALSE(pg->delegate().routing().snapshot().snapAssistOpen);
}
