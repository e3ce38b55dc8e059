// Code highlighting: four rules, later ones painting over earlier ones.
#include "core/clipboard/ClipboardCode.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace fenwold;

namespace {

// The text of every run with its colour, in order, e.g. "K:return".
QStringList paint(const QString& text) {
    QStringList out;
    for (const auto& run : ClipboardCode::highlight(text).runs) {
        const char* tag = run.color == CodeColor::keyword  ? "K"
                          : run.color == CodeColor::number ? "N"
                          : run.color == CodeColor::string ? "S"
                                                           : "C";
        out << QString("%1:%2").arg(tag, text.mid(run.start, run.length));
    }
    return out;
}

TEST(ClipboardCodeTest, StringsAndCommentsPaintOverKeywordsAndNumbers) {
    EXPECT_EQ(paint(R"(return 42 + "if x" // done "quoted")"),
              QStringList({"K:return", "N:42", R"(S:"if x")", R"(C:// done "quoted")"}));
    EXPECT_EQ(paint(R"(let url = "http://example.com")"),
              QStringList({"K:let", R"(S:"http:)", R"(C://example.com")"}));
}

TEST(ClipboardCodeTest, HashCommentsOnlyAtTheStartOfALine) {
    EXPECT_EQ(paint("   # note here"), QStringList{"C:   # note here"});
    EXPECT_EQ(paint("x = 1 # not a comment"), QStringList{"N:1"});
}

TEST(ClipboardCodeTest, NumbersAreWholeWordsWithOneDecimalPart) {
    EXPECT_EQ(paint("3.25"), QStringList{"N:3.25"});
    EXPECT_EQ(paint("1.2.3"), QStringList({"N:1.2", "N:3"}));
    EXPECT_TRUE(paint("abc123").isEmpty());
}

TEST(ClipboardCodeTest, StringLiteralsNeedAClosingQuoteAndMaySpanLines) {
    EXPECT_EQ(paint("say \"unclosed"), QStringList{});
    EXPECT_EQ(paint("'a\nb' x"), QStringList{"S:'a\nb'"});
    EXPECT_EQ(paint(R"("esc \" still")"), QStringList{R"(S:"esc \" still")"});
}

TEST(ClipboardCodeTest, KeywordsAreCaseSensitive) {
    EXPECT_EQ(paint("select id"), QStringList{});
    EXPECT_EQ(paint("SELECT id FROM t WHERE null"), QStringList({"K:SELECT", "K:FROM", "K:WHERE", "K:null"}));
    EXPECT_EQ(paint("nil Null"), QStringList{"K:nil"});
}

TEST(ClipboardCodeTest, EmptyTextAndRangesAroundSurrogatePairs) {
    EXPECT_TRUE(ClipboardCode::highlight("").runs.empty());
    EXPECT_TRUE(ClipboardCode::highlight("").text.isEmpty());
    const QString withEmoji = QString::fromUtf8("\"\U0001F600\" 7");
    EXPECT_EQ(paint(withEmoji), QStringList({QString::fromUtf8("S:\"\U0001F600\""), "N:7"}));
}

TEST(ClipboardCodeTest, PaletteFollowsTheAppearance) {
    for (auto c : {CodeColor::keyword, CodeColor::number, CodeColor::string, CodeColor::comment})
        EXPECT_NE(ClipboardCode::color(c, false), ClipboardCode::color(c, true));
}

} // namespace
