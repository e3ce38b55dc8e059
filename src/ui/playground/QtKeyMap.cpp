#include "QtKeyMap.h"

#include "platform/sim/SimKeyboardLayout.h"
#include "ports/KeyCodes.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <array>

namespace fenwold {

std::optional<uint16_t> macKeyCode(int qtKey) {
    // Letters and digits by their position on the US layout.
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return kLetterKeys[static_cast<std::size_t>(qtKey - Qt::Key_A)];
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return kDigitKeys[static_cast<std::size_t>(qtKey - Qt::Key_0)];
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F19)
        return kFunctionKeys[static_cast<std::size_t>(qtKey - Qt::Key_F1)];
    switch (qtKey) {
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
        return kCommand;
    case Qt::Key_Super_R:
        return kRightCommand;
    case Qt::Key_Alt:
        return kOption;
    case Qt::Key_AltGr:
        return kRightOption;
    case Qt::Key_Control:
        return kControl;
    case Qt::Key_Shift:
        return kShift;
    case Qt::Key_CapsLock:
        return kCapsLock;
    case Qt::Key_Return:
        return kReturn;
    case Qt::Key_Enter:
        return kKeypadEnter;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return kTab;
    case Qt::Key_Space:
        return kSpace;
    case Qt::Key_Backspace:
        return kDelete;
    case Qt::Key_Escape:
        return kEsc;
    case Qt::Key_Delete:
        return kFwdDelete;
    case Qt::Key_Insert:
        return kInsert;
    case Qt::Key_Home:
        return kHome;
    case Qt::Key_End:
        return kEnd;
    case Qt::Key_PageUp:
        return kPageUp;
    case Qt::Key_PageDown:
        return kPageDown;
    case Qt::Key_Left:
        return kLeft;
    case Qt::Key_Right:
        return kRight;
    case Qt::Key_Down:
        return kDown;
    case Qt::Key_Up:
        return kUp;
    case Qt::Key_Print:
        return kF13;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        return kMinus;
    case Qt::Key_Equal:
    case Qt::Key_Plus:
        return kEqual;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft:
        return kLeftBracket;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight:
        return kRightBracket;
    case Qt::Key_Semicolon:
    case Qt::Key_Colon:
        return kSemicolon;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl:
        return kQuote;
    case Qt::Key_Comma:
    case Qt::Key_Less:
        return kComma;
    case Qt::Key_Period:
    case Qt::Key_Greater:
        return kPeriod;
    case Qt::Key_Slash:
    case Qt::Key_Question:
        return kSlash;
    case Qt::Key_Backslash:
    case Qt::Key_Bar:
        return kBackslash;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde:
        return kGrave;
    // Shifted digits arrive as their symbols.
    case Qt::Key_Exclam:
        return k1;
    case Qt::Key_At:
        return k2;
    case Qt::Key_NumberSign:
        return k3;
    case Qt::Key_Dollar:
        return k4;
    case Qt::Key_Percent:
        return k5;
    case Qt::Key_AsciiCircum:
        return k6;
    case Qt::Key_Ampersand:
        return k7;
    case Qt::Key_Asterisk:
        return k8;
    case Qt::Key_ParenLeft:
        return k9;
    case Qt::Key_ParenRight:
        return k0;
    default:
        return std::nullopt;
    }
}

namespace {

// Mac key codes by evdev code (Linux's input event codes), 0 for keys a Mac keyboard lacks. Each
// run gives the keys of consecutive evdev codes, from the first.
constexpr std::array<uint16_t, 128> kByEvdev = [] {
    std::array<uint16_t, 128> m{};
    const auto run = [&m](std::size_t first, std::initializer_list<uint16_t> keys) {
        for (const uint16_t key : keys)
            m[first++] = key;
    };
    run(1, {kEsc, k1, k2, k3, k4, k5, k6, k7, k8, k9, k0, kMinus, kEqual, kDelete});
    run(15, {kTab, kQ, kW, kE, kR, kT, kY, kU, kI, kO, kP, kLeftBracket, kRightBracket, kReturn});
    run(29, {kControl, kA, kS, kD, kF, kG, kH, kJ, kK, kL, kSemicolon, kQuote, kGrave});
    run(42, {kShift, kBackslash, kZ, kX, kC, kV, kB, kN, kM, kComma, kPeriod, kSlash, kRightShift});
    run(55, {kKeypadMultiply, kOption, kSpace, kCapsLock, kF1, kF2, kF3, kF4, kF5, kF6, kF7, kF8, kF9, kF10});
    run(71, {kKeypad7, kKeypad8, kKeypad9, kKeypadMinus, kKeypad4, kKeypad5, kKeypad6, kKeypadPlus, kKeypad1,
             kKeypad2, kKeypad3, kKeypad0, kKeypadDecimal});
    run(86, {kSection, kF11, kF12});
    run(96, {kKeypadEnter, kRightControl, kKeypadDivide, kF13, kRightOption});
    run(102, {kHome, kUp, kPageUp, kLeft, kRight, kEnd, kDown, kPageDown, kInsert, kFwdDelete});
    run(117, {kKeypadEquals});
    run(125, {kCommand, kRightCommand});
    return m;
}();

// evdev's F13 to F19 lie beyond the table: 183...189.
constexpr int kEvdevF13 = 183;
constexpr uint16_t kMacF13ToF19[] = {kF13, kF14, kF15, kF16, kF17, kF18, kF19};

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
    if (flags & flag::shift) press.modifiers |= Qt::ShiftModifier;
    if (flags & flag::command) press.modifiers |= Qt::ControlModifier;
    if (flags & flag::control) press.modifiers |= Qt::MetaModifier;
    if (flags & flag::option) press.modifiers |= Qt::AltModifier;
    const bool typing = !(flags & (flag::command | flag::control));
    switch (keyCode) {
    case kReturn:
        press.key = Qt::Key_Return;
        press.text = QStringLiteral("\r");
        return press;
    case kKeypadEnter:
        press.key = Qt::Key_Enter;
        press.text = QStringLiteral("\r");
        return press;
    case kTab:
        press.key = Qt::Key_Tab;
        press.text = QStringLiteral("\t");
        return press;
    case kEsc:
        press.key = Qt::Key_Escape;
        return press;
    case kDelete:
        press.key = Qt::Key_Backspace;
        return press;
    case kFwdDelete:
        press.key = Qt::Key_Delete;
        return press;
    case kHome:
        press.key = Qt::Key_Home;
        return press;
    case kEnd:
        press.key = Qt::Key_End;
        return press;
    case kLeft:
        press.key = Qt::Key_Left;
        return press;
    case kRight:
        press.key = Qt::Key_Right;
        return press;
    case kUp:
        press.key = Qt::Key_Up;
        return press;
    case kDown:
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
    if (typing) press.text = QString(layout.typed(keyCode, (flags & flag::shift) != 0).value_or(*plain));
    return press;
}

} // namespace fenwold
