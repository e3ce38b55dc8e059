// Every overlay's floating panel, as the application asks for it: level, Spaces behaviour, keys
// and mouse, backdrop. A recording platform stands in for the native panels.
#include "core/input/Keys.h"
#include "core/shell/AppDelegate.h"
#include "platform/sim/SimSession.h"
#include "support/RecordingPanels.h"
#include "support/TapEvents.h"
#include "ui/shell/QtShellViews.h"

#include <gtest/gtest.h>

using namespace fenwold;
using fenwold::testing::keyEvent;
using fenwold::testing::RecordingPanel;

namespace {

struct OverlayPanels : ::testing::Test {
    SimSession sim;
    fenwold::testing::RecordingPanelHost panels;
    std::unique_ptr<QtShellViews> views;
    std::unique_ptr<AppDelegate> app;

    void SetUp() override {
        Prefs prefs(sim.prefs);
        prefs.registerDefaults();
        prefs.set(PrefKey::macHints, true);
        prefs.set(PrefKey::winV, true);
        SimAppBuilder edit = sim.app("com.apple.TextEdit", "TextEdit");
        edit.window("Notes", {80, 60, 800, 600});
        sim.app("com.apple.Safari", "Safari").window("News", {100, 80, 900, 700});
        sim.workspace.activate(edit.pid());
        SettingsDeps settings;
        settings.prefs = &sim.prefs;
        settings.loginItems = &sim.loginItems;
        views =
            std::make_unique<QtShellViews>(sim.platform(), settings, std::make_unique<QtTrayItem>(), &panels);
        app = std::make_unique<AppDelegate>(sim.platform(), *views, StartupOptions{});
        app->applicationDidFinishLaunching();
        sim.mainQueue.drain();
    }
    void press(int64_t code, uint64_t flags) {
        TapEvent down = keyEvent(code, true, flags);
        sim.eventTap.feed(down);
        TapEvent up = keyEvent(code, false, flags);
        sim.eventTap.feed(up);
        sim.mainQueue.advance(0.2);
    }
};

} // namespace

TEST_F(OverlayPanels, EachOverlayFloatsAtItsLevelOverEverySpaceAndOnlyTheShelfTakesKeys) {
    // The switcher: Alt+Tab, then let go.
    TapEvent tab = keyEvent(kTab, true, flag::option);
    sim.eventTap.feed(tab);
    sim.mainQueue.advance(0.2);
    TapEvent release;
    release.type = eventtype::flagsChanged;
    sim.eventTap.feed(release);
    sim.mainQueue.advance(1);
    // A remapped shortcut shows the hint; Win+Left snaps and offers the rest.
    press(kC, flag::control);
    press(kLeft, flag::command);

    const RecordingPanel* switcher = panels.panel("Window switcher");
    const RecordingPanel* assist = panels.panel("Snap assist");
    const RecordingPanel* hint = panels.panel("Shortcut hint");
    const RecordingPanel* shelf = panels.panel("Clipboard shelf");
    ASSERT_TRUE(switcher && assist && hint && shelf);
    ASSERT_EQ(std::count_if(panels.panels.begin(), panels.panels.end(),
                            [](auto* p) { return p->style.accessibilityTitle == "Dock peek"; }),
              2);
    const RecordingPanel* peek = nullptr;
    const RecordingPanel* emptyPeek = nullptr;
    for (auto* p : panels.panels)
        if (p->style.accessibilityTitle == "Dock peek") (p->style.ignoresMouse ? emptyPeek : peek) = p;
    ASSERT_TRUE(peek && emptyPeek);
    EXPECT_TRUE(switcher->shown || !switcher->frames.empty());
    EXPECT_TRUE(assist->shown);
    EXPECT_TRUE(hint->shown);

    // Above everything, on every Space and beside full-screen windows; clicks and hovering reach
    // the tiles.
    for (const RecordingPanel* grid : {switcher, assist, peek}) {
        EXPECT_EQ(grid->style.level, 1000);
        EXPECT_EQ(grid->style.collectionBehavior, 257u);
        EXPECT_FALSE(grid->style.takesKeys);
        EXPECT_FALSE(grid->style.ignoresMouse);
        EXPECT_TRUE(grid->style.acceptsMouseMoved);
        EXPECT_EQ(grid->style.material, PanelMaterial::hudWindow);
        EXPECT_EQ(grid->style.cornerRadius, 24);
    }
    EXPECT_EQ(emptyPeek->style.level, 1000);
    EXPECT_EQ(emptyPeek->style.collectionBehavior, 257u);
    EXPECT_FALSE(emptyPeek->style.takesKeys);
    // The hint sits at the status level and, like the empty peek, lets every click through.
    EXPECT_EQ(hint->style.level, 25);
    EXPECT_EQ(hint->style.collectionBehavior, 257u);
    EXPECT_TRUE(hint->style.ignoresMouse);
    EXPECT_FALSE(hint->style.takesKeys);
    EXPECT_EQ(hint->style.material, PanelMaterial::hudWindow);
    // The shelf: the pop-up-menu level, transient and out of window cycling, and the only panel
    // that takes the keys.
    EXPECT_EQ(shelf->style.level, 101);
    EXPECT_EQ(shelf->style.collectionBehavior, 0x149u);
    EXPECT_TRUE(shelf->style.takesKeys);
    EXPECT_FALSE(shelf->style.ignoresMouse);
    EXPECT_EQ(shelf->style.material, PanelMaterial::popover);
    EXPECT_FALSE(shelf->key);

    press(kEsc, 0); // snap assist closes
    ASSERT_FALSE(app->routing().snapshot().snapAssistOpen);
    press(kV, flag::command); // Win+V
    EXPECT_TRUE(app->routing().snapshot().clipboardOpen);
    EXPECT_TRUE(app->shelf().isOpen());
    EXPECT_TRUE(shelf->key);
    EXPECT_FALSE(switcher->key || assist->key || hint->key);
}

TEST_F(OverlayPanels, TheSnapLayoutsFloatLikeSnapAssistAndGiveWayToTheShelf) {
    app->snapLayouts().show();
    const RecordingPanel* layouts = panels.panel("Snap layouts");
    ASSERT_TRUE(layouts && layouts->shown);
    EXPECT_EQ(layouts->style.level, 1000);
    EXPECT_EQ(layouts->style.collectionBehavior, 257u);
    EXPECT_FALSE(layouts->style.takesKeys);
    EXPECT_FALSE(layouts->style.ignoresMouse);
    EXPECT_TRUE(layouts->style.acceptsMouseMoved);
    EXPECT_EQ(layouts->style.material, PanelMaterial::hudWindow);
    EXPECT_EQ(layouts->style.cornerRadius, 16);

    // Its keys come through the tap; Win+V goes on to its own row and the shelf closes the panel.
    press(kW, 0); // neither a digit nor an arrow: closes, and reaches the editor
    EXPECT_FALSE(app->routing().snapshot().snapLayoutsOpen);
    app->snapLayouts().show();
    press(kRight, 0);
    EXPECT_EQ(app->snapLayouts().state().zone, 1);
    press(kV, flag::command);
    EXPECT_TRUE(app->shelf().isOpen());
    EXPECT_FALSE(app->routing().snapshot().snapLayoutsOpen);
    EXPECT_FALSE(layouts->shown);
}

TEST_F(OverlayPanels, WithReducedTransparencyTheShelfStandsOnAnOpaqueBackground) {
    sim.screens.setReduceTransparency(true);
    SettingsDeps settings;
    settings.prefs = &sim.prefs;
    QtShellViews otherViews(sim.platform(), settings, std::make_unique<QtTrayItem>(), &panels);
    AppDelegate other(sim.platform(), otherViews, StartupOptions{});
    EXPECT_EQ(panels.panel("Clipboard shelf")->style.material, PanelMaterial::windowBackground);
}
