#pragma once

#include "SimApplication.h"

#include <map>

namespace fenwold {

// The file browser: each window shows one folder of the home folder as a list with a selection.
// Return starts renaming (Return again commits, Esc cancels), Command+O opens (a folder in the
// same window), Command+Up goes to the enclosing folder and Command+[ back, Command+I shows the
// selection's information, Command+Delete moves to the Trash, Command+C copies the selected
// file, Command+V pastes a copy and Command+Option+V moves the copied file here.
class FinderApp final : public SimApplication {
public:
    explicit FinderApp(SimSession& session);

    uint32_t openFolder(const QString& folder, const QStringList& files, Rect frame);
    QStringList files(uint32_t window) const;
    QString selected(uint32_t window) const;
    bool renaming(uint32_t window) const;
    const QStringList& trash() const { return trash_; }
    const QStringList& opened() const { return opened_; }
    QString folder(uint32_t window) const;
    // The item whose information the window shows, if any.
    QString info(uint32_t window) const;
    QStringList content(uint32_t window) const override;

protected:
    bool handleKey(std::optional<uint32_t> window, const AppKey& key) override;

private:
    struct Folder {
        QString name;
        QStringList files;
        int selection = 0;
        std::optional<QString> rename;
        QStringList back; // the folders shown before, oldest first
        QString info;
    };
    struct Copied {
        uint32_t window = 0;
        QString file;
    };
    void pasteInto(Folder& folder, bool move);
    bool renameKey(Folder& folder, const AppKey& key);
    // Show another folder in the window; `remember` keeps this one to go back to.
    void show(uint32_t window, Folder& folder, const QString& name, bool remember);
    // To the folder shown before, by ⌘[ or the Go menu.
    void back(uint32_t window, Folder& folder);

    std::map<uint32_t, Folder> folders_;
    std::map<QString, QStringList> contents_; // the folders of the home folder, by name
    std::optional<Copied> copied_;
    QStringList trash_;
    QStringList opened_;
};

} // namespace fenwold
