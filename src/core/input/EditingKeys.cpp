#include "EditingKeys.h"

#include "Keys.h"

#include <string_view>

namespace fenwold {

namespace {

// The letters that keep their key with Command instead of Control.
constexpr std::u32string_view kSameKeyLetters = U"zsfnopwtrlgbiu";

} // namespace

std::optional<EditingKey> editingKey(int64_t key, bool shift, const KeyLayoutTable& layout, bool inFinder) {
    const uint64_t keepShift = shift ? flag::shift : 0;
    const QString winShift = shift ? QStringLiteral("Ctrl+Shift+") : QStringLiteral("Ctrl+");
    const QString macShift = shift ? QStringLiteral("⇧ ") : QString();
    if (key == kDelete)
        return EditingKey{kDelete, flag::option | keepShift, winShift + QStringLiteral("Backspace"),
                          macShift + QStringLiteral("⌥ ⌫")};
    if (key == kFwdDelete)
        return EditingKey{kFwdDelete, flag::option | keepShift, winShift + QStringLiteral("Delete"),
                          macShift + QStringLiteral("⌥ ⌦")};
    const char32_t letter = layout.character(key, false);
    if (letter == U'y') {
        EditingKey redo{0, flag::command | flag::shift, winShift + u'Y', QStringLiteral("⇧ ⌘ Z")};
        if (const auto z = layout.keyFor(U'z'))
            redo.key = z->keyCode;
        else
            redo.unavailable = U'z';
        return redo;
    }
    if (letter == 0 || kSameKeyLetters.find(letter) == std::u32string_view::npos) return std::nullopt;
    if (inFinder && (letter == U'r' || (letter == U'l' && shift))) return std::nullopt;
    if (inFinder && letter == U'l') {
        EditingKey goTo{0, flag::command | flag::shift, QStringLiteral("Ctrl+L"),
                        QStringLiteral("⇧ ⌘ G ~goes ~to ~a ~folder")};
        if (const auto g = layout.keyFor(U'g'))
            goTo.key = g->keyCode;
        else
            goTo.unavailable = U'g';
        return goTo;
    }
    const QChar cap = keycap(letter);
    return EditingKey{static_cast<uint16_t>(key), flag::command | keepShift, winShift + cap,
                      macShift + QStringLiteral("⌘ ") + cap};
}

} // namespace fenwold
