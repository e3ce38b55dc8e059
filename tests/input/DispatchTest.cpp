// Scenarios of the shortcut dispatch, event by event, as a user at the keyboard meets them.
#include "InputRig.h"

#include <gtest/gtest.h>

using namespace fenwold;
using namespace fenwold::testing;

using namespace fenwold::testing::shorthand;

TEST(Dispatch, CtrlCBecomesCmdCExceptInTerminals) {
    InputRig rig;
    // In a text editor: a marked Cmd+C to the front process; the pressed key-up never arrives.
    EXPECT_EQ(rig.press(kC, ctl), std::make_pair(swallow, swallow));
    EXPECT_EQ(rig.posted(), postedPair(kC, cmd, rig.textEdit));
    EXPECT_TRUE(rig.dispatcher.swallowedKeys().empty());
    EXPECT_EQ(rig.hintNow(), (Hint{"Ctrl+C", "⌘ C", std::nullopt}));

    // Shift is kept where the row says so.
    rig.sim.keys.clear();
    rig.press(kA, ctl | sh);
    EXPECT_EQ(rig.posted(), postedPair(kA, cmd | sh, rig.textEdit));

    // In a terminal the key keeps its meaning.
    rig.sim.keys.clear();
    rig.sim.app("com.googlecode.iterm2", "iTerm2").frontmost();
    EXPECT_EQ(rig.press(kC, ctl), std::make_pair(pass, pass));
    EXPECT_TRUE(rig.posted().isEmpty());
}

TEST(Dispatch, MasterSwitchTogglesWithCmdEscEvenWhileOff) {
    InputRig rig;
    EXPECT_EQ(rig.press(kEsc, cmd).first, swallow);
    EXPECT_FALSE(rig.prefs().shortcutsEnabled());
    // Shown although hints could be off: the user must learn what happened.
    rig.set(PrefKey::macHints, false);
    auto h = rig.hintNow();
    ASSERT_TRUE(h);
    EXPECT_EQ(h->title, QString("Fenwold shortcuts off"));
    EXPECT_EQ(h->mac, "⌘ Esc ~turns ~them ~back ~on");

    // Off: Ctrl+C passes, the toggle still works.
    EXPECT_EQ(rig.press(kC, ctl).first, pass);
    EXPECT_EQ(rig.press(kEsc, cmd).first, swallow);
    EXPECT_TRUE(rig.prefs().shortcutsEnabled());
    EXPECT_EQ(rig.hintNow()->title, QString("Fenwold shortcuts on"));

    // Cmd+Shift+Esc is the task manager, not the toggle.
    EXPECT_EQ(rig.press(kEsc, cmd | sh).first, swallow);
    EXPECT_TRUE(rig.prefs().shortcutsEnabled());
    rig.sim.mainQueue.drain();
    EXPECT_EQ(rig.sim.workspace.openedURLs().value(0).toLocalFile(),
              "/System/Applications/Utilities/Activity Monitor.app");
}

TEST(Dispatch, AltTabWorksWithTheMasterSwitchOffAndDrivesTheSession) {
    InputRig rig;
    rig.set(PrefKey::shortcutsEnabled, false);
    EXPECT_EQ(rig.press(kTab, opt), std::make_pair(swallow, swallow));
    EXPECT_EQ(rig.routing.snapshot().switcherPhase, SwitcherPhase::capturing(1));
    EXPECT_EQ(rig.forwarder.sessionID(), 1u);
    rig.press(kTab, opt);
    rig.press(kTab, opt | sh);
    rig.press(kRight, opt);     // any other key goes to the switcher's own handler
    rig.flagsChanged(opt | sh); // still holding Alt
    rig.flagsChanged(0);        // Alt released
    EXPECT_EQ(rig.routing.snapshot().switcherPhase, SwitcherPhase::committing(1));
    rig.sim.mainQueue.drain();
    const QStringList expected = {"open 1", "move 1 1", "move 1 -1", "switcherKey 1 124", "commit 1"};
    EXPECT_EQ(rig.calls.calls(), expected);
}

TEST(Dispatch, EscCancelsACapturingSession) {
    InputRig rig;
    rig.press(kTab, opt);
    EXPECT_EQ(rig.press(kEsc, opt).first, swallow);
    EXPECT_EQ(rig.routing.snapshot().switcherPhase, SwitcherPhase::cancelling(1));
    EXPECT_FALSE(rig.forwarder.sessionID());
    // While it is torn down everything passes.
    EXPECT_EQ(rig.press(kC, ctl).first, pass);
    rig.sim.mainQueue.drain();
    EXPECT_EQ(rig.calls.calls(), (QStringList{"open 1", "cancel 1"}));
}

TEST(Dispatch, HeldWinVTogglesTheShelfOnce) {
    InputRig rig;
    rig.set(PrefKey::winV, true);
    EXPECT_EQ(rig.down(kV, cmd), swallow);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(rig.down(kV, cmd, {.autorepeat = true}), swallow);
    EXPECT_EQ(rig.up(kV, cmd), swallow);
    rig.sim.mainQueue.drain();
    EXPECT_EQ(rig.calls.calls(), QStringList{"shelf"});
    EXPECT_FALSE(rig.hud.current()); // Win+V teaches nothing

    // With the row off, Win+V is the application's Cmd+V.
    rig.set(PrefKey::winV, false);
    EXPECT_EQ(rig.press(kV, cmd).first, pass);
}

TEST(Dispatch, F19AsGlobe) {
    InputRig rig;
    rig.set(PrefKey::f19Globe, true);
    rig.set(PrefKey::shortcutsEnabled, false); // works regardless of the master switch
    rig.sim.inputSources.setSources({{"us", true, true, true}, {"de", true, true, true}}, "us");

    // A bare tap cycles the input source.
    EXPECT_EQ(rig.press(kF19), std::make_pair(swallow, swallow));
    rig.sim.mainQueue.drain();
    EXPECT_EQ(rig.sim.inputSources.current(), QString("de"));

    // F19 held while typing A: A arrives with the Globe flag and nothing cycles.
    EXPECT_EQ(rig.down(kF19), swallow);
    TapEvent a;
    a.type = eventtype::keyDown;
    a.keyCode = kA;
    EXPECT_EQ(rig.dispatcher.tapCallback(a), pass);
    EXPECT_EQ(a.flags, flag::secondaryFn);
    EXPECT_EQ(rig.up(kA), pass);
    EXPECT_EQ(rig.up(kF19), swallow);
    rig.sim.mainQueue.drain();
    EXPECT_EQ(rig.sim.inputSources.current(), QString("de"));
    EXPECT_FALSE(rig.dispatcher.f19Held());

    // With a single layout a bare tap does nothing visible.
    rig.sim.inputSources.setSources({{"us", true, true, true}}, "us");
    rig.press(kF19);
    rig.sim.mainQueue.drain();
    EXPECT_EQ(rig.sim.inputSources.selections(), QStringList{"de"});

    // Off: F19 is an ordinary key.
    rig.set(PrefKey::f19Globe, false);
    EXPECT_EQ(rig.press(kF19).first, pass);
}

TEST(Dispatch, OwnEventsAreNeverRemapped) {
    InputRig rig;
    TapEvent e;
    e.type = eventtype::keyDown;
    e.keyCode = kC;
    e.flags = ctl;
    e.sourceUserData = kOwnEventMarker;
    EXPECT_EQ(rig.dispatcher.tapCallback(e), pass);
    EXPECT_EQ(e.flags, ctl);
    e.type = eventtype::keyUp;
    EXPECT_EQ(rig.dispatcher.tapCallback(e), pass);
    EXPECT_TRUE(rig.posted().isEmpty());
}

TEST(Dispatch, OpenShelfPassesEverything) {
    InputRig rig;
    rig.routing.setClipboardOpen(true);
    EXPECT_EQ(rig.press(kC, ctl), std::make_pair(pass, pass));
    EXPECT_EQ(rig.press(kTab, opt), std::make_pair(pass, pass));
    EXPECT_TRUE(rig.routing.snapshot().switcherPhase.isClosed());
    EXPECT_TRUE(rig.posted().isEmpty());
}

TEST(Dispatch, RepassedAutorepeatDeliversItsKeyUp) {
    InputRig rig;
    EXPECT_EQ(rig.down(kC, ctl), swallow);
    // Control let go while C repeats: the repeat no longer matches and passes.
    EXPECT_EQ(rig.down(kC, 0, {.autorepeat = true}), pass);
    EXPECT_EQ(rig.up(kC), pass);
}

TEST(Dispatch, ForeignSwapKeepsSyntheticEventsConsistent) {
    InputRig rig;
    rig.set(PrefKey::swapCtrlCmd, true);
    // Another program's Cmd+C stands for the physical Ctrl key: it becomes Control. The
    // software Ctrl rows stay off while the hardware does the swap, so it passes.
    TapEvent e;
    e.type = eventtype::keyDown;
    e.keyCode = kC;
    e.flags = cmd;
    e.sourcePid = 4242;
    EXPECT_EQ(rig.dispatcher.tapCallback(e), pass);
    EXPECT_EQ(e.flags, ctl);
    // Hardware events (pid 0) are already swapped and are left alone.
    e.flags = cmd;
    e.sourcePid = 0;
    rig.dispatcher.tapCallback(e);
    EXPECT_EQ(e.flags, cmd);
    // With the swap, Win is Control: Ctrl+Left (physical Win+Left) snaps.
    EXPECT_EQ(rig.press(kLeft, ctl).first, swallow);
    rig.sim.mainQueue.drain();
    EXPECT_EQ(rig.calls.calls().value(0), "snap left 7");
}

TEST(Dispatch, PlainKeysRowsAndGates) {
    InputRig rig;
    rig.set(PrefKey::homeEnd, true);
    rig.set(PrefKey::ctrlWord, true);
    struct Case {
        int64_t key;
        uint64_t flags;
        QStringList posted;
    };
    const int32_t te = rig.textEdit;
    const std::vector<Case> cases = {
        {kHome, 0, postedPair(kLeft, cmd, te)},             // Home: line start
        {kEnd, sh, postedPair(kRight, cmd | sh, te)},       // Shift+End selects to line end
        {kHome, ctl, postedPair(kUp, cmd, te)},             // Ctrl+Home: document start
        {kLeft, ctl | sh, postedPair(kLeft, opt | sh, te)}, // word jump with selection
        {kKeypadPlus, ctl, postedPair(kEqual, cmd, te)},    // keypad plus zooms in
        {kF4, ctl, postedPair(kW, cmd, te)},                // Ctrl+F4 closes the tab
        {kInsert, sh, postedPair(kV, cmd, te)},             // Shift+Insert pastes
        {kInsert, ctl, postedPair(kC, cmd, te)},            // Ctrl+Insert copies
        {kFwdDelete, sh, postedPair(kX, cmd, te)},          // Shift+Delete cuts
        {kA, 0, {}},                                        // plain typing passes
        {kInsert, ctl | sh, {}},                            // both Shift and Ctrl: not a clipboard key
    };
    for (const auto& c : cases) {
        rig.sim.keys.clear();
        const auto answers = rig.press(c.key, c.flags);
        EXPECT_EQ(rig.posted(), c.posted) << "key " << c.key << " flags " << c.flags;
        EXPECT_EQ(answers.first, c.posted.isEmpty() ? pass : swallow) << "key " << c.key;
        EXPECT_EQ(answers.second, answers.first) << "key " << c.key;
    }
    // Hints go through the HUD and honour `macHints`.
    rig.set(PrefKey::macHints, false);
    rig.sim.mainQueue.drain();
    const auto before = rig.hud.generation();
    rig.press(kEnd, 0);
    rig.sim.mainQueue.drain();
    EXPECT_EQ(rig.hud.generation(), before);
}

TEST(Dispatch, AltF4FollowsTheChosenAction) {
    InputRig rig;
    EXPECT_EQ(rig.down(kF4, opt), swallow);
    EXPECT_EQ(rig.down(kF4, opt, {.autorepeat = true}), swallow);
    rig.up(kF4, opt);
    EXPECT_EQ(rig.hintNow(), (Hint{"Alt+F4", "⌘ W ~closes, ⌘ Q ~quits", std::nullopt}));
    EXPECT_EQ(rig.calls.calls(), QStringList{"closeOrQuit"});

    rig.sim.prefs.write(PrefKey::altF4Action, QString("quit"));
    rig.press(kF4, opt);
    rig.sim.mainQueue.drain();
    EXPECT_EQ(rig.posted(), postedPair(kQ, cmd, rig.textEdit));
}

TEST(Dispatch, WinArrowsSnapQuarterMaximizeAndMinimize) {
    InputRig rig;
    auto run = [&](int64_t key, uint64_t flags) {
        rig.calls.clear();
        rig.press(key, flags);
        rig.sim.mainQueue.drain();
        return rig.calls.calls();
    };
    EXPECT_EQ(run(kLeft, cmd), (QStringList{"snap left 7", "assist left 7"}));
    EXPECT_EQ(rig.hud.current()->mac, "~hold ~the ~green ~button, ~then ~pick ~a ~side");

    rig.windows.snap = SnapKind::left;
    EXPECT_EQ(run(kUp, cmd), QStringList{"snap topLeft 7"});
    rig.windows.snap = SnapKind::topLeft;
    EXPECT_EQ(run(kUp, cmd), QStringList{"snap maximize 7"});
    EXPECT_EQ(rig.hud.current()->win, "Win+↑");
    EXPECT_EQ(run(kDown, cmd), QStringList{"snap left 7"});
    rig.windows.snap = SnapKind::bottomRight;
    EXPECT_EQ(run(kDown, cmd), QStringList{"minimizeFrontmost"});
    EXPECT_EQ(rig.hud.current()->mac, "⌘ M");

    // Without quarters every Up maximizes, every Down minimizes.
    rig.set(PrefKey::snapQuadrants, false);
    rig.windows.snap = SnapKind::left;
    EXPECT_EQ(run(kUp, cmd), QStringList{"snap maximize 7"});

    // A full-screen window leaves full screen first.
    rig.windows.fullscreen = true;
    EXPECT_EQ(run(kRight, cmd), (QStringList{"leaveFullscreen 7", "snap right 7", "assist right 7"}));
    rig.windows.fullscreen = true;
    EXPECT_EQ(run(kUp, cmd | sh), QStringList{"toggleFullscreen 7"});

    // No front window: nothing happens, but the hint still teaches.
    rig.windows.front.reset();
    EXPECT_TRUE(run(kLeft, cmd).isEmpty());
    EXPECT_EQ(rig.hud.current()->win, "Win+← / →");
}

TEST(Dispatch, OverlaysOwnTheKeyboard) {
    InputRig rig;
    rig.routing.setSnapAssistOpen(true);
    EXPECT_EQ(rig.down(kRight, sh), swallow);
    rig.assist.takes = false;
    EXPECT_EQ(rig.down(kA), pass); // typing dismisses it and reaches the application
    rig.routing.setSnapAssistOpen(false);

    rig.routing.setMoveTarget(WindowMoveTarget{600, 7});
    EXPECT_EQ(rig.down(kLeft), swallow);
    rig.menu.takes = false;
    EXPECT_EQ(rig.down(kC, ctl), swallow); // falls through to the table
    EXPECT_EQ(rig.calls.calls(),
              (QStringList{"assistKey 124 shift", "assistKey 0", "moveKey 123 7", "moveKey 8 7"}));
}

TEST(Dispatch, AChordWhileSnapAssistShowsClosesItAndDoesItsOwnJob) {
    InputRig rig;
    rig.set(PrefKey::winV, true);
    rig.set(PrefKey::winZ, true);
    for (auto [key, flags, call] : std::vector<std::tuple<int64_t, uint64_t, QString>>{
             {kV, cmd, "shelf"}, {kZ, cmd, "layouts"}, {kLeft, cmd, "snap left 7"}}) {
        rig.calls.clear();
        rig.routing.setSnapAssistOpen(true);
        EXPECT_EQ(rig.press(key, flags).first, swallow) << call.toStdString();
        rig.sim.mainQueue.drain();
        // Snap assist closes first; the chord is not offered to it and is no ⌘ shortcut either.
        EXPECT_EQ(rig.calls.calls().value(0), "assistDismissed");
        EXPECT_EQ(rig.calls.calls().value(1), call);
    }
    EXPECT_TRUE(rig.posted().isEmpty());
    // Ctrl+C still copies, and a chord no row takes reaches the application as typed.
    rig.routing.setSnapAssistOpen(true);
    rig.press(kC, ctl);
    EXPECT_EQ(rig.posted(), postedPair(kC, cmd, rig.textEdit));
    rig.sim.keys.clear();
    EXPECT_EQ(rig.press(kQ, cmd).first, pass);
    EXPECT_TRUE(rig.posted().isEmpty());
}

TEST(Dispatch, TapDisabledRecovers) {
    InputRig rig;
    rig.press(kTab, opt);
    rig.down(kC, ctl); // its key-up will be lost
    TapEvent off;
    off.type = eventtype::tapDisabledByTimeout;
    EXPECT_EQ(rig.dispatcher.tapCallback(off), pass);
    EXPECT_EQ(rig.routing.snapshot().switcherPhase, SwitcherPhase::cancelling(1));
    EXPECT_TRUE(rig.dispatcher.swallowedKeys().empty());
    EXPECT_EQ(rig.sim.eventTap.reEnableCount(), 1);
    EXPECT_EQ(rig.sim.log.lines().last(), "Fenwold: event tap disabled (type -2) — re-enabling");
    rig.sim.mainQueue.drain();
    EXPECT_EQ(rig.calls.calls().last(), "cancel 1");
}

TEST(Dispatch, StartTapLogsItsOutcome) {
    InputRig rig;
    EXPECT_TRUE(rig.dispatcher.startTap());
    EXPECT_EQ(rig.sim.log.lines().last(), "Fenwold: event tap active — hold Option and press Tab");
    // Keys, modifiers, the left button and its drags, side buttons and the wheel; system-defined
    // events only when tracing.
    EXPECT_EQ(rig.sim.eventTap.eventMask(), (1u << 1) | (1u << 2) | (1u << 6) | (1u << 10) | (1u << 11) |
                                                (1u << 12) | (1u << 22) | (1u << 25) | (1u << 26));
    EXPECT_EQ(TapDispatcher::eventMask(true), rig.sim.eventTap.eventMask() | (1u << 14));
    rig.sim.eventTap.setCreationFails(true);
    EXPECT_FALSE(rig.dispatcher.startTap());
    EXPECT_EQ(rig.sim.log.lines().last(), "Fenwold: could not create event tap (accessibility not granted?)");
}

TEST(Dispatch, PrintScreenAndAltSpace) {
    InputRig rig;
    // The window is looked up on the main thread, when the capture runs.
    const auto print = [&](uint64_t flags) {
        rig.press(kF13, flags);
        rig.sim.mainQueue.drain();
    };
    print(0);
    print(opt);
    rig.switcher.selected = 42;
    rig.press(kTab, opt);
    print(opt); // while the switcher shows: its selected window
    rig.windows.front.reset();
    rig.switcher.selected.reset();
    rig.routing.endSwitcherSession(1);
    print(opt); // no window at all: nothing
    print(sh);
    const std::vector<LaunchedTool> expected = {{"/usr/sbin/screencapture", {"-c"}},
                                                {"/usr/sbin/screencapture", {"-c", "-o", "-l", "7"}},
                                                {"/usr/sbin/screencapture", {"-c", "-o", "-l", "42"}}};
    EXPECT_EQ(rig.sim.processes.launched(), expected);
    EXPECT_EQ(rig.sim.workspace.openedURLs().value(0).toLocalFile(),
              "/System/Applications/Utilities/Screenshot.app");
    EXPECT_EQ(rig.hud.current()->mac, "⇧ ⌘ 5");

    // Alt+Space opens the window menu when its row is on.
    EXPECT_EQ(rig.press(kSpace, opt).first, pass);
    rig.set(PrefKey::altSpace, true);
    EXPECT_EQ(rig.press(kSpace, opt).first, swallow);
    rig.sim.mainQueue.drain();
    EXPECT_EQ(rig.calls.calls().last(), "menu");
}
