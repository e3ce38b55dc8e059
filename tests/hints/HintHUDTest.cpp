// The hint format and the HUD's timing.
#include "core/hints/HintHUD.h"
#include "core/settings/Prefs.h"
#include "platform/sim/SimSession.h"
#include "selfcheck/ModuleChecks.h"
#include "support/RecordingHintPanel.h"

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

using namespace fenwold;
using fenwold::testing::RecordingHintPanel;
using S = Hint::Segment;

namespace {

struct HudRig {
    HudRig() {
        Prefs(sim.prefs).registerDefaults();
        Prefs(sim.prefs).set(PrefKey::macHints, true);
    }
    SimSession sim;
    RecordingHintPanel* panel = nullptr;
    int panelsMade = 0;
    HintHUD hud{sim.prefs, sim.mainQueue, sim.screens, [this] {
                    ++panelsMade;
                    auto p = std::make_unique<RecordingHintPanel>(Size{180, 52});
                    panel = p.get();
                    return p;
                }};
};

const Hint altF4{"Alt+F4", "⌘ W ~closes, ⌘ Q ~quits", std::nullopt};

} // namespace

TEST(HintSegments, EveryFormatExample) {
    EXPECT_EQ(Hint::segments("⌘ W ~closes, ⌘ Q ~quits"),
              (std::vector<S>{S::key("⌘"), S::key("W"), S::words("closes,"), S::key("⌘"), S::key("Q"),
                              S::words("quits")}));
    EXPECT_EQ(Hint::segments("⇧ ⌘ 4 ~then Space"),
              (std::vector<S>{S::key("⇧"), S::key("⌘"), S::key("4"), S::words("then"), S::key("Space")}));
    EXPECT_EQ(Hint::segments("~no ~native ~equivalent"), (std::vector<S>{S::words("no native equivalent")}));
    EXPECT_EQ(Hint::segments("⌘ + ~and ⌘ − ~— ⌘ 0 ~resets"),
              (std::vector<S>{S::key("⌘"), S::key("+"), S::words("and"), S::key("⌘"), S::key("−"),
                              S::words("—"), S::key("⌘"), S::key("0"), S::words("resets")}));
    // Extra spaces change nothing; spaces alone give nothing.
    EXPECT_EQ(Hint::segments("  ⌘   W  ~closes, "),
              (std::vector<S>{S::key("⌘"), S::key("W"), S::words("closes,")}));
    EXPECT_TRUE(Hint::segments("    ").empty());
    EXPECT_TRUE(Hint::segments("").empty());

    EXPECT_EQ(altF4.heading(), "Alt+F4 — the Mac way");
    EXPECT_EQ((Hint{"⌘Esc", "", QString("Fenwold shortcuts on")}).heading(), "Fenwold shortcuts on");

    QStringList failures;
    EXPECT_TRUE(hintsSelfcheck(failures)) << failures.join("\n").toStdString();
}

TEST(HintHUD, ShowsInTheTopRightCornerAndFadesAfterThreeSeconds) {
    HudRig rig;
    rig.hud.show(altF4);
    EXPECT_FALSE(rig.panel); // queued, not shown on the caller's thread
    rig.sim.mainQueue.drain();
    ASSERT_TRUE(rig.panel);
    // Visible frame {0, 70, 1440, 805}: 16 points from the right, 8 below the top.
    EXPECT_EQ(rig.panel->frame, (Rect{1440 - 180 - 16, 70 + 805 - 52 - 8, 180, 52}));
    EXPECT_TRUE(rig.panel->visible);
    EXPECT_EQ(rig.panel->alpha, 1);
    EXPECT_EQ(rig.panel->fades, std::vector<double>{0.15});

    rig.sim.mainQueue.advance(2.9);
    EXPECT_TRUE(rig.panel->visible);
    rig.sim.mainQueue.advance(0.2); // fading out
    EXPECT_EQ(rig.panel->fades.back(), 0.4);
    EXPECT_TRUE(rig.panel->visible);
    rig.sim.mainQueue.advance(0.4);
    EXPECT_FALSE(rig.panel->visible);
    EXPECT_FALSE(rig.hud.current());

    // Shown again later: the same panel is reused.
    rig.hud.show(altF4);
    rig.sim.mainQueue.drain();
    EXPECT_TRUE(rig.panel->visible);
    EXPECT_EQ(rig.panelsMade, 1);
}

TEST(HintHUD, EachPresentationRestartsTheDisplayTime) {
    HudRig rig;
    rig.hud.present(altF4);
    rig.sim.mainQueue.advance(2.0);
    rig.hud.present(altF4);
    rig.sim.mainQueue.advance(2.9); // 4.9 s after the first, 2.9 after the second
    EXPECT_TRUE(rig.panel->visible);
    EXPECT_EQ(rig.panel->alpha, 1);
    rig.sim.mainQueue.advance(0.1 + 0.4);
    EXPECT_FALSE(rig.panel->visible);
    // The same hint again is not rebuilt.
    EXPECT_EQ(rig.panel->builds, 1);
}

TEST(HintHUD, APresentationDuringTheFadeOutKeepsThePanel) {
    HudRig rig;
    rig.hud.present(altF4);
    rig.sim.mainQueue.advance(3.2); // fading
    const Hint other{"Ctrl+C", "⌘ C", std::nullopt};
    rig.hud.present(other);
    rig.sim.mainQueue.advance(0.3); // the old fade's end passes
    EXPECT_TRUE(rig.panel->visible);
    EXPECT_EQ(rig.panel->alpha, 1);
    EXPECT_EQ(rig.hud.current(), other);
    EXPECT_EQ(rig.panel->builds, 2);
    EXPECT_EQ(rig.panel->frontings, 1); // never ordered out in between
}

TEST(HintHUD, ReduceMotionAndSwitches) {
    HudRig rig;
    rig.sim.screens.setReduceMotion(true);
    rig.hud.present(altF4);
    rig.sim.mainQueue.advance(3.0);
    EXPECT_FALSE(rig.panel->visible);
    EXPECT_EQ(rig.panel->fades, (std::vector<double>{0, 0}));

    // Hints off: nothing is even queued. Present still shows (the master-switch toggle uses it).
    Prefs(rig.sim.prefs).set(PrefKey::macHints, false);
    rig.hud.show(altF4);
    EXPECT_EQ(rig.sim.mainQueue.pendingCount(), 0u);
    rig.hud.present(altF4);
    EXPECT_TRUE(rig.panel->visible);

    // No screen at all: nothing changes.
    HudRig blind;
    blind.sim.screens.setScreens({});
    blind.hud.present(altF4);
    EXPECT_FALSE(blind.panel);
    EXPECT_EQ(blind.hud.generation(), 0);
}

TEST(HintHUD, DemoPresentsEveryTwoSeconds) {
    HudRig rig;
    Prefs(rig.sim.prefs).set(PrefKey::macHints, false);
    TimerHandle demo = rig.hud.startDemo();
    EXPECT_EQ(rig.hud.current(), HintHUD::demoHint());
    rig.sim.mainQueue.advance(10);
    EXPECT_TRUE(rig.panel->visible);
    EXPECT_EQ(rig.hud.generation(), 6);
    demo.cancel();
}

TEST(HintHUDPlacement, TheHeadsUpNeverCoversAnotherOverlay) {
    HudRig rig;
    const Rect visible = rig.sim.screens.screens().front().visibleFrame;
    // Nothing else shown: the top-right corner of the visible frame.
    rig.hud.present(Hint{"Ctrl+C", "⌘ C", std::nullopt});
    ASSERT_NE(rig.panel, nullptr);
    const Rect alone = rig.panel->frame;
    EXPECT_DOUBLE_EQ(alone.maxX(), visible.maxX() - HintHUD::kRightInset);
    EXPECT_DOUBLE_EQ(alone.maxY(), visible.maxY() - HintHUD::kTopInset);

    // Snap assist over the right half: the heads-up goes to the top-left corner.
    const Rect rightHalf{visible.x + visible.width / 2, visible.y, visible.width / 2, visible.height};
    rig.panel->overlays = {rightHalf};
    rig.hud.present(Hint{"Win+Left", "⌃ ⌥ ←", std::nullopt});
    EXPECT_FALSE(rig.panel->frame.intersects(rightHalf));
    EXPECT_DOUBLE_EQ(rig.panel->frame.maxY(), visible.maxY() - HintHUD::kTopInset);

    // The snap-layouts panel across the top: a bottom corner.
    const Rect top{visible.x, visible.maxY() - 200, visible.width, 200};
    rig.panel->overlays = {top};
    rig.hud.present(Hint{"Win+Z", "~snap ~layouts", std::nullopt});
    EXPECT_FALSE(rig.panel->frame.intersects(top));

    // Covered everywhere: the top-right corner after all, rather than nowhere.
    rig.panel->overlays = {visible};
    rig.hud.present(Hint{"Win+Up", "~zoom", std::nullopt});
    EXPECT_EQ(rig.panel->frame, alone);
}
