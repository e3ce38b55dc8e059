#include "SimApplication.h"

#include "ports/KeyCodes.h"

namespace fenwold {

bool AppKey::command() const {
    return flags & flag::command;
}
bool AppKey::option() const {
    return flags & flag::option;
}
bool AppKey::control() const {
    return flags & flag::control;
}
bool AppKey::shift() const {
    return flags & flag::shift;
}
bool AppKey::plain() const {
    return !(flags & (flag::command | flag::option | flag::control));
}

SimApplication::SimApplication(SimSession& session, const QString& bundleID, const QString& name)
    : session_(session), bundleID_(bundleID), name_(name) {
    pid_ = session_.app(bundleID, name).pid();
    focus_ = session_.accessibility.create(pid_);
    session_.accessibility.set(focus_, QStringLiteral("AXRole"), AXValue::of(QStringLiteral("AXTextArea")));
    session_.accessibility.set(session_.accessibility.application(pid_), QStringLiteral("AXFocusedUIElement"),
                               AXValue::of(focus_));
}

void SimApplication::addMenuItem(const QString& menu, const QString& title, const QString& character,
                                 std::function<void()> action) {
    session_.windows.addKeyEquivalent(pid_, menu, title, character, 0, std::move(action));
}

bool SimApplication::running() const {
    return session_.workspace.app(pid_).has_value();
}

void SimApplication::keyDown(const AppKey& key) {
    received_ << describeKey(key.keyCode, key.flags, session_.keyboardLayout);
    const std::optional<uint32_t> window = focusedWindow();
    if (handleKey(window, key)) return;
    handleStandardKey(window, key);
}

bool SimApplication::handleStandardKey(std::optional<uint32_t> window, const AppKey& key) {
    // The Apple menu's key equivalents come first: it is in every application's menu bar.
    if (session_.systemUI.appleMenuKey(key.keyCode, key.flags, letter(key))) return true;
    if (!key.command() || key.control()) return false;
    switch (letter(key)) {
    case u'w':
        if (!window) return false;
        session_.windows.close(*window);
        windowClosed(*window);
        return true;
    case u'q':
        session_.workspace.terminate(pid_);
        return true;
    case u'm':
        if (!window) return false;
        session_.windows.update(*window, [](SimWindow& w) { w.minimized = true; });
        return true;
    default:
        return false;
    }
}

uint32_t SimApplication::openWindow(const QString& title, Rect frame) {
    return session_.windows.open(pid_, title, frame);
}

std::optional<uint32_t> SimApplication::focusedWindow() const {
    const auto number = session_.windows.focusedWindow(pid_);
    if (!number) return std::nullopt;
    const auto w = session_.windows.window(*number);
    if (!w || w->minimized) return std::nullopt;
    return number;
}

void SimApplication::copyText(const QString& text) const {
    session_.pasteboard.write({PasteboardItem{{{QStringLiteral("public.utf8-plain-text"), text.toUtf8()}}}});
}

std::optional<QString> SimApplication::pastedText() const {
    for (const PasteboardItem& item : session_.pasteboard.contents())
        for (const auto& [type, bytes] : item.types)
            if (type == QLatin1String("public.utf8-plain-text")) return QString::fromUtf8(bytes);
    return std::nullopt;
}

void SimApplication::setFocusRole(const QString& role) {
    session_.accessibility.set(focus_, QStringLiteral("AXRole"), AXValue::of(role));
}

char16_t SimApplication::letter(const AppKey& key) const {
    const auto c = session_.keyboardLayout.equivalent(key.keyCode, false);
    return c ? c->toLower().unicode() : 0;
}

std::optional<QChar> SimApplication::typed(const AppKey& key) const {
    return session_.keyboardLayout.typed(key.keyCode, key.shift());
}

QString describeKey(uint16_t keyCode, uint64_t flags, const SimKeyboardLayout& layout) {
    QString text;
    if (flags & flag::control) text += QChar(0x2303);
    if (flags & flag::option) text += QChar(0x2325);
    if (flags & flag::shift) text += QChar(0x21E7);
    if (flags & flag::command) text += QChar(0x2318);
    switch (keyCode) {
    case kReturn:
        return text + QChar(0x21A9);
    case kTab:
        return text + QChar(0x21E5);
    case kSpace:
        return text + QStringLiteral("Space");
    case kDelete:
        return text + QChar(0x232B);
    case kEsc:
        return text + QStringLiteral("Esc");
    case kFwdDelete:
        return text + QChar(0x2326);
    case kLeft:
        return text + QChar(0x2190);
    case kRight:
        return text + QChar(0x2192);
    case kDown:
        return text + QChar(0x2193);
    case kUp:
        return text + QChar(0x2191);
    case kHome:
        return text + QStringLiteral("Home");
    case kEnd:
        return text + QStringLiteral("End");
    case kF2:
        return text + QStringLiteral("F2");
    case kF4:
        return text + QStringLiteral("F4");
    default:
        break;
    }
    const bool shortcut = flags & (flag::command | flag::control);
    if (const auto c = shortcut ? layout.equivalent(keyCode, false) : layout.typed(keyCode, false))
        return text + c->toUpper();
    return text + QStringLiteral("key %1").arg(keyCode);
}

} // namespace fenwold
