#include "WinKeys.h"

#include "core/hints/MacHints.h"
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
                         PrivateServices& privateServices, const Inject& inject, HintHUD& hints,
                         Targets targets, int macOSMajorVersion)
    : prefs_(&prefs), mainQueue_(&mainQueue), workspace_(&workspace), private_(&privateServices),
      inject_(&inject), hints_(&hints), targets_(targets), macOSMajorVersion_(macOSMajorVersion) {}

bool FenwoldKeys::handleCmdKey(int64_t key) {
    if (key < 2 || key > 115) return false;
    const Prefs prefs(*prefs_);
    if (const auto digit = digitOfKey(key)) {
        if (!prefs.winNum()) return false;
        const int n = *digit;
        mainQueue_->post([this, n] { activateDockApp(n); });
        hints_->show(QStringLiteral("Win+1…9"), QStringLiteral("~no ~native ~equivalent"));
        return true;
    }
    switch (key) {
    case keycode::d:
        if (!prefs.winD()) return false;
        mainQueue_->post([this] {
            if (!private_->dockNotification(QStringLiteral("com.apple.showdesktop.awake")))
                inject_->post(static_cast<uint16_t>(keycode::f11), 0);
        });
        hints_->show(QStringLiteral("Win+D"), QStringLiteral("fn F11"));
        return true;
    case keycode::v:
        if (!prefs.winV()) return false;
        mainQueue_->post([this] {
            if (targets_.shelf) targets_.shelf->toggle();
        });
        return true;
    case keycode::e:
        if (!prefs.winE()) return false;
        mainQueue_->post([this] { workspace_->open(QUrl::fromLocalFile(QDir::homePath())); });
        hints_->show(QStringLiteral("Win+E"), QStringLiteral("⌘ N ~in ~Finder"));
        return true;
    case keycode::r:
        if (!prefs.winR()) return false;
        mainQueue_->post([this] { launchApps(); });
        return true;
    case keycode::l:
        if (!prefs.winL()) return false;
        mainQueue_->post([this] {
            if (!private_->lockScreen())
                inject_->post(static_cast<uint16_t>(keycode::q), flag::control | flag::command);
        });
        return true;
    case keycode::m:
    case keycode::home: {
        if (!prefs.winM()) return false;
        const bool exceptFrontmost = key == keycode::home;
        mainQueue_->post([this, exceptFrontmost] {
            if (targets_.windows) targets_.windows->minimizeAll(exceptFrontmost);
        });
        if (exceptFrontmost)
            hints_->show(QStringLiteral("Win+Home"), QStringLiteral("~no ~native ~equivalent"));
        else
            hints_->show(QStringLiteral("Win+M"), QStringLiteral("⌥ ⌘ M"));
        return true;
    }
    case kTab:
        if (!prefs.winTab()) return false;
        mainQueue_->post([this] { workspace_->open(appURL("/System/Applications/Mission Control.app")); });
        hints_->show(QStringLiteral("Win+Tab"), QStringLiteral("⌃ ↑ ~Mission ~Control"));
        return true;
    default:
        return false;
    }
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
