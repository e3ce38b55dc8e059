// Reading playground scripts: every step kind, and errors that name their line.
#include "core/diagnostics/PlaygroundScript.h"

#include <gtest/gtest.h>

using namespace fenwold;
using K = ScriptStep::Kind;

TEST(PlaygroundScript, ReadsEveryKindOfStep) {
    const ScriptParse parse = parsePlaygroundScript(QStringLiteral(R"(# a comment
alt+tab
press super+left   # trailing comment
hold alt+shift
release alt
tab x3
type "Hello, # world"
wait 0.25
move 10 20
click 30.5 40
doubleclick 1 2
drag 10 10 to 200 300
space 2
activate Text Edit
screenshot alt-tab_1.png
super
windowshot whole
stick-secure-input Vault
)"));
    ASSERT_FALSE(parse.error) << parse.error->toStdString();
    ASSERT_EQ(parse.steps.size(), 17u);
    const auto& s = parse.steps;
    EXPECT_EQ(s[0].kind, K::press);
    EXPECT_EQ(s[0].modifiers, std::vector<uint16_t>{58});
    EXPECT_EQ(s[0].key, 48);
    EXPECT_EQ(s[0].line, 2);
    EXPECT_EQ(s[1].modifiers, std::vector<uint16_t>{55});
    EXPECT_EQ(s[1].key, 123);
    EXPECT_EQ(s[2].kind, K::hold);
    EXPECT_EQ(s[2].modifiers, (std::vector<uint16_t>{58, 56}));
    EXPECT_EQ(s[3].kind, K::release);
    EXPECT_EQ(s[4].repeat, 3);
    EXPECT_EQ(s[4].key, 48);
    EXPECT_EQ(s[5].kind, K::type);
    EXPECT_EQ(s[5].text, "Hello, # world");
    EXPECT_DOUBLE_EQ(s[6].seconds, 0.25);
    EXPECT_EQ(s[7].kind, K::move);
    EXPECT_DOUBLE_EQ(s[8].at.x, 30.5);
    EXPECT_EQ(s[9].kind, K::doubleClick);
    EXPECT_EQ(s[10].kind, K::drag);
    EXPECT_DOUBLE_EQ(s[10].to.y, 300);
    EXPECT_EQ(s[11].space, 2);
    EXPECT_EQ(s[12].text, "Text Edit");
    EXPECT_EQ(s[13].kind, K::screenshot);
    // A chord of a modifier alone presses and releases it.
    EXPECT_EQ(s[14].kind, K::press);
    EXPECT_FALSE(s[14].key);
    EXPECT_EQ(s[14].modifiers, std::vector<uint16_t>{55});
    EXPECT_EQ(s[15].kind, K::windowShot);
    EXPECT_EQ(s[15].text, "whole");
    EXPECT_EQ(s[16].kind, K::stickSecureInput);
    EXPECT_EQ(s[16].text, "Vault");
}

TEST(PlaygroundScript, KeyNamesCoverThePcKeyboard) {
    EXPECT_EQ(scriptKeyCode("win"), 55);
    EXPECT_EQ(scriptKeyCode("Option"), 58);
    EXPECT_EQ(scriptKeyCode("del"), 117);
    EXPECT_EQ(scriptKeyCode("backspace"), 51);
    EXPECT_EQ(scriptKeyCode("f2"), 120);
    EXPECT_EQ(scriptKeyCode("f4"), 118);
    EXPECT_EQ(scriptKeyCode("5"), 23);
    EXPECT_EQ(scriptKeyCode("prtscn"), 105);
    EXPECT_FALSE(scriptKeyCode("tabb"));
    EXPECT_TRUE(isScriptModifier(59));
    EXPECT_FALSE(isScriptModifier(57)); // Caps Lock is a key of its own
}

TEST(PlaygroundScript, LettersAndSymbolsNameTheKeyThatCarriesThemAndLayoutsAreSteps) {
    const ScriptParse parse =
        parsePlaygroundScript("layout Dvorak – QWERTY ⌘\nctrl+Z\nctrl+plus\nwin+5\ntab");
    ASSERT_FALSE(parse.error) << parse.error->toStdString();
    const auto& s = parse.steps;
    ASSERT_EQ(s.size(), 5u);
    EXPECT_EQ(s[0].kind, K::layout);
    EXPECT_EQ(s[0].text, QString::fromUtf8("Dvorak – QWERTY ⌘"));
    EXPECT_EQ(s[1].character, QChar('z'));
    EXPECT_EQ(s[1].key, 6); // where no key carries it: the US position
    EXPECT_EQ(s[2].character, QChar('+'));
    // Digits and the other keys are positions.
    EXPECT_FALSE(s[3].character);
    EXPECT_EQ(s[3].key, 23);
    EXPECT_FALSE(s[4].character);
    EXPECT_EQ(parsePlaygroundScript("layout").error, QString("line 1: layout needs a name"));
}

TEST(PlaygroundScript, AnErrorNamesItsLineAndKeepsNoSteps) {
    const std::vector<std::pair<QString, QString>> cases = {
        {"alt+tab\n\nalt+tabb", "line 3: unknown key \"tabb\""},
        {"wait soon", "line 1: wait must be a number of at least 0, not \"soon\""},
        {"wait -1", "line 1: wait must be a number of at least 0, not \"-1\""},
        {"tab\ntype hello", "line 2: type needs its text in double quotes"},
        {"click 10", "line 1: click needs X and Y"},
        {"hold tab", "line 1: \"tab\" is not a modifier"},
        {"tab+alt", "line 1: \"tab+alt\": only the last key of a chord may be a non-modifier"},
        {"drag 1 2 3 4", "line 1: drag reads \"drag X Y to X Y\""},
        {"space 0", "line 1: Spaces are numbered from 1"},
        {"screenshot ../up", "line 1: screenshot names use letters, digits, '-', '_' and '.'"},
        {"tab x0", "line 1: a repeat reads like \"x3\""},
        {"alt+tab now", "line 1: cannot read \"alt+tab now\""},
        {"stick-secure-input", "line 1: stick-secure-input needs a name"},
        // Numbers the player could not carry out: not finite, too large, or not whole.
        {"click 850 nan", "line 1: Y must be a number of at least 0, not \"nan\""},
        {"move inf 3", "line 1: X must be a number of at least 0, not \"inf\""},
        {"drag 1 2 to 3 1e300", "line 1: Y must be at most 100000, not \"1e300\""},
        {"wait 86400", "line 1: wait must be at most 3600, not \"86400\""},
        {"space 66666666666.3", "line 1: space needs the whole number of a Space, not \"66666666666.3\""},
        {"space 2.5", "line 1: space needs the whole number of a Space, not \"2.5\""},
        {"space 17", "line 1: there are at most 16 Spaces"},
        {"tab x99999999999", "line 1: a repeat reads like \"x3\""},
        {"tab x5000", "line 1: a key repeats at most x1000"},
    };
    for (const auto& [text, message] : cases) {
        const ScriptParse parse = parsePlaygroundScript(text);
        ASSERT_TRUE(parse.error) << text.toStdString();
        EXPECT_EQ(*parse.error, message) << text.toStdString();
        EXPECT_TRUE(parse.steps.empty());
    }
}
