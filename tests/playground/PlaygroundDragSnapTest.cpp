// Windows dragged by their title bars with the playground's pointer: every zone of a display,
// two displays of different sizes, the outline, the restore on drag-away, Esc, drags that are not
// window drags, the switch, exclusions, windows that refuse a size and the system's own tiling.
#include "PlaygroundFixture.h"
#include "core/settings/ExcludedApps.h"
#include "core/settings/Prefs.h"
#include "core/snap/DragSnapController.h"
#include "core/windows/SnapGeometry.h"

using namespace fenwold;

namespace {

struct DragSnap : Playground {
    uint32_t notes() { return focused(pg->apps().editor()); }
    Rect frameOf(uint32_t w) const { return sim.windows.window(w)->frame; }
    Rect zone(WindowSnap snap, std::size_t display = 0) const {
        const auto screens = sim.screens.screens();
        return snapgeometry::snapRectAX(snap, snapgeometry::toAX(screens.at(display).visibleFrame, 900));
    }
    // A point on the window's title bar, this share of the way along it.
    Point titleBar(uint32_t w, double share = 0.5) const {
        const Rect f = frameOf(w);
        return {std::round(f.x + f.width * share), f.y + 12};
    }
    // Picks the window up by its title bar and carries it to a point, resting there.
    bool carry(uint32_t w, Point to, double share = 0.5) {
        const Point from = titleBar(w, share);
        return run(QStringLiteral("mousedown %1 %2\nmove %3 %4\nmove %5 %6\nwait 0.3")
                       .arg(from.x)
                       .arg(from.y)
                       .arg((from.x + to.x) / 2)
                       .arg((from.y + to.y) / 2)
                       .arg(to.x)
                       .arg(to.y));
    }
    bool letGo(Point at) { return run(QStringLiteral("mouseup %1 %2").arg(at.x).arg(at.y)); }
    DragSnapController& drag() { return pg->delegate().dragSnap(); }
    bool outlineShows() { return drag().panel() && drag().panel()->isVisible(); }
    Rect outlineAX() {
        const Rect f = drag().panel()->frame();
        return {f.x, 900 - f.maxY(), f.width, f.height};
    }
};

} // namespace

TEST_F(DragSnap, EveryZoneOfADisplayShowsItsOutlineAndTakesTheWindowWhereItIsLetGo) {
    const uint32_t w = notes();
    const struct {
        Point pointer;
        WindowSnap snap;
    } zones[] = {{{0, 450}, WindowSnap::left},       {{1439, 450}, WindowSnap::right},
                 {{0, 30}, WindowSnap::topLeft},     {{1439, 30}, WindowSnap::topRight},
                 {{0, 880}, WindowSnap::bottomLeft}, {{1439, 880}, WindowSnap::bottomRight},
                 {{700, 0}, WindowSnap::maximize}};
    for (const auto& [pointer, snap] : zones) {
        ASSERT_TRUE(carry(w, pointer));
        ASSERT_TRUE(outlineShows()) << pointer.x << "," << pointer.y;
        EXPECT_EQ(drag().outlined()->snap, snap);
        EXPECT_EQ(outlineAX(), zone(snap));
        ASSERT_TRUE(letGo(pointer));
        EXPECT_FALSE(outlineShows());
        EXPECT_EQ(frameOf(w), zone(snap)) << pointer.x << "," << pointer.y;
        // Snap assist offers the rest of the display, as after Win+←; there is none after a
        // maximise.
        EXPECT_EQ(pg->delegate().routing().snapshot().snapAssistOpen, snap != WindowSnap::maximize);
        if (snap == WindowSnap::left) {
            EXPECT_EQ(pg->delegate().assist().zone(), WindowSnap::right);
        }
        if (snap == WindowSnap::topLeft) {
            EXPECT_EQ(pg->delegate().assist().zones().size(), 3u);
        }
        ASSERT_TRUE(run("esc"));
    }
    // Each snap was remembered for restore: the window gets back the size it was carried with.
    const int32_t editor = pg->apps().editor().pid();
    ASSERT_TRUE(run("wait 1"));
    EXPECT_EQ(pg->delegate().windows().currentSnap(editor, w), WindowSnap::maximize);
    EXPECT_EQ(pg->delegate().windows().snapMemory().at(w).original.size(), (Size{580, 340}));
    pg->delegate().windows().restoreOriginal(editor, w);
    pg->settle();
    EXPECT_EQ(frameOf(w).size(), (Size{580, 340}));
}

struct DragSnapTwoDisplays : DragSnap {
    void SetUp() override {
        PlaygroundSession::connectSecondDisplay(sim);
        DragSnap::SetUp();
    }
};

TEST_F(DragSnapTwoDisplays, OnlyOuterEdgesCountAndEachDisplaySnapsOnItself) {
    const uint32_t w = notes();
    // The primary display's right edge meets the second display (1280 × 800, top-aligned) for
    // its upper 800 points: there the pointer passes on and nothing snaps.
    ASSERT_TRUE(carry(w, {1439, 400}));
    EXPECT_FALSE(outlineShows());
    ASSERT_TRUE(letGo({1439, 400}));
    EXPECT_EQ(frameOf(w).size(), (Size{580, 340}));
    // Below the second display the same edge is an outer one.
    ASSERT_TRUE(carry(w, {1439, 830}));
    EXPECT_TRUE(outlineShows());
    ASSERT_TRUE(letGo({1439, 830}));
    EXPECT_EQ(frameOf(w), zone(WindowSnap::right));
    ASSERT_TRUE(run("esc"));
    // A pointer carried past the second display's far edge stops on it.
    const struct {
        Point pointer;
        WindowSnap snap;
    } zones[] = {{{2900, 400}, WindowSnap::right},
                 {{2719, 790}, WindowSnap::bottomRight},
                 {{2000, 0}, WindowSnap::maximize}};
    for (const auto& [pointer, snap] : zones) {
        ASSERT_TRUE(carry(w, pointer));
        ASSERT_TRUE(outlineShows()) << pointer.x << "," << pointer.y;
        EXPECT_EQ(drag().outlined()->display, 1);
        EXPECT_EQ(outlineAX(), zone(snap, 1));
        ASSERT_TRUE(letGo(pointer));
        EXPECT_EQ(frameOf(w), zone(snap, 1)) << pointer.x << "," << pointer.y;
        ASSERT_TRUE(run("esc"));
    }
    // Back on the primary display's left edge.
    ASSERT_TRUE(carry(w, {0, 450}));
    ASSERT_TRUE(letGo({0, 450}));
    EXPECT_EQ(frameOf(w), zone(WindowSnap::left));
}

TEST_F(DragSnap, TheOutlineWaitsForThePointerToRestAndFollowsItOut) {
    const uint32_t w = notes();
    const Point from = titleBar(w);
    ASSERT_TRUE(run(QStringLiteral("mousedown %1 %2\nmove 300 300\nmove 0 400").arg(from.x).arg(from.y)));
    ASSERT_TRUE(run("wait 0.05"));
    EXPECT_FALSE(outlineShows());
    ASSERT_TRUE(run("wait 0.2"));
    EXPECT_TRUE(outlineShows());
    ASSERT_TRUE(run("screenshot outline"));
    // The outline is drawn over the left half of the desktop.
    const QImage shot(shots.filePath("outline.png"));
    const QImage bare = [&] {
        drag().panel()->orderOut();
        return pg->desktop().snapshot();
    }();
    EXPECT_GT(changedPixels(shot, bare, QRect(10, 500, 700, 300)), 1000);
    // Leaving the edge hides it; letting go away from every edge leaves the window where it is.
    ASSERT_TRUE(carry(w, {600, 400}));
    EXPECT_FALSE(outlineShows());
    ASSERT_TRUE(letGo({600, 400}));
    EXPECT_EQ(frameOf(w).size(), (Size{580, 340}));
    EXPECT_FALSE(pg->delegate().windows().currentSnap(pg->apps().editor().pid(), w));
}

TEST_F(DragSnap, ASnappedWindowDraggedAwayTakesBackItsSizeUnderThePointer) {
    const uint32_t w = notes();
    ASSERT_TRUE(run("super+left\nwait 0.8\nesc"));
    ASSERT_EQ(frameOf(w), zone(WindowSnap::left));
    // Held three quarters of the way along its title bar, and carried into the middle.
    ASSERT_TRUE(carry(w, {900, 300}, 0.75));
    const Rect carried = frameOf(w);
    EXPECT_EQ(carried.size(), (Size{580, 340}));
    EXPECT_NEAR(carried.x + 0.75 * carried.width, 900, 1);
    EXPECT_NEAR(carried.y + 12, 300, 1);
    ASSERT_TRUE(letGo({900, 300}));
    EXPECT_EQ(frameOf(w), carried);
    // A window the user sized meanwhile keeps its size when it is carried.
    ASSERT_TRUE(run("super+right\nwait 0.8\nesc"));
    sim.windows.update(w, [](SimWindow& x) { x.frame.width -= 100; });
    const Rect sized = frameOf(w);
    ASSERT_TRUE(carry(w, {500, 500}));
    ASSERT_TRUE(letGo({500, 500}));
    EXPECT_EQ(frameOf(w).size(), sized.size());
}

TEST_F(DragSnap, ASnappedWindowCarriedBeforeTheProgramLooksStillTakesBackItsSize) {
    const uint32_t w = notes();
    ASSERT_TRUE(run("super+left\nwait 0.8\nesc"));
    const Rect snapped = frameOf(w);
    // The window server carries the window before the main thread takes up the press: when it
    // first looks, the pressed point of the title bar is still over the window.
    const Point from = titleBar(w, 0.5);
    pg->hardware().mouseDown(from, 1);
    pg->hardware().dragPointer({from.x + 60, from.y + 3});
    pg->hardware().dragPointer({from.x + 120, from.y + 6});
    ASSERT_EQ(frameOf(w), snapped.offsetBy(120, 6));
    pg->advance(0.3);
    const Rect carried = frameOf(w);
    EXPECT_EQ(carried.size(), (Size{580, 340}));
    EXPECT_NEAR(carried.x + 0.5 * carried.width, from.x + 120, 1);
    pg->hardware().mouseUp({from.x + 120, from.y + 6}, 1);
    pg->advance(0.3);
    EXPECT_EQ(frameOf(w), carried);
}

TEST_F(DragSnap, AWindowDraggedAwayStraightAfterItsSnapKeyTakesBackItsSize) {
    const uint32_t w = notes();
    const Rect before = frameOf(w);
    // Picked up before the system's tile has settled.
    ASSERT_TRUE(run("super+left"));
    ASSERT_EQ(frameOf(w), zone(WindowSnap::left));
    ASSERT_TRUE(carry(w, {900, 300}));
    ASSERT_TRUE(letGo({900, 300}));
    EXPECT_EQ(frameOf(w).size(), before.size());
    // Settling later does not bring back a snap the drag has taken.
    ASSERT_TRUE(run("wait 1\nsuper+down\nwait 0.8"));
    EXPECT_EQ(frameOf(w).size(), before.size());
}

TEST_F(DragSnap, EscDuringTheDragLeavesTheWindowWhereTheDragLeavesIt) {
    const uint32_t w = notes();
    ASSERT_TRUE(carry(w, {0, 400}));
    ASSERT_TRUE(outlineShows());
    ASSERT_TRUE(run("esc"));
    EXPECT_FALSE(outlineShows());
    // Esc went no further than the drag: the editor typed nothing and kept its window.
    ASSERT_TRUE(letGo({0, 400}));
    EXPECT_EQ(frameOf(w).size(), (Size{580, 340}));
    EXPECT_NE(frameOf(w), zone(WindowSnap::left));
    // The next drag snaps again.
    ASSERT_TRUE(carry(w, {0, 300}));
    ASSERT_TRUE(letGo({0, 300}));
    EXPECT_EQ(frameOf(w), zone(WindowSnap::left));
}

TEST_F(DragSnap, DragsThatCarryNoWindowByItsTitleBarNeverSnap) {
    const uint32_t w = notes();
    const Rect before = frameOf(w);
    // Inside the window: selecting text, dragging a file.
    ASSERT_TRUE(run("mousedown 300 200\nmove 100 300\nmove 0 400\nwait 0.3"));
    EXPECT_FALSE(outlineShows());
    ASSERT_TRUE(letGo({0, 400}));
    EXPECT_EQ(frameOf(w), before);
    // On the desktop.
    ASSERT_TRUE(run("mousedown 900 600\nmove 1439 600\nwait 0.3\nmouseup 1439 600"));
    EXPECT_FALSE(outlineShows());
    EXPECT_EQ(frameOf(w), before);
    // A title bar that does not follow the pointer (the application keeps the drag for itself):
    // the window stays, and nothing snaps it.
    sim.windows.update(w, [](SimWindow& x) { x.minimized = false; });
    pg->delegate().dragSnap().pressed(titleBar(w));
    pg->settle();
    pg->delegate().dragSnap().released({0, 400});
    pg->settle();
    EXPECT_EQ(frameOf(w), before);
}

TEST_F(DragSnap, TheSwitchTheMasterSwitchAndExcludedApplicationsLeaveDragsAlone) {
    const uint32_t w = notes();
    const Prefs prefs = pg->delegate().prefs();
    const auto dropAtTheLeft = [&] {
        const Rect before = frameOf(w);
        EXPECT_TRUE(carry(w, {0, 400}));
        const bool outlined = outlineShows();
        EXPECT_TRUE(letGo({0, 400}));
        const bool snapped = frameOf(w) == zone(WindowSnap::left);
        run("esc");
        sim.windows.update(w, [&](SimWindow& x) { x.frame = before; });
        return outlined || snapped;
    };
    prefs.set(PrefKey::dragSnap, false);
    EXPECT_FALSE(dropAtTheLeft());
    prefs.set(PrefKey::dragSnap, true);
    prefs.set(PrefKey::shortcutsEnabled, false);
    EXPECT_FALSE(dropAtTheLeft());
    prefs.set(PrefKey::shortcutsEnabled, true);
    ExcludedApps(prefs.store()).add(pg->apps().editor().bundleID());
    EXPECT_FALSE(dropAtTheLeft());
    ExcludedApps(prefs.store()).remove(pg->apps().editor().bundleID());
    EXPECT_TRUE(dropAtTheLeft());
}

TEST_F(DragSnap, WindowsThatRefuseASizeEndAsCloseToTheZoneAsTheyAllow) {
    const uint32_t w = notes();
    sim.windows.update(w, [](SimWindow& x) { x.minSize = x.maxSize = x.frame.size(); });
    ASSERT_TRUE(carry(w, {1439, 450}));
    ASSERT_TRUE(letGo({1439, 450}));
    // A window smaller than the zone sits in its top-left corner, as after Win+→.
    const Rect right = zone(WindowSnap::right);
    EXPECT_EQ(frameOf(w), (Rect{right.x, right.y, 580, 340}));
    // A minimum wider than the half: the window starts at the zone and stays on the screen.
    sim.windows.update(w, [](SimWindow& x) {
        x.minSize = Size{900, 200};
        x.maxSize.reset();
    });
    ASSERT_TRUE(run("esc"));
    ASSERT_TRUE(carry(w, {0, 450}));
    ASSERT_TRUE(letGo({0, 450}));
    const Rect left = zone(WindowSnap::left);
    EXPECT_EQ(frameOf(w), (Rect{left.x, left.y, 900, left.height}));
}

TEST_F(DragSnap, TheSystemsOwnTilingOfDraggedWindowsTakesPrecedenceOnMacOS15) {
    DragSnapController::Parts parts{&pg->delegate().windows(),
                                    sim.platform().screens,
                                    &sim.workspace,
                                    sim.platform().mainQueue,
                                    &sim.prefs,
                                    nullptr,
                                    nullptr,
                                    15};
    struct Outline final : SnapOutlinePanel {
        void show(const Rect& f) override { shown = f; }
        void orderOut() override { shown.reset(); }
        bool isVisible() const override { return shown.has_value(); }
        Rect frame() const override { return shown.value_or(Rect{}); }
        std::optional<Rect> shown;
    };
    // The editor's window, carried to the left edge by hand while the controller watches.
    const auto dropAtTheLeft = [&](DragSnapController& c) {
        const uint32_t w = notes();
        const Rect before = frameOf(w);
        c.pressed(titleBar(w));
        pg->settle();
        sim.windows.update(w, [](SimWindow& x) { x.frame.x = -200; });
        c.dragged({0, 400});
        pg->advance(0.3);
        c.released({0, 400});
        pg->settle();
        const bool snapped = frameOf(w) == zone(WindowSnap::left);
        sim.windows.update(w, [&](SimWindow& x) { x.frame = before; });
        return snapped;
    };
    const auto make = [&](int version) {
        parts.macOSMajorVersion = version;
        return std::make_unique<DragSnapController>(parts, [] { return std::make_unique<Outline>(); });
    };
    // On until the user turns it off in System Settings.
    auto sequoia = make(15);
    EXPECT_TRUE(sequoia->systemTilesDrags());
    EXPECT_FALSE(dropAtTheLeft(*sequoia));
    sim.prefs.setDomainValue("com.apple.WindowManager", "EnableTilingByEdgeDrag", true);
    EXPECT_FALSE(dropAtTheLeft(*sequoia));
    sim.prefs.setDomainValue("com.apple.WindowManager", "EnableTilingByEdgeDrag", false);
    EXPECT_FALSE(sequoia->systemTilesDrags());
    EXPECT_TRUE(dropAtTheLeft(*sequoia));
    // Before macOS 15 there is no such tiling, whatever the domain holds.
    sim.prefs.setDomainValue("com.apple.WindowManager", "EnableTilingByEdgeDrag", true);
    auto sonoma = make(14);
    EXPECT_FALSE(sonoma->systemTilesDrags());
    EXPECT_TRUE(dropAtTheLeft(*sonoma));
}

TEST_F(DragSnap, TheShippedScriptDragsAWindowToTheZonesAndAway) {
    const uint32_t w = notes();
    ASSERT_TRUE(runShipped("drag-snap.play"));
    for (const char* shot :
         {"drag-snap-left-outline", "drag-snap-left", "drag-snap-away", "drag-snap-corner-outline",
          "drag-snap-top-outline", "drag-snap-maximized", "drag-snap-escaped"})
        EXPECT_EQ(QImage(shots.filePath(QString::fromLatin1(shot) + ".png")).size(), QSize(1440, 900))
            << shot;
    // The outline showed where the window then went.
    const QImage outline(shots.filePath("drag-snap-left-outline.png"));
    const QImage left(shots.filePath("drag-snap-left.png"));
    EXPECT_GT(changedPixels(outline, left, QRect(20, 300, 680, 300)), 1000);
    // The last drag ended where Esc left it: at the size the window was carried with, unsnapped.
    EXPECT_EQ(frameOf(w).size(), (Size{580, 340}));
    EXPECT_NEAR(frameOf(w).midX(), 1439, 1);
    EXPECT_FALSE(pg->delegate().windows().currentSnap(pg->apps().editor().pid(), w));
}
