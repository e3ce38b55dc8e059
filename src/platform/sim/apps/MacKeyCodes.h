#pragma once

#include <cstdint>

namespace fenwold {

// Virtual key codes and modifier flags of a Mac keyboard, as the simulated applications read
// them. Keys that type a character are told by what the layout gives them, not by these codes.
namespace mackey {
inline constexpr uint16_t ret = 36, tab = 48, space = 49, backspace = 51, esc = 53, keypadEnter = 76,
                          home = 115, fwdDelete = 117, end = 119, f2 = 120, left = 123, right = 124,
                          down = 125, up = 126;
// Letter positions, named by their US labels, for tests that press keys by position.
inline constexpr uint16_t a = 0, s = 1, z = 6, x = 7, c = 8, v = 9, q = 12, w = 13, t = 17, o = 31, u = 32,
                          l = 37, k = 40, n = 45, m = 46, equal = 24, minus = 27, zero = 29;
} // namespace mackey
namespace macflag {
inline constexpr uint64_t shift = 0x20000, control = 0x40000, option = 0x80000, command = 0x100000;
} // namespace macflag

} // namespace fenwold
