#pragma once

#include <QString>
#include <Qt>
#include <cstdint>
#include <optional>

class QKeyEvent;

namespace fenwold {

class SimKeyboardLayout;

// The Mac virtual key code for a key of the host's keyboard, as a PC keyboard on a Mac sends
// it: the Super (Windows) key as Command, Alt as Option, AltGr as right Option, PrtScn as F13.
// By its Qt key, as a US layout names it.
std::optional<uint16_t> macKeyCode(int qtKey);
// By its position: the host's native scan code, an XKB key code (evdev's code plus 8).
std::optional<uint16_t> macKeyCodeAtScanCode(uint32_t xkbKeyCode);
// A host key event's key: by its position wherever the host reports one (X11 and Wayland), so
// the simulated Mac's layout alone decides what the key means; else by its Qt key.
std::optional<uint16_t> macKeyCode(const QKeyEvent& event);

// A Mac key-down as the program's own Qt widgets take it: the Qt key, the modifiers as Qt names
// them on a Mac (Command is Qt's Control, Control is its Meta) and the text it types on the
// simulated Mac's layout (none while Command or Control is held).
struct QtKeyPress {
    int key = 0;
    Qt::KeyboardModifiers modifiers;
    QString text;
};
std::optional<QtKeyPress> qtKeyPress(uint16_t macKeyCode, uint64_t macFlags, const SimKeyboardLayout& layout);

} // namespace fenwold
