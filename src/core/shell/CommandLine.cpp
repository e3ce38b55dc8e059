#include "CommandLine.h"

namespace fenwold {

namespace {

// The argument after the first occurrence of a switch.
std::optional<QString> valueAfter(const QStringList& args, const QString& flag, int offset = 1) {
    const qsizetype i = args.indexOf(flag);
    if (i < 0 || i + offset >= args.size()) return std::nullopt;
    return args[i + offset];
}

CommandLineMode only(CommandLineMode::Kind kind) {
    CommandLineMode mode;
    mode.kind = kind;
    return mode;
}

} // namespace

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
