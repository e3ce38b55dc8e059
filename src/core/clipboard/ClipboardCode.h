#pragma once

#include <QColor>
#include <QString>
#include <vector>

namespace fenwold {

// The colours code highlighting paints with.
enum class CodeColor { keyword, number, string, comment };

// One coloured stretch of text, in UTF-16 code units.
struct ColorRun {
    qsizetype start = 0;
    qsizetype length = 0;
    CodeColor color = CodeColor::keyword;
    friend bool operator==(const ColorRun&, const ColorRun&) = default;
};

// Text with foreground colours on some stretches; the rest keeps the default colour.
struct StyledText {
    QString text;
    std::vector<ColorRun> runs; // ascending, non-overlapping
};

// Language-agnostic code colouring: keywords, numbers, string literals, comments, each rule
// painting over the earlier ones.
namespace ClipboardCode {
StyledText highlight(const QString& text);
// The system-like colours of the light or dark appearance.
QColor color(CodeColor color, bool dark);
} // namespace ClipboardCode

} // namespace fenwold
