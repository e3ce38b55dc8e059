// Snap assist on a simulated session: when it opens, its keys through the real dispatch, picking
// (with full screen), closing, blank previews and fitting the grid into the half screen.
#include "SnapRig.h"

using namespace fenwold;
using fenwold::testing::blankPicture;
using fenwold::testing::picture;

namespace {

class SnapAssist : public fenwold::testing::SnapRig {
protected:
    // Twelve windows of one application and a thirteenth, the snapped one, which it returns.
    uint32_t manyWindows(SimAppBuilder& app) {
        for (int i = 0; i < 12; ++i)
            app.window(QStringLiteral("Doc %1").arg(i), {10.0 * i, 30, 800, 600});
        const uint32_t snapped = app.window("Snapped", {0, 30, 800, 600});
        model.store.start();
        return snapped;
    }
};

} // namespace

TEST_F(SnapAssist, WinLeftOffersTheOtherWindowsInTheRightHalf) {
    threeWindows();
    EXPECT_EQ(press(kLeft, flag::command), TapAnswer::swallow);
    EXPECT_EQ(frameOf(shell), snapFrame(WindowSnap::left));
    ASSERT_TRUE(isOpen());
    EXPECT_EQ(ids(assist.model().windows()), (std::vector<uint32_t>{browser, editor}));
    EXPECT_EQ(assist.model().selected(), 0);
    EXPECT_EQ(assist.zone(), WindowSnap::right);
    ASSERT_TRUE(panel && panel->visible);
    EXPECT_EQ(panel->header, std::nullopt);
    EXPECT_DOUBLE_EQ(panel->shownFrame.midX(), half(true).midX());
    EXPECT_DOUBLE_EQ(panel->shownFrame.midY(), half(true).midY());

    // Previews arrive while it shows.
    settleCaptures();
    for (const WindowInfo& w : assist.model().windows())
        EXPECT_FALSE(w.thumb.isNull());
}

TEST_F(SnapAssist, NeverOpensAfterMaximiseOrQuarterSnapsOrWithOnlyTheSnappedWindow) {
    threeWindows();
    EXPECT_EQ(press(kUp, flag::command), TapAnswer::swallow); // maximise
    EXPECT_EQ(frameOf(shell), snapFrame(WindowSnap::maximize));
    EXPECT_FALSE(isOpen());
    EXPECT_EQ(panel, nullptr);

    // From a half, Win+Up makes a quarter: no assist either. (Esc dismisses the one after the half.)
    press(kRight, flag::command);
    ASSERT_TRUE(isOpen());
    press(kEsc);
    EXPECT_FALSE(isOpen());
    press(kUp, flag::command);
    EXPECT_EQ(frameOf(shell), snapFrame(WindowSnap::topRight));
    EXPECT_FALSE(isOpen());
    EXPECT_FALSE(panel->visible);

    assist.show(WindowSnap::bottomLeft, shell);
    assist.show(WindowSnap::maximize, shell);
    EXPECT_FALSE(isOpen());

    // Alone on the screen.
    sim.windows.close(editor);
    sim.windows.close(browser);
    assist.show(WindowSnap::left, shell);
    EXPECT_FALSE(isOpen());
    EXPECT_FALSE(panel->visible);
}

TEST_F(SnapAssist, ALetterClosesItAndStillReachesTheApplication) {
    threeWindows();
    press(kLeft, flag::command);
    ASSERT_TRUE(isOpen());
    EXPECT_EQ(press(kA), TapAnswer::pass);
    EXPECT_FALSE(isOpen());
    EXPECT_FALSE(panel->visible);
    EXPECT_TRUE(assist.model().windows().empty());
    EXPECT_EQ(frameOf(browser), (Rect{90, 80, 900, 700})); // nothing was picked
}

TEST_F(SnapAssist, TabAndArrowsWrapAndReturnPicksIntoTheOtherHalf) {
    threeWindows();
    press(kLeft, flag::command);
    EXPECT_EQ(press(kTab, flag::shift), TapAnswer::swallow);
    EXPECT_EQ(assist.model().selected(), 1); // Shift+Tab on the first tile wraps to the last
    press(kTab);
    EXPECT_EQ(assist.model().selected(), 0);
    press(kLeft);
    EXPECT_EQ(assist.model().selected(), 1);
    press(kRight);
    press(kRight);
    EXPECT_EQ(assist.model().selected(), 1);
    ASSERT_EQ(assist.model().windows()[1].id, editor);

    EXPECT_EQ(press(kReturn), TapAnswer::swallow);
    EXPECT_FALSE(isOpen());
    EXPECT_FALSE(panel->visible);
    EXPECT_EQ(frameOf(editor), snapFrame(WindowSnap::right));
    EXPECT_EQ(frontWindow(), editor);
    EXPECT_EQ(sim.workspace.frontmostApp()->pid, sim.windows.window(editor)->pid);
}

TEST_F(SnapAssist, PickingAFullScreenWindowLeavesFullScreenBeforeSnapping) {
    auto app = sim.app("com.example.player", "Player");
    const uint32_t movie = app.window("Movie", {0, 0, 1024, 640}).image(picture(Qt::black)).fullscreen();
    sim.app("com.example.editor", "Editor").window("Code", {60, 60, 900, 700}).image(picture(Qt::blue));
    editor = sim.windows.stacking().front();
    model.store.start();

    assist.show(WindowSnap::right, editor);
    ASSERT_EQ(ids(assist.model().windows()), (std::vector<uint32_t>{movie}));
    EXPECT_EQ(assist.zone(), WindowSnap::left);
    EXPECT_DOUBLE_EQ(panel->shownFrame.midX(), half(false).midX());
    panel->click(0, TileAction::pick);
    EXPECT_FALSE(isOpen());
    sim.mainQueue.drain();
    EXPECT_TRUE(sim.windows.window(movie)->fullscreen); // leaving full screen takes a moment
    EXPECT_NE(frameOf(movie), snapFrame(WindowSnap::left));

    sim.mainQueue.advance(3.0);
    EXPECT_FALSE(sim.windows.window(movie)->fullscreen);
    EXPECT_EQ(frameOf(movie), snapFrame(WindowSnap::left));
}

TEST_F(SnapAssist, WindowButtonsOnlyDismissAndBlankPreviewsLeave) {
    threeWindows();
    assist.show(WindowSnap::left, shell);
    panel->click(0, TileAction::close);
    EXPECT_FALSE(isOpen());
    EXPECT_TRUE(sim.windows.window(browser).has_value());
    panel->click(0, TileAction::quit); // a late click on the hidden panel
    EXPECT_TRUE(sim.workspace.app(sim.windows.window(browser)->pid).has_value());

    sim.windows.update(browser, [](SimWindow& w) { w.directImage = w.captureImage = blankPicture(); });
    assist.show(WindowSnap::left, shell);
    const int shows = panel->shows;
    settleCaptures();
    EXPECT_EQ(ids(assist.model().windows()), (std::vector<uint32_t>{editor}));
    EXPECT_EQ(panel->shows, shows + 1);
    EXPECT_TRUE(isOpen());

    // A window that never shows content is the last one left: the picker closes.
    sim.windows.close(editor);
    const uint32_t ghost =
        sim.app("com.example.ghost", "Ghost").window("Empty", {200, 200, 600, 400}).image(blankPicture());
    assist.close();
    assist.show(WindowSnap::left, shell);
    ASSERT_EQ(ids(assist.model().windows()), (std::vector<uint32_t>{ghost}));
    settleCaptures();
    EXPECT_FALSE(isOpen());
    EXPECT_FALSE(panel->visible);
}

TEST_F(SnapAssist, ManyWindowsShrinkTheTilesToFitTheHalf) {
    auto app = sim.app("com.example.many", "Many");
    const uint32_t snapped = manyWindows(app);
    const Rect h = half(false);

    assist.show(WindowSnap::right, snapped);
    EXPECT_LT(metrics.thumbH, 140);
    EXPECT_GT(metrics.thumbH, 90);
    EXPECT_EQ(static_cast<int>(140 - metrics.thumbH) % 4, 0);
    EXPECT_LE(panel->shownFrame.width, 0.9 * h.width + 40);
    EXPECT_LE(panel->shownFrame.height, 0.9 * h.height);
    EXPECT_GE(panel->shownFrame.minX(), h.minX());
    EXPECT_LE(panel->shownFrame.maxX(), h.maxX());
    // One step larger would not have fitted.
    Metrics bigger = metrics;
    bigger.thumbH += 4;
    const FlowLayout larger = flowRows(assist.model().windows(), 0.9 * h.width, bigger);
    EXPECT_TRUE(larger.size.width > 0.9 * h.width + 40 || larger.size.height > 0.9 * h.height);

    // Beyond what 90 points can hold, the grid stays at 90 and overflows the half.
    assist.close();
    for (int i = 0; i < 40; ++i)
        app.window(QStringLiteral("More %1").arg(i), {10.0 * i, 30, 800, 600});
    sim.mainQueue.advance(6.0); // the store notices the new windows
    assist.show(WindowSnap::right, snapped);
    EXPECT_EQ(assist.model().windows().size(), 52u);
    EXPECT_DOUBLE_EQ(metrics.thumbH, 90);
    EXPECT_GT(panel->shownFrame.height, 0.9 * h.height);
}

TEST_F(SnapAssist, OnASecondDisplayWinLeftSnapsThereAndOffersThatDisplaysOtherHalf) {
    const int wide = sim.display(1920, 1080);
    threeWindows();
    sim.windows.update(shell, [](SimWindow& w) { w.frame = {1700, 200, 700, 500}; });

    press(kLeft, flag::command);
    EXPECT_EQ(frameOf(shell), snapFrame(WindowSnap::left, wide));
    ASSERT_TRUE(isOpen());
    const Rect otherHalf = snapgeometry::snapRect(
        WindowSnap::right, sim.screens.screens()[static_cast<std::size_t>(wide)].visibleFrame);
    EXPECT_DOUBLE_EQ(panel->shownFrame.midX(), otherHalf.midX());
    EXPECT_DOUBLE_EQ(panel->shownFrame.midY(), otherHalf.midY());

    // The pick lands in that half too, wherever the picked window was.
    press(kReturn);
    EXPECT_EQ(frameOf(browser), snapFrame(WindowSnap::right, wide));
}

TEST_F(SnapAssist, TheZonesLeftInALayoutAreOfferedOneAfterAnother) {
    threeWindows();
    const uint32_t notes = sim.app("com.example.notes", "Notes").window("List", {300, 300, 500, 400});
    model.store.start();
    model.windows.snap(WindowSnap::leftThird, WindowTarget{sim.windows.window(shell)->pid, shell});
    assist.offer({WindowSnap::centreThird, WindowSnap::rightThird}, shell);
    ASSERT_TRUE(isOpen());
    EXPECT_EQ(assist.zone(), WindowSnap::centreThird);
    EXPECT_DOUBLE_EQ(panel->shownFrame.midX(), visibleFrame().minX() + visibleFrame().width / 2);
    EXPECT_EQ(ids(assist.model().windows()), (std::vector<uint32_t>{notes, browser, editor}));

    // Tab to the browser and pick it: it fills the centre, then the right third is offered
    // without it.
    press(kTab);
    press(kReturn);
    EXPECT_EQ(frameOf(browser), snapFrame(WindowSnap::centreThird));
    ASSERT_TRUE(isOpen());
    EXPECT_EQ(assist.zone(), WindowSnap::rightThird);
    EXPECT_EQ(ids(assist.model().windows()), (std::vector<uint32_t>{notes, editor}));
    EXPECT_DOUBLE_EQ(panel->shownFrame.midX(), visibleFrame().minX() + visibleFrame().width * 5 / 6);

    panel->click(1, TileAction::pick);
    sim.mainQueue.advance(0.5);
    EXPECT_EQ(frameOf(editor), snapFrame(WindowSnap::rightThird));
    EXPECT_FALSE(isOpen());
    EXPECT_FALSE(panel->visible);
    EXPECT_EQ(frameOf(shell), snapFrame(WindowSnap::leftThird));
    EXPECT_EQ(frameOf(notes), (Rect{300, 300, 500, 400}));

    // Escape gives up the rest of the layout.
    assist.offer({WindowSnap::topRight, WindowSnap::bottomLeft, WindowSnap::bottomRight}, shell);
    press(kEsc);
    EXPECT_FALSE(isOpen());
    EXPECT_TRUE(assist.zones().empty());
    sim.mainQueue.advance(1);
    EXPECT_FALSE(isOpen());
}

TEST_F(SnapAssist, AGridTooLargeForItsZoneStaysOnTheDisplay) {
    auto app = sim.app("com.example.many", "Many");
    const uint32_t snapped = manyWindows(app);

    // Three rows of 90-point tiles are taller than a bottom quarter: centred on it, the grid
    // would hang below the display's visible frame, so it rests on its bottom edge instead.
    assist.offer({WindowSnap::bottomRight}, snapped);
    const Rect v = visibleFrame();
    EXPECT_DOUBLE_EQ(metrics.thumbH, 90);
    EXPECT_GT(panel->shownFrame.height, v.height / 2);
    EXPECT_DOUBLE_EQ(panel->shownFrame.minY(), v.minY());
    const Rect quarter = snapgeometry::snapRect(WindowSnap::bottomRight, v);
    EXPECT_DOUBLE_EQ(panel->shownFrame.midX(), quarter.midX());
}
