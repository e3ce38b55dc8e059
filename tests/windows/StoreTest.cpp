#include "WindowsFixture.h"

using namespace fenwold;
using fenwold::testing::detailed;
using fenwold::testing::solid;
using fenwold::testing::WindowsTest;

namespace {

class Store : public WindowsTest {
protected:
    std::vector<uint32_t> listed() { return ids(store.snapshot()); }
    bool lists(uint32_t id) {
        const auto l = listed();
        return std::find(l.begin(), l.end(), id) != l.end();
    }
    const WindowInfo* entry(uint32_t id) {
        auto it = store.registry().find(id);
        return it == store.registry().end() ? nullptr : &it->second;
    }
    WindowInfo record(uint32_t id) { return store.registry().at(id); }
    // A server-only window-list entry of an application.
    WindowDescription entryOf(int32_t pid, uint32_t number, const QString& name, Rect bounds) {
        WindowDescription d;
        d.number = number;
        d.layer = 0;
        d.ownerPid = pid;
        d.name = name;
        d.alpha = 1.0;
        d.bounds = bounds;
        d.isOnscreen = true;
        return d;
    }
};

} // namespace

TEST_F(Store, SnapshotOrdersOnScreenWindowsFrontToBackThenTheRestInRegistryOrder) {
    auto a = sim.app("com.example.A", "A").window("A1", {0, 0, 400, 300});
    const uint32_t aMin = a.window("A2", {0, 0, 400, 300}).minimized();
    auto b = sim.app("com.example.B", "B").window("B1", {0, 0, 400, 300});
    auto c = sim.app("com.example.C", "C").hidden().window("C1", {0, 0, 400, 300});
    store.start();
    sim.windows.raise(a);
    // On screen: A1 (front), B1; then A2 and C1 in registry (number) order.
    EXPECT_EQ(listed(), (std::vector<uint32_t>{a.number(), b.number(), aMin, c.number()}));
    EXPECT_TRUE(record(c).isHidden);
}

TEST_F(Store, AClosedWindowLeavesAtTheNextSnapshotWithoutAnyNotification) {
    auto app = sim.app("com.example.A", "A").window("Doc", {0, 0, 400, 300});
    const uint32_t other = app.window("Other", {0, 0, 400, 300});
    sim.windows.setSendsNotifications(app.pid(), false);
    store.start();
    store.store(detailed(100, 75), other, 280);
    sim.windows.close(other);
    EXPECT_TRUE(entry(other));
    EXPECT_EQ(listed(), (std::vector<uint32_t>{app.number()}));
    EXPECT_FALSE(entry(other));
    EXPECT_FALSE(store.previews().count(other));
}

TEST_F(Store, AFailedWindowListQueryKeepsTheWindowsAlreadyKnown) {
    auto app = sim.app("com.example.A", "A").window("Doc", {0, 0, 400, 300});
    const uint32_t min = app.window("Minimised", {0, 0, 400, 300}).minimized();
    store.start();
    sim.windowServer.setWindows({});
    EXPECT_EQ(listed(), (std::vector<uint32_t>{app.number(), min}));
    sim.windows.setSendsNotifications(app.pid(), false);
    sim.windows.close(min); // the next good answer prunes as usual
    EXPECT_TRUE(store.registry().count(min));
    EXPECT_EQ(listed(), (std::vector<uint32_t>{app.number()}));
}

TEST_F(Store, ThumbnailRequestsRunOnTheNextTurnOfTheMainQueue) {
    auto app = sim.app("com.example.A", "A").window("Doc", {0, 0, 400, 300});
    store.start();
    std::vector<uint32_t> applied;
    windows.loadThumbnails(
        store.snapshot(), [&](uint32_t id, const QImage&) { applied.push_back(id); }, nullptr);
    EXPECT_EQ(sim.background.pending(), 0u);
    sim.mainQueue.drain();
    settleCaptures();
    EXPECT_EQ(applied, (std::vector<uint32_t>{app.number()}));
}

TEST_F(Store, WindowsKnownOnlyFromTheWindowListAreAddedWithTheirListName) {
    auto app = sim.app("com.example.Game", "Game");
    const uint32_t mainWindow = app.window("Lobby", {0, 0, 1200, 600}).withoutAccessibility();
    store.start();
    ASSERT_FALSE(entry(mainWindow));
    EXPECT_EQ(listed(), (std::vector<uint32_t>{mainWindow}));
    const WindowInfo w = record(mainWindow);
    EXPECT_EQ(w.title, "Lobby");
    EXPECT_EQ(w.appName, "Game");
    EXPECT_DOUBLE_EQ(w.aspect, 2.0);
    EXPECT_FALSE(w.isMinimized);
    EXPECT_FALSE(w.isFullscreen);
    EXPECT_TRUE(w.axWindow.isNull());
    EXPECT_TRUE(store.cgFallback().count(mainWindow));

    // Once enumeration reports it after all, it is an ordinary window.
    WindowInfo adopted = w;
    adopted.axWindow = AXElement(12345);
    store.adopt({adopted});
    EXPECT_FALSE(store.cgFallback().count(mainWindow));
}

TEST_F(Store, WindowListEntriesThatAreNotRealWindowsAreNeverAdded) {
    auto app = sim.app("com.example.A", "A").window("Doc", {0, 0, 400, 300});
    const int32_t pid = app.pid();
    const int32_t extra = sim.app("com.example.Extra", "Extra").accessory();
    auto add = [&](WindowDescription d) { sim.windows.addServerEntry(d, false); };
    auto faint = entryOf(pid, 900, "Faint", {0, 0, 400, 300});
    faint.alpha = 0.5;
    add(faint);
    add(entryOf(pid, 901, "Tiny", {0, 0, 400, 99}));
    add(entryOf(pid, 902, "", {0, 0, 400, 300}));
    auto noName = entryOf(pid, 903, "x", {0, 0, 400, 300});
    noName.name.reset();
    add(noName);
    auto floating = entryOf(pid, 904, "Floating", {0, 0, 400, 300});
    floating.layer = 3;
    add(floating);
    add(entryOf(extra, 905, "Status", {0, 0, 400, 300}));
    add(entryOf(sim.workspace.ownPid(), 906, "Mine", {0, 0, 400, 300}));
    add(entryOf(pid, 907, "Doc", {0, 0, 400, 300}));  // same process and title as the known window
    add(entryOf(pid, 908, "Twin", {0, 0, 400, 300})); // first of two with one identity ...
    add(entryOf(pid, 909, "Twin", {0, 0, 400, 300})); // ... the second is not added
    add(entryOf(pid, 910, "Edge", {0, 0, 100, 100})); // exactly the minimum size
    store.start();
    EXPECT_EQ(listed(), (std::vector<uint32_t>{app.number(), 908, 910}));
}

TEST_F(Store, ABlankFirstCaptureHidesTheWindowUntilACaptureShowsContent) {
    auto app = sim.app("com.example.A", "A").window("Doc", {0, 0, 400, 300});
    auto ghost = app.window("Ghost", {0, 0, 400, 300}).image(solid(40, 30, Qt::transparent));
    store.start();
    std::vector<uint32_t> removed, applied;
    store.refresh(
        store.snapshot(), [&](uint32_t id, const QImage&) { applied.push_back(id); },
        [&](uint32_t id) { removed.push_back(id); });
    settleCaptures();
    EXPECT_EQ(removed, (std::vector<uint32_t>{ghost.number()}));
    EXPECT_EQ(applied, (std::vector<uint32_t>{app.number()}));
    EXPECT_FALSE(lists(ghost));
    EXPECT_TRUE(store.blank().count(ghost));

    sim.windows.update(ghost, [](SimWindow& w) { w.directImage = w.captureImage = detailed(40, 30); });
    store.refresh({record(ghost)}, nullptr, nullptr);
    settleCaptures();
    EXPECT_TRUE(lists(ghost));
    EXPECT_FALSE(store.blank().count(ghost));
}

TEST_F(Store, AWindowWithAPreviewIsNeverHiddenByALaterBlankCapture) {
    auto app = sim.app("com.example.A", "A").window("Doc", {0, 0, 400, 300});
    store.start();
    store.refresh(store.snapshot(), nullptr, nullptr);
    settleCaptures();
    ASSERT_TRUE(store.previews().count(app));
    const QImage before = store.previews().at(app).image;

    sim.windows.update(app,
                       [](SimWindow& w) { w.directImage = w.captureImage = solid(40, 30, Qt::transparent); });
    sim.mainQueue.advance(1.0); // the preview is no longer fresh
    bool removeCalled = false;
    store.refresh({record(app)}, nullptr, [&](uint32_t) { removeCalled = true; });
    settleCaptures();
    EXPECT_FALSE(removeCalled);
    EXPECT_TRUE(lists(app));
    EXPECT_EQ(store.previews().at(app).image, before);
    EXPECT_EQ(store.snapshot().front().thumb, before);
}

TEST_F(Store, RefreshSkipsFreshWideEnoughPreviewsAndMarksEveryWindowShown) {
    auto app = sim.app("com.example.A", "A").window("Doc", {0, 0, 400, 400});
    store.start();
    store.store(detailed(280, 280), app, 280);
    sim.mainQueue.advance(0.3);
    EXPECT_EQ(store.refresh({record(app)}, nullptr, nullptr), nullptr);
    EXPECT_DOUBLE_EQ(store.previews().at(app).lastShown, sim.mainQueue.uptime());

    sim.mainQueue.advance(0.25); // older than half a second
    auto task = store.refresh({record(app)}, nullptr, nullptr);
    ASSERT_NE(task, nullptr);
    settleCaptures();
    EXPECT_TRUE(task->finished);
    EXPECT_DOUBLE_EQ(store.previews().at(app).capturedAt, sim.mainQueue.uptime());

    store.store(detailed(100, 100), app, 100); // too narrow for the tiles
    EXPECT_NE(store.refresh({record(app)}, nullptr, nullptr), nullptr);
}

TEST_F(Store, CapturesOfOneRefreshRunOneAtATimeWithResultsOnTheMainThread) {
    auto app = sim.app("com.example.A", "A").window("One", {0, 0, 400, 300});
    const uint32_t two = app.window("Two", {0, 0, 400, 300});
    store.start();
    sim.mainQueue.advance(0.3); // the warm batch
    settleCaptures();
    sim.mainQueue.advance(1.0);
    std::vector<uint32_t> applied;
    store.refresh(
        store.snapshot(), [&](uint32_t id, const QImage&) { applied.push_back(id); }, nullptr);
    EXPECT_EQ(sim.background.pending(), 1u); // one task for the whole request
    sim.background.runAll();
    EXPECT_TRUE(applied.empty()); // nothing applied off the main thread
    sim.mainQueue.drain();
    EXPECT_EQ(applied, (std::vector<uint32_t>{two, app.number()}));
}

TEST_F(Store, OffScreenWindowsOfOneRefreshShareTheCapturableWindowList) {
    auto app = sim.app("com.example.A", "A").window("One", {0, 0, 400, 300}).minimized();
    const uint32_t two = app.window("Two", {0, 0, 400, 300}).minimized();
    const uint32_t three = app.window("Three", {0, 0, 400, 300}).onSpace(2);
    store.start();
    std::vector<uint32_t> applied;
    store.refresh(
        store.snapshot(), [&](uint32_t id, const QImage&) { applied.push_back(id); }, nullptr);
    settleCaptures();
    EXPECT_EQ(applied.size(), 3u);
    EXPECT_EQ(sim.windowServer.shareableContentFetches(), 1);
    EXPECT_EQ(sim.windowServer.windowCaptures(), 3);
    (void)two;
    (void)three;
}

TEST_F(Store, EvictionKeepsPreviewsUnderTheBudgetLeastRecentlyShownFirst) {
    auto app = sim.app("com.example.A", "A").window("W1", {0, 0, 400, 300});
    const uint32_t w2 = app.window("W2", {0, 0, 400, 300});
    const uint32_t w3 = app.window("W3", {0, 0, 400, 300});
    const uint32_t w4 = app.window("W4", {0, 0, 400, 300});
    store.start();
    auto megabytes = [](int mb) { return QImage(1024, mb * 256, QImage::Format_ARGB32_Premultiplied); };
    store.store(megabytes(24), app, 280);
    sim.mainQueue.advance(1);
    store.store(megabytes(24), w2, 280);
    sim.mainQueue.advance(1);
    store.store(megabytes(24), w3, 280); // 72 MiB: the first goes
    EXPECT_FALSE(store.previews().count(app));
    EXPECT_TRUE(store.previews().count(w2));
    EXPECT_TRUE(store.previews().count(w3));
    EXPECT_FALSE(record(app).thumb.isNull()); // the record keeps its image until re-enumerated

    // Showing W2 makes W3 the least recently shown.
    sim.mainQueue.advance(1);
    store.refresh({record(w2)}, nullptr, nullptr);
    sim.mainQueue.advance(1);
    store.store(megabytes(24), w4, 280);
    EXPECT_TRUE(store.previews().count(w2));
    EXPECT_FALSE(store.previews().count(w3));
    EXPECT_TRUE(store.previews().count(w4));

    // A preview too large for the budget on its own is evicted right after being stored.
    sim.mainQueue.advance(1);
    store.store(megabytes(70), app, 280);
    EXPECT_TRUE(store.previews().empty());
}

TEST_F(Store, NewWindowsAreWarmedTogetherAboutAQuarterSecondLater) {
    auto app = sim.app("com.example.A", "A").window("Doc", {0, 0, 400, 300});
    store.start();
    sim.mainQueue.advance(0.3);
    settleCaptures();
    const uint32_t a = app.window("New 1", {0, 0, 400, 300});
    sim.mainQueue.advance(0.1);
    const uint32_t b = app.window("New 2", {0, 0, 400, 300});
    EXPECT_EQ(store.warmBatch().pending, (std::set<uint32_t>{a, b}));
    sim.mainQueue.advance(0.14);
    EXPECT_EQ(sim.background.pending(), 0u);
    sim.mainQueue.advance(0.02);
    EXPECT_EQ(sim.background.pending(), 1u);
    EXPECT_TRUE(store.warmBatch().pending.empty());
    settleCaptures();
    EXPECT_TRUE(store.previews().count(a));
    EXPECT_TRUE(store.previews().count(b));
}

TEST_F(Store, ForgettingAnApplicationDropsAllItsWindowsAndPreviews) {
    auto a = sim.app("com.example.A", "A").window("A1", {0, 0, 400, 300});
    const uint32_t a2 = a.window("A2", {0, 0, 400, 300});
    auto b = sim.app("com.example.B", "B").window("B1", {0, 0, 400, 300});
    store.start();
    settleCaptures();
    sim.workspace.terminate(a.pid());
    EXPECT_FALSE(entry(a));
    EXPECT_FALSE(entry(a2));
    EXPECT_FALSE(store.previews().count(a2));
    EXPECT_TRUE(entry(b));
}

TEST_F(Store, AFullScreenFrontWindowKeepsAPreviewTakenAtOnce) {
    auto film =
        sim.app("com.example.Player", "Player").window("Film", {0, 0, 800, 450}).image(detailed(640, 360));
    sim.windows.setFullscreenNow(film);
    store.start();
    ASSERT_TRUE(store.previews().count(film));
    EXPECT_EQ(store.previews().at(film).pixelWidth, 448); // the whole 1440 x 900 screen
    EXPECT_TRUE(record(film).isFullscreen);
}
