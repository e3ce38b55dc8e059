#include "TerminalApp.h"

#include "ports/KeyCodes.h"

namespace fenwold {

namespace {
const QString kPrompt = QStringLiteral("~ % ");
}

TerminalApp::TerminalApp(SimSession& session) : SimApplication(session, "com.apple.Terminal", "Terminal") {}

uint32_t TerminalApp::newWindow(Rect frame) {
    const uint32_t number = openWindow(QStringLiteral("zsh \u2014 80\u00D724"), frame);
    screens_[number].scrollback << QStringLiteral("Last login: Sun Dec  6 09:12:44 on console");
    return number;
}

QString TerminalApp::inputLine(uint32_t window) const {
    auto it = screens_.find(window);
    return it == screens_.end() ? QString() : it->second.input;
}

QStringList TerminalApp::content(uint32_t window) const {
    auto it = screens_.find(window);
    if (it == screens_.end()) return {};
    QStringList lines = it->second.scrollback.mid(std::max<qsizetype>(0, it->second.scrollback.size() - 14));
    lines << kPrompt + it->second.input + QChar(0x2588);
    return lines;
}

void TerminalApp::run(Screen& screen) {
    const QString line = screen.input.trimmed();
    screen.scrollback << kPrompt + screen.input;
    screen.input.clear();
    if (line.isEmpty()) return;
    if (line == QLatin1String("ls"))
        screen.scrollback << QStringLiteral("Desktop    Documents  Downloads  notes.txt");
    else if (line.startsWith(QLatin1String("echo ")))
        screen.scrollback << line.mid(5);
    else if (line == QLatin1String("clear"))
        screen.scrollback.clear();
    else
        screen.scrollback
            << QStringLiteral("zsh: command not found: %1").arg(line.section(QLatin1Char(' '), 0, 0));
}

bool TerminalApp::handleKey(std::optional<uint32_t> window, const AppKey& key) {
    if (key.command() && !key.control() && letter(key) == u'n') {
        newWindow({260, 180, 640, 400});
        return true;
    }
    if (!window) return false;
    auto it = screens_.find(*window);
    if (it == screens_.end()) return false;
    Screen& s = it->second;
    if (key.control() && !key.command()) {
        const char16_t l = letter(key);
        if (l == u'c') {
            ++interrupts_;
            s.scrollback << kPrompt + s.input + QStringLiteral("^C");
            s.input.clear();
        } else if (l == u'k' || l == u'u') { // the line
            s.input.clear();
        } else if (l == u'w') { // the word before the cursor
            while (s.input.endsWith(QLatin1Char(' ')))
                s.input.chop(1);
            while (!s.input.isEmpty() && !s.input.endsWith(QLatin1Char(' ')))
                s.input.chop(1);
        }
        return true;
    }
    if (key.command()) {
        if (letter(key) == u'v') {
            if (auto pasted = pastedText())
                s.input += QString(*pasted).replace(QLatin1Char('\n'), QLatin1Char(' '));
            return true;
        }
        if (letter(key) == u'c') return true; // nothing selected: nothing to copy
        return false;
    }
    if (key.keyCode == kReturn) {
        run(s);
        return true;
    }
    if (key.keyCode == kDelete) {
        s.input.chop(1);
        return true;
    }
    if (key.option()) return false;
    if (const auto c = typed(key)) {
        s.input += *c;
        return true;
    }
    return false;
}

} // namespace fenwold
