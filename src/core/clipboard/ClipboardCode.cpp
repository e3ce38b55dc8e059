#include "ClipboardCode.h"

#include "IcuRegex.h"

#include <QTextBoundaryFinder>
#include <array>
#include <optional>

namespace fenwold::ClipboardCode {

namespace {

struct Rule {
    IcuRegex pattern;
    CodeColor color;
};

// Compiled once, in ICU's syntax exactly as written; matching is linear in the input.
const std::array<Rule, 4>& rules() {
    static const std::array<Rule, 4> table = {{
        {IcuRegex(uR"(\b(?:import|from|export|const|let|var|func|function|return|class|struct|enum|if|else|)"
                  uR"(for|while|def|async|await|true|false|null|nil|SELECT|FROM|WHERE)\b)"),
         CodeColor::keyword},
        {IcuRegex(uR"(\b\d+(?:\.\d+)?\b)"), CodeColor::number},
        {IcuRegex(uR"(\"(?:[^\"\\]|\\.)*\"|'(?:[^'\\]|\\.)*')"), CodeColor::string},
        {IcuRegex(uR"((?m)//.*$|^\s*#.*$)"), CodeColor::comment},
    }};
    return table;
}

// Whether a range may start or end at index without cutting a user-perceived character in two:
// a combining mark from its letter, half of a surrogate pair or of an emoji sequence. The two
// halves of a CR LF line end are the exception: neither is drawn, and a multi-line "^" matches
// between them.
class CharacterEdges {
public:
    explicit CharacterEdges(const QString& text) : text_(text) {}

    bool allows(qsizetype index) {
        if (index <= 0 || index >= text_.size()) return true;
        const char16_t before = text_[index - 1].unicode();
        const char16_t after = text_[index].unicode();
        if (before == u'\r' && after == u'\n') return true;
        // Between two ASCII characters there is always a boundary.
        if (before < 0x80 && after < 0x80) return true;
        if (!finder_) finder_.emplace(QTextBoundaryFinder::Grapheme, text_);
        finder_->setPosition(index);
        return finder_->isAtBoundary();
    }

private:
    const QString& text_;
    std::optional<QTextBoundaryFinder> finder_; // built only for text that needs it
};

} // namespace

StyledText highlight(const QString& text) {
    StyledText styled{text, {}};
    if (text.isEmpty()) return styled;
    // One colour slot per code unit; later rules overwrite earlier ones.
    constexpr signed char none = -1;
    std::vector<signed char> colours(static_cast<std::size_t>(text.size()), none);
    CharacterEdges edges(text);
    for (const Rule& rule : rules()) {
        rule.pattern.forEachMatch(text, [&](qsizetype start, qsizetype end) {
            if (end <= start || !edges.allows(start) || !edges.allows(end)) return;
            std::fill(colours.begin() + start, colours.begin() + end, static_cast<signed char>(rule.color));
        });
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
