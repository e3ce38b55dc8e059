#include "FenwoldKeys.h"

#include "core/input/DispatchTargets.h"
#include "core/input/Inject.h"
#include "core/input/KeyLayoutTable.h"
#include "core/input/Keys.h"
#include "core/input/MenuEquivalents.h"
#include "core/input/ShortcutLayout.h"
#include "core/input/WindowActions.h"
#include "core/settings/Prefs.h"
#include "core/windows/AccessibilityTimeouts.h"
#include "ports/Accessibility.h"
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

// The processes whose menu-bar extras hold Control Centre and the clock (Control Centre's own
// since macOS 11; the system UI server's before).
constexpr const char* kMenuExtraOwners[] = {"com.apple.controlcenter", "com.apple.systemuiserver"};

} // namespace

FenwoldKeys::FenwoldKeys(PrefsStore& prefs, MainQueue& mainQueue, Workspace& workspace,
                         Accessibility& accessibility, PrivateServices& privateServices, const Inject& inject,
                         Targets targets, int macOSMajorVersion)
    : prefs_(&prefs), mainQueue_(&mainQueue), workspace_(&workspace), ax_(&accessibility),
      private_(&privateServices), inject_(&inject), targets_(targets), macOSMajorVersion_(macOSMajorVersion) {
}

void FenwoldKeys::postLetter(char32_t letter, uint64_t flags, const QString& keys) const {
    static const KeyLayoutTable us = KeyLayoutTable::us();
    const KeyLayoutTable& table = targets_.layout ? targets_.layout->table() : us;
    if (const auto stroke = table.keyFor(letter))
        inject_->post(stroke->keyCode, flags | (stroke->shift ? flag::shift : 0));
    else if (targets_.menus)
        targets_.menus->perform({keys, workspace_->frontmostPid(), {letter, flags}, 0, 0, false});
}

void FenwoldKeys::showDesktop() {
    mainQueue_->post([this] {
        if (!private_->dockNotification(QStringLiteral("com.apple.showdesktop.awake")))
            inject_->post(kF11, 0);
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
        // The Apple menu's Lock Screen, by its key equivalent, without the private call.
        if (!private_->lockScreen()) postLetter(U'q', flag::control | flag::command, QStringLiteral("Win+L"));
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

void FenwoldKeys::openSpotlight() {
    mainQueue_->post([this] { inject_->postToSession(kSpace, flag::command); });
}

void FenwoldKeys::switchSpace(bool right) {
    mainQueue_->post([this, right] {
        inject_->postToSession(static_cast<uint16_t>(right ? kRight : kLeft), flag::control);
    });
}

QString FenwoldKeys::settingsAddress(SettingsPane pane) {
    // System Settings' own address scheme, with the identifiers of its panes' extensions (macOS
    // 13 and later); the application itself for no pane in particular.
    switch (pane) {
    case SettingsPane::displays:
        return QStringLiteral("x-apple.systempreferences:com.apple.Displays-Settings.extension");
    case SettingsPane::about:
        return QStringLiteral("x-apple.systempreferences:com.apple.SystemProfiler.AboutExtension");
    case SettingsPane::start:
        break;
    }
    return QUrl::fromLocalFile(QStringLiteral("/System/Applications/System Settings.app")).toString();
}

void FenwoldKeys::openSettings(SettingsPane pane) {
    mainQueue_->post([this, pane] { workspace_->open(QUrl(settingsAddress(pane))); });
}

void FenwoldKeys::openControlCentre() {
    mainQueue_->post([this] { pressMenuExtra(QStringLiteral("com.apple.menuextra.controlcenter")); });
}

void FenwoldKeys::openNotificationCentre() {
    // The clock opens Notification Centre.
    mainQueue_->post([this] { pressMenuExtra(QStringLiteral("com.apple.menuextra.clock")); });
}

bool FenwoldKeys::pressMenuExtra(const QString& identifier) {
    for (const char* owner : kMenuExtraOwners) {
        for (const RunningApp& app : workspace_->appsWithBundleID(QString::fromLatin1(owner))) {
            const AXElement process = ax_->application(app.pid);
            ax_->setMessagingTimeout(process, kMenuTimeout);
            const auto extras = ax_->attribute(process, QStringLiteral("AXExtrasMenuBar")).asElement();
            if (!extras) continue;
            ax_->setMessagingTimeout(*extras, kMenuTimeout);
            const auto items = ax_->attribute(*extras, QStringLiteral("AXChildren")).asElements();
            for (const AXElement& item : items.value_or(std::vector<AXElement>{})) {
                ax_->setMessagingTimeout(item, kMenuTimeout);
                if (ax_->attribute(item, QStringLiteral("AXIdentifier")).asString() == identifier)
                    return ax_->performAction(item, QStringLiteral("AXPress")) == axerr::success;
            }
        }
    }
    return false;
}

void FenwoldKeys::showQuickLinks() {
    mainQueue_->post([this] {
        if (targets_.quickLinks) targets_.quickLinks->show();
    });
}

void FenwoldKeys::forceQuit() {
    // The system's own key, typed to the session: the window opens even while the front
    // application hangs, which is when it is wanted.
    mainQueue_->post([this] { inject_->postToSession(kEsc, flag::option | flag::command); });
}

void FenwoldKeys::logOut() {
    mainQueue_->post([this] { postLetter(U'q', flag::shift | flag::command, QStringLiteral("Log Out")); });
}

QString FenwoldKeys::powerItemTitle(PowerItem item) {
    switch (item) {
    case PowerItem::restart:
        return QStringLiteral("Restart…");
    case PowerItem::shutDown:
        return QStringLiteral("Shut Down…");
    case PowerItem::sleep:
        break;
    }
    return QStringLiteral("Sleep");
}

void FenwoldKeys::pressPowerItem(PowerItem item) {
    mainQueue_->post([this, item] {
        if (targets_.windows)
            targets_.windows->pressMenuItem(QStringLiteral("Apple"), {powerItemTitle(item)});
    });
}

void FenwoldKeys::showContextMenu() {
    mainQueue_->post([this] {
        // The front application's focused element, asked of the application itself: the
        // system-wide element would wait out a hung application's default timeout.
        const int32_t pid = workspace_->frontmostPid();
        if (pid < 1) return;
        const AXElement app = ax_->application(pid);
        ax_->setMessagingTimeout(app, kLookupTimeout);
        const auto focused = ax_->attribute(app, QStringLiteral("AXFocusedUIElement")).asElement();
        if (!focused || focused->isNull()) return;
        ax_->setMessagingTimeout(*focused, kLookupTimeout);
        ax_->performAction(*focused, QStringLiteral("AXShowMenu"));
    });
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
