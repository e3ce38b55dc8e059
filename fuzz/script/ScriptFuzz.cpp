// The playground script reader on any file (read as UTF-8, as the playground reads it): it either reads every
// line or names the first line it cannot read, and what it reads is something the player can carry out
// (finite, bounded numbers, whole Space numbers, chords with a key or a modifier).
#include "FuzzSupport.h"
#include "core/diagnostics/PlaygroundScript.h"

#include <QRegularExpression>
#include <cmath>

using namespace fenwold;
using fenwold::fuzz::quoted;

namespace {

bool bounded(double v) {
    return std::isfinite(v) && v >= 0 && v <= 1e6;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 64 * 1024) return -1;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ScriptParse parse = parsePlaygroundScript(text);
    const qsizetype lines = text.count(QLatin1Char('\n')) + 1;

    if (parse.error) {
        static const QRegularExpression form(QStringLiteral("^line (\\d+): ."));
        const auto match = form.match(*parse.error);
        FUZZ_CHECK(match.hasMatch(), "error " + quoted(*parse.error));
        const qsizetype line = match.captured(1).toLongLong();
        FUZZ_CHECK(line >= 1 && line <= lines,
                   "error names a line the script lacks: " + quoted(*parse.error));
        FUZZ_CHECK(parse.steps.empty(), "steps kept after an error");
        return 0;
    }
    int previous = 0;
    for (const ScriptStep& s : parse.steps) {
        FUZZ_CHECK(s.line > previous && s.line <= lines, "step line " + std::to_string(s.line));
        previous = s.line;
        using K = ScriptStep::Kind;
        switch (s.kind) {
        case K::press:
            FUZZ_CHECK(s.key || !s.modifiers.empty(), "a press of nothing");
            FUZZ_CHECK(s.repeat >= 1, "repeat " + std::to_string(s.repeat));
            break;
        case K::hold:
        case K::release:
            FUZZ_CHECK(!s.key && !s.modifiers.empty(), "hold or release without modifiers");
            break;
        case K::wait:
            FUZZ_CHECK(bounded(s.seconds), "wait " + std::to_string(s.seconds));
            break;
        case K::move:
        case K::click:
        case K::doubleClick:
        case K::mouseDown:
        case K::mouseUp:
        case K::drag:
            FUZZ_CHECK(bounded(s.at.x) && bounded(s.at.y) && bounded(s.to.x) && bounded(s.to.y),
                       "a point off any screen");
            break;
        case K::space:
            FUZZ_CHECK(s.space >= 1, "space " + std::to_string(s.space));
            break;
        case K::activate:
        case K::stickSecureInput:
        case K::layout:
        case K::screenshot:
        case K::windowShot:
            FUZZ_CHECK(!s.text.trimmed().isEmpty(), "a step without its name");
            break;
        case K::type:
        case K::secondDisplay:
            break;
        }
        for (uint16_t m : s.modifiers)
            FUZZ_CHECK(isScriptModifier(m), "modifier " + std::to_string(m));
        if (s.key) FUZZ_CHECK(!isScriptModifier(*s.key), "a modifier as the key");
        FUZZ_CHECK(!s.character || s.key, "a key named by its character without its position");
    }
    return 0;
}
