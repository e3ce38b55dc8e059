// The shelf model's search, filters and selection.
#include "ClipTestSupport.h"
#include "core/clipboard/ClipboardShelfModel.h"
#include "core/clipboard/ClipboardStore.h"
#include "platform/sim/SimSession.h"

#include <gtest/gtest.h>

using namespace fenwold;
using namespace fenwold::test;

namespace {

class ShelfModelTest : public ::testing::Test {
protected:
    SimSession sim;
    ClipboardStore store{std::nullopt, sim.pasteboard, [] { return true; },
                         ClipboardStoreServices{&sim.mainQueue, &sim.worker,
                                                [this] { return sim.workspace.frontmostApp(); }, &sim.clock,
                                                std::nullopt}};
    ClipboardShelfModel model{store};

    // Inserted oldest first, so the shelf shows them in reverse.
    void add(const ClipboardEntry& entry) { store.insert(entry); }
    QStringList visibleTexts() const {
        QStringList out;
        for (const auto* e : model.visible())
            out << (e->kind() == ClipKind::image ? "<image>" : e->text());
        return out;
    }
    QString selectedText() const { return model.selected() ? model.selected()->text() : "<none>"; }
};

TEST_F(ShelfModelTest, TermsMatchTextSourceOrKindIgnoringCaseAndAccents) {
    add(textEntry("Meet at the café at noon", false, "Notes"));
    add(textEntry("cafe menu draft", false, "Pages"));
    add(ClipboardEntry(savedClip(ClipPayload{{PasteboardItem{{{ClipTypes::png, pngBytes(2, 2)}}}}}, "Photos"),
                       false));
    add(textEntry("const café = 1;", false, "Visual Studio Code"));

    model.setQuery("CAFE notes");
    EXPECT_EQ(visibleTexts(), QStringList{"Meet at the café at noon"});
    model.setQuery("image");
    EXPECT_EQ(visibleTexts(), QStringList{"<image>"});
    model.setQuery("  café\t");
    EXPECT_EQ(visibleTexts(),
              QStringList({"const café = 1;", "cafe menu draft", "Meet at the café at noon"}));
    model.setQuery("code cafe");
    EXPECT_EQ(visibleTexts(), QStringList{"const café = 1;"});
    model.setQuery("nowhere");
    EXPECT_TRUE(visibleTexts().isEmpty());

    model.setQuery("   ");
    const auto spaces = visibleTexts();
    model.setQuery("");
    EXPECT_EQ(spaces, visibleTexts());
    EXPECT_EQ(spaces.size(), 4);
}

TEST_F(ShelfModelTest, FiltersSeparateCodeFromTextAndShowPinsOfEveryKind) {
    add(textEntry("plain words"));
    add(textEntry("import os"));
    add(textEntry("https://example.com"));
    add(ClipboardEntry(savedClip(ClipPayload{{PasteboardItem{{{ClipTypes::png, pngBytes(2, 2)}}}}}), true));
    add(textEntry("def pinned(): pass", true));

    model.setFilter(ClipboardFilter::text);
    EXPECT_EQ(visibleTexts(), QStringList{"plain words"});
    model.setFilter(ClipboardFilter::code);
    EXPECT_EQ(visibleTexts(), QStringList({"def pinned(): pass", "import os"}));
    model.setFilter(ClipboardFilter::link);
    EXPECT_EQ(visibleTexts(), QStringList{"https://example.com"});
    model.setFilter(ClipboardFilter::image);
    EXPECT_EQ(visibleTexts(), QStringList{"<image>"});
    model.setFilter(ClipboardFilter::pinned);
    EXPECT_EQ(visibleTexts(), QStringList({"def pinned(): pass", "<image>"}));

    QStringList labels;
    for (auto f : allClipboardFilters)
        labels << rawValue(f);
    EXPECT_EQ(labels, QStringList({"All", "Pinned", "Text", "Images", "Links", "Code"}));
}

TEST_F(ShelfModelTest, MovingClampsAtBothEndsAndTakesFocusFromSearch) {
    for (const char* t : {"d", "c", "b", "a"})
        add(textEntry(t));
    model.setSearchFocused(true);
    model.move(1); // nothing selected: from the first
    EXPECT_EQ(selectedText(), "b");
    EXPECT_FALSE(model.searchFocused());
    model.move(-1);
    model.move(-1);
    EXPECT_EQ(selectedText(), "a");
    model.move(100);
    EXPECT_EQ(selectedText(), "d");
    model.move(1);
    EXPECT_EQ(selectedText(), "d");

    model.setFilter(ClipboardFilter::link);
    model.move(1);
    EXPECT_FALSE(model.selectedID());
}

TEST_F(ShelfModelTest, ReconcilingFollowsTheFilterAndClearsOnAnEmptyList) {
    add(textEntry("import sys"));
    add(textEntry("words"));
    add(textEntry("more words"));
    model.reconcileSelection();
    EXPECT_EQ(selectedText(), "more words");
    model.move(1);
    EXPECT_EQ(selectedText(), "words");

    model.setFilter(ClipboardFilter::code);
    EXPECT_EQ(selectedText(), "import sys"); // the hidden selection falls back to the first visible
    model.reconcileSelection();
    EXPECT_EQ(model.selectedID(), model.visible().front()->id());

    model.setFilter(ClipboardFilter::image);
    model.reconcileSelection();
    EXPECT_FALSE(model.selectedID());
    EXPECT_EQ(model.selected(), nullptr);
}

TEST_F(ShelfModelTest, ObserversHearChangesUntilTheirSubscriptionEnds) {
    int calls = 0;
    {
        Subscription s = model.observe([&] { ++calls; });
        model.setQuery("x");
        model.setQuery("x"); // unchanged: no notice
        model.setInspecting(true);
    }
    model.setQuery("y");
    EXPECT_EQ(calls, 2);
}

} // namespace
