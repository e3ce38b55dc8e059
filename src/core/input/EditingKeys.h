#pragma once

#include "KeyLayoutTable.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace fenwold {

// What a Windows editing key held with Ctrl becomes on a Mac: the key and modifiers to post to
// the front application, and the hint that teaches it.
struct EditingKey {
    uint16_t key = 0;
    uint64_t flags = 0; // Shift included where it was held
    QString win;
    QString mac;
    char32_t unavailable = 0; // the letter to post, when no key of the layout gives it
    friend bool operator==(const EditingKey&, const EditingKey&) = default;
};

// Ctrl+Z, Y, S, F, N, O, P, W, T, R, L, G, B, I, U, told by the letter the key gives on the
// layout (Command and the same key; Ctrl+Y is redo, ⇧⌘ and the key that gives Z), Ctrl+Backspace
// and Ctrl+Delete (Option deletes the word before or after). Empty for every other key. In Finder,
// where ⌘L makes an alias and ⌘R shows an alias's original, Ctrl+L goes to a folder (⇧⌘G, as typing
// into Explorer's address bar does) and Ctrl+R is none of them: Finder keeps itself up to date.
std::optional<EditingKey> editingKey(int64_t key, bool shift,
                                     const KeyLayoutTable& layout = KeyLayoutTable::us(),
                                     bool inFinder = false);

} // namespace fenwold
