#pragma once

#include "SimApplication.h"

#include <map>

namespace fenwold {

// A terminal: a prompt line that takes typing; Control+C interrupts (printed as "^C"), Control+W
// deletes the word before the cursor and Control+U or Control+K the line, Return runs the line,
// Command+V pastes into it.
class TerminalApp final : public SimApplication {
public:
    explicit TerminalApp(SimSession& session);

    uint32_t newWindow(Rect frame);
    QStringList content(uint32_t window) const override;
    int interrupts() const { return interrupts_; }
    QString inputLine(uint32_t window) const;

protected:
    bool handleKey(std::optional<uint32_t> window, const AppKey& key) override;
    void windowClosed(uint32_t window) override { screens_.erase(window); }

private:
    struct Screen {
        QStringList scrollback;
        QString input;
    };
    void run(Screen& screen);

    std::map<uint32_t, Screen> screens_;
    int interrupts_ = 0;
};

} // namespace fenwold
