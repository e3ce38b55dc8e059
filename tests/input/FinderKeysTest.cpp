// Explorer keys in Finder.
#include "InputRig.h"
#include "selfcheck/ModuleChecks.h"

#include <gtest/gtest.h>

using namespace fenwold;
using namespace fenwold::testing;

namespace {

const uint64_t cmd = flag::command, ctl = flag::control;

struct FinderRig : InputRig {
    FinderRig() {
        finderPid = sim.app("com.apple.finder", "Finder").frontmost();
        focus("AXList");
    }
    void focus(const QString& role) {
        const AXElement e = sim.accessibility.create(finderPid);
        sim.accessibility.set(e, "AXRole", AXValue::of(role));
        focusOn(e);
    }
    // Finder's focused element, as Finder's own application element and the system-wide one tell.
    void focusOn(const AXElement& e) {
        sim.accessibility.set(sim.accessibility.application(finderPid), "AXFocusedUIElement", AXValue::of(e));
        sim.accessibility.set(sim.accessibility.systemWide(), "AXFocusedUIElement", AXValue::of(e));
    }
    QStringList pairTo(int key, uint64_t flags) const {
        return {QString("down %1 0x%2 -> %3").arg(key).arg(flags, 0, 16).arg(finderPid),
                QString("up %1 0x%2 -> %3").arg(key).arg(flags, 0, 16).arg(finderPid)};
    }
    int32_t finderPid = 0;
};

} // namespace

TEST(FinderKeys, F2RenamesOnlyWhenAFileIsSelected) {
    FinderRig rig;
    // A file is selected: F2 becomes Return, delivered after the key is let go.
    EXPECT_EQ(rig.down(kF2), TapAnswer::swallow);
    rig.sim.mainQueue.drain();
    EXPECT_TRUE(rig.posted().isEmpty());
    EXPECT_EQ(rig.up(kF2), TapAnswer::swallow);
    EXPECT_EQ(rig.posted(), rig.pairTo(36, 0));
    EXPECT_EQ(rig.hintNow(), (Hint{"F2", "Return", std::nullopt}));
    // The focus query must not set the process-wide default timeout; Finder's element has its own.
    EXPECT_EQ(rig.sim.accessibility.messagingTimeout(rig.sim.accessibility.systemWide()), 0);
    EXPECT_EQ(rig.sim.accessibility.messagingTimeout(rig.sim.accessibility.application(rig.finderPid)), 0.15);

    // Renaming (focus in a text field): F2 arrives unchanged; the release came first this time.
    rig.sim.keys.clear();
    rig.focus("AXTextField");
    rig.press(kF2);
    EXPECT_TRUE(rig.posted().isEmpty());
    rig.sim.mainQueue.drain();
    EXPECT_EQ(rig.posted(), rig.pairTo(120, 0));
}

TEST(FinderKeys, HeldEnterOpensOnce) {
    FinderRig rig;
    rig.down(kReturn);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(rig.down(kReturn, 0, {.autorepeat = true}), TapAnswer::swallow);
    rig.sim.mainQueue.drain();
    rig.up(kReturn);
    EXPECT_EQ(rig.posted(), rig.pairTo(31, cmd));
    // Shift is allowed; Command is not a plain key.
    rig.sim.keys.clear();
    EXPECT_EQ(rig.down(kFwdDelete, cmd), TapAnswer::pass);
}

TEST(FinderKeys, CutAndPasteMovesFiles) {
    FinderRig rig;
    // Ctrl+X in Finder copies and remembers the cut; Ctrl+V then moves.
    rig.press(kX, ctl);
    EXPECT_EQ(rig.posted(), rig.pairTo(8, cmd));
    EXPECT_EQ(rig.hintNow()->mac, "⌘ C ~then ⌥ ⌘ V");
    rig.sim.keys.clear();
    rig.press(kV, ctl);
    EXPECT_EQ(rig.posted(), rig.pairTo(9, cmd | flag::option));

    // Ctrl+X, Ctrl+C, Ctrl+V: the copy cleared the cut, a plain paste.
    rig.sim.keys.clear();
    rig.press(kX, ctl);
    rig.press(kC, ctl);
    rig.press(kV, ctl);
    EXPECT_EQ(rig.posted().mid(4), rig.pairTo(9, cmd));

    // Ctrl+X in Finder, a paste in a text editor, then Ctrl+V in Finder: a normal paste.
    rig.sim.keys.clear();
    rig.press(kX, ctl);
    rig.sim.workspace.activate(rig.textEdit);
    rig.press(kV, ctl);
    rig.sim.workspace.activate(rig.finderPid);
    rig.press(kV, ctl);
    EXPECT_EQ(rig.posted().mid(2, 2), (QStringList{QString("down 9 0x100000 -> %1").arg(rig.textEdit),
                                                   QString("up 9 0x100000 -> %1").arg(rig.textEdit)}));
    EXPECT_EQ(rig.posted().mid(4), rig.pairTo(9, cmd));
}

TEST(FinderKeys, ShiftDeleteIsACut) {
    FinderRig rig;
    rig.press(kFwdDelete, flag::shift);
    EXPECT_EQ(rig.posted(), rig.pairTo(8, cmd)); // copy-instead, the cut remembered
    EXPECT_TRUE(rig.finder.cut().pending());
}

TEST(FinderKeys, PendingF2IsDeliveredWhenTheTapIsDisabled) {
    FinderRig rig;
    rig.down(kF2);
    TapEvent off;
    off.type = eventtype::tapDisabledByUserInput;
    rig.dispatcher.tapCallback(off);
    EXPECT_EQ(rig.posted(), rig.pairTo(120, 0));
    // The decision that arrives later finds nothing to deliver.
    rig.sim.mainQueue.drain();
    EXPECT_EQ(rig.posted().size(), 2);

    QStringList failures;
    EXPECT_TRUE(finderKeysSelfcheck(failures)) << failures.join("\n").toStdString();
}

TEST(FinderKeys, AShelfOpenedWhileF2IsHeldDoesNotStrandIt) {
    FinderRig rig;
    rig.down(kF2);
    rig.routing.setClipboardOpen(true);
    EXPECT_EQ(rig.up(kF2), TapAnswer::swallow);
    rig.sim.mainQueue.drain();
    EXPECT_EQ(rig.posted(), rig.pairTo(36, 0));
    // Once the shelf is gone, F2 works again.
    rig.routing.setClipboardOpen(false);
    rig.sim.keys.clear();
    rig.press(kF2);
    rig.sim.mainQueue.drain();
    EXPECT_EQ(rig.posted(), rig.pairTo(36, 0));
}

TEST(FinderKeys, FocusInAnotherProcessGetsTheKey) {
    // Another process's panel holds the keyboard while Finder stays in front (a search field over
    // it), and a view of another process inside Finder's window: both get Return as it was typed.
    for (const bool insideFinder : {false, true}) {
        FinderRig rig;
        rig.focus("AXList");
        const int32_t panel = rig.sim.app("com.example.Panel", "Panel");
        const AXElement e = rig.sim.accessibility.create(panel);
        rig.sim.accessibility.set(e, "AXRole", AXValue::of(QString(insideFinder ? "AXList" : "AXTextField")));
        if (insideFinder)
            rig.focusOn(e);
        else
            rig.sim.accessibility.set(rig.sim.accessibility.systemWide(), "AXFocusedUIElement",
                                      AXValue::of(e));
        rig.press(kReturn);
        rig.sim.mainQueue.drain();
        EXPECT_EQ(rig.posted(), (QStringList{QString("down 36 0x0 -> %1").arg(panel),
                                             QString("up 36 0x0 -> %1").arg(panel)}))
            << (insideFinder ? "inside Finder" : "over Finder");
    }
}

TEST(FinderKeys, AHungFinderHoldsTheKeyNoLongerThanItsOwnShortTimeout) {
    FinderRig rig;
    rig.sim.accessibility.setAppUnresponsive(rig.finderPid, true);
    rig.press(kF2);
    rig.sim.mainQueue.drain();
    // Asked through the system-wide element, the main thread would have waited the process-wide
    // default; Finder's own element gives up after 0.15 s, and F2 arrives as it was pressed.
    EXPECT_DOUBLE_EQ(rig.sim.accessibility.waited(), 0.15);
    EXPECT_EQ(rig.posted(), rig.pairTo(120, 0));
}

TEST(FinderKeys, BackspaceAltUpAltEnterAndCtrlDAreExplorersUnlessANameIsBeingTyped) {
    FinderRig rig;
    const uint64_t opt = flag::option;
    const auto swallow = TapAnswer::swallow, pass = TapAnswer::pass;
    struct Case {
        int64_t key;
        uint64_t flags;
        int mapped;
        uint64_t mappedFlags;
        QString win;
    };
    const std::vector<Case> cases = {
        {kDelete, 0, 33, cmd, "Backspace"},   // ⌘[ : back
        {kUp, opt, 126, cmd, "Alt+↑"},        // ⌘↑ : the enclosing folder
        {kReturn, opt, 34, cmd, "Alt+Enter"}, // ⌘I : Get Info
        {kD, ctl, 51, cmd, "Ctrl+D"},         // ⌘⌫ : to the Trash
    };
    for (const Case& c : cases) {
        rig.sim.keys.clear();
        rig.focus("AXList");
        EXPECT_EQ(rig.press(c.key, c.flags), std::make_pair(swallow, swallow)) << c.win.toStdString();
        rig.sim.mainQueue.drain();
        EXPECT_EQ(rig.posted(), rig.pairTo(c.mapped, c.mappedFlags)) << c.win.toStdString();
        EXPECT_EQ(rig.hintNow()->win, c.win);
        // Renaming: the key as it was pressed.
        rig.sim.keys.clear();
        rig.focus("AXTextField");
        rig.press(c.key, c.flags);
        rig.sim.mainQueue.drain();
        EXPECT_EQ(rig.posted(), rig.pairTo(static_cast<int>(c.key), c.flags)) << c.win.toStdString();
    }
    // Each follows its own switch; Ctrl+D the Del row's.
    rig.focus("AXList");
    for (PrefKey k : {PrefKey::finderBack, PrefKey::finderUp, PrefKey::finderInfo, PrefKey::finderDelete})
        rig.set(k, false);
    rig.sim.keys.clear();
    for (const Case& c : cases)
        EXPECT_EQ(rig.press(c.key, c.flags).first, pass) << c.win.toStdString();
    EXPECT_TRUE(rig.posted().isEmpty());
}

// Typing in a field, Backspace is the field's as soon as that is known: held, it keeps deleting,
// and keys typed while it is down arrive after it.
TEST(FinderKeys, AHeldBackspaceInAFieldRepeatsAndKeepsItsPlaceAmongTheKeys) {
    FinderRig rig;
    rig.focus("AXTextField");
    EXPECT_EQ(rig.down(kDelete), TapAnswer::swallow);
    rig.sim.mainQueue.drain();
    const QString down = QString("down 51 0x0 -> %1").arg(rig.finderPid);
    EXPECT_EQ(rig.posted(), QStringList{down});
    for (int i = 0; i < 3; ++i) {
        rig.down(kDelete, 0, {.autorepeat = true});
        rig.sim.mainQueue.drain();
    }
    EXPECT_EQ(rig.posted(), QStringList(4, down));
    // A key rolled over before Backspace is let go passes behind it; the release goes out as well.
    EXPECT_EQ(rig.down(kA), TapAnswer::pass);
    EXPECT_EQ(rig.up(kDelete), TapAnswer::swallow);
    QStringList held(4, down);
    held << QString("up 51 0x0 -> %1").arg(rig.finderPid);
    EXPECT_EQ(rig.posted(), held);
    // The tap switched off while Backspace is held: its key-up alone is still owed.
    rig.sim.keys.clear();
    rig.down(kDelete);
    rig.sim.mainQueue.drain();
    rig.sim.keys.clear();
    TapEvent off;
    off.type = eventtype::tapDisabledByUserInput;
    rig.dispatcher.tapCallback(off);
    EXPECT_EQ(rig.posted(), QStringList{QString("up 51 0x0 -> %1").arg(rig.finderPid)});

    // Let go before the look at the focus came back: the whole press, once.
    rig.sim.keys.clear();
    rig.press(kDelete);
    rig.sim.mainQueue.drain();
    EXPECT_EQ(rig.posted(), rig.pairTo(51, 0));
    // Where Backspace goes back, holding it still goes back once.
    rig.sim.keys.clear();
    rig.focus("AXList");
    rig.down(kDelete);
    rig.sim.mainQueue.drain();
    rig.down(kDelete, 0, {.autorepeat = true});
    rig.sim.mainQueue.drain();
    EXPECT_TRUE(rig.posted().isEmpty());
    rig.up(kDelete);
    EXPECT_EQ(rig.posted(), rig.pairTo(33, cmd));
}

TEST(FinderKeys, InFinderCtrlESearchesAltDGoesToAFolderAndTheBrowserKeysPass) {
    FinderRig rig;
    const uint64_t opt = flag::option, sh = flag::shift;
    rig.set(PrefKey::ctrlParagraph, true);
    const std::vector<std::pair<std::pair<int64_t, uint64_t>, QStringList>> cases = {
        {{kE, ctl}, rig.pairTo(3, cmd)},      // ⌘F, never ⌘E, which ejects
        {{kD, opt}, rig.pairTo(5, cmd | sh)}, // ⇧⌘G, not ⌘L, which makes an alias
        {{kLeft, opt}, rig.pairTo(33, cmd)},  // back, as everywhere
        {{kK, ctl}, {}},                      // Ctrl+K: no ⌘K (connect to a server)
        {{kF5, 0}, {}},                       // no ⌘R (show an alias's original)
        {{kF3, sh}, {}},                      // no ⇧⌘G
    };
    for (const auto& [pressed, posted] : cases) {
        rig.sim.keys.clear();
        rig.press(pressed.first, pressed.second);
        rig.sim.mainQueue.drain();
        EXPECT_EQ(rig.posted(), posted) << pressed.first;
    }
    // Outside Finder and the browsers, Ctrl+E is the application's own key: its ⌘E would use the
    // selection for Find.
    rig.sim.workspace.activate(rig.textEdit);
    rig.sim.keys.clear();
    EXPECT_EQ(rig.press(kE, ctl).first, TapAnswer::pass);
    EXPECT_TRUE(rig.posted().isEmpty());
}

// The welcome's one choice turns every Windows-key row on: Win+X and Win+V are then the quick
// link menu and the clipboard shelf in Finder as everywhere, never a copy and a move of the
// selected files. Explorer's cut stays Ctrl's, whichever key sends Control, on each layout.
TEST(FinderKeys, WinXThenWinVOpenTheMenuAndTheShelfAndOnlyCtrlCutsOnEveryLayout) {
    for (const char* layout : {"US", "German", "French", "Dvorak"}) {
        SCOPED_TRACE(layout);
        FinderRig rig;
        ASSERT_TRUE(rig.sim.keyboardLayout.select(layout));
        rig.sim.mainQueue.drain();
        const auto keyOf = [&](char32_t letter) {
            return static_cast<int64_t>(rig.layout.table().keyFor(letter)->keyCode);
        };
        const int64_t x = keyOf(U'x'), v = keyOf(U'v'), c = keyOf(U'c');
        rig.setWinKeyRows(true);

        EXPECT_EQ(rig.press(x, cmd).first, TapAnswer::swallow);
        EXPECT_EQ(rig.press(v, cmd).first, TapAnswer::swallow);
        rig.sim.mainQueue.drain();
        EXPECT_EQ(rig.calls.calls(), (QStringList{"quickLinks", "shelf"}));
        EXPECT_TRUE(rig.posted().isEmpty()) << rig.posted().join(", ").toStdString();
        EXPECT_FALSE(rig.finder.cut().pending());

        // Ctrl+X, then Win+V: the shelf; the cut waits for Ctrl+V, which moves.
        rig.calls.clear();
        rig.press(x, ctl);
        rig.press(v, cmd);
        rig.sim.mainQueue.drain();
        EXPECT_EQ(rig.calls.calls(), QStringList{"shelf"});
        rig.sim.keys.clear();
        rig.press(v, ctl);
        EXPECT_EQ(rig.posted(), rig.pairTo(static_cast<int>(v), cmd | flag::option));

        // Control and Command swapped in hardware: the physical Win key arrives as Control and
        // the physical Ctrl as Command, and each still does its own.
        rig.set(PrefKey::swapCtrlCmd, true);
        rig.calls.clear();
        rig.sim.keys.clear();
        rig.press(x, ctl); // Win+X
        rig.sim.mainQueue.drain();
        EXPECT_EQ(rig.calls.calls(), QStringList{"quickLinks"});
        EXPECT_TRUE(rig.posted().isEmpty());
        rig.press(x, cmd); // Ctrl+X: the copy, the cut remembered
        EXPECT_EQ(rig.posted(), rig.pairTo(static_cast<int>(c), cmd));
        rig.sim.keys.clear();
        rig.press(v, cmd); // Ctrl+V
        EXPECT_EQ(rig.posted(), rig.pairTo(static_cast<int>(v), cmd | flag::option));
        rig.set(PrefKey::swapCtrlCmd, false);

        // The Windows-key rows off: the Mac's own ⌘X and ⌘V reach Finder untouched, and a ⌘V
        // (which pastes what a later copy put there) ends a pending cut.
        rig.setWinKeyRows(false);
        rig.calls.clear();
        rig.sim.keys.clear();
        EXPECT_EQ(rig.press(x, cmd).first, TapAnswer::pass);
        EXPECT_FALSE(rig.finder.cut().pending());
        rig.press(x, ctl);
        EXPECT_TRUE(rig.finder.cut().pending());
        rig.sim.keys.clear();
        EXPECT_EQ(rig.press(v, cmd).first, TapAnswer::pass);
        EXPECT_FALSE(rig.finder.cut().pending());
        rig.press(v, ctl);
        EXPECT_EQ(rig.posted(), rig.pairTo(static_cast<int>(v), cmd)); // a paste, never a move
        EXPECT_TRUE(rig.calls.calls().isEmpty());
    }
}

// Ctrl+L goes to a folder in Finder, as Explorer's address bar does (⌘L would make an alias),
// and Ctrl+R, like F5, is Finder's own (⌘R would show an alias's original).
TEST(FinderKeys, CtrlLGoesToAFolderAndCtrlRPassesOnEveryLayout) {
    for (const bool winRows : {false, true})
        for (const char* layout : {"US", "German", "French", "Dvorak"}) {
            SCOPED_TRACE(layout);
            SCOPED_TRACE(winRows ? "Windows-key rows on" : "Windows-key rows off");
            FinderRig rig;
            rig.setWinKeyRows(winRows);
            ASSERT_TRUE(rig.sim.keyboardLayout.select(layout));
            rig.sim.mainQueue.drain();
            const auto keyOf = [&](char32_t letter) {
                return static_cast<int64_t>(rig.layout.table().keyFor(letter)->keyCode);
            };
            rig.sim.keys.clear();
            EXPECT_EQ(rig.press(keyOf(U'l'), ctl).first, TapAnswer::swallow);
            EXPECT_EQ(rig.posted(), rig.pairTo(static_cast<int>(keyOf(U'g')), cmd | flag::shift));
            EXPECT_EQ(rig.hintNow()->win, "Ctrl+L");
            rig.sim.keys.clear();
            EXPECT_EQ(rig.press(keyOf(U'r'), ctl).first, TapAnswer::pass);
            EXPECT_EQ(rig.press(keyOf(U'f'), ctl).first, TapAnswer::swallow); // Ctrl+F still finds
            EXPECT_EQ(rig.posted(), rig.pairTo(static_cast<int>(keyOf(U'f')), cmd));
            // Elsewhere both are the application's ⌘L and ⌘R.
            rig.sim.workspace.activate(rig.textEdit);
            rig.sim.keys.clear();
            rig.press(keyOf(U'l'), ctl);
            rig.press(keyOf(U'r'), ctl);
            EXPECT_EQ(rig.posted(), postedPair(static_cast<int>(keyOf(U'l')), cmd, rig.textEdit) +
                                        postedPair(static_cast<int>(keyOf(U'r')), cmd, rig.textEdit));
        }
}
