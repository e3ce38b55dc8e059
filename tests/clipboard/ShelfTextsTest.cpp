// What the shelf says: ages, counts, badges, empty states, status and menus.
#include "core/clipboard/ShelfTexts.h"
#include "ClipTestSupport.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace fenwold;
using namespace fenwold::test;

namespace {

TEST(ShelfTextsTest, AgesCountWholeMinutes) {
    const double now = 786'000'000;
    EXPECT_EQ(ShelfTexts::age(now - 59, now), "Just now");
    EXPECT_EQ(ShelfTexts::age(now + 300, now), "Just now");
    EXPECT_EQ(ShelfTexts::age(now - 60, now), "1m ago");
    EXPECT_EQ(ShelfTexts::age(now - 59 * 60 - 59, now), "59m ago");
    EXPECT_EQ(ShelfTexts::age(now - 61 * 60, now), "1h ago");
    EXPECT_EQ(ShelfTexts::age(now - 47 * 3600, now), "1d ago");
    EXPECT_EQ(ShelfTexts::age(now - 23 * 3600 - 3599, now), "23h ago");
}

TEST(ShelfTextsTest, AgesOfAnyCaptureTimeStayInRange) {
    // A pins file may hold any capture time: far in the past the day count is clamped, not wrapped.
    const double now = 786'000'000;
    EXPECT_EQ(ShelfTexts::age(-1e300, now), "6405119470038038d ago");
    EXPECT_EQ(ShelfTexts::age(-1.7976931348623157e308, now), "6405119470038038d ago");
    EXPECT_EQ(ShelfTexts::age(now - 1e12, now), "11574074d ago");
    EXPECT_EQ(ShelfTexts::age(1e300, now), "Just now");
    EXPECT_EQ(ShelfTexts::age(std::nan(""), now), "Just now");
}

TEST(ShelfTextsTest, CountsAndShortcutBadges) {
    EXPECT_EQ(ShelfTexts::clipCount(1), "1 clip");
    EXPECT_EQ(ShelfTexts::clipCount(0), "0 clips");
    EXPECT_EQ(ShelfTexts::clipCount(12), "12 clips");
    EXPECT_EQ(ShelfTexts::shortcutBadge(0), QString::fromUtf8("⌘1"));
    EXPECT_EQ(ShelfTexts::shortcutBadge(8), QString::fromUtf8("⌘9"));
    EXPECT_FALSE(ShelfTexts::shortcutBadge(9));
}

TEST(ShelfTextsTest, EmptyStatesFollowQueryFilterAndPreference) {
    EXPECT_EQ(ShelfTexts::emptyState("x", ClipboardFilter::pinned, true).title, "No matching clips");
    EXPECT_EQ(ShelfTexts::emptyState("", ClipboardFilter::pinned, true).symbol, "pin");
    EXPECT_EQ(ShelfTexts::emptyState("", ClipboardFilter::all, true).title, "Your next copy lands here");
    EXPECT_EQ(ShelfTexts::emptyState("", ClipboardFilter::all, false).title,
              "A little space for everything you copy");
    EXPECT_EQ(ShelfTexts::emptyState("", ClipboardFilter::code, true).title, "No code yet");
    EXPECT_EQ(ShelfTexts::emptyState("", ClipboardFilter::image, true).title, "No images yet");
    EXPECT_EQ(ShelfTexts::emptyState("", ClipboardFilter::link, false).detail,
              "Text, images, links, and code. Copy something to get started.");
}

TEST(ShelfTextsTest, StatusPrefersPauseOverPreference) {
    EXPECT_EQ(ShelfTexts::status(true, true).text, "Capture paused");
    EXPECT_EQ(ShelfTexts::status(false, true).text, "Only on this Mac");
    EXPECT_EQ(ShelfTexts::status(false, false).text, "Capture off");
}

TEST(ShelfTextsTest, CardDescriptionsAndMenus) {
    const ClipboardEntry code(savedClip(textPayload("import os\nprint(1)"), "Terminal"), true);
    EXPECT_EQ(ShelfTexts::accessibilityLabel(code), "Code, import os, from Terminal");
    EXPECT_EQ(ShelfTexts::inspectorCaption(code), "18 characters");
    const ClipboardEntry flags(savedClip(textPayload(QString::fromUtf8("\U0001F1EB\U0001F1F7 ok"))), false);
    EXPECT_EQ(ShelfTexts::inspectorCaption(flags), "4 characters");
    QStringList titles;
    for (const auto& item : ShelfTexts::contextMenu(code))
        titles << item.title;
    EXPECT_EQ(titles, QStringList({"Paste", "Paste as plain text", "Copy", "Preview", "Unpin",
                                   "Remove from history"}));

    const ClipboardEntry broken(savedClip(ClipPayload{{PasteboardItem{{{ClipTypes::png, "junk"}}}}}), false);
    EXPECT_EQ(ShelfTexts::inspectorCaption(broken), "");
    titles.clear();
    for (const auto& item : ShelfTexts::contextMenu(broken))
        titles << item.title;
    EXPECT_EQ(titles, QStringList({"Paste", "Copy", "Preview", "Pin for later", "Remove from history"}));

    const ClipboardEntry image(savedClip(ClipPayload{{PasteboardItem{{{ClipTypes::png, pngBytes(30, 20)}}}}}),
                               false);
    EXPECT_EQ(ShelfTexts::inspectorCaption(image), QString::fromUtf8("30 × 20"));
}

} // namespace
