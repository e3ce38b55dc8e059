// Shortcuts on keyboards that are not US: each row decides by the letter the user's layout puts
// on the key and posts the key that gives the wanted letter there. Keys are named by their
// position (the US label) where a test presses them.
#include "InputRig.h"

#include <gtest/gtest.h>

using namespace fenwold;
using namespace fenwold::testing;
using namespace fenwold::testing::shorthand;

namespace {

struct LayoutRig : InputRig {
    explicit LayoutRig(const char* layout) { use(layout); }
    void use(const char* layout) { EXPECT_TRUE(sim.keyboardLayout.select(layout)) << layout; }
    // One press; what it posted, and whether both halves were swallowed.
    QStringList shortcut(int64_t key, uint64_t flags) {
        sim.keys.clear();
        const auto answers = press(key, flags);
        EXPECT_EQ(answers.first, answers.second) << key;
        return answers.first == swallow ? posted() : QStringList{"passed"};
    }
};

} // namespace

TEST(LayoutDispatch, GermanZUndoesAndYRedoesWhereverTheKeysSit) {
    LayoutRig rig("German");
    const int32_t te = rig.textEdit;
    // The key labelled Z sits where US has Y: undo is ⌘ and that key.
    EXPECT_EQ(rig.shortcut(kY, ctl), postedPair(kY, cmd, te));
    EXPECT_EQ(rig.hintNow(), (Hint{"Ctrl+Z", "⌘ Z", std::nullopt}));
    // Ctrl+Y (the US-Z position) is redo: ⇧⌘ and the German Z key, which a German Mac reads as ⇧⌘Z.
    EXPECT_EQ(rig.shortcut(kZ, ctl), postedPair(kY, cmd | sh, te));
    EXPECT_EQ(rig.hintNow(), (Hint{"Ctrl+Y", "⇧ ⌘ Z", std::nullopt}));
    EXPECT_EQ(rig.layout.table().sourceID(), "com.apple.keylayout.German");
}

TEST(LayoutDispatch, AzertySelectsAllWithItsAClosesWithItsWAndLeavesCtrlQAlone) {
    LayoutRig rig("French");
    const int32_t te = rig.textEdit;
    EXPECT_EQ(rig.shortcut(kQ, ctl), postedPair(kQ, cmd, te)); // the key labelled A
    EXPECT_EQ(rig.hintNow()->win, "Ctrl+A");
    EXPECT_EQ(rig.shortcut(kZ, ctl), postedPair(kZ, cmd, te)); // W closes
    EXPECT_EQ(rig.shortcut(kW, ctl), postedPair(kW, cmd, te)); // Z undoes
    EXPECT_EQ(rig.hintNow()->win, "Ctrl+Z");
    // Ctrl+Q, on the US-A position, is no shortcut: the application gets the key as typed, never
    // a ⌘ that would read as ⌘Q and quit it.
    EXPECT_EQ(rig.shortcut(kA, ctl), QStringList{"passed"});
    // Ctrl+0 resets the zoom from the number row's zero, which AZERTY types with Shift.
    EXPECT_EQ(rig.shortcut(29, ctl), postedPair(k0, cmd, te));
}

TEST(LayoutDispatch, DvorakCopiesFromItsCKeyAndDvorakQwertyCommandReadsQwertyLetters) {
    LayoutRig rig("Dvorak");
    const int32_t te = rig.textEdit;
    EXPECT_EQ(rig.shortcut(kI, ctl), postedPair(kI, cmd, te)); // Dvorak's C
    EXPECT_EQ(rig.hintNow()->win, "Ctrl+C");
    // Dvorak's J: the downloads only in a browser; an editor gets the key.
    EXPECT_EQ(rig.shortcut(kC, ctl), QStringList{"passed"});
    EXPECT_EQ(rig.shortcut(kX, ctl), QStringList{"passed"}); // Dvorak's Q is no shortcut

    // "Dvorak – QWERTY ⌘" types Dvorak but, like the Mac, reads shortcuts in QWERTY.
    rig.use("DVORAK-QWERTYCMD");
    EXPECT_EQ(rig.shortcut(kC, ctl), postedPair(kC, cmd, te));
    EXPECT_EQ(rig.hintNow()->win, "Ctrl+C");
    EXPECT_EQ(rig.shortcut(kI, ctl), postedPair(kI, cmd, te)); // Ctrl+I: italic
    EXPECT_EQ(rig.hintNow()->win, "Ctrl+I");
}

TEST(LayoutDispatch, RussianReadsShortcutsWithTheLatinLayoutUsedLast) {
    LayoutRig rig("German");
    rig.use("Russian");
    // The Cyrillic layout types no Latin letter; shortcuts follow the ASCII-capable layout selected
    // last, as the system's do.
    EXPECT_EQ(rig.layout.table().sourceID(), "com.apple.keylayout.German");
    EXPECT_EQ(rig.shortcut(kC, ctl), postedPair(kC, cmd, rig.textEdit));
    EXPECT_EQ(rig.hintNow()->win, "Ctrl+C");
    EXPECT_EQ(rig.shortcut(kY, ctl), postedPair(kY, cmd, rig.textEdit)); // German Z
}

TEST(LayoutDispatch, ZoomFollowsThePlusAndMinusKeysOfTheLayout) {
    LayoutRig rig("German");
    const int32_t te = rig.textEdit;
    EXPECT_EQ(rig.shortcut(kRightBracket, ctl), postedPair(kRightBracket, cmd, te)); // German +
    EXPECT_EQ(rig.shortcut(kKeypadPlus, ctl), postedPair(kRightBracket, cmd, te));
    EXPECT_EQ(rig.shortcut(kSlash, ctl), postedPair(kSlash, cmd, te)); // German -
    EXPECT_EQ(rig.shortcut(kKeypadMinus, ctl), postedPair(kSlash, cmd, te));
    EXPECT_EQ(rig.shortcut(kKeypad0, ctl), postedPair(k0, cmd, te));
    // The keys where US has = and - carry ´ and ß here: no zoom.
    EXPECT_EQ(rig.shortcut(kEqual, ctl), QStringList{"passed"});
    EXPECT_EQ(rig.shortcut(kMinus, ctl), QStringList{"passed"});
    // Ctrl+wheel zooms with the same keys.
    rig.sim.keys.clear();
    TapEvent wheel;
    wheel.type = eventtype::scrollWheel;
    wheel.flags = ctl;
    wheel.scrollDelta = 2;
    EXPECT_EQ(rig.feed(wheel), swallow);
    EXPECT_EQ(rig.posted(), postedPair(kRightBracket, cmd, te));
}

TEST(LayoutDispatch, ALetterNoKeyTypesGoesThroughTheMenuOrPassesTheKeyAndSaysSo) {
    InputRig rig;
    // A layout without Z (its place taken by an accent) and without W.
    rig.sim.keyboardLayout.install({"org.example.keylayout.NoZW",
                                    "No Z or W",
                                    "ZW",
                                    true,
                                    u"asdfhgéxcv§bqèeryt123465=97-80]ou[ip\rlj'k;\\,/nm.\t `",
                                    u"ASDFHGÉXCV±BQÈERYT!@#$^%+(&_*)}OU{IP\rLJ\"K:|<?NM>\t ~",
                                    {},
                                    {},
                                    {}});
    ASSERT_TRUE(rig.sim.keyboardLayout.select("No Z or W"));
    // TextEdit has Redo (⇧⌘Z) in its Edit menu, but no item for ⌘W.
    rig.sim.windows.addKeyEquivalent(rig.textEdit, "Edit", "Redo", "Z", 1);
    EXPECT_EQ(rig.press(kY, ctl), std::make_pair(swallow, swallow)); // Ctrl+Y: ⇧⌘Z
    EXPECT_EQ(rig.hintNow(), (Hint{"Ctrl+Y", "~Edit ~› ~Redo", std::nullopt}));
    EXPECT_EQ(rig.sim.windows.journal(rig.textEdit), QStringList{"menu Redo"});
    EXPECT_TRUE(rig.posted().isEmpty());

    // Ctrl+F4 would post ⌘W: with no item for it, the key goes on as typed, and the log says why.
    EXPECT_EQ(rig.press(kF4, ctl), std::make_pair(swallow, swallow));
    rig.sim.mainQueue.drain();
    EXPECT_EQ(rig.posted(), postedPair(kF4, ctl, rig.textEdit));
    const QStringList log = rig.sim.log.lines();
    EXPECT_TRUE(log.contains("Fenwold: Ctrl+F4: no key of the keyboard layout org.example.keylayout.NoZW "
                             "types ⌘W, and TextEdit has no menu item for it — the key went on as typed"))
        << log.join('\n').toStdString();
    // A held key acts once, and asks the menus once.
    rig.sim.windows.clearJournal(rig.textEdit);
    rig.down(kY, ctl);
    rig.down(kY, ctl, {.autorepeat = true});
    rig.up(kY, ctl);
    rig.sim.mainQueue.drain();
    EXPECT_EQ(rig.sim.windows.journal(rig.textEdit), QStringList{"menu Redo"});
    // Letters the layout has are posted as keys.
    rig.sim.keys.clear();
    EXPECT_EQ(rig.press(kC, ctl).first, swallow);
    EXPECT_EQ(rig.posted(), postedPair(kC, cmd, rig.textEdit));
}

TEST(LayoutDispatch, WinLettersFollowAzertyAndWinDigitsTheirPositions) {
    LayoutRig rig("French");
    for (PrefKey k : {PrefKey::winE, PrefKey::winM, PrefKey::winNum, PrefKey::winD})
        rig.set(k, true);
    const auto win = [&](int64_t key) {
        const TapAnswer a = rig.press(key, cmd).first;
        rig.sim.mainQueue.drain();
        return a;
    };
    EXPECT_EQ(win(kE), swallow);
    EXPECT_EQ(rig.sim.workspace.openedURLs().size(), 1);
    EXPECT_EQ(rig.hud.current()->win, "Win+E");
    EXPECT_EQ(win(kSemicolon), swallow); // AZERTY's M
    EXPECT_EQ(win(kM), pass);            // its comma
    EXPECT_EQ(rig.calls.calls(), QStringList{"minimizeAll all"});
    EXPECT_EQ(win(k5), swallow); // the key with 5 on it, typed with Shift on AZERTY
    EXPECT_EQ(rig.hud.current()->win, "Win+1…9");
}

TEST(LayoutDispatch, FinderCutAndMoveUseTheLayoutsXCAndV) {
    LayoutRig rig("German");
    const int32_t finder = rig.sim.app("com.apple.finder", "Finder").frontmost();
    rig.press(kX, ctl);
    rig.press(kV, ctl);
    QStringList expected = postedPair(kC, cmd, finder);
    expected << postedPair(kV, cmd | opt, finder);
    EXPECT_EQ(rig.posted(), expected);

    // On Dvorak the three letters sit elsewhere: the copy and the move are posted with its C and V.
    rig.use("Dvorak");
    rig.sim.keys.clear();
    rig.press(kB, ctl);      // Dvorak X
    rig.press(kPeriod, ctl); // Dvorak V
    expected = postedPair(kI, cmd, finder);
    expected << postedPair(kPeriod, cmd | opt, finder);
    EXPECT_EQ(rig.posted(), expected);
    // Shift+Delete is a cut too.
    rig.sim.keys.clear();
    rig.press(kFwdDelete, sh);
    EXPECT_EQ(rig.posted(), postedPair(kI, cmd, finder));
    EXPECT_TRUE(rig.finder.cut().pending());
}

TEST(LayoutDispatch, ALayoutChangeWhileAShortcutIsHeldStrandsNoKeyUp) {
    LayoutRig rig("German");
    EXPECT_EQ(rig.down(kY, ctl), swallow); // Ctrl+Z
    rig.use("French");                     // the same key is Y now
    EXPECT_EQ(rig.up(kY, ctl), swallow);   // its key-up still never reaches the application
    EXPECT_TRUE(rig.dispatcher.swallowedKeys().empty());
    EXPECT_EQ(rig.posted(), postedPair(kY, cmd, rig.textEdit));

    // The other way round: a key-down that passed has its key-up passed after the change.
    EXPECT_EQ(rig.down(kA, ctl), pass); // AZERTY Ctrl+Q
    rig.use("US");                      // the same key is A now
    EXPECT_EQ(rig.up(kA, ctl), pass);
    // And the next press means what the new layout says.
    rig.sim.keys.clear();
    EXPECT_EQ(rig.press(kA, ctl).first, swallow);
    EXPECT_EQ(rig.posted(), postedPair(kA, cmd, rig.textEdit));
}

TEST(LayoutDispatch, TheF19CycleReachesTheLayouts) {
    LayoutRig rig("US");
    rig.set(PrefKey::f19Globe, true);
    rig.press(kF19);
    rig.sim.mainQueue.drain();
    EXPECT_EQ(rig.layout.table().sourceID(), "com.apple.keylayout.German");
    EXPECT_EQ(rig.shortcut(kY, ctl), postedPair(kY, cmd, rig.textEdit)); // Ctrl+Z
}
