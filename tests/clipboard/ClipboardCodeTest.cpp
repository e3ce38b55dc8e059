// Code highlighting: four rules, later ones painting over earlier ones.
#include "core/clipboard/ClipboardCode.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>
#include <thread>

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

// What a reader sees: each run's colour and its characters, line ends left out (they are not drawn).
QStringList visible(const QString& text) {
    QStringList out;
    for (QString run : paint(text)) {
        run.removeIf(
            [](QChar c) { return c == '\r' || c == '\n' || c.unicode() == 0x85 || c.unicode() == 0x2028; });
        if (run.size() > 2) out << run;
    }
    return out;
}

TEST(ClipboardCodeTest, WindowsAndOldMacLineEndsColourTheSameCharacters) {
    const QStringList lines = {
        R"(return 42 + "if x" // done "quoted")",
        R"(let url = "http://example.com")",
        "   # note here",
        "x = 1 # not a comment",
        "3.25 1.2.3 abc123",
        "say 'a",
        "b' x",
        "SELECT id FROM t WHERE null",
        "#last",
    };
    const QString unix = lines.join('\n');
    const QStringList expected = visible(unix);
    ASSERT_EQ(expected,
              QStringList({"K:return", "N:42", R"(S:"if x")", R"(C:// done "quoted")", "K:let", R"(S:"http:)",
                           R"(C://example.com")", "C:   # note here", "N:1", "N:3.25", "N:1.2", "N:3",
                           "S:'ab'", "K:SELECT", "K:FROM", "K:WHERE", "K:null", "C:#last"}));
    EXPECT_EQ(visible(lines.join("\r\n")), expected);
    EXPECT_EQ(visible(lines.join('\r')), expected);
}

TEST(ClipboardCodeTest, ACommentEndsAtAnyLineEnd) {
    // Carriage return, next line (U+0085) and line separator (U+2028) end a line as a line feed does.
    for (const QString& end :
         {QStringLiteral("\r"), QStringLiteral("\r\n"), QString(QChar(0x85)), QString(QChar(0x2028))}) {
        const QString code = "x = 1 // c" + end + "y = 2" + end + "  # note";
        EXPECT_EQ(visible(code), QStringList({"N:1", "C:// c", "N:2", "C:  # note"}))
            << end.toUtf8().toHex().constData();
    }
}

TEST(ClipboardCodeTest, WordEdgesFollowUnicodeDigitsAndMarks) {
    // Superscripts are not decimal digits: the number ends before them.
    EXPECT_EQ(paint(QString::fromUtf8("n = 10³")), QStringList{"N:10"});
    EXPECT_EQ(paint(QString::fromUtf8("x² + 2")), QStringList{"N:2"});
    // A combining mark belongs to the word before it, so the keyword or number is no longer whole.
    EXPECT_EQ(paint(QString::fromUtf8("if\u0301 x if")), QStringList{"K:if"});
    EXPECT_EQ(paint(QString::fromUtf8("7\u0301 8")), QStringList{"N:8"});
    // A literal whose closing quote carries a mark would split that character: it is skipped.
    EXPECT_EQ(paint(QString::fromUtf8("\"ab\"\u0301 \"cd\"")), QStringList{"S:\"cd\""});
}

TEST(ClipboardCodeTest, ALongStringLiteralIsColouredWhole) {
    const QString literal = '"' + QString(39998, 'x') + '"';
    EXPECT_EQ(ClipboardCode::highlight(literal).runs, (std::vector<ColorRun>{{0, 40000, CodeColor::string}}));
}

TEST(ClipboardCodeTest, HighlightingFromSeveralThreadsAtOnce) {
    const QString code =
        QStringLiteral("def f(x):\n    return x + 1  # one\nlet s = 'if' // c\n").repeated(50);
    const auto expected = ClipboardCode::highlight(code).runs;
    std::vector<std::thread> threads;
    std::vector<int> mismatches(4, 0);
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 25; ++i)
                if (ClipboardCode::highlight(code).runs != expected)
                    ++mismatches[static_cast<std::size_t>(t)];
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

TEST(ClipboardCodeTest, PaletteFollowsTheAppearance) {
    for (auto c : {CodeColor::keyword, CodeColor::number, CodeColor::string, CodeColor::comment})
        EXPECT_NE(ClipboardCode::color(c, false), ClipboardCode::color(c, true));
}

} // namespace
