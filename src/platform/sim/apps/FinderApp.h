#pragma once

#include "SimApplication.h"

#include <map>

namespace fenwold {

// The file browser: each window shows one folder as a list with a selection. Return starts
// renaming (Return again commits, Esc cancels), Command+O opens, Command+Delete moves to the
// Trash, Command+C copies the selected file, Command+V pastes a copy and Command+Option+V moves
// the copied file here.
class FinderApp final : public SimApplication {
public:
    explicit FinderApp(SimSession& session);

    uint32_t openFolder(const QString& folder, const QStringList& files, Rect frame);
    QStringList files(uint32_t window) const;
    QString selected(uint32_t window) const;
    bool renaming(uint32_t window) const;
    const QStringList& trash() const { return trash_; }
    const QStringList& opened() const { return opened_; }
    QStringList content(uint32_t window) const override;

protected:
    bool handleKey(std::optional<uint32_t> window, const AppKey& key) override;

private:
    struct Folder {
        QString name;
        QStringList files;
        int selection = 0;
        std::optional<QString> rename;
    };
    struct Copied {
        uint32_t window = 0;
        QString file;
    };
    void pasteInto(Folder& folder, bool move);
    bool renameKey(Folder& folder, const AppKey& key);

    std::map<uint32_t, Folder> folders_;
    std::optional<Copied> copied_;
    QStringList trash_;
    QStringList opened_;
};

} // namespace fenwold
