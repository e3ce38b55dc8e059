#include "platform/sim/SimSession.h"
#include "ports/KeyCodes.h"

#include <gtest/gtest.h>

using namespace fenwold;

TEST(SimSession, BuilderLaunchesAppsAndTracksTheFrontmostOne) {
    SimSession sim;
    std::vector<WorkspaceEvent::Kind> events;
    Subscription sub = sim.workspace.observe([&](const WorkspaceEvent& e) { events.push_back(e.kind); });

    const int32_t edit = sim.app("com.apple.TextEdit", "TextEdit").frontmost();
    const int32_t term = sim.app("com.apple.Terminal", "Terminal").hidden();
    ASSERT_TRUE(sim.workspace.frontmostApp());
    EXPECT_EQ(sim.workspace.frontmostApp()->pid, edit);
    EXPECT_TRUE(sim.workspace.app(term)->hidden);
    EXPECT_EQ(sim.processes.processName(term), QString("Terminal"));

    EXPECT_TRUE(sim.workspace.activate(term));
    EXPECT_EQ(sim.workspace.frontmostApp()->pid, term);
    EXPECT_FALSE(sim.workspace.app(term)->hidden);
    EXPECT_FALSE(sim.workspace.app(edit)->active);

    EXPECT_TRUE(sim.workspace.terminate(term));
    EXPECT_FALSE(sim.workspace.app(term));
    EXPECT_FALSE(sim.workspace.frontmostApp());
    EXPECT_FALSE(sim.workspace.activate(term));

    const std::vector<WorkspaceEvent::Kind> expected = {
        WorkspaceEvent::Kind::launched, WorkspaceEvent::Kind::activated, WorkspaceEvent::Kind::launched,
        WorkspaceEvent::Kind::hidden,   WorkspaceEvent::Kind::activated, WorkspaceEvent::Kind::terminated};
    EXPECT_EQ(events, expected);
}

TEST(SimSession, DisplaysAreConnectedBesideAboveOrBelowOthersWithMenuBarsOfTheirOwn) {
    SimSession sim;
    const int right = sim.display(1920, 1080);                      // beside the primary, tops aligned
    const int left = sim.display(1280, 1024).leftOf(0).offset(100); // its top 100 points lower
    const int above = sim.display(2560, 1440).above(right);
    const int below = sim.display(1024, 768).below(0).offset(200).main();
    const auto screens = sim.screens.screens();
    ASSERT_EQ(screens.size(), 5u);
    EXPECT_EQ(screens[0].frame, (Rect{0, 0, 1440, 900}));
    const struct {
        int index;
        Rect frame;
    } rows[] = {{right, {1440, -180, 1920, 1080}},
                {left, {-1280, -224, 1280, 1024}},
                {above, {1440, 900, 2560, 1440}},
                {below, {200, -768, 1024, 768}}};
    for (const auto& r : rows) {
        EXPECT_EQ(screens[static_cast<std::size_t>(r.index)].frame, r.frame) << r.index;
        const Rect f = r.frame;
        EXPECT_EQ(screens[static_cast<std::size_t>(r.index)].visibleFrame,
                  (Rect{f.x, f.y, f.width, f.height - 25}));
    }
    EXPECT_EQ(sim.screens.mainScreenIndex(), below);
}

TEST(SimSession, MisbehavingAppsAndServices) {
    SimSession sim;
    const int32_t stuck = sim.app("com.example.Stuck", "Stuck").neverActivates();
    EXPECT_TRUE(sim.workspace.activate(stuck));
    EXPECT_FALSE(sim.workspace.frontmostApp());

    sim.processes.setLaunchFails(true);
    EXPECT_FALSE(sim.processes.launch("/usr/bin/hidutil", {"property"}));
    EXPECT_TRUE(sim.processes.launched().empty());

    sim.privateServices.setDockAvailable(false);
    EXPECT_FALSE(sim.privateServices.dockNotification("com.apple.expose.awake"));
    EXPECT_TRUE(sim.privateServices.lockScreen());

    sim.keys.setCreationFails(true);
    EXPECT_FALSE(sim.keys.post(kC, true, flag::command, stuck));
    EXPECT_TRUE(sim.keys.posted().empty());
}

TEST(SimSession, PasteboardCountsChangesAndCanRefuseWrites) {
    SimSession sim;
    const long start = sim.pasteboard.changeCount();
    sim.pasteboard.copyText("hello");
    EXPECT_EQ(sim.pasteboard.changeCount(), start + 1);
    ASSERT_EQ(sim.pasteboard.contents().size(), 1u);
    EXPECT_EQ(sim.pasteboard.contents()[0].types[0].second, QByteArray("hello"));

    sim.pasteboard.setWritesFail(true);
    EXPECT_FALSE(sim.pasteboard.write({PasteboardItem{{{"public.utf8-plain-text", "x"}}}}));
    EXPECT_TRUE(sim.pasteboard.contents().empty());
}

TEST(SimSession, AccessibilityDistinguishesMissingErrorsAndGoneElements) {
    SimSession sim;
    const int32_t pid = sim.app("com.apple.TextEdit", "TextEdit");
    SimAccessibility& ax = sim.accessibility;
    AXElement app = ax.application(pid);
    EXPECT_EQ(ax.application(pid), app);
    AXElement window = ax.create(pid);
    ax.set(window, "AXMinimized", AXValue::of(false));
    ax.set(app, "AXWindows", AXValue::of(std::vector<AXElement>{window}));

    EXPECT_EQ(ax.attribute(window, "AXMinimized").asBool(), false);
    EXPECT_EQ(ax.attribute(window, "AXSubrole").kind, AXValue::Kind::error);
    EXPECT_FALSE(ax.attribute(window, "AXMinimized").asString());

    bool raised = false;
    ax.onAction(window, "AXRaise", [&] {
        raised = true;
        return axerr::success;
    });
    EXPECT_EQ(ax.performAction(window, "AXRaise"), axerr::success);
    EXPECT_TRUE(raised);
    EXPECT_EQ(ax.performAction(window, "AXPress"), axerr::actionUnsupported);
    EXPECT_EQ(ax.setAttribute(window, "AXPosition", AXValue::of(Point{1, 2})), axerr::attributeUnsupported);

    ax.setAppUnresponsive(pid, true);
    EXPECT_EQ(ax.attribute(window, "AXMinimized").error, axerr::cannotComplete);
    ax.setAppUnresponsive(pid, false);

    ax.destroy(window);
    EXPECT_EQ(ax.attribute(window, "AXMinimized").error, axerr::invalidUIElement);
}

TEST(SimSession, ElementHandlesAreEqualWhenThePlatformFindsThemTheSameElement) {
    // Two retained handles made apart, as a Mac makes them: the same hash, and the platform's
    // comparison (CFEqual there) decides; an equal hash alone is not enough.
    const AXElement::Same sameValue = [](const void* a, const void* b) {
        return *static_cast<const int*>(a) == *static_cast<const int*>(b);
    };
    const auto handle = [&](int value) { return AXElement(7, std::make_shared<int>(value), sameValue); };
    EXPECT_EQ(handle(1), handle(1));
    EXPECT_NE(handle(1), handle(2));
    EXPECT_NE(handle(1), AXElement(7));
    EXPECT_NE(handle(1), AXElement());
    EXPECT_FALSE(handle(1).isNull());
    // The simulated session's handles are their indices.
    SimSession sim;
    const int32_t pid = sim.app("com.apple.TextEdit", "TextEdit");
    EXPECT_EQ(sim.accessibility.application(pid), sim.accessibility.application(pid));
    EXPECT_NE(sim.accessibility.application(pid), sim.accessibility.systemWide());
}

TEST(SimSession, PrefsKeepStoredValuesOverDefaultsAndDeliverNotifications) {
    SimSession sim;
    sim.prefs.write(PrefKey::winV, true);
    sim.prefs.registerDefault(PrefKey::winV, false);
    EXPECT_EQ(std::get<bool>(sim.prefs.read(PrefKey::winV)), true);
    sim.prefs.write(PrefKey::winV, PrefValue{});
    EXPECT_EQ(std::get<bool>(sim.prefs.read(PrefKey::winV)), false);

    int seen = 0;
    {
        Subscription s = sim.prefs.observeDistributed("com.apple.KeyboardUIModeDidChange", [&] { ++seen; });
        sim.prefs.postDistributed("com.apple.KeyboardUIModeDidChange");
        sim.prefs.postDistributed("other");
    }
    sim.prefs.postDistributed("com.apple.KeyboardUIModeDidChange");
    EXPECT_EQ(seen, 1);
}
