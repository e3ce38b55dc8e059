// The Alt+Tab session on a simulated session: opening, moving, committing, cancelling, tile
// actions, blank previews and wheel zoom, with the virtual clock.
#include "core/switcher/SwitcherSession.h"
#include "OverlayRig.h"
#include "core/input/Keys.h"

using namespace fenwold;
using fenwold::testing::blankPicture;
using fenwold::testing::picture;

namespace {

class Session : public fenwold::testing::OverlayRig {
protected:
    // Opens applications with `perApp` windows each; the last window opened is the front one.
    std::vector<uint32_t> windows(std::initializer_list<int> perApp) {
        std::vector<uint32_t> opened;
        int a = 0;
        for (int count : perApp) {
            auto app = sim.app(QStringLiteral("com.example.app%1").arg(a), QStringLiteral("App %1").arg(a));
            for (int w = 0; w < count; ++w)
                opened.push_back(app.window(QStringLiteral("Doc %1.%2").arg(a).arg(w),
                                            {40.0 + 20 * w, 60.0 + 20 * a, 800, 600})
                                     .image(picture(QColor(40 * a % 256, 90, 200))));
            ++a;
        }
        model.store.start();
        return opened;
    }
    // Alt+Tab as the tap begins it.
    uint64_t begin() {
        const uint64_t id = routing.beginSwitcherSession();
        forwarder.start(id);
        return id;
    }
    uint64_t openSession() {
        const uint64_t id = begin();
        session.open(id);
        return id;
    }
    uint32_t selectedID() const { return session.model().selectedWindow()->id; }
    bool closed() const { return routing.snapshot().switcherPhase.isClosed(); }

    SwitcherSession session{sessionParts(), [this](SwitcherModel&) {
                                auto p = std::make_unique<fenwold::testing::RecordingGridPanel>();
                                panel = p.get();
                                return p;
                            }};
};

} // namespace

TEST_F(Session, OneWindowSelectsItselfSeveralSelectThePreviousWindow) {
    windows({1});
    int opens = 0;
    session.onOpen = [&] { ++opens; };
    const uint64_t first = openSession();
    EXPECT_EQ(opens, 1);
    EXPECT_EQ(session.model().selected(), 0);
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->visible);
    EXPECT_EQ(hud.current(), std::nullopt); // hints are queued for the main thread
    sim.mainQueue.drain();
    ASSERT_TRUE(hud.current());
    EXPECT_EQ(hud.current()->win, "Alt+Tab");
    EXPECT_EQ(hud.current()->mac, "⌘ ⇥ ~switches ~apps, ⌘ ` ~cycles ~windows");
    session.cancel(first);

    sim.app("com.example.more", "More").window("Second", {0, 0, 640, 480});
    sim.app("com.example.most", "Most").window("Third", {0, 0, 640, 480});
    openSession();
    EXPECT_EQ(opens, 2);
    ASSERT_EQ(session.model().windows().size(), 3u);
    EXPECT_EQ(session.model().selected(), 1);
    EXPECT_EQ(selectedID(), sim.windows.stacking()[1]);

    // The grid is centred on the screen's visible area at the size the layout computes.
    const Rect v = visibleFrame();
    const FlowLayout layout = flowRows(session.model().windows(), 0.85 * v.width, metrics);
    EXPECT_EQ(panel->shownFrame.size(), layout.size);
    EXPECT_DOUBLE_EQ(panel->shownFrame.midX(), v.midX());
    EXPECT_DOUBLE_EQ(panel->shownFrame.midY(), v.midY());
    EXPECT_EQ(panel->header, std::nullopt);
}

TEST_F(Session, ItOpensOnTheDisplayWithThePointerAndStaysThereForTheSession) {
    windows({2, 1});
    const int wide = sim.display(1920, 1080);
    const Rect wideVisible = sim.screens.screens()[static_cast<std::size_t>(wide)].visibleFrame;
    // The key window's display is the primary, but the pointer is on the wide one.
    sim.screens.movePointer({2000, 300});
    const uint64_t id = openSession();
    ASSERT_TRUE(panel && panel->visible);
    EXPECT_DOUBLE_EQ(panel->shownFrame.midX(), wideVisible.midX());
    EXPECT_DOUBLE_EQ(panel->shownFrame.midY(), wideVisible.midY());
    EXPECT_LE(panel->shownFrame.width, 0.85 * wideVisible.width + 40);

    // A relayout while the pointer wanders off keeps the panel where it opened.
    sim.screens.movePointer({100, 100});
    session.changeThumbnailSize(id, -2);
    EXPECT_DOUBLE_EQ(panel->shownFrame.midX(), wideVisible.midX());
    session.cancel(id);

    // The next session follows the pointer; off every display it takes the main one.
    openSession();
    EXPECT_DOUBLE_EQ(panel->shownFrame.midX(), visibleFrame().midX());
    session.cancel(routing.snapshot().switcherPhase.id);
    sim.screens.setMainScreenIndex(wide);
    sim.screens.movePointer({-500, -500});
    openSession();
    EXPECT_DOUBLE_EQ(panel->shownFrame.midX(), wideVisible.midX());
}

TEST_F(Session, NoWindowsEndsTheSessionAtOnce) {
    model.store.start();
    const uint64_t id = openSession();
    EXPECT_TRUE(closed());
    EXPECT_EQ(forwarder.sessionID(), std::nullopt);
    EXPECT_EQ(panel, nullptr);
    session.move(id, 1); // nothing to move and no panel to touch
}

TEST_F(Session, AltReleasedBeforeTheListIsReadStillShowsThenActivatesTheSelection) {
    const auto opened = windows({1, 1, 1});
    const uint64_t id = begin();
    sim.mainQueue.post([&] { session.open(id); });
    // Alt comes up before the main thread got to the open.
    ASSERT_TRUE(routing.commitSwitcherSession(id));
    sim.mainQueue.post([&] { session.commit(id); });
    const uint32_t previous = sim.windows.stacking()[1];
    const int32_t previousPid = sim.windows.window(previous)->pid;

    sim.mainQueue.drain();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->shows, 1);
    EXPECT_FALSE(panel->visible);
    EXPECT_TRUE(session.model().windows().empty());
    EXPECT_EQ(sim.workspace.frontmostApp()->pid, previousPid);
    EXPECT_EQ(frontWindow(), previous);
    EXPECT_TRUE(closed()); // no key was held, so the forwarder ended the session
}

TEST_F(Session, MovesWrapAndWorkForAStaleSessionIsIgnored) {
    const auto opened = windows({2, 2});
    const uint64_t id = openSession();
    session.move(id, 1);
    session.move(id, 1);
    EXPECT_EQ(session.model().selected(), 3);
    session.move(id, 1);
    EXPECT_EQ(session.model().selected(), 0);
    session.move(id, -1);
    EXPECT_EQ(session.model().selected(), 3);
    session.handleKey(id, kLeft, 0);
    session.handleKey(id, kA, 0); // swallowed, no meaning here
    EXPECT_EQ(session.model().selected(), 2);
    EXPECT_EQ(session.selectedWindowID(), session.model().windows()[2].id);

    // Esc while capturing: the tap marks the session cancelling and clears the forwarder.
    ASSERT_TRUE(routing.beginSwitcherCancellation(id));
    session.move(id, 1);
    session.commit(id);
    EXPECT_EQ(session.model().selected(), 2);
    EXPECT_TRUE(panel->visible);
    const uint32_t front = frontWindow();
    session.cancel(id);
    EXPECT_FALSE(panel->visible);
    EXPECT_TRUE(closed());
    EXPECT_EQ(frontWindow(), front);
    EXPECT_EQ(session.selectedWindowID(), std::nullopt);

    // A new session; the old id's queued work finds a different id.
    const uint64_t next = openSession();
    const int shows = panel->shows;
    session.open(id);
    session.commit(id);
    session.hide(id);
    EXPECT_EQ(panel->shows, shows);
    EXPECT_TRUE(panel->visible);
    EXPECT_TRUE(routing.isCurrentSession(next));
}

TEST_F(Session, HideEndsTheSessionAndClearsItsForwarder) {
    windows({1, 1});
    const uint64_t id = openSession();
    session.hide(id);
    EXPECT_TRUE(closed());
    EXPECT_EQ(forwarder.sessionID(), std::nullopt);
    EXPECT_FALSE(panel->visible);
    EXPECT_TRUE(session.model().windows().empty());
}

TEST_F(Session, WheelBurstResizesOnEveryEventAndReloadsOnceAfterTheLastOne) {
    windows({2, 1});
    const uint64_t id = openSession();
    settleCaptures();
    sim.mainQueue.advance(1.0); // previews are no longer fresh
    settleCaptures();
    ASSERT_EQ(sim.background.pending(), 0u);
    const uint32_t anyWindow = session.model().windows().front().id;
    const int widthBefore = model.store.previews().at(anyWindow).pixelWidth;
    const int showsBefore = panel->shows;

    for (int i = 0; i < 3; ++i) {
        session.changeThumbnailSize(id, 1);
        EXPECT_EQ(panel->shows, showsBefore + i + 1);
        EXPECT_DOUBLE_EQ(metrics.thumbH, 144 + 4 * i);
        sim.mainQueue.advance(0.1);
        EXPECT_EQ(sim.background.pending(), 0u) << "reloaded during the burst";
    }
    EXPECT_DOUBLE_EQ(metrics.preferredThumbH, 152);
    EXPECT_DOUBLE_EQ(Prefs(sim.prefs).thumbH(), 152);
    const FlowLayout layout = flowRows(session.model().windows(), 0.85 * visibleFrame().width, metrics);
    EXPECT_EQ(panel->shownFrame.size(), layout.size);

    sim.mainQueue.advance(0.05); // 0.15 s after the last wheel event
    sim.mainQueue.drain();
    EXPECT_EQ(sim.background.pending(), 1u);
    settleCaptures();
    EXPECT_GT(model.store.previews().at(anyWindow).pixelWidth, widthBefore);
    EXPECT_FALSE(session.model().windows().front().thumb.isNull());

    // The height never leaves 90...280.
    session.changeThumbnailSize(id, -100);
    EXPECT_DOUBLE_EQ(metrics.preferredThumbH, 90);
    session.changeThumbnailSize(id, 100);
    EXPECT_DOUBLE_EQ(Prefs(sim.prefs).thumbH(), 280);
}

TEST_F(Session, PreviewsArriveWhileOpenAndBlankOnesLeaveTheGrid) {
    auto app = sim.app("com.example.a", "A");
    const uint32_t good = app.window("Good", {0, 0, 800, 600}).image(picture(Qt::red));
    const uint32_t ghost = app.window("Ghost", {0, 0, 800, 600}).image(blankPicture());
    sim.app("com.example.b", "B").window("Other", {0, 0, 800, 600}).image(picture(Qt::blue));
    model.store.start();
    openSession();
    const int shows = panel->shows;
    settleCaptures();
    EXPECT_EQ(session.model().windows().size(), 2u);
    EXPECT_EQ(panel->shows, shows + 1); // laid out again without the blank one
    for (const WindowInfo& w : session.model().windows()) {
        EXPECT_NE(w.id, ghost);
        if (w.id == good) {
            EXPECT_FALSE(w.thumb.isNull());
        }
    }
}

TEST_F(Session, TheLastBlankPreviewEndsTheSession) {
    sim.app("com.example.a", "A").window("Ghost", {0, 0, 800, 600}).image(blankPicture());
    model.store.start();
    openSession();
    settleCaptures();
    EXPECT_TRUE(closed());
    EXPECT_FALSE(panel->visible);
}

TEST_F(Session, QuittingAnApplicationRemovesAllItsTilesAtOnce) {
    const auto opened = windows({3, 1, 1});
    const uint64_t id = openSession();
    int index = 0;
    while (session.model().windows()[static_cast<std::size_t>(index)].id != opened[0])
        ++index;
    const int32_t pid = session.model().windows()[static_cast<std::size_t>(index)].pid;
    const int shows = panel->shows;

    panel->click(index, TileAction::quit);
    EXPECT_EQ(session.model().windows().size(), 2u);
    for (const WindowInfo& w : session.model().windows())
        EXPECT_NE(w.pid, pid);
    EXPECT_EQ(panel->shows, shows + 1);
    EXPECT_EQ(sim.workspace.app(pid), std::nullopt);
    EXPECT_TRUE(routing.isCurrentSession(id));
    EXPECT_LT(session.model().selected(), 2);
}

TEST_F(Session, ClosingTilesRelayoutsUntilTheLastOneHides) {
    const auto opened = windows({1, 1});
    const uint64_t id = openSession();
    const uint32_t selected = selectedID();
    session.handleKey(id, kDelete, 0); // Backspace closes the selected window
    EXPECT_EQ(sim.windows.window(selected), std::nullopt);
    ASSERT_EQ(session.model().windows().size(), 1u);
    EXPECT_EQ(session.model().selected(), 0);
    EXPECT_TRUE(panel->visible);

    const uint32_t last = session.model().windows().front().id;
    panel->click(0, TileAction::close);
    EXPECT_EQ(sim.windows.window(last), std::nullopt);
    EXPECT_FALSE(panel->visible);
    EXPECT_TRUE(closed());
    EXPECT_EQ(forwarder.sessionID(), std::nullopt);
}

TEST_F(Session, ClickingATilePicksItAndMinimizeKeepsTheTile) {
    const auto opened = windows({1, 1, 1});
    openSession();
    const uint32_t chosen = session.model().windows()[2].id;
    panel->click(0, TileAction::minimize);
    EXPECT_TRUE(session.model().windows()[0].isMinimized);
    EXPECT_TRUE(sim.windows.window(session.model().windows()[0].id)->minimized);
    EXPECT_EQ(session.model().windows().size(), 3u);

    panel->click(2, TileAction::pick);
    EXPECT_FALSE(panel->visible);
    EXPECT_EQ(frontWindow(), chosen);
    EXPECT_TRUE(closed());
    // The panel no longer acts once the session is over.
    panel->click(0, TileAction::close);
    for (uint32_t w : opened)
        EXPECT_TRUE(sim.windows.window(w).has_value());
}

TEST_F(Session, TheFullScreenButtonEndsTheSessionAndTakesTheWindowFullScreen) {
    windows({1, 1});
    openSession();
    const uint32_t target = session.model().windows()[0].id;
    panel->click(0, TileAction::zoom);
    EXPECT_FALSE(panel->visible);
    EXPECT_TRUE(closed());
    EXPECT_EQ(forwarder.sessionID(), std::nullopt);
    sim.mainQueue.advance(2.0);
    EXPECT_TRUE(sim.windows.window(target)->fullscreen);
}

TEST_F(Session, AtNinetyPointsThePanelShowsEvenThoughItDoesNotFit) {
    windows({40, 40});
    openSession();
    EXPECT_DOUBLE_EQ(metrics.thumbH, 90);
    EXPECT_DOUBLE_EQ(metrics.preferredThumbH, 140); // the user's choice is kept for the next session
    EXPECT_TRUE(panel->visible);
    EXPECT_GT(panel->shownFrame.height, 0.9 * visibleFrame().height);
    EXPECT_DOUBLE_EQ(panel->shownFrame.midY(), visibleFrame().midY());
}
