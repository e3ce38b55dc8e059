#include "BrowserApp.h"

#include "ports/KeyCodes.h"

#include <tuple>

namespace fenwold {

BrowserApp::BrowserApp(SimSession& session) : SimApplication(session, "com.apple.Safari", "Safari") {
    for (const auto& [title, character, delta] : {std::tuple{"Back", "[", -1}, std::tuple{"Forward", "]", 1}})
        addMenuItem(QStringLiteral("History"), QString::fromLatin1(title), QString::fromLatin1(character),
                    [this, delta = delta] {
                        const auto window = focusedWindow();
                        if (!window) return;
                        if (auto it = pages_.find(*window); it != pages_.end())
                            step(*window, it->second, delta);
                    });
}

void BrowserApp::step(uint32_t window, Page& page, int delta) {
    const int to = page.at + delta;
    if (to < 0 || to >= static_cast<int>(page.history.size())) return;
    page.at = to;
    go(window, page, page.history[to]);
}

uint32_t BrowserApp::openPage(const QString& title, const QString& address, Rect frame) {
    const uint32_t number = openWindow(title, frame);
    Page page;
    page.address = address;
    page.history = {address};
    pages_[number] = page;
    return number;
}

const BrowserApp::Page* BrowserApp::page(uint32_t window) const {
    auto it = pages_.find(window);
    return it == pages_.end() ? nullptr : &it->second;
}

QString BrowserApp::address(uint32_t window) const {
    const Page* p = page(window);
    return p ? p->address : QString();
}

int BrowserApp::zoomPercent(uint32_t window) const {
    const Page* p = page(window);
    return p ? p->zoom : 0;
}

int BrowserApp::tabs(uint32_t window) const {
    const Page* p = page(window);
    return p ? p->tabs : 0;
}

int BrowserApp::currentTab(uint32_t window) const {
    const Page* p = page(window);
    return p ? p->tab : 0;
}

int BrowserApp::reloads(uint32_t window) const {
    const Page* p = page(window);
    return p ? p->reloads : 0;
}

bool BrowserApp::bookmarked(uint32_t window) const {
    const Page* p = page(window);
    return p && p->bookmarked;
}

void BrowserApp::go(uint32_t window, Page& page, const QString& address) {
    page.address = address;
    session_.windows.setTitle(window, address);
}

QStringList BrowserApp::content(uint32_t window) const {
    auto it = pages_.find(window);
    if (it == pages_.end()) return {};
    const Page& p = it->second;
    QStringList lines;
    lines << QStringLiteral("\u2190 \u2192  %1%2")
                 .arg(p.editing ? *p.editing + QChar(0x2502) : p.address,
                      p.bookmarked ? QStringLiteral("  \u2605") : QString());
    lines << QStringLiteral("tab %1 of %2 \u00B7 zoom %3%").arg(p.tab).arg(p.tabs).arg(p.zoom);
    lines << QString() << QStringLiteral("Welcome to %1").arg(p.address.section(QLatin1Char('/'), 0, 0));
    if (p.reloads) lines << QStringLiteral("reloaded %1\u00D7").arg(p.reloads);
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
        if (key.keyCode == kReturn) {
            // A new page: the pages ahead of this one are forgotten.
            p.history = p.history.mid(0, p.at + 1) << *p.editing;
            p.at = static_cast<int>(p.history.size()) - 1;
            go(*window, p, *p.editing);
            p.editing.reset();
        } else if (key.keyCode == kEsc) {
            p.editing.reset();
        } else if (key.keyCode == kDelete) {
            p.editing->chop(1);
        } else if (const auto c = typed(key)) {
            *p.editing += *c;
        }
        return true;
    }
    if (key.control() && !key.command() && key.keyCode == kTab) {
        p.tab = key.shift() ? (p.tab + p.tabs - 2) % p.tabs + 1 : p.tab % p.tabs + 1;
        return true;
    }
    if (!key.command() || key.control()) return false;
    switch (letter(key)) {
    case u'[':
    case u']':
        step(*window, p, letter(key) == u'[' ? -1 : 1);
        return true;
    case u'r':
        ++p.reloads;
        return true;
    case u'd':
        p.bookmarked = true;
        return true;
    case u'1':
    case u'2':
    case u'3':
    case u'4':
    case u'5':
    case u'6':
    case u'7':
    case u'8':
        p.tab = std::min(p.tabs, letter(key) - u'0');
        return true;
    case u'9':
        p.tab = p.tabs;
        return true;
    case u'l':
        p.editing = QString();
        return true;
    case u't':
        p.tab = ++p.tabs;
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
