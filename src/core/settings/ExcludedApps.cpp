#include "ExcludedApps.h"

#include "ports/Workspace.h"

namespace fenwold {

bool ExcludedApps::containsApp(int32_t pid, const Workspace& workspace) const {
    const auto app = workspace.app(pid);
    return app && app->bundleID && contains(*app->bundleID);
}

void ExcludedApps::add(const QString& bundleID) const {
    QStringList ids = list();
    if (bundleID.isEmpty() || ids.contains(bundleID)) return;
    ids << bundleID;
    prefs_.setExcludedApps(ids);
}

void ExcludedApps::remove(const QString& bundleID) const {
    QStringList ids = list();
    if (ids.removeAll(bundleID) == 0) return;
    prefs_.setExcludedApps(ids);
}

void ExcludedApps::toggle(const QString& bundleID) const {
    if (contains(bundleID))
        remove(bundleID);
    else
        add(bundleID);
}

std::optional<QString> ExcludedApps::addBundleAt(const QUrl& url, const Workspace& workspace) const {
    const auto bundle = workspace.applicationBundle(url);
    if (!bundle || !bundle->bundleID || bundle->bundleID->isEmpty()) return std::nullopt;
    add(*bundle->bundleID);
    return bundle->bundleID;
}

std::vector<ExcludedAppRow> excludedAppRows(const QStringList& bundleIDs, const Workspace& workspace) {
    std::vector<ExcludedAppRow> rows;
    for (const QString& id : bundleIDs) {
        ExcludedAppRow row{id, id, QImage(), false};
        if (const auto url = workspace.urlForApplication(id)) {
            if (const auto bundle = workspace.applicationBundle(*url)) {
                row.installed = true;
                if (!bundle->name.isEmpty()) row.title = bundle->name;
                row.icon = bundle->icon;
            }
        }
        // A running application knows its name and icon even where its bundle cannot be read.
        const auto running = workspace.appsWithBundleID(id);
        if (!running.empty()) {
            row.installed = true;
            if (running.front().name && row.title == id) row.title = *running.front().name;
            if (row.icon.isNull()) row.icon = workspace.icon(running.front().pid);
        }
        rows.push_back(row);
    }
    return rows;
}

} // namespace fenwold
