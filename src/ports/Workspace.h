#pragma once

#include "Subscription.h"

#include <QImage>
#include <QString>
#include <QUrl>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace fenwold {

enum class ActivationPolicy { regular, accessory, prohibited };

// One running application as the workspace reports it.
struct RunningApp {
    int32_t pid = 0;
    std::optional<QString> bundleID;
    std::optional<QString> name; // localized name
    ActivationPolicy policy = ActivationPolicy::regular;
    bool hidden = false;
    bool active = false;
    std::optional<QUrl> bundleURL;
    friend bool operator==(const RunningApp&, const RunningApp&) = default;
};

// An application bundle on disk, as the settings show it.
struct ApplicationBundle {
    std::optional<QString> bundleID;
    QString name; // the name the Finder shows
    QImage icon;  // null when unknown
};

// Workspace notifications the program follows.
struct WorkspaceEvent {
    enum class Kind {
        launched,
        terminated,
        activated,
        hidden,
        unhidden,
        activeSpaceChanged,
        accessibilityDisplayChanged
    };
    Kind kind = Kind::launched;
    int32_t pid = 0; // 0 where the notification names no application
};

// Running applications, activation and opening things.
class Workspace {
public:
    Workspace() = default;
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;
    virtual ~Workspace() = default;

    // Every running application, in launch order.
    virtual std::vector<RunningApp> runningApps() const = 0;
    // The running application with this process id.
    virtual std::optional<RunningApp> app(int32_t pid) const = 0;
    // The running applications with a bundle identifier.
    virtual std::vector<RunningApp> appsWithBundleID(const QString& bundleID) const = 0;
    // The frontmost (active) application.
    virtual std::optional<RunningApp> frontmostApp() const = 0;
    // Its process id alone, 0 when there is none. Cheap enough for every key the tap sees.
    virtual int32_t frontmostPid() const = 0;
    // The application's icon (null image when unknown).
    virtual QImage icon(int32_t pid) const = 0;
    // This program's own process id.
    virtual int32_t ownPid() const = 0;
    // Activate with no options; false when the application is gone.
    virtual bool activate(int32_t pid) = 0;
    // Unhide the application; false when it is gone.
    virtual bool unhide(int32_t pid) = 0;
    // Hide the application; false when it is gone.
    virtual bool hide(int32_t pid) = 0;
    // Ask the application to quit; false when it is gone.
    virtual bool terminate(int32_t pid) = 0;
    // Open a URL (a web address, a folder, an application bundle); false on failure.
    virtual bool open(const QUrl& url) = 0;
    // The bundle location of an application by identifier.
    virtual std::optional<QUrl> urlForApplication(const QString& bundleID) const = 0;
    // The application bundle at a location; empty when there is none.
    virtual std::optional<ApplicationBundle> applicationBundle(const QUrl& url) const = 0;
    // Follow workspace notifications; delivered on the main thread.
    virtual Subscription observe(std::function<void(const WorkspaceEvent&)> handler) = 0;
};

} // namespace fenwold
