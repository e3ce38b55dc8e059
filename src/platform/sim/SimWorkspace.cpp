#include "SimWorkspace.h"

#include <algorithm>

namespace fenwold {

SimWorkspace::SimWorkspace(int32_t ownPid) : ownPid_(ownPid) {}

std::vector<RunningApp> SimWorkspace::runningApps() const {
    std::lock_guard lock(mutex_);
    std::vector<RunningApp> out;
    for (int32_t pid : launchOrder_)
        out.push_back(apps_.at(pid).info);
    return out;
}

std::optional<RunningApp> SimWorkspace::app(int32_t pid) const {
    std::lock_guard lock(mutex_);
    auto it = apps_.find(pid);
    if (it == apps_.end()) return std::nullopt;
    return it->second.info;
}

std::vector<RunningApp> SimWorkspace::appsWithBundleID(const QString& bundleID) const {
    std::vector<RunningApp> out;
    for (const auto& a : runningApps()) {
        if (a.bundleID == bundleID) out.push_back(a);
    }
    return out;
}

std::optional<RunningApp> SimWorkspace::frontmostApp() const {
    return app(frontmostPid());
}

int32_t SimWorkspace::frontmostPid() const {
    std::lock_guard lock(mutex_);
    return frontmost_;
}

QImage SimWorkspace::icon(int32_t pid) const {
    std::lock_guard lock(mutex_);
    auto it = apps_.find(pid);
    return it == apps_.end() ? QImage() : it->second.icon;
}

void SimWorkspace::makeFrontLocked(int32_t pid) {
    for (auto& [p, a] : apps_)
        a.info.active = (p == pid);
    frontmost_ = pid;
}

bool SimWorkspace::activate(int32_t pid) {
    {
        std::lock_guard lock(mutex_);
        auto it = apps_.find(pid);
        if (it == apps_.end()) return false;
        if (it->second.neverActivates) return true;
        it->second.info.hidden = false;
        makeFrontLocked(pid);
    }
    notify({WorkspaceEvent::Kind::activated, pid});
    return true;
}

bool SimWorkspace::unhide(int32_t pid) {
    {
        std::lock_guard lock(mutex_);
        auto it = apps_.find(pid);
        if (it == apps_.end()) return false;
        if (!it->second.info.hidden) return true;
        it->second.info.hidden = false;
    }
    notify({WorkspaceEvent::Kind::unhidden, pid});
    return true;
}

bool SimWorkspace::hide(int32_t pid) {
    {
        std::lock_guard lock(mutex_);
        auto it = apps_.find(pid);
        if (it == apps_.end()) return false;
        it->second.info.hidden = true;
        if (frontmost_ == pid) {
            it->second.info.active = false;
            frontmost_ = 0;
        }
    }
    notify({WorkspaceEvent::Kind::hidden, pid});
    return true;
}

bool SimWorkspace::terminate(int32_t pid) {
    {
        std::lock_guard lock(mutex_);
        auto it = apps_.find(pid);
        if (it == apps_.end()) return false;
        if (it->second.refusesQuit) return true;
    }
    if (onTerminate) onTerminate(pid);
    quit(pid);
    return true;
}

void SimWorkspace::quit(int32_t pid) {
    {
        std::lock_guard lock(mutex_);
        if (apps_.erase(pid) == 0) return;
        std::erase(launchOrder_, pid);
        if (frontmost_ == pid) frontmost_ = 0;
    }
    notify({WorkspaceEvent::Kind::terminated, pid});
}

bool SimWorkspace::open(const QUrl& url) {
    {
        std::lock_guard lock(mutex_);
        opened_ << url;
    }
    if (onOpen && url.isValid()) onOpen(url);
    return url.isValid();
}

std::optional<QUrl> SimWorkspace::urlForApplication(const QString& bundleID) const {
    std::lock_guard lock(mutex_);
    auto it = appURLs_.find(bundleID);
    if (it != appURLs_.end()) return *it;
    for (const auto& [pid, a] : apps_) {
        if (a.info.bundleID == bundleID && a.info.bundleURL) return a.info.bundleURL;
    }
    return std::nullopt;
}

std::optional<ApplicationBundle> SimWorkspace::applicationBundle(const QUrl& url) const {
    std::lock_guard lock(mutex_);
    for (const auto& [location, bundle] : bundles_)
        if (location == url) return bundle;
    for (const auto& [pid, a] : apps_)
        if (a.info.bundleURL == url)
            return ApplicationBundle{a.info.bundleID, a.info.name.value_or(QString()), a.icon};
    return std::nullopt;
}

void SimWorkspace::install(const QUrl& url, const ApplicationBundle& bundle) {
    std::lock_guard lock(mutex_);
    bundles_.emplace_back(url, bundle);
    if (bundle.bundleID) appURLs_.insert(*bundle.bundleID, url);
}

std::vector<std::pair<QUrl, ApplicationBundle>> SimWorkspace::installed() const {
    std::lock_guard lock(mutex_);
    std::vector<std::pair<QUrl, ApplicationBundle>> out = bundles_;
    for (int32_t pid : launchOrder_) {
        const SimApp& a = apps_.at(pid);
        const bool known =
            std::any_of(out.begin(), out.end(), [&](const auto& b) { return b.first == a.info.bundleURL; });
        if (a.info.bundleURL && !known)
            out.emplace_back(*a.info.bundleURL,
                             ApplicationBundle{a.info.bundleID, a.info.name.value_or(QString()), a.icon});
    }
    return out;
}

Subscription SimWorkspace::observe(std::function<void(const WorkspaceEvent&)> handler) {
    std::lock_guard lock(mutex_);
    const uint64_t id = nextObserver_++;
    observers_.emplace(id, std::make_shared<std::function<void(const WorkspaceEvent&)>>(std::move(handler)));
    return Subscription([this, id] {
        std::lock_guard inner(mutex_);
        observers_.erase(id);
    });
}

void SimWorkspace::notify(WorkspaceEvent event) {
    std::vector<std::shared_ptr<std::function<void(const WorkspaceEvent&)>>> handlers;
    {
        std::lock_guard lock(mutex_);
        for (const auto& [id, h] : observers_)
            handlers.push_back(h);
    }
    for (const auto& h : handlers)
        (*h)(event);
}

int32_t SimWorkspace::launch(const QString& bundleID, const QString& name, ActivationPolicy policy) {
    int32_t pid;
    {
        std::lock_guard lock(mutex_);
        pid = nextPid_++;
    }
    launchWithPid(pid, bundleID, name, policy);
    return pid;
}

void SimWorkspace::launchWithPid(int32_t pid, const std::optional<QString>& bundleID,
                                 const std::optional<QString>& name, ActivationPolicy policy) {
    {
        std::lock_guard lock(mutex_);
        SimApp a;
        a.info.pid = pid;
        a.info.bundleID = bundleID;
        a.info.name = name;
        a.info.policy = policy;
        if (bundleID)
            a.info.bundleURL =
                QUrl::fromLocalFile(QStringLiteral("/Applications/%1.app").arg(name.value_or(*bundleID)));
        apps_[pid] = a;
        launchOrder_.push_back(pid);
        nextPid_ = std::max(nextPid_, pid + 1);
    }
    notify({WorkspaceEvent::Kind::launched, pid});
}

void SimWorkspace::update(int32_t pid, const std::function<void(SimApp&)>& change) {
    std::lock_guard lock(mutex_);
    auto it = apps_.find(pid);
    if (it == apps_.end()) return;
    change(it->second);
    if (it->second.info.active && frontmost_ != pid) makeFrontLocked(pid);
}

void SimWorkspace::clearFrontmost() {
    std::lock_guard lock(mutex_);
    makeFrontLocked(0);
}

void SimWorkspace::announce(const WorkspaceEvent& event) {
    notify(event);
}

QList<QUrl> SimWorkspace::openedURLs() const {
    std::lock_guard lock(mutex_);
    return opened_;
}

void SimWorkspace::clearOpened() {
    std::lock_guard lock(mutex_);
    opened_.clear();
}

} // namespace fenwold
