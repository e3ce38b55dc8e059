#include "WindowsFixture.h"

using namespace fenwold;
using fenwold::testing::WindowsTest;

using Enumeration = WindowsTest;

TEST_F(Enumeration, ListsOrdinaryWindowsWithTheirStateInTheApplicationsOrder) {
    auto notes = sim.app("com.apple.TextEdit", "TextEdit").window("Notes", {80, 60, 800, 600});
    const uint32_t todo = notes.window("Todo", {100, 100, 400, 400}).minimized();
    const uint32_t sheet = notes.window("Export", {120, 120, 300, 200}).subrole(QStringLiteral("AXDialog"));

    const auto list = enumerate(notes.pid());
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(ids(list), (std::vector<uint32_t>{sheet, todo, notes.number()}));
    const WindowInfo& first = list[2];
    EXPECT_EQ(first.title, "Notes");
    EXPECT_EQ(first.appName, "TextEdit");
    EXPECT_EQ(first.pid, notes.pid());
    EXPECT_DOUBLE_EQ(first.aspect, 800.0 / 600.0);
    EXPECT_FALSE(first.isMinimized);
    EXPECT_TRUE(first.thumb.isNull());
    EXPECT_EQ(sim.accessibility.windowNumber(first.axWindow), notes.number());
    EXPECT_TRUE(list[1].isMinimized);
    // Every request to the application and its windows was bounded by the enumeration timeout.
    EXPECT_DOUBLE_EQ(sim.accessibility.messagingTimeout(sim.accessibility.application(notes.pid())), 0.15);
    EXPECT_DOUBLE_EQ(sim.accessibility.messagingTimeout(first.axWindow), 0.15);
}

TEST_F(Enumeration, AccessoryApplicationsAndThisProgramAreNeverListed) {
    auto menuExtra = sim.app("com.example.Extra", "Extra").accessory().window("Popover", {0, 0, 300, 300});
    auto self = sim.appWithPid(sim.workspace.ownPid(), "org.fenwold.Fenwold", "Fenwold")
                    .window("Settings", {0, 0, 500, 400});
    EXPECT_TRUE(enumerate(menuExtra.pid()).empty());
    EXPECT_TRUE(enumerate(self.pid()).empty());
    EXPECT_FALSE(windows.frontmostWindow());
}

TEST_F(Enumeration, PanelsAreLeftOutUnlessMinimisedAndSubrolelessMinimisedWindowsAreListed) {
    auto app = sim.app("com.example.Paint", "Paint").window("Canvas", {0, 0, 600, 400});
    const uint32_t palette =
        app.window("Palette", {0, 0, 100, 300}).subrole(QStringLiteral("AXFloatingWindow"));
    const uint32_t docked = app.window("Docked", {0, 0, 300, 300}).subrole(std::nullopt).minimized();
    const uint32_t bare = app.window("Bare", {0, 0, 300, 300}).subrole(std::nullopt);

    const auto listed = ids(enumerate(app.pid()));
    EXPECT_EQ(listed, (std::vector<uint32_t>{docked, app.number()}));
    EXPECT_EQ(std::count(listed.begin(), listed.end(), palette), 0);
    EXPECT_EQ(std::count(listed.begin(), listed.end(), bare), 0);
}

TEST_F(Enumeration, EmptyTitlesNamelessApplicationsAndUnreadableSizes) {
    auto named = sim.app("com.example.Viewer", "Viewer").window("", {0, 0, 500, 0});
    sim.workspace.launchWithPid(700, QStringLiteral("com.example.Nameless"), std::nullopt);
    const uint32_t anonymous = sim.windows.open(700, "", {0, 0, 300, 300});
    sim.accessibility.remove(sim.windows.window(anonymous)->element, "AXSize");

    const auto viewer = enumerate(named.pid());
    ASSERT_EQ(viewer.size(), 1u);
    EXPECT_EQ(viewer[0].title, "Viewer");
    EXPECT_DOUBLE_EQ(viewer[0].aspect, 4.0 / 3.0); // zero height

    const auto nameless = enumerate(700);
    ASSERT_EQ(nameless.size(), 1u);
    EXPECT_EQ(nameless[0].title, "?");
    EXPECT_EQ(nameless[0].appName, "?");
    EXPECT_DOUBLE_EQ(nameless[0].aspect, 1.3333333333333333);
}

TEST_F(Enumeration, AnApplicationThatDoesNotAnswerYieldsNoWindows) {
    auto app = sim.app("com.example.Hung", "Hung").window("Busy", {0, 0, 300, 300});
    sim.accessibility.setAppUnresponsive(app.pid(), true);
    EXPECT_TRUE(enumerate(app.pid()).empty());
    EXPECT_FALSE(windows.focusedWindowID(app.pid()));
}

TEST_F(Enumeration, StackingRanksCountOnScreenWindowsAndTheFirstOccurrenceWins) {
    auto a = sim.app("com.example.A", "A").window("A1", {0, 0, 300, 300});
    auto b = sim.app("com.example.B", "B").window("B1", {0, 0, 300, 300});
    const uint32_t hiddenAway = b.window("B2", {0, 0, 300, 300}).minimized();
    WindowDescription duplicate;
    duplicate.number = a.number();
    duplicate.layer = 0;
    duplicate.isOnscreen = true;
    sim.windows.addServerEntry(duplicate, /*atFront=*/false);

    const auto ranks = windows.zOrder();
    EXPECT_EQ(ranks.at(b.number()), 0);
    EXPECT_EQ(ranks.at(a.number()), 1); // not the later duplicate's rank
    EXPECT_FALSE(ranks.count(hiddenAway));
    EXPECT_FALSE(ranks.count(1)); // the desktop picture is not a window
}

TEST_F(Enumeration, FrontmostWindowSkipsAccessoryPanelsAndPrefersTheFocusedWindow) {
    auto editor = sim.app("com.example.Editor", "Editor").window("Doc 1", {0, 0, 600, 400});
    const uint32_t second = editor.window("Doc 2", {50, 50, 600, 400});
    sim.windows.raise(editor.number()); // stacked first in the list ...
    sim.accessibility.set(sim.accessibility.application(editor.pid()), "AXFocusedWindow",
                          AXValue::of(sim.windows.window(second)->element)); // ... but Doc 2 has focus
    auto extra = sim.app("com.example.Extra", "Extra").accessory().window("Panel", {0, 0, 200, 200});
    sim.windows.raise(extra.number());

    auto front = windows.frontmostWindow();
    ASSERT_TRUE(front);
    EXPECT_EQ(*front, (WindowTarget{editor.pid(), second}));

    // When the focused window cannot be read, the window list's entry stands in.
    sim.accessibility.remove(sim.accessibility.application(editor.pid()), "AXFocusedWindow");
    front = windows.frontmostWindow();
    ASSERT_TRUE(front);
    EXPECT_EQ(*front, (WindowTarget{editor.pid(), editor.number()}));
}

TEST_F(Enumeration, ElementLookupByNumberFindsListedWindowsOnly) {
    auto app = sim.app("com.example.Mail", "Mail").window("Inbox", {0, 0, 600, 400});
    const uint32_t away = app.window("Draft", {0, 0, 600, 400}).notInWindowsList();
    int calls = 0;
    EXPECT_TRUE(windows.withAXWindow(app.pid(), app.number(), [&](const AXElement& e) {
        ++calls;
        EXPECT_EQ(e, sim.windows.window(app.number())->element);
    }));
    EXPECT_FALSE(windows.withAXWindow(app.pid(), away, [&](const AXElement&) { ++calls; }));
    EXPECT_EQ(calls, 1);
    EXPECT_DOUBLE_EQ(sim.accessibility.messagingTimeout(sim.accessibility.application(app.pid())), 0.3);
}
