#include "BrowserApp.h"

#include "MacKeyCodes.h"

namespace fenwold {

BrowserApp::BrowserApp(SimSession& session) : SimApplication(session, "com.apple.Safari", "Safari") {}

uint32_t BrowserApp::openPage(const QString& title, const QString& address, Rect frame) {
    const uint32_t number = openWindow(title, frame);
    pages_[number] = Page{address, std::nullopt, 100, 1};
    return number;
}

QString BrowserApp::address(uint32_t window) const {
    auto it = pages_.find(window);
    return it == pages_.end() ? QString() : it->second.address;
}

int BrowserApp::zoomPercent(uint32_t window) const {
    auto it = pages_.find(window);
    return it == pages_.end() ? 0 : it->second.zoom;
}

int BrowserApp::tabs(uint32_t window) const {
    auto it = pages_.find(window);
    return it == pages_.end() ? 0 : it->second.tabs;
}

QStringList BrowserApp::content(uint32_t window) const {
    auto it = pages_.find(window);
    if (it == pages_.end()) return {};
    const Page& p = it->second;
    QStringList lines;
    lines << QStringLiteral("\u2190 \u2192  %1").arg(p.editing ? *p.editing + QChar(0x2502) : p.address);
    lines << QStringLiteral("%1 tab%2 \u00B7 zoom %3%")
                 .arg(p.tabs)
                 .arg(p.tabs == 1 ? QString() : QStringLiteral("s"))
                 .arg(p.zoom);
    lines << QString() << QStringLiteral("Welcome to %1").arg(p.address.section(QLatin1Char('/'), 0, 0));
    return lines;
}

bool BrowserApp::handleKey(std::optional<uint32_t> window, const AppKey& key) {
    if (key.command() && !key.control() && letter(key) == u'n') {
        const int n = static_cast<int>(pages_.size()) + 1;
        openPage(QStringLiteral("New Window"), QStringLiteral("start.example"),
                 {180.0 + 25 * n, 90.0 + 25 * n, 760, 520});
        return true;
    }
    if (!window) return false;
    auto it = pages_.find(*window);
    if (it == pages_.end()) return false;
    Page& p = it->second;
    if (p.editing && !key.command() && !key.control()) {
        if (key.keyCode == mackey::ret) {
            p.address = *p.editing;
            p.editing.reset();
            session_.windows.setTitle(*window, p.address);
        } else if (key.keyCode == mackey::esc) {
            p.editing.reset();
        } else if (key.keyCode == mackey::backspace) {
            p.editing->chop(1);
        } else if (const auto c = typed(key)) {
            *p.editing += *c;
        }
        return true;
    }
    if (!key.command() || key.control()) return false;
    switch (letter(key)) {
    case u'l':
        p.editing = QString();
        return true;
    case u't':
        ++p.tabs;
        return true;
    case u'=':
    case u'+':
        p.zoom = std::min(300, p.zoom + 10);
        return true;
    case u'-':
        p.zoom = std::max(30, p.zoom - 10);
        return true;
    case u'0':
        p.zoom = 100;
        return true;
    default:
        return false;
    }
}

} // namespace fenwold
