#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace fenwold {

// Virtual key codes of a Mac keyboard: the position of a key, whatever the layout prints on it.
// The letters and symbols are named by their US labels; a PC keyboard on a Mac sends the Windows
// key as Command, Alt as Option, PrtScn as F13, Pause as F15 and Insert as Help.
inline constexpr uint16_t kA = 0, kS = 1, kD = 2, kF = 3, kH = 4, kG = 5, kZ = 6, kX = 7, kC = 8, kV = 9,
                          kSection = 10, kB = 11, kQ = 12, kW = 13, kE = 14, kR = 15, kY = 16, kT = 17,
                          k1 = 18, k2 = 19, k3 = 20, k4 = 21, k6 = 22, k5 = 23, kEqual = 24, k9 = 25, k7 = 26,
                          kMinus = 27, k8 = 28, k0 = 29, kRightBracket = 30, kO = 31, kU = 32,
                          kLeftBracket = 33, kI = 34, kP = 35, kReturn = 36, kL = 37, kJ = 38, kQuote = 39,
                          kK = 40, kSemicolon = 41, kBackslash = 42, kComma = 43, kSlash = 44, kN = 45,
                          kM = 46, kPeriod = 47, kTab = 48, kSpace = 49, kGrave = 50, kDelete = 51, kEsc = 53;
// The modifier keys, which arrive as flags-changed events.
inline constexpr uint16_t kRightCommand = 54, kCommand = 55, kShift = 56, kCapsLock = 57, kOption = 58,
                          kControl = 59, kRightShift = 60, kRightOption = 61, kRightControl = 62,
                          kFunction = 63;
inline constexpr uint16_t kKeypadDecimal = 65, kKeypadMultiply = 67, kKeypadPlus = 69, kKeypadClear = 71,
                          kKeypadDivide = 75, kKeypadEnter = 76, kKeypadMinus = 78, kKeypadEquals = 81,
                          kKeypad0 = 82, kKeypad1 = 83, kKeypad2 = 84, kKeypad3 = 85, kKeypad4 = 86,
                          kKeypad5 = 87, kKeypad6 = 88, kKeypad7 = 89, kKeypad8 = 91, kKeypad9 = 92;
inline constexpr uint16_t kF1 = 122, kF2 = 120, kF3 = 99, kF4 = 118, kF5 = 96, kF6 = 97, kF7 = 98, kF8 = 100,
                          kF9 = 101, kF10 = 109, kF11 = 103, kF12 = 111, kF13 = 105, kF14 = 107, kF15 = 113,
                          kF16 = 106, kF17 = 64, kF18 = 79, kF19 = 80;
inline constexpr uint16_t kInsert = 114, kHome = 115, kPageUp = 116, kFwdDelete = 117, kEnd = 119,
                          kPageDown = 121, kLeft = 123, kRight = 124, kDown = 125, kUp = 126;
// A PC keyboard's Pause key arrives as F15.
inline constexpr uint16_t kPause = kF15;
// A PC keyboard's Menu (Application) key. Apple's key-code list names no such key; the system
// sends this code for it.
inline constexpr uint16_t kContextMenu = 110;

// The keys that type text: the letters, digits and symbols of the main block, key codes 0...50
// (51 is Delete). The keypad follows and repeats some of their characters.
inline constexpr int kMainBlockKeys = kDelete;

// What the keypad's keys type, the same on every layout.
struct KeypadKey {
    uint16_t code;
    char16_t character;
};
inline constexpr KeypadKey kKeypadKeys[] = {
    {kKeypadDecimal, u'.'}, {kKeypadMultiply, u'*'}, {kKeypadPlus, u'+'}, {kKeypadDivide, u'/'},
    {kKeypadMinus, u'-'},   {kKeypadEquals, u'='},   {kKeypad0, u'0'},    {kKeypad1, u'1'},
    {kKeypad2, u'2'},       {kKeypad3, u'3'},        {kKeypad4, u'4'},    {kKeypad5, u'5'},
    {kKeypad6, u'6'},       {kKeypad7, u'7'},        {kKeypad8, u'8'},    {kKeypad9, u'9'}};

// The letter keys from A to Z, the number row's keys by the digit they carry and the function
// keys from F1 up: none of the three is in code order.
inline constexpr std::array<uint16_t, 26> kLetterKeys = {kA, kB, kC, kD, kE, kF, kG, kH, kI, kJ, kK, kL, kM,
                                                         kN, kO, kP, kQ, kR, kS, kT, kU, kV, kW, kX, kY, kZ};
inline constexpr std::array<uint16_t, 10> kDigitKeys = {k0, k1, k2, k3, k4, k5, k6, k7, k8, k9};
inline constexpr std::array<uint16_t, 19> kFunctionKeys = {
    kF1, kF2, kF3, kF4, kF5, kF6, kF7, kF8, kF9, kF10, kF11, kF12, kF13, kF14, kF15, kF16, kF17, kF18, kF19};

// The digit 1 to 9 of a number-row key; none for 0 and every other key.
constexpr std::optional<int> digitOfKey(int64_t key) {
    for (int digit = 1; digit <= 9; ++digit)
        if (kDigitKeys[static_cast<std::size_t>(digit)] == key) return digit;
    return std::nullopt;
}

// Modifier bits of the event flag word.
namespace flag {
inline constexpr uint64_t shift = 0x20000;
inline constexpr uint64_t control = 0x40000;
inline constexpr uint64_t option = 0x80000;
inline constexpr uint64_t command = 0x100000;
inline constexpr uint64_t secondaryFn = 0x800000;
// The four a shortcut is made of.
inline constexpr uint64_t chord = shift | control | option | command;
// Device bits that tell the left Option key from the right one (the right one is AltGr on many
// layouts, which types characters with Shift).
inline constexpr uint64_t leftOption = 0x20;
inline constexpr uint64_t rightOption = 0x40;
} // namespace flag

} // namespace fenwold
