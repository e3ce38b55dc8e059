#include "QtKeyMap.h"

#include "platform/sim/SimKeyboardLayout.h"
#include "platform/sim/apps/MacKeyCodes.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <array>

namespace fenwold {

std::optional<uint16_t> macKeyCode(int qtKey) {
    // Letters and digits by their position on the US layout.
    static constexpr uint16_t letters[26] = {0,  11, 8,  2,  14, 3, 5,  4,  34, 38, 40, 37, 46,
                                             45, 31, 35, 12, 15, 1, 17, 32, 9,  13, 7,  16, 6};
    static constexpr uint16_t digits[10] = {29, 18, 19, 20, 21, 23, 22, 26, 28, 25};
    static constexpr uint16_t fkeys[19] = {122, 120, 99,  118, 96,  97,  98, 100, 101, 109,
                                           103, 111, 105, 107, 113, 106, 64, 79,  80};
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return letters[qtKey - Qt::Key_A];
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return digits[qtKey - Qt::Key_0];
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F19) return fkeys[qtKey - Qt::Key_F1];
    switch (qtKey) {
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
        return 55;
    case Qt::Key_Super_R:
        return 54;
    case Qt::Key_Alt:
        return 58;
    case Qt::Key_AltGr:
        return 61;
    case Qt::Key_Control:
        return 59;
    case Qt::Key_Shift:
        return 56;
    case Qt::Key_CapsLock:
        return 57;
    case Qt::Key_Return:
        return 36;
    case Qt::Key_Enter:
        return 76;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 48;
    case Qt::Key_Space:
        return 49;
    case Qt::Key_Backspace:
        return 51;
    case Qt::Key_Escape:
        return 53;
    case Qt::Key_Delete:
        return 117;
    case Qt::Key_Insert:
        return 114;
    case Qt::Key_Home:
        return 115;
    case Qt::Key_End:
        return 119;
    case Qt::Key_PageUp:
        return 116;
    case Qt::Key_PageDown:
        return 121;
    case Qt::Key_Left:
        return 123;
    case Qt::Key_Right:
        return 124;
    case Qt::Key_Down:
        return 125;
    case Qt::Key_Up:
        return 126;
    case Qt::Key_Print:
        return 105;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        return 27;
    case Qt::Key_Equal:
    case Qt::Key_Plus:
        return 24;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft:
        return 33;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight:
        return 30;
    case Qt::Key_Semicolon:
    case Qt::Key_Colon:
        return 41;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl:
        return 39;
    case Qt::Key_Comma:
    case Qt::Key_Less:
        return 43;
    case Qt::Key_Period:
    case Qt::Key_Greater:
        return 47;
    case Qt::Key_Slash:
    case Qt::Key_Question:
        return 44;
    case Qt::Key_Backslash:
    case Qt::Key_Bar:
        return 42;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde:
        return 50;
    // Shifted digits arrive as their symbols.
    case Qt::Key_Exclam:
        return 18;
    case Qt::Key_At:
        return 19;
    case Qt::Key_NumberSign:
        return 20;
    case Qt::Key_Dollar:
        return 21;
    case Qt::Key_Percent:
        return 23;
    case Qt::Key_AsciiCircum:
        return 22;
    case Qt::Key_Ampersand:
        return 26;
    case Qt::Key_Asterisk:
        return 28;
    case Qt::Key_ParenLeft:
        return 25;
    case Qt::Key_ParenRight:
        return 29;
    default:
        return std::nullopt;
    }
}

namespace {

// Mac key codes by evdev code (Linux's input event codes), 0 for keys a Mac keyboard lacks.
constexpr std::array<uint16_t, 128> kByEvdev = [] {
    std::array<uint16_t, 128> m{};
    const std::pair<int, uint16_t> keys[] = {
        {1, 53},    {2, 18},    {3, 19},    {4, 20},    {5, 21},    {6, 23},    {7, 22},    {8, 26},
        {9, 28},    {10, 25},   {11, 29},   {12, 27},   {13, 24},   {14, 51},   {15, 48},   {16, 12},
        {17, 13},   {18, 14},   {19, 15},   {20, 17},   {21, 16},   {22, 32},   {23, 34},   {24, 31},
        {25, 35},   {26, 33},   {27, 30},   {28, 36},   {29, 59},   {30, 0},    {31, 1},    {32, 2},
        {33, 3},    {34, 5},    {35, 4},    {36, 38},   {37, 40},   {38, 37},   {39, 41},   {40, 39},
        {41, 50},   {42, 56},   {43, 42},   {44, 6},    {45, 7},    {46, 8},    {47, 9},    {48, 11},
        {49, 45},   {50, 46},   {51, 43},   {52, 47},   {53, 44},   {54, 60},   {55, 67},   {56, 58},
        {57, 49},   {58, 57},   {59, 122},  {60, 120},  {61, 99},   {62, 118},  {63, 96},   {64, 97},
        {65, 98},   {66, 100},  {67, 101},  {68, 109},  {71, 89},   {72, 91},   {73, 92},   {74, 78},
        {75, 86},   {76, 87},   {77, 88},   {78, 69},   {79, 83},   {80, 84},   {81, 85},   {82, 82},
        {83, 65},   {86, 10},   {87, 103},  {88, 111},  {96, 76},   {97, 62},   {98, 75},   {99, 105},
        {100, 61},  {102, 115}, {103, 126}, {104, 116}, {105, 123}, {106, 124}, {107, 119}, {108, 125},
        {109, 121}, {110, 114}, {111, 117}, {117, 81},  {125, 55},  {126, 54}};
    for (const auto& [evdev, mac] : keys)
        m[static_cast<std::size_t>(evdev)] = mac;
    return m;
}();

// evdev's F13 to F19 lie beyond the table: 183...189.
constexpr int kEvdevF13 = 183;
constexpr uint16_t kMacF13ToF19[] = {105, 107, 113, 106, 64, 79, 80};

} // namespace

std::optional<uint16_t> macKeyCodeAtScanCode(uint32_t xkbKeyCode) {
    if (xkbKeyCode < 8) return std::nullopt;
    const uint32_t evdev = xkbKeyCode - 8;
    if (evdev >= kEvdevF13 && evdev < kEvdevF13 + std::size(kMacF13ToF19))
        return kMacF13ToF19[evdev - kEvdevF13];
    // A's Mac key code is 0, as are the keys a Mac keyboard lacks.
    constexpr uint32_t kEvdevA = 30;
    if (evdev >= kByEvdev.size() || (kByEvdev[evdev] == 0 && evdev != kEvdevA)) return std::nullopt;
    return kByEvdev[evdev];
}

std::optional<uint16_t> macKeyCode(const QKeyEvent& event) {
    const QString platform = QGuiApplication::platformName();
    const bool xkb = platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"));
    if (xkb && event.nativeScanCode() != 0) return macKeyCodeAtScanCode(event.nativeScanCode());
    return macKeyCode(event.key());
}

std::optional<QtKeyPress> qtKeyPress(uint16_t keyCode, uint64_t flags, const SimKeyboardLayout& layout) {
    QtKeyPress press;
    if (flags & macflag::shift) press.modifiers |= Qt::ShiftModifier;
    if (flags & macflag::command) press.modifiers |= Qt::ControlModifier;
    if (flags & macflag::control) press.modifiers |= Qt::MetaModifier;
    if (flags & macflag::option) press.modifiers |= Qt::AltModifier;
    const bool typing = !(flags & (macflag::command | macflag::control));
    switch (keyCode) {
    case mackey::ret:
        press.key = Qt::Key_Return;
        press.text = QStringLiteral("\r");
        return press;
    case mackey::keypadEnter:
        press.key = Qt::Key_Enter;
        press.text = QStringLiteral("\r");
        return press;
    case mackey::tab:
        press.key = Qt::Key_Tab;
        press.text = QStringLiteral("\t");
        return press;
    case mackey::esc:
        press.key = Qt::Key_Escape;
        return press;
    case mackey::backspace:
        press.key = Qt::Key_Backspace;
        return press;
    case mackey::fwdDelete:
        press.key = Qt::Key_Delete;
        return press;
    case mackey::home:
        press.key = Qt::Key_Home;
        return press;
    case mackey::end:
        press.key = Qt::Key_End;
        return press;
    case mackey::left:
        press.key = Qt::Key_Left;
        return press;
    case mackey::right:
        press.key = Qt::Key_Right;
        return press;
    case mackey::up:
        press.key = Qt::Key_Up;
        return press;
    case mackey::down:
        press.key = Qt::Key_Down;
        return press;
    default:
        break;
    }
    // Keys that type a character are named by it, as Qt names them: upper-case letters and the
    // unshifted symbol.
    const auto plain = layout.typed(keyCode, false);
    if (!plain) return std::nullopt;
    press.key = plain->toUpper().unicode();
    if (typing) press.text = QString(layout.typed(keyCode, (flags & macflag::shift) != 0).value_or(*plain));
    return press;
}

} // namespace fenwold
