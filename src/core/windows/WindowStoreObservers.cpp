#include "WindowStore.h"

#include "Windows.h"
#include "ports/Accessibility.h"
#include "ports/WindowServer.h"

namespace fenwold {

namespace {
const std::vector<QString> kNotifications = {
    QStringLiteral("AXWindowCreated"), QStringLiteral("AXUIElementDestroyed"),
    QStringLiteral("AXWindowMiniaturized"), QStringLiteral("AXWindowDeminiaturized"),
    QStringLiteral("AXTitleChanged")};
} // namespace

void WindowStore::startObserving() {
    workspaceSubscription_ =
        platform_.workspace->observe(lifetime_.guard([this](const WorkspaceEvent& e) { onWorkspace(e); }));
    const int32_t own = platform_.workspace->ownPid();
    for (const RunningApp& app : platform_.workspace->runningApps()) {
        if (app.policy == ActivationPolicy::regular && app.pid != own) attach(app);
    }
    startUnknownWindowSweep();
}

void WindowStore::attach(const RunningApp& app) {
    if (app.pid == platform_.workspace->ownPid() || observers_.count(app.pid)) return;
    int32_t error = 0;
    Subscription observer = platform_.accessibility->observe(
        app.pid, kNotifications,
        lifetime_.guard([this](const QString& name, const AXElement& element) { handle(name, element); }),
        &error);
    if (!observer.active()) {
        // Without notifications the application is re-enumerated at every snapshot instead.
        unobserved_.insert(app.pid);
        return;
    }
    observers_.emplace(app.pid, std::move(observer));
    unobserved_.erase(app.pid);
}

void WindowStore::handle(const QString& name, const AXElement& element) {
    const auto number = platform_.accessibility->windowNumber(element);
    const bool valid = number && *number != 0;
    if (name == QLatin1String("AXUIElementDestroyed")) {
        if (valid) {
            dropWindow(*number);
            return;
        }
        // The application itself is gone: its observer ends here, inside its own callback.
        const auto pid = platform_.accessibility->pid(element);
        if (pid && element == platform_.accessibility->application(*pid)) forget(*pid);
        return;
    }
    if (const auto pid = platform_.accessibility->pid(element)) adoptApp(*pid);
    if (valid) warm(*number);
}

void WindowStore::adoptApp(int32_t pid) {
    if (auto app = platform_.workspace->app(pid)) adopt(windows_.enumerate(*app));
}

void WindowStore::onWorkspace(const WorkspaceEvent& e) {
    using Kind = WorkspaceEvent::Kind;
    auto regular = [this](int32_t pid) -> std::optional<RunningApp> {
        auto app = platform_.workspace->app(pid);
        if (!app || app->policy != ActivationPolicy::regular) return std::nullopt;
        return app;
    };
    switch (e.kind) {
    case Kind::activeSpaceChanged:
        platform_.mainQueue->after(spaceChangeDelay,
                                   lifetime_.guard([this] { preserveFullscreenPreview(); }));
        break;
    case Kind::launched:
        if (auto app = regular(e.pid)) {
            attach(*app);
            adopt(windows_.enumerate(*app));
        }
        break;
    case Kind::terminated:
        forget(e.pid);
        break;
    case Kind::hidden:
    case Kind::unhidden:
    case Kind::activated:
        if (auto app = regular(e.pid)) adopt(windows_.enumerate(*app));
        break;
    default:
        break;
    }
}

void WindowStore::startUnknownWindowSweep() {
    sweepTimer_.cancel();
    sweepTimer_ = platform_.mainQueue->every(sweepInterval, 0.5, lifetime_.guard([this] { sweep(); }));
}

void WindowStore::sweep() {
    const int32_t own = platform_.workspace->ownPid();
    std::set<int32_t> owners;
    for (const auto& d : platform_.windowServer->windowList(
             windowlist::onScreenOnly | windowlist::excludeDesktopElements, 0)) {
        if (!d.number || registry_.count(*d.number) || d.layer != 0 || !d.ownerPid || *d.ownerPid == own)
            continue;
        owners.insert(*d.ownerPid);
    }
    for (int32_t pid : owners) {
        auto app = platform_.workspace->app(pid);
        if (app && app->policy == ActivationPolicy::regular) adopt(windows_.enumerate(*app));
    }
}

} // namespace fenwold
