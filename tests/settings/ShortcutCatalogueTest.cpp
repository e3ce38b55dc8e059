#include "core/settings/ShortcutCatalogue.h"
#include "core/input/KeyRows.h"
#include "core/settings/Prefs.h"
#include "platform/sim/SimPrefs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

using namespace fenwold;

namespace {
struct Catalogue : ::testing::Test {
    SimPrefs store;
    Prefs prefs{store};
    void SetUp() override { prefs.registerDefaults(); }
};
} // namespace

TEST_F(Catalogue, EveryShortcutSwitchIsOneRowInTheOrderOfTheDeclarations) {
    const auto& sections = remapSections();
    std::vector<PrefKey> listed;
    std::set<QString> names;
    for (const auto& s : sections) {
        EXPECT_FALSE(s.rows.empty()) << s.name.toStdString();
        EXPECT_TRUE(names.insert(s.name).second) << s.name.toStdString();
        for (std::size_t i = 0; i < s.rows.size(); ++i) {
            const Remap& r = s.rows[i];
            EXPECT_TRUE(isShortcutSwitch(r.key)) << r.pref().toStdString();
            EXPECT_FALSE(r.keys.isEmpty() || r.purpose.isEmpty() || r.detail.isEmpty())
                << r.pref().toStdString();
            // A section lists its rows in the order their switches are declared.
            if (i > 0) {
                EXPECT_LT(s.rows[i - 1].key, r.key) << r.pref().toStdString();
            }
            listed.push_back(r.key);
        }
    }
    // Every shortcut switch the preferences declare has its row, once, and only those.
    std::vector<PrefKey> declared;
    for (std::size_t i = 0; i < kPrefKeyCount; ++i)
        if (isShortcutSwitch(static_cast<PrefKey>(i))) declared.push_back(static_cast<PrefKey>(i));
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, declared);
    EXPECT_EQ(sections[0].rows.front().pref(), "snapKeys");
    EXPECT_EQ(sections[0].rows.back().pref(), "winV");
    EXPECT_EQ(sections[1].name, QString("Windows key: search, settings, the system"));
    EXPECT_EQ(sections[4].name, QString("Function keys"));
    EXPECT_EQ(sections.back().name, QString("In Finder"));
    EXPECT_EQ(sections.back().rows.back().keys, "Ctrl+X then Ctrl+V");
    // Every row of the Windows key's sections that is off on a new Mac says which ⌘ shortcut it
    // hides, or why it hides none.
    for (std::size_t i : {0u, 1u}) {
        for (const auto& r : sections[i].rows) {
            if (isWinKeySwitch(r.key)) {
                EXPECT_TRUE(r.detail.contains("⌘")) << r.pref().toStdString();
            }
        }
    }
    // The editing keys follow Ctrl+A.
    EXPECT_EQ(sections[2].rows[2].pref(), "ctrlSelectAll");
    const Remap& editing = sections[2].rows[3];
    EXPECT_EQ(editing.pref(), "ctrlLetters");
    EXPECT_EQ(editing.keys, "Ctrl+Z Y S F N O P W T …");
    EXPECT_EQ(editing.purpose, "Editing and file keys");
    EXPECT_TRUE(editing.swapDoesIt());
    EXPECT_TRUE(editing.detail.endsWith("⌃Backspace deletes a word, as ⌥⌫ does on a Mac."));
    EXPECT_EQ(
        remapNamed("winE")->detail,
        "A new Finder window at your home folder, like Explorer. Hides ⌘E, which most apps use for \"use "
        "selection for find\".");
}

TEST_F(Catalogue, EachShortcutSwitchHasOneTextWhereItIsCarriedOut) {
    // The texts are declared beside the rows that carry the shortcuts out: a switch listed twice,
    // or a text for a switch that is not a shortcut, would be a row the settings lose or invent.
    std::map<PrefKey, int> texts;
    for (const ListedShortcut& listed : listedShortcuts()) {
        const std::string name(prefKeyName(listed.pref));
        EXPECT_TRUE(isShortcutSwitch(listed.pref)) << name;
        EXPECT_FALSE(listed.text.keys.empty() || listed.text.purpose.empty() || listed.text.detail.empty())
            << name;
        ++texts[listed.pref];
    }
    for (std::size_t i = 0; i < kPrefKeyCount; ++i) {
        const auto key = static_cast<PrefKey>(i);
        if (isShortcutSwitch(key)) {
            EXPECT_EQ(texts[key], 1) << prefKeyName(key);
        }
    }
}

TEST_F(Catalogue, SwapChangesOnlyTheFirstHeadingAndDisablesTheSoftwareRows) {
    const auto& sections = remapSections();
    EXPECT_EQ(sectionHeading(sections[0], false), "Windows key (arrives as ⌘)");
    EXPECT_EQ(sectionHeading(sections[0], true), "Windows key (arrives as ⌃)");
    EXPECT_EQ(sectionHeading(sections[2], true), "Ctrl");

    std::vector<QString> disabled;
    for (const auto& s : sections) {
        for (const auto& r : s.rows) {
            EXPECT_FALSE(rowDisabled(r, false));
            if (rowDisabled(r, true)) disabled.push_back(r.pref());
        }
    }
    EXPECT_EQ(disabled, (std::vector<QString>{"ctrlClipboard", "ctrlSelectAll", "ctrlLetters",
                                              "ctrlWebLetters", "ctrlSearch", "ctrlDigits", "ctrlZoom"}));
    const Remap& copy = *remapNamed("ctrlClipboard");
    EXPECT_EQ(rowAccessibilityLabel(copy, true),
              "Copy, cut, paste, unavailable while Ctrl and Command are swapped");
    EXPECT_EQ(rowAccessibilityLabel(copy, false), "Copy, cut, paste");
}

TEST_F(Catalogue, DetailTextFollowsSelectionSwapAndTheCloseOrQuitChoice) {
    EXPECT_EQ(detailText(nullptr, prefs), kNoSelectionPrompt);
    const Remap* copy = remapNamed("ctrlClipboard");
    EXPECT_EQ(detailText(copy, prefs), copy->detail);
    prefs.set(PrefKey::swapCtrlCmd, true);
    EXPECT_EQ(detailText(copy, prefs), kSwapPrefix + copy->detail);
    EXPECT_TRUE(detailText(copy, prefs)
                    .startsWith("Off while Ctrl and Command are swapped — the key you press "
                                "already sends what this row would. Edit with Ctrl"));
    // The row keeps its own value while hidden by the swap.
    EXPECT_FALSE(remapInForce(*copy, prefs));
    prefs.set(PrefKey::swapCtrlCmd, false);
    EXPECT_TRUE(remapInForce(*copy, prefs));

    const Remap* altF4 = remapNamed("altF4");
    EXPECT_EQ(detailText(altF4, prefs), "Closes the current window; quits the app when it's the last one.");
    writeAltF4Action(prefs, AltF4Action::quit);
    EXPECT_EQ(
        detailText(altF4, prefs),
        "Sends ⌘Q to quit the frontmost app, including all its windows. The app can ask to save changes.");
    EXPECT_EQ(pickerLabel(AltF4Action::close), "Close tab/window (⌘W)");
    EXPECT_TRUE(altF4PickerEnabled(prefs));
    prefs.set(PrefKey::shortcutsEnabled, false);
    EXPECT_FALSE(altF4PickerEnabled(prefs));
    EXPECT_FALSE(remapInForce(*remapNamed("snapKeys"), prefs));
}
