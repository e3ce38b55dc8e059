#pragma once

#include "Prefs.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>
#include <vector>

namespace fenwold {

class Workspace;

// The applications in which every Windows shortcut passes untouched (remote desktops and
// virtual machines that expect the real keys): bundle identifiers under `excludedApps`, in the
// order they were added, so `defaults write <domain> excludedApps -array …` edits the same list.
class ExcludedApps {
public:
    explicit ExcludedApps(PrefsStore& store) : prefs_(store) {}

    QStringList list() const { return prefs_.excludedApps(); }
    bool contains(const QString& bundleID) const { return list().contains(bundleID); }
    // Whether the running application with this process id is one of them.
    bool containsApp(int32_t pid, const Workspace& workspace) const;
    // Adding one already listed, or removing one that is not, changes nothing.
    void add(const QString& bundleID) const;
    void remove(const QString& bundleID) const;
    void toggle(const QString& bundleID) const;
    // Adds the application bundle at a location; its identifier, or empty (and nothing added)
    // when the location holds no application with one.
    std::optional<QString> addBundleAt(const QUrl& url, const Workspace& workspace) const;

private:
    Prefs prefs_;
};

// One row of the settings list: the application's icon and name, or its bundle identifier when
// it is not installed.
struct ExcludedAppRow {
    QString bundleID;
    QString title;
    QImage icon;
    bool installed = false;
};
std::vector<ExcludedAppRow> excludedAppRows(const QStringList& bundleIDs, const Workspace& workspace);

inline const QString kExcludedAppsHeading = QStringLiteral("Not in these apps");
inline const QString kExcludedAppsDetail = QStringLiteral(
    "Every Windows shortcut, Alt+Tab included, passes untouched while one of these apps is in front — for "
    "remote desktops and virtual machines that expect the real keys. ⌘⎋ still works, and so do the Caps "
    "Lock and Ctrl/Command hardware remaps.");

} // namespace fenwold
