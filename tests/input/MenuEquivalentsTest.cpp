// Shortcuts whose Mac key no key of the layout types (⌘[ and ⌘] on German or French): the front
// application's menu item with that key equivalent is pressed instead, found by the equivalent
// alone, whatever the menus' language.
#include "InputRig.h"
#include "core/windows/AccessibilityTimeouts.h"

#include <gtest/gtest.h>

using namespace fenwold;
using namespace fenwold::testing;
using namespace fenwold::testing::shorthand;

namespace {

// `AXMenuItemModifiers`: Shift 1, Option 2, Control 4, no Command 8.
constexpr int64_t kAXShift = 1, kAXControl = 4, kAXNoCommand = 8;

struct MenuRig : InputRig {
    explicit MenuRig(const char* layoutName) {
        EXPECT_TRUE(sim.keyboardLayout.select(layoutName)) << layoutName;
        sim.mainQueue.drain();
    }
    // An application's History menu, with its titles in German: only the equivalents count.
    void giveHistory(int32_t pid) {
        sim.windows.addKeyEquivalent(pid, "Verlauf", "Zurück", "[");
        sim.windows.addKeyEquivalent(pid, "Verlauf", "Vorwärts", "]");
    }
    QStringList pressed(int32_t pid) const { return sim.windows.journal(pid); }
    bool logged(const QString& line) const { return sim.log.lines().contains(line); }
};

} // namespace

TEST(MenuEquivalents, AltArrowsGoBackAndForwardOnEveryLayout) {
    struct Case {
        const char* layout;
        int back; // the key that types [ with ⌘ on the layout; -1 for none
    };
    for (const bool winRows : {false, true})
        for (const Case c :
             {Case{"US", kLeftBracket}, Case{"Dvorak", kMinus}, Case{"German", -1}, Case{"French", -1}}) {
            SCOPED_TRACE(c.layout);
            SCOPED_TRACE(winRows ? "Windows-key rows on" : "Windows-key rows off");
            MenuRig rig(c.layout);
            rig.setWinKeyRows(winRows);
            rig.giveHistory(rig.textEdit);
            EXPECT_EQ(rig.press(kLeft, opt), std::make_pair(swallow, swallow));
            EXPECT_EQ(rig.press(kRight, opt), std::make_pair(swallow, swallow));
            rig.sim.mainQueue.drain();
            if (c.back < 0) {
                EXPECT_TRUE(rig.posted().isEmpty()) << rig.posted().join(", ").toStdString();
                EXPECT_EQ(rig.pressed(rig.textEdit), (QStringList{"menu Zurück", "menu Vorwärts"}));
                EXPECT_EQ(rig.hud.current(), (Hint{"Alt+← / →", "~Verlauf ~› ~Vorwärts", std::nullopt}));
            } else {
                // A key types it: posted as a key, no menu asked.
                EXPECT_EQ(rig.posted().mid(0, 2), postedPair(c.back, cmd, rig.textEdit));
                EXPECT_TRUE(rig.pressed(rig.textEdit).isEmpty());
            }
        }
}

TEST(MenuEquivalents, NothingToPressIsLoggedAndNeverPostsAnotherKey) {
    MenuRig rig("German");
    // No item for ⌘[: the key goes on as typed, and the log says what could not be done.
    rig.press(kLeft, opt);
    rig.sim.mainQueue.drain();
    EXPECT_EQ(rig.posted(), postedPair(kLeft, opt, rig.textEdit));
    EXPECT_TRUE(
        rig.logged("Fenwold: Alt+← / →: no key of the keyboard layout com.apple.keylayout.German types "
                   "⌘[, and TextEdit has no menu item for it — the key went on as typed"))
        << rig.sim.log.lines().join('\n').toStdString();

    // Greyed out (no page to go back to): nothing is pressed and nothing posted.
    rig.giveHistory(rig.textEdit);
    rig.sim.windows.setMenuItemEnabled(rig.textEdit, "Zurück", false);
    rig.sim.keys.clear();
    rig.press(kLeft, opt);
    rig.sim.mainQueue.drain();
    EXPECT_TRUE(rig.posted().isEmpty());
    EXPECT_TRUE(rig.pressed(rig.textEdit).isEmpty());
    EXPECT_TRUE(
        rig.logged("Fenwold: Alt+← / →: TextEdit’s menu item for ⌘[ (Verlauf › Zurück) is unavailable now"));

    // An application that does not answer is asked no further, and the key goes on.
    rig.sim.windows.setMenuItemEnabled(rig.textEdit, "Zurück", true);
    rig.sim.accessibility.setAppUnresponsive(rig.textEdit, true);
    rig.press(kLeft, opt);
    rig.sim.mainQueue.drain();
    EXPECT_EQ(rig.posted(), postedPair(kLeft, opt, rig.textEdit));
    EXPECT_TRUE(
        rig.logged("Fenwold: Alt+← / →: no key of the keyboard layout com.apple.keylayout.German types "
                   "⌘[, and TextEdit did not answer in time — the key went on as typed"));
    EXPECT_LE(rig.sim.accessibility.waited(), 2 * kMenuTimeout);
}

TEST(MenuEquivalents, FindersBackspaceGoesBackThroughItsGoMenuUnlessANameIsBeingTyped) {
    for (const char* layout : {"German", "French"}) {
        SCOPED_TRACE(layout);
        MenuRig rig(layout);
        const int32_t finder = rig.sim.app("com.apple.finder", "Finder").frontmost();
        const AXElement list = rig.sim.accessibility.create(finder);
        rig.sim.accessibility.set(list, "AXRole", AXValue::of(QString("AXList")));
        rig.sim.accessibility.set(rig.sim.accessibility.application(finder), "AXFocusedUIElement",
                                  AXValue::of(list));
        rig.sim.accessibility.set(rig.sim.accessibility.systemWide(), "AXFocusedUIElement",
                                  AXValue::of(list));
        rig.giveHistory(finder);
        EXPECT_EQ(rig.press(kDelete), std::make_pair(swallow, swallow));
        rig.sim.mainQueue.drain();
        EXPECT_EQ(rig.pressed(finder), QStringList{"menu Zurück"});
        EXPECT_TRUE(rig.posted().isEmpty());
        EXPECT_EQ(rig.hud.current()->win, "Backspace");

        // Typing a name: Backspace deletes, and no menu is pressed.
        const AXElement field = rig.sim.accessibility.create(finder);
        rig.sim.accessibility.set(field, "AXRole", AXValue::of(QString("AXTextField")));
        rig.sim.accessibility.set(rig.sim.accessibility.application(finder), "AXFocusedUIElement",
                                  AXValue::of(field));
        rig.sim.accessibility.set(rig.sim.accessibility.systemWide(), "AXFocusedUIElement",
                                  AXValue::of(field));
        rig.press(kDelete);
        rig.sim.mainQueue.drain();
        EXPECT_EQ(rig.pressed(finder), QStringList{"menu Zurück"});
        EXPECT_EQ(rig.posted(), postedPair(kDelete, 0, finder));
    }
}

TEST(MenuEquivalents, ShortcutsAreReadFromTheItemsAttributes) {
    const auto chord = [](const char* c, int64_t bits) {
        return MenuEquivalents::chordOf(AXValue::of(QString::fromUtf8(c)), AXValue::of(bits));
    };
    EXPECT_EQ(chord("[", 0), (MenuChord{U'[', cmd}));
    // Letters are listed in capitals, with or without Shift.
    EXPECT_EQ(chord("G", kAXShift), (MenuChord{U'g', cmd | sh}));
    EXPECT_EQ(chord("Q", kAXControl), (MenuChord{U'q', cmd | ctl}));
    EXPECT_EQ(chord("?", 0), (MenuChord{U'?', cmd}));
    EXPECT_EQ(chord("a", kAXNoCommand | kAXControl), (MenuChord{U'a', ctl}));
    // No single character: no shortcut (an arrow's or a function key's glyph comes elsewhere).
    EXPECT_EQ(chord("", 0), std::nullopt);
    EXPECT_EQ(chord("ab", 0), std::nullopt);
    EXPECT_EQ(MenuEquivalents::chordOf(AXValue::missing(), AXValue::of(int64_t{0})), std::nullopt);
    EXPECT_EQ(MenuEquivalents::describe({U'g', cmd | sh | opt}), "⌥⇧⌘G");
}

// Every row in that situation takes the same way: here the zoom keys, on a layout whose keys type
// no plus (its place taken by ß), press View › Zoom In; minus is still a key.
TEST(MenuEquivalents, ZoomWithoutAPlusKeyPressesTheZoomInItem) {
    InputRig rig;
    rig.sim.keyboardLayout.install({"org.example.keylayout.NoPlus",
                                    "No Plus",
                                    "NP",
                                    true,
                                    u"asdfhgzxcv§bqweryt123465ß97-80]ou[ip\rlj'k;\\,/nm.\t `",
                                    u"ASDFHGZXCV±BQWERYT!@#$^%¿(&_*)}OU{IP\rLJ\"K:|<?NM>\t ~",
                                    {},
                                    {},
                                    {}});
    ASSERT_TRUE(rig.sim.keyboardLayout.select("No Plus"));
    rig.sim.windows.addKeyEquivalent(rig.textEdit, "View", "Zoom In", "+");
    EXPECT_EQ(rig.press(kKeypadPlus, ctl), std::make_pair(swallow, swallow));
    rig.sim.mainQueue.drain();
    EXPECT_EQ(rig.sim.windows.journal(rig.textEdit), QStringList{"menu Zoom In"});
    EXPECT_TRUE(rig.posted().isEmpty());
    EXPECT_EQ(rig.press(kKeypadMinus, ctl).first, swallow);
    EXPECT_EQ(rig.posted(), postedPair(kMinus, cmd, rig.textEdit));
}
