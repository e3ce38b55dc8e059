#pragma once

#include "ports/Workspace.h"

#include <QHash>
#include <map>
#include <memory>
#include <mutex>

namespace fenwold {

// One simulated running application and how it misbehaves on request.
struct SimApp {
    RunningApp info;
    QImage icon;
    bool neverActivates = false; // activate() is accepted but the app never becomes active
    bool refusesQuit = false;    // terminate() is accepted but the app keeps running
};

// The simulated workspace: running applications, the frontmost one, activation and quitting,
// opened URLs, and workspace notifications (delivered synchronously). Thread-safe.
class SimWorkspace final : public Workspace {
public:
    explicit SimWorkspace(int32_t ownPid = 99);

    std::vector<RunningApp> runningApps() const override;
    std::optional<RunningApp> app(int32_t pid) const override;
    std::vector<RunningApp> appsWithBundleID(const QString& bundleID) const override;
    std::optional<RunningApp> frontmostApp() const override;
    int32_t frontmostPid() const override;
    QImage icon(int32_t pid) const override;
    int32_t ownPid() const override { return ownPid_; }
    bool activate(int32_t pid) override;
    bool unhide(int32_t pid) override;
    bool hide(int32_t pid) override;
    bool terminate(int32_t pid) override;
    bool open(const QUrl& url) override;
    std::optional<QUrl> urlForApplication(const QString& bundleID) const override;
    std::optional<ApplicationBundle> applicationBundle(const QUrl& url) const override;
    Subscription observe(std::function<void(const WorkspaceEvent&)> handler) override;

    // Setup and inspection.
    int32_t launch(const QString& bundleID, const QString& name,
                   ActivationPolicy policy = ActivationPolicy::regular);
    void launchWithPid(int32_t pid, const std::optional<QString>& bundleID,
                       const std::optional<QString>& name,
                       ActivationPolicy policy = ActivationPolicy::regular);
    void update(int32_t pid, const std::function<void(SimApp&)>& change);
    void quit(int32_t pid); // the application ends on its own
    void clearFrontmost();
    // Deliver a notification that is not about one application's state (a Space change).
    void announce(const WorkspaceEvent& event);
    QList<QUrl> openedURLs() const;
    void clearOpened();
    // An application bundle at a location (installed, whether or not it runs).
    void install(const QUrl& url, const ApplicationBundle& bundle);
    // Every bundle installed so far, by location.
    std::vector<std::pair<QUrl, ApplicationBundle>> installed() const;
    // Called with the pid whenever an application is terminated through the workspace.
    std::function<void(int32_t)> onTerminate;
    // Acts out an opened address (the playground's applications open it), after it is recorded
    // and outside the lock.
    std::function<void(const QUrl&)> onOpen;

private:
    void makeFrontLocked(int32_t pid);
    void notify(WorkspaceEvent event);

    mutable std::recursive_mutex mutex_;
    std::map<int32_t, SimApp> apps_; // by pid
    std::vector<int32_t> launchOrder_;
    int32_t frontmost_ = 0;
    int32_t nextPid_ = 501;
    int32_t ownPid_;
    QList<QUrl> opened_;
    QHash<QString, QUrl> appURLs_;
    std::vector<std::pair<QUrl, ApplicationBundle>> bundles_;
    std::map<uint64_t, std::shared_ptr<std::function<void(const WorkspaceEvent&)>>> observers_;
    uint64_t nextObserver_ = 1;
};

} // namespace fenwold
