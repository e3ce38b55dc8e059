#pragma once

#include "ports/Workspace.h"

namespace fenwold {

// Running applications and workspace notifications through the shared workspace.
class MacWorkspace final : public Workspace {
public:
    std::vector<RunningApp> runningApps() const override;
    std::optional<RunningApp> app(int32_t pid) const override;
    std::vector<RunningApp> appsWithBundleID(const QString& bundleID) const override;
    std::optional<RunningApp> frontmostApp() const override;
    int32_t frontmostPid() const override;
    QImage icon(int32_t pid) const override;
    int32_t ownPid() const override;
    bool activate(int32_t pid) override;
    bool unhide(int32_t pid) override;
    bool hide(int32_t pid) override;
    bool terminate(int32_t pid) override;
    bool open(const QUrl& url) override;
    std::optional<QUrl> urlForApplication(const QString& bundleID) const override;
    std::optional<ApplicationBundle> applicationBundle(const QUrl& url) const override;
    Subscription observe(std::function<void(const WorkspaceEvent&)> handler) override;
};

} // namespace fenwold
