#include "PlaygroundScript.h"

#include "ports/KeyCodes.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <cmath>
#include <utility>

namespace fenwold {

namespace {

const QHash<QString, uint16_t>& keyNames() {
    static const QHash<QString, uint16_t> names = [] {
        QHash<QString, uint16_t> n{
            {"super", kCommand},
            {"win", kCommand},
            {"cmd", kCommand},
            {"command", kCommand},
            {"alt", kOption},
            {"option", kOption},
            {"ctrl", kControl},
            {"control", kControl},
            {"shift", kShift},
            {"capslock", kCapsLock},
            {"return", kReturn},
            {"enter", kReturn},
            {"tab", kTab},
            {"space", kSpace},
            {"backspace", kDelete},
            {"delete", kDelete},
            {"del", kFwdDelete},
            {"forwarddelete", kFwdDelete},
            {"esc", kEsc},
            {"escape", kEsc},
            {"left", kLeft},
            {"right", kRight},
            {"down", kDown},
            {"up", kUp},
            {"home", kHome},
            {"end", kEnd},
            {"pageup", kPageUp},
            {"pagedown", kPageDown},
            {"insert", kInsert},
            {"prtscn", kF13},
            {"minus", kMinus},
            {"equal", kEqual},
            {"plus", kEqual},
            {"comma", kComma},
            {"period", kPeriod},
            {"slash", kSlash},
            {"semicolon", kSemicolon},
            {"quote", kQuote},
            {"grave", kGrave},
            {"backslash", kBackslash},
        };
        for (std::size_t i = 0; i < kLetterKeys.size(); ++i)
            n.insert(QString(QChar(u'a' + static_cast<char16_t>(i))), kLetterKeys[i]);
        for (std::size_t i = 0; i < kDigitKeys.size(); ++i)
            n.insert(QString::number(i), kDigitKeys[i]);
        for (std::size_t i = 0; i < kFunctionKeys.size(); ++i)
            n.insert(QStringLiteral("f%1").arg(i + 1), kFunctionKeys[i]);
        return n;
    }();
    return names;
}

// Key names that stand for the character a key carries, not for a position.
std::optional<QChar> characterNamed(const QString& name) {
    static const QHash<QString, QChar> symbols{
        {"minus", '-'}, {"equal", '='},     {"plus", '+'},   {"comma", ','}, {"period", '.'},
        {"slash", '/'}, {"semicolon", ';'}, {"quote", '\''}, {"grave", '`'}, {"backslash", '\\'}};
    if (name.size() == 1 && name.front().isLetter()) return name.front();
    if (const auto it = symbols.find(name); it != symbols.end()) return *it;
    return std::nullopt;
}

struct LineError {
    QString message;
};

// The player waits, points and repeats with these, so they stay finite and of a sensible size:
// an hour at most, a point within the largest screens, a thousand presses.
constexpr double kMaxWait = 3600;
constexpr double kMaxCoordinate = 100000;
constexpr int kMaxRepeat = 1000;
constexpr int kMaxSpace = 16; // as many Spaces as a Mac offers a display

double number(const QString& word, const QString& what, double max) {
    bool ok = false;
    const double value = word.toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < 0)
        throw LineError{QStringLiteral("%1 must be a number of at least 0, not \"%2\"").arg(what, word)};
    if (value > max)
        throw LineError{QStringLiteral("%1 must be at most %2, not \"%3\"").arg(what).arg(max).arg(word)};
    return value;
}

Point point(const QStringList& words, int from) {
    if (words.size() < from + 2) throw LineError{QStringLiteral("%1 needs X and Y").arg(words.front())};
    return {number(words[from], QStringLiteral("X"), kMaxCoordinate),
            number(words[from + 1], QStringLiteral("Y"), kMaxCoordinate)};
}

void chord(const QString& text, ScriptStep& step) {
    const QStringList parts = text.toLower().split(QLatin1Char('+'));
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const auto code = scriptKeyCode(parts[i]);
        if (!code) throw LineError{QStringLiteral("unknown key \"%1\"").arg(parts[i])};
        if (isScriptModifier(*code)) {
            step.modifiers.push_back(*code);
            continue;
        }
        if (step.kind != ScriptStep::Kind::press)
            throw LineError{QStringLiteral("\"%1\" is not a modifier").arg(parts[i])};
        if (i != parts.size() - 1)
            throw LineError{
                QStringLiteral("\"%1\": only the last key of a chord may be a non-modifier").arg(text)};
        step.key = *code;
        step.character = characterNamed(parts[i]);
    }
}

ScriptStep parseLine(const QString& line, int number_) {
    // Quoted text keeps its spaces; everything else splits on blanks.
    ScriptStep step;
    step.line = number_;
    const QString trimmed = line.trimmed();
    const int space = static_cast<int>(trimmed.indexOf(QRegularExpression(QStringLiteral("\\s"))));
    const QString verb = (space < 0 ? trimmed : trimmed.left(space)).toLower();
    const QString rest = space < 0 ? QString() : trimmed.mid(space).trimmed();
    const QStringList words = trimmed.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);

    using K = ScriptStep::Kind;
    if (verb == QLatin1String("type")) {
        if (rest.size() < 2 || !rest.startsWith(QLatin1Char('"')) || !rest.endsWith(QLatin1Char('"')))
            throw LineError{QStringLiteral("type needs its text in double quotes")};
        step.kind = K::type;
        step.text = rest.mid(1, rest.size() - 2).replace(QStringLiteral("\\n"), QStringLiteral("\n"));
        return step;
    }
    if (verb == QLatin1String("second-display")) {
        if (words.size() != 1) throw LineError{QStringLiteral("second-display takes nothing after it")};
        step.kind = K::secondDisplay;
        return step;
    }
    if (verb == QLatin1String("wait")) {
        if (words.size() != 2) throw LineError{QStringLiteral("wait needs one number of seconds")};
        step.kind = K::wait;
        step.seconds = number(words[1], QStringLiteral("wait"), kMaxWait);
        return step;
    }
    // The pointer's steps at one point.
    static const std::pair<QLatin1String, K> kAtAPoint[] = {{QLatin1String("move"), K::move},
                                                            {QLatin1String("click"), K::click},
                                                            {QLatin1String("doubleclick"), K::doubleClick},
                                                            {QLatin1String("mousedown"), K::mouseDown},
                                                            {QLatin1String("mouseup"), K::mouseUp}};
    for (const auto& [name, kind] : kAtAPoint) {
        if (verb != name) continue;
        step.kind = kind;
        step.at = point(words, 1);
        if (words.size() != 3) throw LineError{QStringLiteral("%1 takes X and Y only").arg(verb)};
        return step;
    }
    if (verb == QLatin1String("drag")) {
        if (words.size() != 6 || words[3].toLower() != QLatin1String("to"))
            throw LineError{QStringLiteral("drag reads \"drag X Y to X Y\"")};
        step.kind = K::drag;
        step.at = point(words, 1);
        step.to = point(words, 4);
        return step;
    }
    if (verb == QLatin1String("space")) {
        if (words.size() != 2) throw LineError{QStringLiteral("space needs the number of a Space")};
        step.kind = K::space;
        bool whole = false;
        step.space = words[1].toInt(&whole);
        if (!whole)
            throw LineError{
                QStringLiteral("space needs the whole number of a Space, not \"%1\"").arg(words[1])};
        if (step.space < 1) throw LineError{QStringLiteral("Spaces are numbered from 1")};
        if (step.space > kMaxSpace)
            throw LineError{QStringLiteral("there are at most %1 Spaces").arg(kMaxSpace)};
        return step;
    }
    if (verb == QLatin1String("activate") || verb == QLatin1String("stick-secure-input") ||
        verb == QLatin1String("layout") || verb == QLatin1String("screenshot") ||
        verb == QLatin1String("windowshot")) {
        if (rest.isEmpty()) throw LineError{QStringLiteral("%1 needs a name").arg(verb)};
        step.kind = verb == QLatin1String("activate")             ? K::activate
                    : verb == QLatin1String("stick-secure-input") ? K::stickSecureInput
                    : verb == QLatin1String("layout")             ? K::layout
                    : verb == QLatin1String("screenshot")         ? K::screenshot
                                                                  : K::windowShot;
        step.text = rest;
        const bool namesAFile = step.kind == K::screenshot || step.kind == K::windowShot;
        if (namesAFile && rest.contains(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]"))))
            throw LineError{QStringLiteral("screenshot names use letters, digits, '-', '_' and '.'")};
        return step;
    }
    if (verb == QLatin1String("hold") || verb == QLatin1String("release")) {
        if (words.size() != 2)
            throw LineError{QStringLiteral("%1 needs modifiers, such as \"%1 alt\"").arg(verb)};
        step.kind = verb == QLatin1String("hold") ? K::hold : K::release;
        chord(words[1], step);
        return step;
    }
    // A chord, optionally after "press" and followed by a repeat count ("tab x3").
    QStringList chordWords = words;
    if (verb == QLatin1String("press")) chordWords.removeFirst();
    if (chordWords.size() == 2 && chordWords[1].startsWith(QLatin1Char('x'))) {
        bool ok = false;
        step.repeat = chordWords[1].mid(1).toInt(&ok);
        if (!ok || step.repeat < 1) throw LineError{QStringLiteral("a repeat reads like \"x3\"")};
        if (step.repeat > kMaxRepeat)
            throw LineError{QStringLiteral("a key repeats at most x%1").arg(kMaxRepeat)};
        chordWords.removeLast();
    }
    if (chordWords.size() != 1) throw LineError{QStringLiteral("cannot read \"%1\"").arg(trimmed)};
    step.kind = K::press;
    chord(chordWords[0], step);
    return step;
}

} // namespace

std::optional<uint16_t> scriptKeyCode(const QString& name) {
    const auto& names = keyNames();
    auto it = names.find(name.toLower());
    if (it == names.end()) return std::nullopt;
    return *it;
}

bool isScriptModifier(uint16_t keyCode) {
    return keyCode >= kRightCommand && keyCode <= kRightControl && keyCode != kCapsLock;
}

ScriptParse parsePlaygroundScript(const QString& text) {
    ScriptParse result;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        // A '#' outside quotes starts a comment.
        bool quoted = false;
        for (int c = 0; c < line.size(); ++c) {
            if (line[c] == QLatin1Char('"')) quoted = !quoted;
            if (line[c] == QLatin1Char('#') && !quoted) {
                line.truncate(c);
                break;
            }
        }
        if (line.trimmed().isEmpty()) continue;
        try {
            result.steps.push_back(parseLine(line, i + 1));
        } catch (const LineError& e) {
            result.steps.clear();
            result.error = QStringLiteral("line %1: %2").arg(i + 1).arg(e.message);
            return result;
        }
    }
    return result;
}

} // namespace fenwold
