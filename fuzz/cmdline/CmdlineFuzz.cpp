// The command-line parser on any argument list (arguments separated by 0x00 bytes): the mode is
// that of the first switch in the fixed order that is present with valid values, values are the
// arguments right after their switch, and a window id is an unsigned 32-bit decimal number.
#include "FuzzSupport.h"
#include "core/shell/CommandLine.h"

using namespace fenwold;
using Kind = CommandLineMode::Kind;
using fenwold::fuzz::quoted;

namespace {

// The digits of an id as typed, without "+" and leading zeros.
QString canonical(QString typed) {
    if (typed.startsWith(QLatin1Char('+'))) typed.remove(0, 1);
    while (typed.size() > 1 && typed.startsWith(QLatin1Char('0')))
        typed.remove(0, 1);
    return typed;
}

std::optional<QString> after(const QStringList& args, const char* flag, int offset = 1) {
    const qsizetype i = args.indexOf(QLatin1String(flag));
    if (i < 0 || i + offset >= args.size()) return std::nullopt;
    return args[i + offset];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 16 * 1024) return -1;
    QStringList args;
    for (const QByteArray& piece : fuzz::bytesOf(data, size).split('\0'))
        args << QString::fromLocal8Bit(piece);
    const CommandLineMode mode = parseMode(args);
    const auto has = [&](const char* flag) { return args.contains(QLatin1String(flag)); };

    // The switches above the chosen one are absent or unusable.
    const std::pair<const char*, Kind> order[] = {
        {"--tcc", Kind::tcc},
        {"--check-updates", Kind::checkUpdates},
        {"--verify-window", Kind::verifyWindow},
        {"--window-capture-selfcheck", Kind::windowCaptureSelfcheck},
        {"--window-store-selfcheck", Kind::windowStoreSelfcheck},
        {"--alt-f4-selfcheck", Kind::altF4Selfcheck},
        {"--selfcheck", Kind::selfcheck},
        {"--clipboard-selfcheck", Kind::clipboardSelfcheck},
        {"--watch", Kind::watch},
        {"--menus", Kind::menus},
        {"--snap", Kind::snap},
        {"--dump", Kind::dump},
    };
    for (const auto& [flag, kind] : order) {
        if (kind == mode.kind) break;
        bool usable = has(flag);
        if (kind == Kind::verifyWindow)
            usable = usable && after(args, flag) && parseWindowID(*after(args, flag));
        if (kind == Kind::snap) usable = usable && after(args, flag, 2);
        FUZZ_CHECK(!usable, std::string("passed over ") + flag);
    }
    if (mode.kind == Kind::normal)
        for (const auto& [flag, kind] : order)
            FUZZ_CHECK(!has(flag) || kind == Kind::verifyWindow || kind == Kind::snap,
                       std::string("normal start despite ") + flag);

    switch (mode.kind) {
    case Kind::verifyWindow: {
        const auto typed = after(args, "--verify-window");
        FUZZ_CHECK(typed && QString::number(mode.windowID) == canonical(*typed),
                   "window id of " + quoted(*typed));
        if (mode.fromWindowID)
            FUZZ_CHECK(QString::number(*mode.fromWindowID) == canonical(*after(args, "--from-window")),
                       "source window id");
        FUZZ_CHECK(mode.fromWindowInvalid == (has("--from-window") && !mode.fromWindowID),
                   "source window state");
        FUZZ_CHECK(mode.previewOutput == after(args, "--preview-output"), "preview output");
        break;
    }
    case Kind::menus:
        FUZZ_CHECK(mode.name == after(args, "--menus"), "menus name");
        break;
    case Kind::snap:
        FUZZ_CHECK(mode.snapPosition == after(args, "--snap") && mode.snapApp == after(args, "--snap", 2),
                   "snap values");
        break;
    default:
        break;
    }

    const StartupOptions options = parseStartupOptions(args);
    FUZZ_CHECK(options.hint == has("--hint") && options.settings == has("--settings") &&
                   options.clipboardPreview == has("--clipboard-preview"),
               "start-up switches");
    FUZZ_CHECK(!options.tab || after(args, "--tab"), "a settings tab without a value");
    return 0;
}
