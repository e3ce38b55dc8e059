#pragma once

#include "SimApplication.h"

#include <algorithm>
#include <map>

namespace fenwold {

// A plain-text editor: typing, Shift+arrows selection, Command+A/C/X/V against the pasteboard,
// Command+N a new document. The Window menu with its tiling items comes with every application.
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
    struct Document {
        QString text;
        int cursor = 0;
        int anchor = 0;
        int from() const { return std::min(cursor, anchor); }
        int to() const { return std::max(cursor, anchor); }
        void replaceSelection(const QString& with);
        void moveTo(int position, bool extend);
    };
    int untitled_ = 0;
    std::map<uint32_t, Document> docs_;
};

} // namespace fenwold
