#pragma once

#include <cstdint>
#include <optional>

namespace fenwold {

// The Mac virtual key code for a key of the host's keyboard, as a PC keyboard on a Mac sends
// it: the Super (Windows) key as Command, Alt as Option, AltGr as right Option, PrtScn as F13.
std::optional<uint16_t> macKeyCode(int qtKey);

} // namespace fenwold
