#pragma once

#include "SettingsDeps.h"

#include <QListWidget>
#include <QToolButton>
#include <QWidget>

namespace fenwold {

// "Not in these apps": the excluded applications with their icons and names, "+" to add one
// chosen from the Applications folder and "−" to remove the selected one, and what it means.
class ExcludedAppsView final : public QWidget {
public:
    explicit ExcludedAppsView(const SettingsDeps& deps, QWidget* parent = nullptr);

    // Follow the preference (changed here, from the status menu or with `defaults write`).
    void refresh();
    QListWidget* list() const { return list_; }
    QToolButton* addButton() const { return add_; }
    QToolButton* removeButton() const { return remove_; }

private:
    void addChosen(const QUrl& url);
    void removeSelected();

    SettingsDeps deps_;
    QListWidget* list_;
    QToolButton* add_;
    QToolButton* remove_;
    QStringList shown_;
};

} // namespace fenwold
