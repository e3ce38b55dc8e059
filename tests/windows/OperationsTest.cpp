#include "WindowsFixture.h"

#include "core/windows/SnapGeometry.h"

using namespace fenwold;
using fenwold::testing::WindowsTest;
using Snap = Windows::Snap;
using Mode = Windows::Mode;

namespace {

// The default screen: 1440 x 900 with a 25-point menu bar and a 70-point Dock.
constexpr Rect kLeftHalf{0, 25, 720, 805};

class Operations : public WindowsTest {
protected:
    // An application whose Window menu has no Move & Resize items, so snaps set frames directly.
    SimWindowBuilder plainWindow(const QString& title = "Doc", Rect frame = {100, 100, 600, 400}) {
        auto app = sim.app("com.example.Plain", "Plain").frontmost();
        sim.windows.setMenuStyle(app.pid(), SimMenuStyle::withoutMoveAndResize);
        return app.window(title, frame);
    }
    WindowTarget target(const SimWindowBuilder& w) { return {w.pid(), w.number()}; }
};

} // namespace

TEST(SnapGeometry, EveryZoneAndItsAccessibilityFrame) {
    const Rect v{0, 70, 1440, 805};
    const double H = 900;
    struct Row {
        Snap snap;
        Rect ax;
    };
    const Row rows[] = {
        {Snap::left, {0, 25, 720, 805}},
        {Snap::right, {720, 25, 720, 805}},
        {Snap::maximize, {0, 25, 1440, 805}},
        {Snap::topLeft, {0, 25, 720, 402.5}},
        {Snap::topRight, {720, 25, 720, 402.5}},
        {Snap::bottomLeft, {0, 427.5, 720, 402.5}},
        {Snap::bottomRight, {720, 427.5, 720, 402.5}},
        {Snap::leftThird, {0, 25, 480, 805}},
        {Snap::centreThird, {480, 25, 480, 805}},
        {Snap::rightThird, {960, 25, 480, 805}},
        {Snap::leftTwoThirds, {0, 25, 960, 805}},
        {Snap::rightTwoThirds, {480, 25, 960, 805}},
    };
    ASSERT_EQ(std::size(rows), snapgeometry::allSnaps().size());
    for (const Row& r : rows) {
        EXPECT_EQ(snapgeometry::toAX(snapgeometry::snapRect(r.snap, v), H), r.ax) << static_cast<int>(r.snap);
        EXPECT_EQ(snapgeometry::snapRectAX(r.snap, snapgeometry::toAX(v, H)), r.ax)
            << static_cast<int>(r.snap);
        // A frame within 8 points of a zone on every edge is that zone.
        const Rect near{r.ax.x + 7, r.ax.y - 7, r.ax.width - 7, r.ax.height + 14};
        EXPECT_EQ(snapgeometry::snapMatching(near, snapgeometry::toAX(v, H), 8), r.snap);
    }
    // Thirds of a width three does not divide still meet edge to edge and fill the frame.
    const Rect odd{-1366, 0, 1366, 743};
    const Rect l = snapgeometry::snapRect(Snap::leftThird, odd),
               c = snapgeometry::snapRect(Snap::centreThird, odd),
               r = snapgeometry::snapRect(Snap::rightThird, odd);
    EXPECT_EQ(l.maxX(), c.minX());
    EXPECT_EQ(c.maxX(), r.minX());
    EXPECT_EQ(l.minX(), odd.minX());
    EXPECT_EQ(r.maxX(), odd.maxX());
    EXPECT_EQ(snapgeometry::snapRect(Snap::leftTwoThirds, odd).maxX(), c.maxX());

    // Nothing matches a window off by 8 points, or a half for a quarter's height.
    const Rect visibleAX{0, 25, 1440, 805};
    EXPECT_EQ(snapgeometry::snapMatching({8, 25, 712, 805}, visibleAX, 8), std::nullopt);
    EXPECT_EQ(snapgeometry::snapMatching({0, 25, 720, 600}, visibleAX, 8), std::nullopt);
    EXPECT_EQ(snapgeometry::snapMatching({100, 100, 600, 400}, visibleAX, 8), std::nullopt);

    const std::vector<ScreenInfo> screens = {{{0, 0, 1440, 900}, v},
                                             {{1440, 0, 1920, 1080}, {1440, 0, 1920, 1055}}};
    EXPECT_EQ(snapgeometry::screenIndexContainingAX(screens, 0, {1500, 10, 100, 100}), 1);
    EXPECT_EQ(snapgeometry::screenIndexContainingAX(screens, 0, {100, 10, 5000, 100}), 0); // by the top-left
    EXPECT_EQ(snapgeometry::screenIndexContainingAX(screens, 1, {-5000, -5000, 10, 10}),
              1); // off every screen
    EXPECT_EQ(snapgeometry::screenIndexContainingAX({}, 0, {0, 0, 1, 1}), -1);
}

TEST_F(Operations, SnappingPressesTheWindowMenuAndRemembersTheSnapAtOnce) {
    auto w = sim.app("com.example.Edit", "Edit").frontmost().window("Doc", {100, 100, 600, 400});
    windows.snap(Snap::left, target(w));
    EXPECT_TRUE(sim.windows.journal(w.pid()).contains("menu Left"));
    EXPECT_EQ(frameOf(w), kLeftHalf);
    ASSERT_TRUE(windows.snapMemory().count(w));
    EXPECT_EQ(windows.snapMemory().at(w).rect, kLeftHalf);
    // The system's tile, a little off the zone, is what is remembered once it has settled.
    sim.windows.update(w, [](SimWindow& x) { x.frame.width -= 4; });
    sim.mainQueue.advance(0.4);
    ASSERT_TRUE(windows.snapMemory().count(w));
    EXPECT_EQ(windows.snapMemory().at(w).rect.width, kLeftHalf.width - 4);
    EXPECT_EQ(windows.snapMemory().at(w).original, (Rect{100, 100, 600, 400}));
    EXPECT_EQ(windows.mode(w.pid(), w), Mode::snappedLeft);

    // Without a target the frontmost window is snapped.
    windows.snap(Snap::maximize);
    EXPECT_EQ(frameOf(w), (Rect{0, 25, 1440, 805}));
}

TEST_F(Operations, WithoutMenuItemsTheFrameIsSetDirectlyAndRecordedAtOnce) {
    auto w = plainWindow();
    windows.snap(Snap::bottomRight, target(w));
    EXPECT_EQ(frameOf(w), (Rect{720, 427.5, 720, 402.5}));
    EXPECT_EQ(windows.currentSnap(w.pid(), w), Snap::bottomRight);
    EXPECT_EQ(windows.mode(w.pid(), w), Mode::normal); // quarters are not a mode
}

TEST_F(Operations, ThirdsAreFramesTheWindowMenuDoesNotOffer) {
    auto w = sim.app("com.example.Edit", "Edit").frontmost().window("Doc", {100, 100, 600, 400});
    for (const auto& [snap, frame] : std::vector<std::pair<Snap, Rect>>{
             {Snap::centreThird, {480, 25, 480, 805}}, {Snap::rightTwoThirds, {480, 25, 960, 805}}}) {
        sim.windows.clearJournal(w.pid());
        windows.snap(snap, target(w));
        EXPECT_EQ(frameOf(w), frame);
        // The Window menu itself is never pressed for want of an item.
        for (const QString& line : sim.windows.journal(w.pid()))
            EXPECT_FALSE(line.startsWith("menu")) << line.toStdString();
        EXPECT_EQ(windows.currentSnap(w.pid(), w), snap); // recorded at once
        EXPECT_EQ(windows.mode(w.pid(), w), Mode::normal);
    }
    windows.restoreOriginal(w.pid(), w);
    EXPECT_EQ(frameOf(w), (Rect{100, 100, 600, 400}));
}

TEST_F(Operations, ADisabledMenuItemFallsBackToSettingTheFrame) {
    auto w = sim.app("com.example.Edit", "Edit").frontmost().window("Doc", {100, 100, 600, 400});
    sim.windows.setMenuItemEnabled(w.pid(), "Right", false);
    windows.snap(Snap::right, target(w));
    EXPECT_FALSE(sim.windows.journal(w.pid()).contains("menu Right"));
    EXPECT_EQ(frameOf(w), (Rect{720, 25, 720, 805}));
    EXPECT_EQ(windows.snapMemory().at(w).rect, (Rect{720, 25, 720, 805})); // recorded at once
}

TEST_F(Operations, ASecondSnapKeepsTheFirstOriginalSoRestoreReturnsToTheUnsnappedFrame) {
    auto w = plainWindow("Doc", {100, 100, 600, 400});
    windows.snap(Snap::left, target(w));
    windows.snap(Snap::topLeft, target(w));
    EXPECT_EQ(windows.snapMemory().at(w).original, (Rect{100, 100, 600, 400}));
    windows.restoreOriginal(w.pid(), w);
    EXPECT_EQ(frameOf(w), (Rect{100, 100, 600, 400}));
    EXPECT_FALSE(windows.snapMemory().count(w));

    // The same chain through the Window menu: the system's previous size is the first one too.
    auto m = sim.app("com.example.Edit", "Edit").frontmost().window("Menu", {50, 60, 500, 300});
    windows.snap(Snap::left, target(m));
    sim.mainQueue.advance(0.5);
    windows.snap(Snap::topLeft, target(m));
    sim.mainQueue.advance(0.5);
    EXPECT_EQ(windows.snapMemory().at(m).original, (Rect{50, 60, 500, 300}));
    windows.restoreOriginal(m.pid(), m);
    EXPECT_TRUE(sim.windows.journal(m.pid()).contains("menu Return to Previous Size"));
    EXPECT_EQ(frameOf(m), (Rect{50, 60, 500, 300}));
}

TEST_F(Operations, ASnapOrARestoreStraightAfterAMenuSnapKeepsTheFrameFromBefore) {
    // Two clicks on the green button, or Win+↑ then Win+↓, quicker than the menu's frame settles.
    auto w = sim.app("com.example.Edit", "Edit").frontmost().window("Doc", {100, 100, 600, 400});
    windows.snap(Snap::maximize, target(w));
    windows.snap(Snap::left, target(w));
    sim.mainQueue.advance(1);
    EXPECT_EQ(windows.snapMemory().at(w).original, (Rect{100, 100, 600, 400}));
    EXPECT_EQ(windows.currentSnap(w.pid(), w), Snap::left);
    windows.snap(Snap::maximize, target(w));
    windows.restoreOriginal(w.pid(), w);
    sim.mainQueue.advance(1);
    EXPECT_EQ(frameOf(w), (Rect{100, 100, 600, 400}));
    EXPECT_FALSE(windows.snapMemory().count(w)); // the settled frame is not written back after
}

TEST_F(Operations, TheGreenButtonIsFoundInTheWindowsCornerAndOnlyWhereItMayMaximise) {
    auto w = sim.app("com.example.Edit", "Edit").frontmost().window("Doc", {100, 100, 600, 400});
    // The corner of the buttons, toolbars' height included; right of it is the title bar.
    EXPECT_EQ(windows.titlebarButtonsHit({158, 114}), (WindowTarget{w.pid(), w}));
    EXPECT_EQ(windows.titlebarButtonsHit({180, 151}), (WindowTarget{w.pid(), w}));
    EXPECT_FALSE(windows.titlebarButtonsHit({181, 114}));
    EXPECT_FALSE(windows.titlebarButtonsHit({158, 152}));
    // Its frame is the element's, the light and a margin round it.
    EXPECT_EQ(windows.greenButtonFrame(w.pid(), w), (Rect{149, 105, 18, 18}));
    // Greyed out, in full screen, or on a window that is not a standard one: nothing to maximise.
    sim.windows.update(w, [](SimWindow& x) { x.minSize = x.maxSize = x.frame.size(); });
    EXPECT_FALSE(windows.greenButtonFrame(w.pid(), w));
    sim.windows.update(w, [](SimWindow& x) { x.minSize.reset(), x.maxSize.reset(); });
    sim.windows.update(w, [](SimWindow& x) { x.subrole = QStringLiteral("AXDialog"); });
    EXPECT_FALSE(windows.greenButtonFrame(w.pid(), w));
    sim.windows.update(w, [](SimWindow& x) { x.subrole = QStringLiteral("AXStandardWindow"); });
    sim.windows.setFullscreenNow(w);
    EXPECT_FALSE(windows.greenButtonFrame(w.pid(), w));
    // A window that cannot go full screen offers its zoom button instead.
    auto z = sim.app("com.example.Old", "Old").frontmost().window("Zoom only", {300, 300, 400, 300});
    sim.accessibility.remove(sim.windows.window(z)->element, QStringLiteral("AXFullScreenButton"));
    EXPECT_EQ(windows.greenButtonFrame(z.pid(), z), (Rect{349, 305, 18, 18}));
}

TEST_F(Operations, RestoringAWindowNeverSnappedWithoutTheMenuItemDoesNothing) {
    auto w = plainWindow("Doc", {100, 100, 600, 400});
    windows.restoreOriginal(w.pid(), w);
    sim.mainQueue.advance(3);
    EXPECT_EQ(frameOf(w), (Rect{100, 100, 600, 400}));
}

TEST_F(Operations, MovingASnappedWindowEndsItsSnapButAHeightChangeDoesNot) {
    auto w = plainWindow();
    windows.snap(Snap::left, target(w));
    sim.windows.update(w, [](SimWindow& x) { x.frame.height = 500; });
    EXPECT_EQ(windows.currentSnap(w.pid(), w), Snap::left);
    sim.windows.update(w, [](SimWindow& x) { x.frame.x += 7.9; });
    EXPECT_EQ(windows.currentSnap(w.pid(), w), Snap::left);
    sim.windows.update(w, [](SimWindow& x) { x.frame.x = 8; });
    EXPECT_EQ(windows.currentSnap(w.pid(), w), std::nullopt);
    EXPECT_FALSE(windows.snapMemory().count(w));
    EXPECT_EQ(windows.mode(w.pid(), w), Mode::normal);
}

TEST_F(Operations, SnappingAFullScreenWindowLeavesFullScreenFirstAndSnapsOnceItIsOut) {
    auto w = sim.app("com.example.Player", "Player").frontmost().window("Film", {100, 100, 600, 400});
    sim.windows.setFullscreenNow(w);
    windows.snap(Snap::right, target(w));
    sim.mainQueue.advance(0.6); // the application takes 0.6 s to leave full screen
    EXPECT_FALSE(sim.windows.window(w)->fullscreen);
    EXPECT_EQ(frameOf(w), (Rect{100, 100, 600, 400}));
    sim.mainQueue.advance(0.3);
    EXPECT_EQ(frameOf(w), (Rect{100, 100, 600, 400})); // not yet: 0.35 s after it reported out
    sim.mainQueue.advance(0.1);
    EXPECT_EQ(frameOf(w), (Rect{720, 25, 720, 805}));
}

TEST_F(Operations, AWindowThatStaysInFullScreenIsSnappedAnywayAfterTheWait) {
    auto w = sim.app("com.example.Player", "Player").frontmost().window("Film", {100, 100, 600, 400});
    sim.windows.setMenuStyle(w.pid(), SimMenuStyle::withoutMoveAndResize);
    sim.windows.setFullscreenNow(w);
    sim.windows.exitFullscreenDelay = 60; // practically never
    windows.snap(Snap::left, target(w));
    sim.mainQueue.advance(3.3); // 0.05 s, then 60 checks 0.05 s apart, then 0.35 s
    EXPECT_EQ(frameOf(w), (Rect{0, 0, 1440, 900}));
    sim.mainQueue.advance(0.2);
    EXPECT_EQ(frameOf(w), kLeftHalf);
}

TEST_F(Operations, DelayedWorkDoesNothingOnceTheOperationsAreGone) {
    auto w = sim.app("com.example.Player", "Player").frontmost().window("Film", {100, 100, 600, 400});
    sim.windows.setFullscreenNow(w);
    {
        WindowModel shortLived(platform);
        shortLived.windows.snap(Snap::left, target(w));
        shortLived.store.start();
    }
    sim.mainQueue.advance(10);
    EXPECT_FALSE(sim.windows.window(w)->fullscreen);
    EXPECT_EQ(frameOf(w), (Rect{100, 100, 600, 400})); // left full screen, but no snap followed
}

TEST_F(Operations, FullScreenWindowsNarrowerThanNinetyPercentAreTiles) {
    auto w = sim.app("com.example.Edit", "Edit").frontmost().window("Doc", {100, 100, 600, 400});
    windows.fullscreenTile(true, target(w));
    EXPECT_TRUE(sim.windows.journal(w.pid()).contains("menu Left of Screen"));
    sim.mainQueue.advance(1.0);
    EXPECT_EQ(windows.mode(w.pid(), w), Mode::tiledLeft);

    auto r = sim.app("com.example.Other", "Other").frontmost().window("Other", {100, 100, 600, 400});
    windows.fullscreenTile(false, target(r));
    sim.mainQueue.advance(1.0);
    EXPECT_EQ(windows.mode(r.pid(), r), Mode::tiledRight);

    auto f = sim.app("com.example.Third", "Third").frontmost().window("Whole", {100, 100, 600, 400});
    windows.toggleFullscreen(f.pid(), f);
    sim.mainQueue.advance(1.0);
    EXPECT_EQ(windows.mode(f.pid(), f), Mode::fullscreen);
    // Restoring a full-screen window leaves full screen.
    windows.restoreOriginal(f.pid(), f);
    sim.mainQueue.advance(1.0);
    EXPECT_FALSE(sim.windows.window(f)->fullscreen);
    EXPECT_EQ(frameOf(f), (Rect{100, 100, 600, 400}));
}

TEST_F(Operations, TogglingFullScreenPressesTheZoomButtonWhenTheAttributeCannotBeSet) {
    auto w = sim.app("com.example.Old", "Old").frontmost().window("Doc", {100, 100, 600, 400});
    sim.windows.update(w, [](SimWindow& x) { x.fullscreenSettable = false; });
    windows.toggleFullscreen(w.pid(), w);
    sim.mainQueue.advance(1.0);
    EXPECT_TRUE(sim.windows.window(w)->fullscreen);
}

TEST_F(Operations, ScreensLeftOfThePrimaryUseTheirOwnVisibleFrame) {
    sim.screens.addScreen({{-1920, 0, 1920, 1080}, {-1920, 0, 1920, 1055}});
    auto w = plainWindow("Doc", {-1800, 100, 800, 600});
    windows.snap(Snap::left, target(w));
    EXPECT_EQ(frameOf(w), (Rect{-1920, -155, 960, 1055}));
}

TEST_F(Operations, TheEnhancedInterfaceIsOffWhileTheFrameIsSet) {
    auto w = plainWindow();
    sim.windows.setEnhancedUserInterface(w.pid(), true);
    windows.snap(Snap::left, target(w));
    QStringList journal = sim.windows.journal(w.pid());
    journal.removeIf([](const QString& l) { return l.startsWith("menu"); });
    EXPECT_EQ(journal,
              (QStringList{"enhanced off", "position 0,25", "size 720x805", "position 0,25", "enhanced on"}));
    EXPECT_TRUE(sim.windows.enhancedUserInterface(w.pid()));
}

TEST_F(Operations, AnApplicationThatNeverBecomesActiveIsSnappedAfterTheWait) {
    auto w = plainWindow();
    const int32_t stuck = sim.app("com.example.Stuck", "Stuck").neverActivates();
    const uint32_t doc = sim.windows.open(stuck, "Stuck doc", {100, 100, 600, 400});
    sim.windows.setMenuStyle(stuck, SimMenuStyle::withoutMoveAndResize);
    windows.snap(Snap::right, WindowTarget{stuck, doc});
    sim.mainQueue.advance(1.0);
    EXPECT_EQ(frameOf(doc), (Rect{100, 100, 600, 400}));
    sim.mainQueue.advance(1.2); // 40 checks, 0.05 s apart
    EXPECT_EQ(frameOf(doc), (Rect{720, 25, 720, 805}));
    (void)w;
}

TEST_F(Operations, CloseOrQuitClosesOneOfSeveralWindowsAndQuitsWithTheLast) {
    auto app = sim.app("com.example.Edit", "Edit").frontmost().window("One", {0, 0, 400, 300});
    const uint32_t two = app.window("Two", {0, 0, 400, 300});
    windows.closeFrontmostWindowOrQuit();
    EXPECT_FALSE(sim.windows.window(two));
    EXPECT_TRUE(sim.workspace.app(app.pid()));
    windows.closeFrontmostWindowOrQuit();
    EXPECT_FALSE(sim.workspace.app(app.pid()));

    // The Finder is never quit: its last window is only closed.
    auto finder = sim.app("com.apple.finder", "Finder").frontmost().window("Documents", {0, 0, 400, 300});
    windows.closeFrontmostWindowOrQuit();
    EXPECT_FALSE(sim.windows.window(finder));
    EXPECT_TRUE(sim.workspace.app(finder.pid()));
}

TEST_F(Operations, MinimisingClosingAndMoving) {
    auto app = sim.app("com.example.Edit", "Edit").frontmost().window("One", {0, 0, 400, 300});
    const uint32_t two = app.window("Two", {50, 50, 400, 300});
    const uint32_t three = app.window("Three", {60, 60, 400, 300});
    store.start();
    windows.minimizeAll(/*exceptFrontmost=*/true);
    EXPECT_FALSE(sim.windows.window(three)->minimized);
    EXPECT_TRUE(sim.windows.window(two)->minimized);
    EXPECT_TRUE(sim.windows.window(app)->minimized);
    windows.minimizeFrontmost();
    EXPECT_TRUE(sim.windows.window(three)->minimized);

    WindowInfo info = store.registry().at(two);
    windows.close(info);
    EXPECT_FALSE(sim.windows.window(two));

    windows.moveTo(app.pid(), app, {300, 200});
    EXPECT_EQ(windows.axFrame(app.pid(), app), (Rect{300, 200, 400, 300}));
    EXPECT_EQ(windows.closeButtonFrame(app.pid(), app), (Rect{308, 206, 14, 16}));
    EXPECT_FALSE(windows.axFrame(app.pid(), 4242));
}

TEST_F(Operations, TitleBarHitsCountOnlyInTheStripRightOfTheWindowButtons) {
    auto w = sim.app("com.example.Edit", "Edit").frontmost().window("Doc", {100, 100, 600, 400});
    EXPECT_EQ(windows.titlebarHit({200, 110}), (WindowTarget{w.pid(), w}));
    EXPECT_FALSE(windows.titlebarHit({170, 110}));  // over the window buttons
    EXPECT_FALSE(windows.titlebarHit({200, 131}));  // below the strip
    EXPECT_FALSE(windows.titlebarHit({2000, 110})); // no window there
    auto panel = sim.app("com.example.Extra", "Extra").accessory().window("Panel", {150, 90, 400, 100});
    EXPECT_FALSE(windows.titlebarHit({300, 110})); // the panel in front takes the point
    (void)panel;
}

TEST_F(Operations, WindowsThatRefuseASizeEndAsCloseToTheZoneAsTheyAllow) {
    // A panel of a fixed size snapped right sits in the zone's corner; snapped to the whole screen
    // it stays at its size in the top-left corner. Either way it is remembered for restore.
    auto fixed = plainWindow("Panel", {100, 100, 600, 400}).fixedSize();
    windows.snap(Snap::right, target(fixed));
    sim.mainQueue.drain();
    EXPECT_EQ(sim.windows.window(fixed.number())->frame, (Rect{720, 25, 600, 400}));
    EXPECT_EQ(windows.currentSnap(fixed.pid(), fixed.number()), Snap::right);
    // A minimum wider than the half: from the zone's left edge, pulled back onto the screen when
    // the zone is the right half.
    auto wideApp = sim.app("com.example.Wide", "Wide").frontmost();
    sim.windows.setMenuStyle(wideApp.pid(), SimMenuStyle::withoutMoveAndResize);
    auto wide = wideApp.window("Wide", {100, 100, 600, 400}).minimumSize({900, 300});
    windows.snap(Snap::left, target(wide));
    sim.mainQueue.drain();
    EXPECT_EQ(sim.windows.window(wide.number())->frame, (Rect{0, 25, 900, 805}));
    windows.snap(Snap::right, target(wide));
    sim.mainQueue.drain();
    EXPECT_EQ(sim.windows.window(wide.number())->frame, (Rect{540, 25, 900, 805}));
    // Restore gives back the place and the height from before the first snap, at the width the
    // window allows.
    windows.restoreOriginal(wide.pid(), wide.number());
    sim.mainQueue.drain();
    EXPECT_EQ(sim.windows.window(wide.number())->frame, (Rect{100, 100, 900, 400}));
}
