#pragma once

#include <QString>
#include <Qt>
#include <cstdint>
#include <optional>

namespace fenwold {

// The Mac virtual key code for a key of the host's keyboard, as a PC keyboard on a Mac sends
// it: the Super (Windows) key as Command, Alt as Option, AltGr as right Option, PrtScn as F13.
std::optional<uint16_t> macKeyCode(int qtKey);

// A Mac key-down as the program's own Qt widgets take it: the Qt key, the modifiers as Qt names
// them on a Mac (Command is Qt's Control, Control is its Meta) and the text it types on the US
// layout (none while Command or Control is held).
struct QtKeyPress {
    int key = 0;
    Qt::KeyboardModifiers modifiers;
    QString text;
};
std::optional<QtKeyPress> qtKeyPress(uint16_t macKeyCode, uint64_t macFlags);

} // namespace fenwold
