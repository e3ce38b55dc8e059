#pragma once

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
    friend bool operator==(const EditingKey&, const EditingKey&) = default;
};

// Ctrl+Z, Y, S, F, N, O, P, W, T, R, L, G, B, I, U (Command and the same letter; Ctrl+Y is redo,
// ⇧⌘Z), Ctrl+Backspace and Ctrl+Delete (Option deletes the word before or after). Empty for
// every other key.
std::optional<EditingKey> editingKey(int64_t key, bool shift);

} // namespace fenwold
