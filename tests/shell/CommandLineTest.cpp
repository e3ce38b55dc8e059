#include "core/shell/CommandLine.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace fenwold;
using Kind = CommandLineMode::Kind;

namespace {
CommandLineMode parse(std::initializer_list<const char*> args) {
    QStringList list{"fenwold"};
    for (const char* a : args)
        list << a;
    return parseMode(list);
}
} // namespace

TEST(CommandLine, FirstSwitchInTableOrderWinsWhereverItStands) {
    EXPECT_EQ(parse({"--dump", "--tcc"}).kind, Kind::tcc);
    EXPECT_EQ(parse({"--selfcheck", "--check-updates"}).kind, Kind::checkUpdates);
    EXPECT_EQ(parse({"--clipboard-selfcheck", "--selfcheck"}).kind, Kind::selfcheck);
    EXPECT_EQ(parse({"--dump", "--watch"}).kind, Kind::watch);
    EXPECT_EQ(parse({}).kind, Kind::normal);
    // Whole-argument matching only.
    EXPECT_EQ(parse({"--tcc=1", "--TCC", "tcc"}).kind, Kind::normal);
}

TEST(CommandLine, VerifyWindowNeedsAnUnsigned32BitValue) {
    auto m = parse({"--verify-window", "+42", "--from-window", "7", "--preview-output", "/tmp/p.png"});
    EXPECT_EQ(m.kind, Kind::verifyWindow);
    EXPECT_EQ(m.windowID, 42u);
    EXPECT_EQ(m.fromWindowID, 7u);
    EXPECT_EQ(m.previewOutput, QString("/tmp/p.png"));
    EXPECT_FALSE(m.fromWindowInvalid);

    // A named source that is not a number (or is missing) is kept as an error for the check.
    for (const auto& bad : {parse({"--verify-window", "42", "--from-window", "x7"}),
                            parse({"--verify-window", "42", "--from-window"})}) {
        EXPECT_EQ(bad.kind, Kind::verifyWindow);
        EXPECT_TRUE(bad.fromWindowInvalid);
        EXPECT_EQ(bad.fromWindowID, std::nullopt);
    }
    EXPECT_FALSE(parse({"--verify-window", "42"}).fromWindowInvalid);

    EXPECT_EQ(parse({"--verify-window"}).kind, Kind::normal);
    EXPECT_EQ(parse({"--verify-window", "abc", "--dump"}).kind, Kind::dump);
    EXPECT_EQ(parse({"--verify-window", "4294967296"}).kind, Kind::normal);
    EXPECT_EQ(parse({"--verify-window", "4294967295"}).windowID, 4294967295u);
    EXPECT_EQ(parse({"--verify-window", "-1"}).kind, Kind::normal);
    EXPECT_EQ(parse({"--verify-window", "+"}).kind, Kind::normal);
    EXPECT_EQ(parse({"--verify-window", "1 2"}).kind, Kind::normal);
}

TEST(CommandLine, SnapNeedsTwoValuesAndMenusTakesAnOptionalName) {
    auto snap = parse({"--snap", "left", "TextEdit"});
    EXPECT_EQ(snap.kind, Kind::snap);
    EXPECT_EQ(snap.snapPosition, "left");
    EXPECT_EQ(snap.snapApp, "TextEdit");
    EXPECT_EQ(parse({"--snap", "left"}).kind, Kind::normal);
    EXPECT_EQ(parse({"--dump", "--snap", "left"}).kind, Kind::dump);

    EXPECT_EQ(parse({"--menus"}).name, std::nullopt);
    EXPECT_EQ(parse({"--menus", "Safari"}).name, QString("Safari"));
    EXPECT_EQ(parse({"--menus", "Safari"}).kind, Kind::menus);
}

TEST(CommandLine, StartupOptions) {
    auto o = parseStartupOptions({"fenwold", "--settings", "--tab", "1", "--hint"});
    EXPECT_TRUE(o.settings);
    EXPECT_TRUE(o.hint);
    EXPECT_EQ(o.tab, 1);
    EXPECT_FALSE(o.clipboardPreview);
    EXPECT_EQ(parseStartupOptions({"fenwold", "--tab", "x"}).tab, std::nullopt);
    EXPECT_EQ(parseStartupOptions({"fenwold", "--tab"}).tab, std::nullopt);
    EXPECT_TRUE(parseStartupOptions({"--clipboard-preview", "--clipboard-dark"}).clipboardDark);
}

TEST(CommandLine, AnUnknownSwitchIsFoundAndValuesAreNotMistakenForOne) {
    const auto unknown = [](std::initializer_list<const char*> args) {
        QStringList list{"fenwold"};
        for (const char* a : args)
            list << a;
        return unknownSwitch(list);
    };
    EXPECT_EQ(unknown({}), std::nullopt);
    EXPECT_EQ(unknown({"--playground", "--state-file", "/tmp/s.json", "--fresh"}), std::nullopt);
    // Qt's own options take one dash; a value that looks like a switch belongs to its switch.
    EXPECT_EQ(unknown({"-platform", "offscreen", "--script", "--odd-name.play"}), std::nullopt);
    EXPECT_EQ(unknown({"--snap", "left", "--TextEdit", "--dump"}), std::nullopt);
    EXPECT_EQ(unknown({"--tcc=1"}), QString("--tcc=1"));
    EXPECT_EQ(unknown({"--dump", "--shelf", "--tcc"}), QString("--shelf"));
    // An optional value is not skipped: the switch after it still counts.
    EXPECT_EQ(unknown({"--menus", "--bogus"}), QString("--bogus"));
    // The program's own name is never a switch.
    EXPECT_EQ(unknownSwitch({"--odd-program-name"}), std::nullopt);
}

TEST(CommandLine, UsageHasEverySwitchOnItsOwnLineOnce) {
    const QStringList lines = usage().split(u'\n');
    for (const CommandLineSwitch& s : commandLineSwitches()) {
        const auto onLine = [&](const QString& line) {
            return line.trimmed().startsWith(QString::fromLatin1(s.name) + u' ');
        };
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(), onLine), 1) << s.name;
    }
}
