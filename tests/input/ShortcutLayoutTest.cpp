// Which layout shortcuts are read with, what a layout's keys give, and when the table is built
// again.
#include "core/input/ShortcutLayout.h"
#include "platform/sim/SimSession.h"

#include <gtest/gtest.h>

using namespace fenwold;

namespace {

// A session's layouts as the system would answer for them, with the calls counted.
class FakeLayouts final : public KeyboardLayout {
public:
    std::optional<KeyboardInputSource> currentSource() const override { return source; }
    std::optional<LayoutTranslations> translate(LayoutChoice which, uint32_t keyboardType) const override {
        asked.emplace_back(which, keyboardType);
        auto keys = which == LayoutChoice::current ? current : asciiCapable;
        if (keys) keys->keyboardType = keyboardType;
        return keys;
    }
    uint32_t keyboardType() const override { return 40; }
    Subscription observeChanges(std::function<void()> handler) override {
        return observers.add(std::move(handler));
    }

    std::optional<KeyboardInputSource> source = KeyboardInputSource{"com.example.Latin", true};
    std::optional<LayoutTranslations> current, asciiCapable;
    mutable std::vector<std::pair<LayoutChoice, uint32_t>> asked;
    ObserverList observers;
};

LayoutTranslations layoutTyping(const QString& id, const QString& keys) {
    LayoutTranslations t;
    t.sourceID = id;
    for (int code = 0; code < keys.size(); ++code) {
        t.plain[code].text = keys.mid(code, 1);
        t.shifted[code].text = keys.mid(code, 1).toUpper();
    }
    return t;
}

struct LayoutFixture : ::testing::Test {
    SimSession sim;
    FakeLayouts layouts;
};

} // namespace

TEST_F(LayoutFixture, TheSelectedLayoutWhenItTypesAsciiElseTheOneTheSystemKeepsForShortcuts) {
    layouts.current = layoutTyping("com.example.Latin", "qwerty");
    layouts.asciiCapable = layoutTyping("com.example.Kept", "azerty");
    ShortcutLayout layout(layouts, sim.mainQueue, sim.log);
    EXPECT_EQ(layout.table().sourceID(), "com.example.Latin");
    EXPECT_EQ(layout.table().character(0, false), U'q');

    // A Cyrillic source: the ASCII-capable layout, never the one that types the Cyrillic letters.
    layouts.source = KeyboardInputSource{"com.example.Cyrillic", false};
    layouts.observers.notify();
    EXPECT_EQ(layout.table().sourceID(), "com.example.Kept");
    EXPECT_EQ(layout.table().character(0, true), U'A');
    EXPECT_EQ(layouts.asked.back().first, LayoutChoice::asciiCapable);

    // A layout without Unicode data falls back the same way.
    layouts.source = KeyboardInputSource{"com.example.Latin", true};
    layouts.current.reset();
    layouts.observers.notify();
    EXPECT_EQ(layout.table().sourceID(), "com.example.Kept");

    // With nothing readable at all, the keys mean their US labels, and the log says so.
    layouts.asciiCapable.reset();
    layouts.observers.notify();
    EXPECT_EQ(layout.table().character(6, false), U'z');
    EXPECT_EQ(sim.log.lines().last(),
              "Fenwold: no keyboard layout could be read — shortcuts use US key labels");
}

TEST_F(LayoutFixture, DeadKeysControlCharactersAndLongerTextsGiveNoLetter) {
    LayoutTranslations keys = layoutTyping("com.example.Accents", "abc");
    keys.plain[1] = {QString(), true};         // a dead accent
    keys.plain[2].text = QStringLiteral("\r"); // Return
    keys.plain[3].text = QStringLiteral("ss"); // two characters
    keys.plain[4].text = QStringLiteral("é");
    keys.plain[5].text = QString::fromUcs4(U"𝔞"); // beyond the basic plane
    const KeyLayoutTable table = KeyLayoutTable::from(keys);
    EXPECT_EQ(table.character(0, false), U'a');
    for (int code : {1, 2, 3, 5})
        EXPECT_EQ(table.character(code, false), 0u) << code;
    EXPECT_EQ(table.character(4, false), U'é');
    EXPECT_EQ(table.character(-1, false), 0u);
    EXPECT_EQ(table.character(128, false), 0u);
    EXPECT_EQ(table.keyFor(U'é'), (KeyStroke{4, false}));
    EXPECT_EQ(table.keyFor(U'A'), (KeyStroke{0, true}));
    EXPECT_FALSE(table.keyFor(U'x'));
    EXPECT_FALSE(table.keyFor(0));
}

TEST_F(LayoutFixture, ATableOnceHandedOutStaysAndAnotherKeyboardTypeRebuildsItOnce) {
    layouts.current = layoutTyping("com.example.One", "qwerty");
    ShortcutLayout layout(layouts, sim.mainQueue, sim.log);
    const KeyLayoutTable* first = &layout.table();
    layouts.current = layoutTyping("com.example.Two", "azerty");
    layouts.observers.notify();
    EXPECT_NE(&layout.table(), first);
    // Back to the first layout: the same table as before, which a reader may still hold.
    layouts.current = layoutTyping("com.example.One", "qwerty");
    layouts.observers.notify();
    EXPECT_EQ(&layout.table(), first);
    EXPECT_EQ(first->keyboardType(), 40u);

    // Keys from a keyboard of another type: one rebuild on the main queue, for that type.
    layouts.asked.clear();
    layout.keyboardTyped(43);
    layout.keyboardTyped(43);
    layout.keyboardTyped(0); // unknown: nothing
    EXPECT_TRUE(layouts.asked.empty());
    sim.mainQueue.drain();
    ASSERT_EQ(layouts.asked.size(), 1u);
    EXPECT_EQ(layouts.asked[0].second, 43u);
    EXPECT_EQ(layout.table().keyboardType(), 43u);
    layout.keyboardTyped(43);
    sim.mainQueue.drain();
    EXPECT_EQ(layouts.asked.size(), 1u);
}

TEST(SimulatedLayouts, TranslateWithCommandAndTellDeadKeys) {
    SimSession sim;
    ASSERT_TRUE(sim.keyboardLayout.select("German"));
    const auto german = sim.keyboardLayout.translate(LayoutChoice::current, 40);
    ASSERT_TRUE(german);
    EXPECT_EQ(german->plain[16].text, "z");
    EXPECT_TRUE(german->plain[24].deadKey); // ´
    EXPECT_EQ(german->shifted[30].text, "*");
    // Typing and key equivalents read the same keys differently on "Dvorak – QWERTY ⌘".
    ASSERT_TRUE(sim.keyboardLayout.select("com.apple.keylayout.DVORAK-QWERTYCMD"));
    EXPECT_EQ(sim.keyboardLayout.typed(8, false), QChar('j'));
    EXPECT_EQ(sim.keyboardLayout.equivalent(8, false), QChar('c'));
    EXPECT_EQ(sim.keyboardLayout.translate(LayoutChoice::current, 40)->plain[8].text, "c");
    // Russian types Cyrillic; its key equivalents are the last Latin layout's.
    ASSERT_TRUE(sim.keyboardLayout.select("Russian"));
    EXPECT_EQ(sim.keyboardLayout.typed(8, false), QChar(u'с'));
    EXPECT_EQ(sim.keyboardLayout.equivalent(8, false), QChar('c'));
    EXPECT_FALSE(sim.keyboardLayout.currentSource()->asciiCapable);
    EXPECT_EQ(sim.keyboardLayout.keyTyping(QChar(u'ж'))->keyCode, 41);
    EXPECT_FALSE(sim.keyboardLayout.select("Klingon"));
}
