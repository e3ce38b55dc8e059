#pragma once

#include "SimApplication.h"

#include <algorithm>
#include <map>
#include <vector>

namespace fenwold {

// A plain-text editor: typing, Shift+arrows selection, Command+A/C/X/V against the pasteboard,
// Command+Z undo and Shift+Command+Z redo, Option+Backspace and Option+Delete the word before or
// after the cursor, Command+N a new document. The Window menu with its tiling items comes with
// every application.
class TextEditorApp final : public SimApplication {
public:
    explicit TextEditorApp(SimSession& session);

    uint32_t newDocument(const QString& title, Rect frame, const QString& text = {});
    QString text(uint32_t window) const;
    QString selectedText(uint32_t window) const;
    QStringList content(uint32_t window) const override;

protected:
    bool handleKey(std::optional<uint32_t> window, const AppKey& key) override;
    void windowClosed(uint32_t window) override { docs_.erase(window); }

private:
    struct State {
        QString text;
        int cursor = 0;
        int anchor = 0;
    };
    struct Document : State {
        std::vector<State> undo;
        std::vector<State> redo;
        bool typing = false; // the last edit typed a character: the next one joins its undo step
        int from() const { return std::min(cursor, anchor); }
        int to() const { return std::max(cursor, anchor); }
        // Every edit goes through here, so it can be undone; typed characters undo together.
        void replaceSelection(const QString& with, bool typed = false);
        void moveTo(int position, bool extend);
        // Where the word before or after the cursor starts or ends.
        int wordBefore() const;
        int wordAfter() const;
        void step(std::vector<State>& from, std::vector<State>& to);
    };
    int untitled_ = 0;
    std::map<uint32_t, Document> docs_;
};

} // namespace fenwold
