// Windows across displays: the order of the displays, how a frame is carried from one to the
// next, and the operation that moves the front window, snapped or not, on two and three displays
// of different sizes.
#include "WindowsFixture.h"

#include "core/windows/DisplayGeometry.h"
#include "core/windows/SnapGeometry.h"

using namespace fenwold;
using fenwold::testing::WindowsTest;
using Snap = Windows::Snap;

namespace {

ScreenInfo screenAt(Rect frame) {
    return {frame, {frame.x, frame.y, frame.width, frame.height - 25}};
}

class DisplayMoves : public WindowsTest {
protected:
    // A plain application's window: its Window menu lacks Move & Resize, so snaps other than
    // "Fill" set frames.
    SimWindowBuilder window(Rect frame) {
        auto app = sim.app("com.example.Plain", "Plain").frontmost();
        sim.windows.setMenuStyle(app.pid(), SimMenuStyle::withoutMoveAndResize);
        return app.window("Doc", frame);
    }
    WindowTarget target(const SimWindowBuilder& w) { return {w.pid(), w.number()}; }
    // A display's visible frame in Accessibility coordinates.
    Rect visible(int display) {
        const auto screens = sim.screens.screens();
        return snapgeometry::toAX(screens.at(static_cast<std::size_t>(display)).visibleFrame,
                                  screens.front().frame.height);
    }
    Rect zone(Snap snap, int display) { return snapgeometry::snapRectAX(snap, visible(display)); }
};

} // namespace

TEST(DisplayGeometry, DisplaysGoLeftToRightAndWrapRoundAtTheEnds) {
    // Deliberately out of order: a display right of the primary, one left of it, one over it.
    const std::vector<ScreenInfo> screens = {screenAt({0, 0, 1440, 900}), screenAt({1440, -180, 1920, 1080}),
                                             screenAt({-1280, 100, 1280, 800}),
                                             screenAt({0, 900, 1440, 900})};
    // The one over the primary shares its centre's x and goes first, being higher.
    EXPECT_EQ(displaygeometry::leftToRight(screens), (std::vector<int>{2, 3, 0, 1}));
    struct Row {
        int from;
        bool right;
        int to;
    } rows[] = {{0, true, 1}, {1, true, 2}, {2, false, 1}, {3, false, 2}, {0, false, 3}, {3, true, 0}};
    for (const Row& r : rows)
        EXPECT_EQ(displaygeometry::adjacentScreen(screens, r.from, r.right), r.to) << r.from << r.right;
    EXPECT_EQ(displaygeometry::adjacentScreen({screens[0]}, 0, true), 0);
    EXPECT_EQ(displaygeometry::adjacentScreen(screens, 7, true), -1);

    EXPECT_EQ(displaygeometry::screenIndexContaining(screens, {1500, 0}), 1);
    EXPECT_EQ(displaygeometry::screenIndexContaining(screens, {10, 950}), 3);
    EXPECT_EQ(displaygeometry::screenIndexContaining(screens, {5000, 5000}), -1);
}

TEST(DisplayGeometry, AFrameKeepsItsOffsetAndSizeAsFarAsTheyFit) {
    const Rect from{0, 25, 1440, 805}, to{1440, 25, 1920, 1055}, small{-1024, 25, 1024, 743};
    struct Row {
        const char* what;
        Rect frame, target, carried;
    } rows[] = {
        {"same offset, same size", {100, 100, 600, 400}, to, {1540, 100, 600, 400}},
        {"pushed back in at the far edges", {1000, 600, 600, 400}, small, {-600, 368, 600, 400}},
        {"larger than the display: as large as it", {20, 40, 1400, 780}, small, {-1024, 25, 1024, 743}},
        {"hanging off the near edge comes back in", {-50, 0, 600, 400}, to, {1440, 25, 600, 400}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(displaygeometry::carryFrame(r.frame, from, r.target), r.carried) << r.what;
}

TEST_F(DisplayMoves, WithOneDisplayOrInFullScreenNothingMoves) {
    auto w = window({100, 100, 600, 400});
    windows.moveToDisplay(true, target(w));
    EXPECT_EQ(frameOf(w), (Rect{100, 100, 600, 400}));

    sim.display(1920, 1080);
    sim.windows.setFullscreenNow(w);
    const Rect whole = frameOf(w);
    windows.moveToDisplay(true, target(w));
    sim.mainQueue.advance(2);
    EXPECT_EQ(frameOf(w), whole);
    EXPECT_TRUE(sim.windows.window(w)->fullscreen);
}

TEST_F(DisplayMoves, APlainWindowKeepsItsPlaceInTheVisibleFrameAndWrapsRound) {
    sim.display(1920, 1080); // right of the primary, top edges aligned
    auto w = window({100, 100, 600, 400});
    windows.moveToDisplay(true); // the front window
    EXPECT_EQ(frameOf(w), (Rect{1540, 100, 600, 400}));
    EXPECT_TRUE(windows.snapMemory().empty());
    // Right again wraps round to the primary; left from there wraps to the last.
    windows.moveToDisplay(true, target(w));
    EXPECT_EQ(frameOf(w), (Rect{100, 100, 600, 400}));
    windows.moveToDisplay(false, target(w));
    EXPECT_EQ(frameOf(w), (Rect{1540, 100, 600, 400}));
}

TEST_F(DisplayMoves, OnASmallerDisplayTheWindowIsPulledInToFit) {
    sim.display(1024, 768).leftOf(0).offset(200); // its top is 200 points below the primary's
    auto w = window({700, 300, 1200, 500});
    windows.moveToDisplay(false, target(w));
    const Rect v = visible(1);
    EXPECT_EQ(v, (Rect{-1024, 225, 1024, 743}));
    EXPECT_EQ(frameOf(w), (Rect{-1024, 468, 1024, 500})); // as wide as it, its bottom on the edge
    // Back on the primary it keeps that size and its offset from the top-left corner.
    windows.moveToDisplay(true, target(w));
    EXPECT_EQ(frameOf(w), (Rect{0, 268, 1024, 500}));
}

TEST_F(DisplayMoves, SnappedWindowsTakeTheSameZoneOnEachOfThreeDisplays) {
    sim.display(1920, 1080);           // 1, right of the primary
    sim.display(1280, 1024).leftOf(0); // 2, left of the primary
    const int order[] = {0, 1, 2, 0};  // moving right: primary, right, then round to the left one
    for (const Snap snap :
         {Snap::left, Snap::topRight, Snap::centreThird, Snap::rightTwoThirds, Snap::maximize}) {
        auto w = window({100, 100, 600, 400});
        windows.snap(snap, target(w));
        sim.mainQueue.advance(0.5); // a snap through the Window menu is remembered shortly after
        for (int step = 1; step < 4; ++step) {
            windows.moveToDisplay(true, target(w));
            EXPECT_EQ(frameOf(w), zone(snap, order[step])) << static_cast<int>(snap) << " step " << step;
            EXPECT_EQ(windows.currentSnap(w.pid(), w), snap);
        }
        sim.windows.close(w);
    }
}

TEST_F(DisplayMoves, RestoringAfterTheMoveGivesTheUnsnappedSizeOnTheNewDisplay) {
    sim.display(1920, 1080);
    auto w = window({100, 100, 600, 400});
    windows.snap(Snap::maximize, target(w));
    sim.mainQueue.advance(0.5);
    windows.moveToDisplay(true, target(w));
    EXPECT_EQ(frameOf(w), visible(1));
    EXPECT_EQ(windows.mode(w.pid(), w), Windows::Mode::maximized);
    windows.restoreOriginal(w.pid(), w);
    EXPECT_EQ(frameOf(w), (Rect{1540, 100, 600, 400}));
}

TEST_F(DisplayMoves, AWindowArrangedByOtherMeansIsRecognisedByItsFrame) {
    sim.display(1920, 1080);
    // Filled by the green button, or snapped through the Window menu a moment ago (the program
    // remembers that snap only 0.4 s later).
    auto filled = window(zone(Snap::maximize, 0));
    windows.moveToDisplay(true, target(filled));
    EXPECT_EQ(frameOf(filled), zone(Snap::maximize, 1));
    EXPECT_FALSE(windows.snapMemory().count(filled)); // not taken for one of the program's snaps

    auto edit = sim.app("com.example.Edit", "Edit").frontmost().window("Menu", {100, 100, 600, 400});
    windows.snap(Snap::bottomLeft, WindowTarget{edit.pid(), edit});
    EXPECT_TRUE(sim.windows.journal(edit.pid()).contains("menu Bottom Left"));
    windows.moveToDisplay(true, WindowTarget{edit.pid(), edit});
    EXPECT_EQ(frameOf(edit), zone(Snap::bottomLeft, 1));
}

TEST_F(DisplayMoves, SnappingActsOnTheWindowsOwnDisplay) {
    sim.display(1920, 1080);
    // Through the Window menu (the simulated items act on the window's display, as the system's
    // do) and by setting the frame.
    auto edit = sim.app("com.example.Edit", "Edit").frontmost().window("Menu", {1600, 200, 600, 400});
    windows.snap(Snap::right, WindowTarget{edit.pid(), edit});
    EXPECT_EQ(frameOf(edit), zone(Snap::right, 1));
    auto plain = window({1600, 200, 600, 400});
    windows.snap(Snap::leftThird, target(plain));
    EXPECT_EQ(frameOf(plain), zone(Snap::leftThird, 1));
}
