#pragma once

#include "SimApplication.h"

#include <map>

namespace fenwold {

// A web browser with several windows: Command+L edits the address (Return loads it), Command+T
// adds a tab, Command+N opens a window, Command+plus/minus/zero zoom the page.
class BrowserApp final : public SimApplication {
public:
    explicit BrowserApp(SimSession& session);

    uint32_t openPage(const QString& title, const QString& address, Rect frame);
    QString address(uint32_t window) const;
    int zoomPercent(uint32_t window) const;
    int tabs(uint32_t window) const;
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
    };
    std::map<uint32_t, Page> pages_;
};

} // namespace fenwold
