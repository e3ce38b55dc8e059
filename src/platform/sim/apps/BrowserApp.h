#pragma once

#include "SimApplication.h"

#include <map>

namespace fenwold {

// A web browser with several windows: Command+L edits the address (Return loads it, into the
// history that Command+[ and Command+] go back and forward in), Command+T adds a tab, Control+Tab
// and Control+Shift+Tab go to the next and previous tab, Command+1…8 to a tab and Command+9 to
// the last, Command+R reloads, Command+D bookmarks, Command+N opens a window, Command+plus/minus/
// zero zoom the page.
class BrowserApp final : public SimApplication {
public:
    explicit BrowserApp(SimSession& session);

    uint32_t openPage(const QString& title, const QString& address, Rect frame);
    QString address(uint32_t window) const;
    int zoomPercent(uint32_t window) const;
    int tabs(uint32_t window) const;
    int currentTab(uint32_t window) const; // from 1
    int reloads(uint32_t window) const;
    bool bookmarked(uint32_t window) const;
    QStringList content(uint32_t window) const override;

protected:
    bool handleKey(std::optional<uint32_t> window, const AppKey& key) override;
    void windowClosed(uint32_t window) override { pages_.erase(window); }

private:
    struct Page {
        QString address;
        std::optional<QString> editing;
        int zoom = 100;
        int tabs = 1;
        int tab = 1;
        QStringList history; // the addresses visited, oldest first, with `address` at `at`
        int at = 0;
        int reloads = 0;
        bool bookmarked = false;
    };
    const Page* page(uint32_t window) const;
    void go(uint32_t window, Page& page, const QString& address);
    // Back (-1) or forward (1) in the page's history, by a key or the History menu.
    void step(uint32_t window, Page& page, int delta);
    std::map<uint32_t, Page> pages_;
};

} // namespace fenwold
