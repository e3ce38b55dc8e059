#include "WindowsFixture.h"

using namespace fenwold;
using fenwold::testing::WindowsTest;

namespace {

class Observers : public WindowsTest {
protected:
    bool registered(uint32_t id) { return store.registry().count(id) > 0; }
};

} // namespace

TEST_F(Observers, NewWindowsEnterTheStoreAtOnceAndClosedOnesLeaveAtOnce) {
    auto app = sim.app("com.example.Edit", "Edit").window("One", {0, 0, 400, 300});
    store.start();
    EXPECT_TRUE(store.isObserved(app.pid()));
    const uint32_t two = app.window("Two", {0, 0, 400, 300});
    EXPECT_TRUE(registered(two));
    sim.mainQueue.advance(0.3);
    sim.background.runAll();
    sim.mainQueue.drain();
    EXPECT_TRUE(store.previews().count(two));

    sim.windows.close(two);
    EXPECT_FALSE(registered(two));
    EXPECT_FALSE(store.previews().count(two));
}

TEST_F(Observers, MinimisingAndRenamingReEnumerateTheApplication) {
    auto app = sim.app("com.example.Edit", "Edit").window("Draft", {0, 0, 400, 300});
    store.start();
    sim.accessibility.setAttribute(sim.windows.window(app)->element, "AXMinimized", AXValue::of(true));
    EXPECT_TRUE(store.registry().at(app).isMinimized);
    sim.windows.setTitle(app, "Final");
    EXPECT_EQ(store.registry().at(app).title, "Final");
}

TEST_F(Observers, AnApplicationWithoutAnObserverIsListedThroughEverySnapshot) {
    const int32_t pid = sim.app("com.example.Legacy", "Legacy");
    sim.accessibility.setObserverError(pid, axerr::cannotComplete);
    store.start();
    EXPECT_TRUE(store.unobserved().count(pid));
    const uint32_t w = sim.windows.open(pid, "Late", {0, 0, 400, 300});
    EXPECT_FALSE(registered(w));
    const auto list = store.snapshot();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].id, w);
    EXPECT_FALSE(store.cgFallback().count(w)); // a real enumeration, with its element
}

TEST_F(Observers, LaunchesAndQuitsFollowTheWorkspaceButAccessoryApplicationsAreIgnored) {
    store.start();
    auto app = sim.app("com.example.New", "New");
    EXPECT_TRUE(store.isObserved(app.pid()));
    const uint32_t w = sim.windows.open(app.pid(), "Hello", {0, 0, 400, 300});
    EXPECT_TRUE(registered(w));

    const int32_t extra = sim.workspace.launch("com.example.Extra", "Extra", ActivationPolicy::accessory);
    EXPECT_FALSE(store.isObserved(extra));
    EXPECT_FALSE(store.unobserved().count(extra));

    sim.workspace.terminate(app.pid());
    EXPECT_FALSE(registered(w));
}

TEST_F(Observers, AQuitApplicationsObserverEndsInsideItsOwnNotification) {
    auto app = sim.app("com.example.Edit", "Edit").window("One", {0, 0, 400, 300});
    store.start();
    ASSERT_EQ(sim.accessibility.observerCount(app.pid()), 1);
    // The application's own element is destroyed as it quits: the callback that hears it ends
    // its subscription, and the delivery it runs in carries on safely.
    sim.accessibility.notify(app.pid(), "AXUIElementDestroyed", sim.accessibility.application(app.pid()));
    EXPECT_FALSE(store.isObserved(app.pid()));
    EXPECT_EQ(sim.accessibility.observerCount(app.pid()), 0);
    // A window that goes away is only that.
    auto other = sim.app("com.example.Other", "Other").window("Two", {0, 0, 400, 300});
    ASSERT_TRUE(store.isObserved(other.pid()));
    sim.windows.close(other);
    EXPECT_TRUE(store.isObserved(other.pid()));
}

TEST_F(Observers, ObserversOfTerminatedApplicationsAreDropped) {
    auto app = sim.app("com.example.Edit", "Edit").window("One", {0, 0, 400, 300});
    const int32_t legacy = sim.app("com.example.Legacy", "Legacy");
    sim.accessibility.setObserverError(legacy, axerr::cannotComplete);
    store.start();
    ASSERT_TRUE(store.unobserved().count(legacy));
    sim.workspace.terminate(app.pid());
    sim.workspace.terminate(legacy);
    EXPECT_FALSE(store.isObserved(app.pid()));
    EXPECT_EQ(sim.accessibility.observerCount(app.pid()), 0);
    EXPECT_FALSE(store.unobserved().count(legacy));
}

TEST_F(Observers, HidingAndActivatingUpdateTheHiddenFlag) {
    auto app = sim.app("com.example.Edit", "Edit").window("Doc", {0, 0, 400, 300});
    store.start();
    sim.workspace.hide(app.pid());
    EXPECT_TRUE(store.registry().at(app).isHidden);
    sim.workspace.activate(app.pid());
    EXPECT_FALSE(store.registry().at(app).isHidden);
}

TEST_F(Observers, AWindowThatAppearedWithoutNotificationIsPickedUpByTheSweep) {
    auto app = sim.app("com.example.Quiet", "Quiet").window("Known", {0, 0, 400, 300});
    store.start();
    sim.windows.setSendsNotifications(app.pid(), false);
    const uint32_t quiet = app.window("Unannounced", {0, 0, 400, 300});
    const uint32_t offscreen = app.window("Elsewhere", {0, 0, 400, 300}).onSpace(3);
    EXPECT_FALSE(registered(quiet));
    sim.mainQueue.advance(4.9);
    EXPECT_FALSE(registered(quiet));
    sim.mainQueue.advance(0.1);
    EXPECT_TRUE(registered(quiet));
    // Its owner was enumerated as a whole, so the off-screen sibling came along.
    EXPECT_TRUE(registered(offscreen));
}

TEST_F(Observers, ASpaceChangeKeepsThePreviewOfAFullScreenWindowShortlyAfter) {
    auto film = sim.app("com.example.Player", "Player")
                    .frontmost()
                    .window("Film", {0, 0, 800, 450})
                    .image(fenwold::testing::detailed(320, 180));
    store.start();
    sim.windows.setFullscreenNow(film); // announces the Space change
    EXPECT_FALSE(store.previews().count(film));
    sim.mainQueue.advance(0.3);
    EXPECT_FALSE(store.previews().count(film));
    sim.mainQueue.advance(0.06);
    EXPECT_TRUE(store.previews().count(film));
}
