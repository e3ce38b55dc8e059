#include "CommandLine.h"

#include <QTextStream>
#include <algorithm>

namespace fenwold {

namespace {

// The argument after the first occurrence of a switch.
std::optional<QString> valueAfter(const QStringList& args, const QString& flag, int offset = 1) {
    const qsizetype i = args.indexOf(flag);
    if (i < 0 || i + offset >= args.size()) return std::nullopt;
    return args[i + offset];
}

constexpr CommandLineSwitch kSwitches[] = {
    {"--help", "", "print this text and exit"},
    {"--tcc", "", "report the Accessibility and Screen Recording permissions"},
    {"--check-updates", "", "check the update feed and report; nothing is installed"},
    {"--verify-window", "ID", "check that window ID is captured and previewed"},
    {"--from-window", "ID", "with --verify-window: the window the check starts from"},
    {"--preview-output", "FILE", "with --verify-window: write the preview to FILE"},
    {"--window-capture-selfcheck", "", "check window capture"},
    {"--window-store-selfcheck", "", "check the window list"},
    {"--alt-f4-selfcheck", "", "check closing the front window with Alt+F4"},
    {"--selfcheck", "", "run the module checks, then the clipboard's"},
    {"--clipboard-selfcheck", "", "run the clipboard's check"},
    {"--watch", "", "print window events as they happen"},
    {"--menus", "[APP]", "print the applications' menus (APP's alone when named)"},
    {"--snap", "POSITION APP", "snap APP's front window to POSITION"},
    {"--dump", "", "print the windows as the program sees them"},
    {"--settings", "", "open the settings window at start"},
    {"--tab", "N", "with --settings: open on tab N, counted from 0"},
    {"--hint", "", "show the heads-up panel's demonstration instead of the application"},
    {"--clipboard-preview", "", "show the clipboard shelf with sample clips instead of the application"},
    {"--clipboard-light", "", "with --clipboard-preview: in the light appearance"},
    {"--clipboard-dark", "", "with --clipboard-preview: in the dark appearance"},
    {"--playground", "", "open the playground, the program against a drawn simulated Mac"},
    {"--fresh", "", "playground: forget the settings earlier runs kept"},
    {"--state-file", "FILE", "playground: write its state to FILE at start and on each SIGUSR1"},
    {"--script", "FILE", "play a playground script and exit (status 1 when a step fails)"},
    {"--virtual-time", "", "with --script: play on the virtual clock, as fast as it can"},
    {"--screenshots", "DIR", "with --script: where the screenshots go (default: screenshots)"},
};

// How many arguments after a switch are its values; an optional one is left to the parser.
qsizetype requiredValues(const CommandLineSwitch& s) {
    qsizetype count = 0;
    for (const QString& word : QString::fromLatin1(s.values).split(u' ', Qt::SkipEmptyParts))
        if (!word.startsWith(u'[')) ++count;
    return count;
}

CommandLineMode only(CommandLineMode::Kind kind) {
    CommandLineMode mode;
    mode.kind = kind;
    return mode;
}

} // namespace

std::span<const CommandLineSwitch> commandLineSwitches() {
    return kSwitches;
}

QString usage() {
    QString text;
    QTextStream out(&text);
    out << "Usage: fenwold [SWITCH]...\n"
           "Without a switch the menu-bar application starts (on Linux with a display, the playground).\n\n";
    for (const CommandLineSwitch& s : kSwitches) {
        QString left = QString::fromLatin1(s.name);
        if (*s.values) left += u' ' + QString::fromLatin1(s.values);
        out << "  " << left.leftJustified(28) << ' ' << s.help << '\n';
    }
    return text;
}

std::optional<QString> unknownSwitch(const QStringList& args) {
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (!args[i].startsWith(QLatin1String("--"))) continue;
        const auto known =
            std::find_if(std::begin(kSwitches), std::end(kSwitches),
                         [&](const CommandLineSwitch& s) { return args[i] == QLatin1String(s.name); });
        if (known == std::end(kSwitches)) return args[i];
        i += requiredValues(*known);
    }
    return std::nullopt;
}

std::optional<uint32_t> parseWindowID(const QString& text) {
    QStringView digits(text);
    if (digits.startsWith(u'+')) digits = digits.mid(1);
    if (digits.isEmpty()) return std::nullopt;
    uint64_t value = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c.unicode() - u'0');
        if (value > UINT32_MAX) return std::nullopt;
    }
    return static_cast<uint32_t>(value);
}

CommandLineMode parseMode(const QStringList& args) {
    using Kind = CommandLineMode::Kind;
    CommandLineMode mode;
    auto has = [&](const char* flag) { return args.contains(QLatin1String(flag)); };

    if (has("--tcc")) return only(Kind::tcc);
    if (has("--check-updates")) return only(Kind::checkUpdates);
    if (auto v = valueAfter(args, "--verify-window")) {
        if (auto id = parseWindowID(*v)) {
            mode.kind = Kind::verifyWindow;
            mode.windowID = *id;
            // A source the user named but mistyped must not quietly become a window of our choice.
            if (has("--from-window")) {
                const auto from = valueAfter(args, "--from-window");
                mode.fromWindowID = from ? parseWindowID(*from) : std::nullopt;
                mode.fromWindowInvalid = !mode.fromWindowID;
            }
            mode.previewOutput = valueAfter(args, "--preview-output");
            return mode;
        }
    }
    if (has("--window-capture-selfcheck")) return only(Kind::windowCaptureSelfcheck);
    if (has("--window-store-selfcheck")) return only(Kind::windowStoreSelfcheck);
    if (has("--alt-f4-selfcheck")) return only(Kind::altF4Selfcheck);
    if (has("--selfcheck")) return only(Kind::selfcheck);
    if (has("--clipboard-selfcheck")) return only(Kind::clipboardSelfcheck);
    if (has("--watch")) return only(Kind::watch);
    if (has("--menus")) {
        mode.kind = Kind::menus;
        mode.name = valueAfter(args, "--menus");
        return mode;
    }
    if (auto position = valueAfter(args, "--snap")) {
        if (auto app = valueAfter(args, "--snap", 2)) {
            mode.kind = Kind::snap;
            mode.snapPosition = *position;
            mode.snapApp = *app;
            return mode;
        }
    }
    if (has("--dump")) return only(Kind::dump);
    return mode;
}

StartupOptions parseStartupOptions(const QStringList& args) {
    StartupOptions o;
    o.clipboardPreview = args.contains(QLatin1String("--clipboard-preview"));
    o.clipboardLight = args.contains(QLatin1String("--clipboard-light"));
    o.clipboardDark = args.contains(QLatin1String("--clipboard-dark"));
    o.hint = args.contains(QLatin1String("--hint"));
    o.settings = args.contains(QLatin1String("--settings"));
    if (auto v = valueAfter(args, "--tab")) {
        bool ok = false;
        const int n = v->toInt(&ok);
        if (ok) o.tab = n;
    }
    return o;
}

} // namespace fenwold
