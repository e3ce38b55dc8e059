#include "EditingKeys.h"

#include "Keys.h"

namespace fenwold {

namespace {

std::optional<QChar> letterOf(int64_t key) {
    switch (key) {
    case keycode::z:
        return QLatin1Char('Z');
    case keycode::s:
        return QLatin1Char('S');
    case keycode::f:
        return QLatin1Char('F');
    case keycode::n:
        return QLatin1Char('N');
    case keycode::o:
        return QLatin1Char('O');
    case keycode::p:
        return QLatin1Char('P');
    case keycode::w:
        return QLatin1Char('W');
    case keycode::t:
        return QLatin1Char('T');
    case keycode::r:
        return QLatin1Char('R');
    case keycode::l:
        return QLatin1Char('L');
    case keycode::g:
        return QLatin1Char('G');
    case keycode::b:
        return QLatin1Char('B');
    case keycode::i:
        return QLatin1Char('I');
    case keycode::u:
        return QLatin1Char('U');
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<EditingKey> editingKey(int64_t key, bool shift) {
    const uint64_t keepShift = shift ? flag::shift : 0;
    const QString winShift = shift ? QStringLiteral("Ctrl+Shift+") : QStringLiteral("Ctrl+");
    const QString macShift = shift ? QStringLiteral("⇧ ") : QString();
    if (key == keycode::y)
        return EditingKey{static_cast<uint16_t>(keycode::z), flag::command | flag::shift, winShift + u'Y',
                          QStringLiteral("⇧ ⌘ Z")};
    if (key == kDelete)
        return EditingKey{static_cast<uint16_t>(kDelete), flag::option | keepShift,
                          winShift + QStringLiteral("Backspace"), macShift + QStringLiteral("⌥ ⌫")};
    if (key == kFwdDelete)
        return EditingKey{static_cast<uint16_t>(kFwdDelete), flag::option | keepShift,
                          winShift + QStringLiteral("Delete"), macShift + QStringLiteral("⌥ ⌦")};
    const auto letter = letterOf(key);
    if (!letter) return std::nullopt;
    return EditingKey{static_cast<uint16_t>(key), flag::command | keepShift, winShift + *letter,
                      macShift + QStringLiteral("⌘ ") + *letter};
}

} // namespace fenwold
