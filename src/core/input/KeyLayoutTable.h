#pragma once

#include "ports/KeyCodes.h"
#include "ports/KeyboardLayout.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace fenwold {

// A key, and whether Shift is held with it.
struct KeyStroke {
    uint16_t keyCode = 0;
    bool shift = false;
    friend bool operator==(const KeyStroke&, const KeyStroke&) = default;
};

// What the keys mean for shortcuts on one keyboard layout: the character each key gives with
// Command held, unshifted and with Shift, and the other way round, the key that gives a
// character. A value, immutable once built.
class KeyLayoutTable {
public:
    // From a layout's translated keys: a key gives a character when it types exactly one
    // printable character; dead keys, control characters and longer texts give none.
    static KeyLayoutTable from(const LayoutTranslations& keys);
    // The keys as a US keyboard labels them, for when no layout can be read.
    static KeyLayoutTable us(uint32_t keyboardType = 0);

    // The character a key gives; 0 for none.
    char32_t character(int64_t keyCode, bool shift) const;
    // The key that gives a character: the lowest key code of the main block (the keypad is not
    // looked at), unshifted before shifted; none when no key gives it.
    std::optional<KeyStroke> keyFor(char32_t character) const;

    const QString& sourceID() const { return sourceID_; }
    uint32_t keyboardType() const { return keyboardType_; }
    friend bool operator==(const KeyLayoutTable&, const KeyLayoutTable&) = default;

private:
    std::array<char32_t, kLayoutKeyCount> plain_{};
    std::array<char32_t, kLayoutKeyCount> shifted_{};
    QString sourceID_;
    uint32_t keyboardType_ = 0;
};

// How a character of the table reads in a hint: letters in upper case, as keycaps print them.
// The table's characters are all of the Basic Multilingual Plane.
QChar keycap(char32_t character);

} // namespace fenwold
