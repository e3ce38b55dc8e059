#include "WinKeys.h"

#include "core/input/DispatchTargets.h"
#include "core/input/Inject.h"
#include "core/input/Keys.h"
#include "core/settings/Prefs.h"
#include "ports/MainQueue.h"
#include "ports/PrivateServices.h"
#include "ports/Workspace.h"

#include <QDir>
#include <QUrl>
#include <QVariant>

namespace fenwold {

namespace {

QUrl appURL(const char* path) {
    return QUrl::fromLocalFile(QString::fromUtf8(path));
}

// A file URL's path with "." and ".." resolved and no trailing slash, for comparing bundles.
QString standardizedPath(const QUrl& url) {
    QString path = QDir::cleanPath(url.toLocalFile());
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

} // namespace

FenwoldKeys::FenwoldKeys(PrefsStore& prefs, MainQueue& mainQueue, Workspace& workspace,
                         PrivateServices& privateServices, const Inject& inject, Targets targets,
                         int macOSMajorVersion)
    : prefs_(&prefs), mainQueue_(&mainQueue), workspace_(&workspace), private_(&privateServices),
      inject_(&inject), targets_(targets), macOSMajorVersion_(macOSMajorVersion) {}

void FenwoldKeys::showDesktop() {
    mainQueue_->post([this] {
        if (!private_->dockNotification(QStringLiteral("com.apple.showdesktop.awake")))
            inject_->post(static_cast<uint16_t>(keycode::f11), 0);
    });
}

void FenwoldKeys::toggleShelf() {
    mainQueue_->post([this] {
        if (targets_.shelf) targets_.shelf->toggle();
    });
}

void FenwoldKeys::openHomeFolder() {
    mainQueue_->post([this] { workspace_->open(QUrl::fromLocalFile(QDir::homePath())); });
}

void FenwoldKeys::openLauncher() {
    mainQueue_->post([this] { launchApps(); });
}

void FenwoldKeys::lockScreen() {
    mainQueue_->post([this] {
        if (!private_->lockScreen())
            inject_->post(static_cast<uint16_t>(keycode::q), flag::control | flag::command);
    });
}

void FenwoldKeys::minimizeAll(bool exceptFrontmost) {
    mainQueue_->post([this, exceptFrontmost] {
        if (targets_.windows) targets_.windows->minimizeAll(exceptFrontmost);
    });
}

void FenwoldKeys::openMissionControl() {
    mainQueue_->post([this] { workspace_->open(appURL("/System/Applications/Mission Control.app")); });
}

void FenwoldKeys::openDockApp(int n) {
    mainQueue_->post([this, n] { activateDockApp(n); });
}

void FenwoldKeys::launchApps() {
    if (macOSMajorVersion_ >= 26)
        workspace_->open(QUrl(QStringLiteral("spotlight://apps")));
    else
        workspace_->open(appURL("/System/Applications/Launchpad.app"));
}

void FenwoldKeys::activateDockApp(int n) {
    const QVariantList apps =
        Prefs(*prefs_)
            .store()
            .readDomain(QStringLiteral("com.apple.dock"), QStringLiteral("persistent-apps"))
            .toList();
    if (n < 1 || n > apps.size()) return;
    const QVariantMap tile = apps.at(n - 1).toMap().value(QStringLiteral("tile-data")).toMap();
    const QVariant file =
        tile.value(QStringLiteral("file-data")).toMap().value(QStringLiteral("_CFURLString"));
    if (file.typeId() != QMetaType::QString) return;
    const QUrl url(file.toString());
    if (!url.isValid() || url.isEmpty()) return;

    const QString wanted = standardizedPath(url);
    for (const RunningApp& app : workspace_->runningApps()) {
        if (app.bundleURL && standardizedPath(*app.bundleURL) == wanted) {
            workspace_->activate(app.pid);
            return;
        }
    }
    workspace_->open(url);
}

} // namespace fenwold
