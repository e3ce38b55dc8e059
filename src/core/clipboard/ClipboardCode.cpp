#include "ClipboardCode.h"

#include <QRegularExpression>

namespace fenwold::ClipboardCode {

namespace {

struct Rule {
    QRegularExpression pattern;
    CodeColor color;
};

// Compiled once and never changed; matching is linear in the input.
const std::vector<Rule>& rules() {
    static const std::vector<Rule> table = {
        {QRegularExpression(
             QStringLiteral(R"(\b(?:import|from|export|const|let|var|func|function|return|class|)"
                            R"(struct|enum|if|else|for|while|def|async|await|true|false|null|nil|)"
                            R"(SELECT|FROM|WHERE)\b)"),
             QRegularExpression::UseUnicodePropertiesOption),
         CodeColor::keyword},
        {QRegularExpression(QStringLiteral(R"(\b\d+(?:\.\d+)?\b)"),
                            QRegularExpression::UseUnicodePropertiesOption),
         CodeColor::number},
        {QRegularExpression(QStringLiteral(R"("(?:[^"\\]|\\.)*"|'(?:[^'\\]|\\.)*')"),
                            QRegularExpression::UseUnicodePropertiesOption),
         CodeColor::string},
        {QRegularExpression(QStringLiteral(R"((?m)//.*$|^\s*#.*$)"),
                            QRegularExpression::UseUnicodePropertiesOption),
         CodeColor::comment},
    };
    return table;
}

bool splitsSurrogatePair(const QString& text, qsizetype index) {
    return index > 0 && index < text.size() && text[index].isLowSurrogate() &&
           text[index - 1].isHighSurrogate();
}

} // namespace

StyledText highlight(const QString& text) {
    StyledText styled{text, {}};
    if (text.isEmpty()) return styled;
    // One colour slot per code unit; later rules overwrite earlier ones.
    constexpr signed char none = -1;
    std::vector<signed char> colours(static_cast<std::size_t>(text.size()), none);
    for (const Rule& rule : rules()) {
        if (!rule.pattern.isValid()) continue;
        auto matches = rule.pattern.globalMatch(text);
        while (matches.hasNext()) {
            const auto match = matches.next();
            const qsizetype start = match.capturedStart();
            const qsizetype end = match.capturedEnd();
            if (end <= start || splitsSurrogatePair(text, start) || splitsSurrogatePair(text, end)) continue;
            std::fill(colours.begin() + start, colours.begin() + end, static_cast<signed char>(rule.color));
        }
    }
    for (qsizetype i = 0; i < text.size();) {
        const signed char c = colours[static_cast<std::size_t>(i)];
        qsizetype j = i + 1;
        while (j < text.size() && colours[static_cast<std::size_t>(j)] == c)
            ++j;
        if (c != none) styled.runs.push_back({i, j - i, static_cast<CodeColor>(c)});
        i = j;
    }
    return styled;
}

QColor color(CodeColor color, bool dark) {
    switch (color) {
    case CodeColor::keyword:
        return dark ? QColor(191, 90, 242) : QColor(175, 82, 222);
    case CodeColor::number:
        return dark ? QColor(255, 159, 10) : QColor(255, 149, 0);
    case CodeColor::string:
        return dark ? QColor(64, 200, 224) : QColor(48, 176, 199);
    case CodeColor::comment:
        return dark ? QColor(235, 235, 245, 153) : QColor(60, 60, 67, 153);
    }
    return {};
}

} // namespace fenwold::ClipboardCode
