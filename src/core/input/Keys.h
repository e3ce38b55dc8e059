#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace fenwold {

// Virtual key codes the program names. A PC keyboard on a Mac sends the Windows key as Command,
// Alt as Option and PrtScn as F13.
inline constexpr int64_t kTab = 48;
inline constexpr int64_t kEsc = 53;
inline constexpr int64_t kLeft = 123;
inline constexpr int64_t kRight = 124;
inline constexpr int64_t kDown = 125;
inline constexpr int64_t kUp = 126;
inline constexpr int64_t kDelete = 51;
inline constexpr int64_t kFwdDelete = 117;
inline constexpr int64_t kF13 = 105;
inline constexpr int64_t kF19 = 80;
inline constexpr int64_t kInsert = 114;
inline constexpr uint16_t kEqual = 24;
inline constexpr uint16_t kMinus = 27;
inline constexpr uint16_t kZero = 29;

// Codes used literally by the dispatch, named here only for readability.
namespace keycode {
inline constexpr int64_t a = 0, s = 1, d = 2, f = 3, g = 5, z = 6, x = 7, c = 8, v = 9, b = 11, q = 12,
                         w = 13, e = 14, r = 15, y = 16, t = 17, o = 31, u = 32, i = 34, p = 35, l = 37,
                         n = 45, m = 46, space = 49, ret = 36, keypadEnter = 76, f1 = 122, f2 = 120, f3 = 99,
                         f4 = 118, f5 = 96, f10 = 109, f11 = 103, home = 115, end = 119, pageUp = 116,
                         pageDown = 121, keypadPlus = 69, keypadMinus = 78, keypadZero = 82;
// A PC keyboard's Pause key arrives as F15.
inline constexpr int64_t pause = 113;
// A PC keyboard's Menu (Application) key. Apple's key-code list names no such key; the system
// sends this code for it.
inline constexpr int64_t contextMenu = 110;
} // namespace keycode

// Modifier bits of the event flag word.
namespace flag {
inline constexpr uint64_t shift = 0x20000;
inline constexpr uint64_t control = 0x40000;
inline constexpr uint64_t option = 0x80000;
inline constexpr uint64_t command = 0x100000;
inline constexpr uint64_t secondaryFn = 0x800000;
} // namespace flag

// With the hardware Control/Command swap on, the physical Windows key produces Control and the
// physical Ctrl key produces Command; the dispatch tests "Win held" and "Ctrl held" through these.
constexpr uint64_t winMask(bool swapCtrlCmd) {
    return swapCtrlCmd ? flag::control : flag::command;
}
constexpr uint64_t ctrlMask(bool swapCtrlCmd) {
    return swapCtrlCmd ? flag::command : flag::control;
}

// Carried in the source user-data field of every synthetic event the program posts ("FNWD").
inline constexpr int64_t kOwnEventMarker = 0x464E5744;

// Terminals keep Ctrl+A/C/V/X for themselves.
inline constexpr std::array<std::string_view, 7> terminalBundleIDs = {
    "com.apple.Terminal",   "com.googlecode.iterm2", "dev.warp.Warp",          "com.mitchellh.ghostty",
    "net.kovidgoyal.kitty", "org.alacritty",         "com.github.wez.wezterm",
};

// The digit of a top-row key code (the row is not in code order: 5 is 23, 6 is 22, 9 is 25).
constexpr std::optional<int> digitOfKey(int64_t key) {
    switch (key) {
    case 18:
        return 1;
    case 19:
        return 2;
    case 20:
        return 3;
    case 21:
        return 4;
    case 23:
        return 5;
    case 22:
        return 6;
    case 26:
        return 7;
    case 28:
        return 8;
    case 25:
        return 9;
    default:
        return std::nullopt;
    }
}

} // namespace fenwold
