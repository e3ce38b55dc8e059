// The Windows editing keys held with Ctrl, and the applications in which every shortcut passes
// untouched, as a user at the keyboard meets them.
#include "core/input/EditingKeys.h"
#include "InputRig.h"
#include "core/settings/ExcludedApps.h"
#include "support/TapEvents.h"

#include <gtest/gtest.h>

using namespace fenwold;
using namespace fenwold::testing;

using namespace fenwold::testing::shorthand;

TEST(EditingKeys, EveryCtrlLetterBecomesCommandAndTheDeleteKeysBecomeOption) {
    InputRig rig;
    struct Case {
        int64_t key;
        uint64_t flags;
        int postedKey;
        uint64_t postedFlags;
        QString win, mac;
    };
    const std::vector<Case> cases = {
        {kZ, ctl, 6, cmd, "Ctrl+Z", "⌘ Z"},
        {kY, ctl, 6, cmd | sh, "Ctrl+Y", "⇧ ⌘ Z"},
        {kZ, ctl | sh, 6, cmd | sh, "Ctrl+Shift+Z", "⇧ ⌘ Z"},
        {kT, ctl | sh, 17, cmd | sh, "Ctrl+Shift+T", "⇧ ⌘ T"},
        {kN, ctl | sh, 45, cmd | sh, "Ctrl+Shift+N", "⇧ ⌘ N"},
        {kDelete, ctl, 51, opt, "Ctrl+Backspace", "⌥ ⌫"},
        {kFwdDelete, ctl, 117, opt, "Ctrl+Delete", "⌥ ⌦"},
        {kDelete, ctl | sh, 51, opt | sh, "Ctrl+Shift+Backspace", "⇧ ⌥ ⌫"},
    };
    for (const Case& c : cases) {
        rig.sim.keys.clear();
        EXPECT_EQ(rig.press(c.key, c.flags), std::make_pair(swallow, swallow)) << c.win.toStdString();
        EXPECT_EQ(rig.posted(), postedPair(c.postedKey, c.postedFlags, rig.textEdit)) << c.win.toStdString();
        EXPECT_EQ(rig.hintNow(), (Hint{c.win, c.mac, std::nullopt}));
    }
    // The letters of the row, each to Command and itself.
    const QString letters = "SFNOPWTRLGBIU";
    const std::vector<int64_t> codes = {kS, kF, kN, kO, kP, kW, kT, kR, kL, kG, kB, kI, kU};
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const auto edit = editingKey(codes[i], false);
        ASSERT_TRUE(edit) << letters[i].toLatin1();
        EXPECT_EQ(edit->key, codes[i]);
        EXPECT_EQ(edit->flags, cmd);
        EXPECT_EQ(edit->win, QString("Ctrl+") + letters[i]);
        EXPECT_EQ(edit->mac, QString("⌘ ") + letters[i]);
    }
    // Control letters outside the row keep their Mac meaning; so do other modifier mixes.
    rig.sim.keys.clear();
    for (auto [key, flags] : std::vector<std::pair<int64_t, uint64_t>>{
             {kH, ctl}, {kQ, ctl}, {kZ, ctl | opt}, {kZ, ctl | cmd}, {kZ, 0}})
        EXPECT_EQ(rig.press(key, flags), std::make_pair(pass, pass)) << key << " " << flags;
    EXPECT_TRUE(rig.posted().isEmpty());
}

TEST(EditingKeys, TerminalsTheSwapTheMasterSwitchAndTheRowItselfLeaveThemAlone) {
    InputRig rig;
    // In a terminal ⌃W, ⌃U and ⌃R are the shell's.
    const int32_t terminal = rig.sim.app("com.apple.Terminal", "Terminal").frontmost();
    for (int64_t key : {kW, kU, kR, kDelete})
        EXPECT_EQ(rig.press(key, ctl).first, pass) << key;
    EXPECT_TRUE(rig.posted().isEmpty());
    rig.sim.workspace.quit(terminal);
    rig.sim.workspace.activate(rig.textEdit);

    // With Control and Command swapped the key pressed already sends ⌘Z.
    rig.set(PrefKey::swapCtrlCmd, true);
    EXPECT_EQ(rig.press(kZ, ctl).first, pass);
    rig.set(PrefKey::swapCtrlCmd, false);
    rig.set(PrefKey::shortcutsEnabled, false);
    EXPECT_EQ(rig.press(kZ, ctl).first, pass);
    rig.set(PrefKey::shortcutsEnabled, true);
    rig.set(PrefKey::ctrlLetters, false);
    EXPECT_EQ(rig.press(kS, ctl).first, pass);
    EXPECT_TRUE(rig.posted().isEmpty());
    rig.set(PrefKey::ctrlLetters, true);
    EXPECT_EQ(rig.press(kS, ctl).first, swallow);
    EXPECT_EQ(rig.posted(), postedPair(kS, cmd, rig.textEdit));
}

TEST(EditingKeys, FinderKeepsItsOwnKeysFirst) {
    InputRig rig;
    const int32_t finder = rig.sim.app("com.apple.finder", "Finder").frontmost();
    // Ctrl+X then Ctrl+V still move files; Ctrl+Z and Ctrl+N are Finder's ⌘Z and ⌘N.
    rig.press(kX, ctl);
    rig.press(kV, ctl);
    rig.press(kZ, ctl);
    rig.press(kN, ctl);
    QStringList expected = postedPair(kC, cmd, finder);
    expected << postedPair(kV, cmd | opt, finder) << postedPair(kZ, cmd, finder)
             << postedPair(kN, cmd, finder);
    EXPECT_EQ(rig.posted(), expected);
}

namespace {

struct Excluded : ::testing::Test {
    InputRig rig;
    int32_t guest = 0;
    void SetUp() override {
        guest = rig.sim.app("org.example.Guest", "Guest PC").frontmost();
        ExcludedApps(rig.sim.prefs).add("org.example.Guest");
    }
};

} // namespace

TEST_F(Excluded, EveryShortcutPassesToTheGuestButCmdEscAndTheHardwareRemaps) {
    rig.set(PrefKey::winV, true);
    rig.set(PrefKey::homeEnd, true);
    rig.set(PrefKey::f19Globe, true);
    for (auto [key, flags] : std::vector<std::pair<int64_t, uint64_t>>{{kC, ctl},
                                                                       {kZ, ctl},
                                                                       {kTab, opt},
                                                                       {kF4, opt},
                                                                       {kLeft, cmd},
                                                                       {kV, cmd},
                                                                       {kHome, 0},
                                                                       {kF13, 0},
                                                                       {kEsc, ctl | sh},
                                                                       {kInsert, sh}})
        EXPECT_EQ(rig.press(key, flags), std::make_pair(pass, pass)) << key << " " << flags;
    EXPECT_TRUE(rig.posted().isEmpty());
    EXPECT_TRUE(rig.routing.snapshot().switcherPhase.isClosed());
    rig.sim.mainQueue.drain();
    EXPECT_TRUE(rig.calls.calls().isEmpty());
    EXPECT_TRUE(rig.sim.processes.launched().empty());

    // The Caps Lock and F19 remaps are global: F19 is still taken as Globe.
    EXPECT_EQ(rig.down(kF19), swallow);
    EXPECT_EQ(rig.feed(keyEvent(kA, true, 0)), pass);
    EXPECT_EQ(rig.up(kF19), swallow);
    // ⌘Esc still turns everything off and on.
    EXPECT_EQ(rig.press(kEsc, cmd).first, swallow);
    EXPECT_FALSE(rig.prefs().shortcutsEnabled());
    rig.press(kEsc, cmd);
    EXPECT_TRUE(rig.prefs().shortcutsEnabled());
}

TEST_F(Excluded, PointerRulesPassToo) {
    rig.set(PrefKey::dblClickMax, true);
    TapEvent wheel;
    wheel.type = eventtype::scrollWheel;
    wheel.flags = ctl;
    wheel.scrollDelta = 3;
    EXPECT_EQ(rig.feed(wheel), pass);
    TapEvent click;
    click.type = eventtype::leftMouseDown;
    click.clickState = 2;
    click.location = {200, 110}; // on the front window's title bar
    EXPECT_EQ(rig.feed(click), pass);
    EXPECT_TRUE(rig.posted().isEmpty());
    // In another application both act again.
    rig.sim.workspace.activate(rig.textEdit);
    EXPECT_EQ(rig.feed(wheel), swallow);
    EXPECT_EQ(rig.feed(click), swallow);
}

TEST_F(Excluded, TheDecisionFollowsTheFrontAppAndTheListAtOnce) {
    EXPECT_EQ(rig.press(kC, ctl).first, pass);
    rig.sim.workspace.activate(rig.textEdit);
    EXPECT_EQ(rig.press(kC, ctl).first, swallow);
    rig.sim.workspace.activate(guest);
    EXPECT_EQ(rig.press(kC, ctl).first, pass);
    // Taken off the list while it is in front: the very next key is remapped.
    ExcludedApps(rig.sim.prefs).remove("org.example.Guest");
    EXPECT_EQ(rig.press(kC, ctl).first, swallow);
    ExcludedApps(rig.sim.prefs).add("org.example.Guest");
    EXPECT_EQ(rig.press(kC, ctl).first, pass);
    // A key-down swallowed before the switch still has its key-up swallowed after it.
    rig.sim.workspace.activate(rig.textEdit);
    EXPECT_EQ(rig.down(kC, ctl), swallow);
    rig.sim.workspace.activate(guest);
    EXPECT_EQ(rig.up(kC, ctl), swallow);
}

TEST_F(Excluded, ASessionBegunElsewhereFinishesAndOverlaysKeepTheirKeys) {
    rig.sim.workspace.activate(rig.textEdit);
    EXPECT_EQ(rig.press(kTab, opt).first, swallow);
    // The guest comes forward while Alt is still held.
    rig.sim.workspace.activate(guest);
    EXPECT_EQ(rig.press(kTab, opt).first, swallow);
    EXPECT_EQ(rig.press(kRight, opt).first, swallow);
    rig.flagsChanged(0);
    EXPECT_EQ(rig.routing.snapshot().switcherPhase, SwitcherPhase::committing(1));
    rig.sim.mainQueue.drain();
    EXPECT_EQ(rig.calls.calls(), (QStringList{"open 1", "move 1 1", "switcherKey 1 124", "commit 1"}));
    rig.routing.endSwitcherSession(1);

    // Snap assist and a keyboard window move still own the keyboard over the guest.
    rig.calls.clear();
    rig.routing.setSnapAssistOpen(true);
    EXPECT_EQ(rig.down(kRight), swallow);
    rig.routing.setSnapAssistOpen(false);
    rig.routing.setMoveTarget(WindowMoveTarget{600, 7});
    EXPECT_EQ(rig.down(kLeft), swallow);
    rig.routing.setMoveTarget(std::nullopt);
    EXPECT_EQ(rig.calls.calls(), (QStringList{"assistKey 124", "moveKey 123 7"}));
    // And once the overlays are gone, Alt+Tab is the guest's again.
    EXPECT_EQ(rig.press(kTab, opt).first, pass);
}
