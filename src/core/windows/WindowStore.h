#pragma once

#include "Lifetime.h"
#include "StoreMath.h"
#include "WindowCapture.h"
#include "WindowInfo.h"
#include "ports/MainQueue.h"
#include "ports/Platform.h"
#include "ports/Subscription.h"
#include "ports/WindowServer.h"
#include "ports/Workspace.h"

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <vector>

namespace fenwold {

class Windows;

// The program's one picture of every ordinary window of the session (minimised, hidden and on
// other Spaces included) with a cache of preview images under a memory budget. Kept current by
// Accessibility and workspace notifications, a 5-second sweep and every snapshot. Main thread.
class WindowStore {
public:
    static constexpr int64_t previewBudget = 64ll * 1024 * 1024;
    static constexpr double previewFreshness = 0.5;
    static constexpr double warmDelay = 0.25;
    static constexpr double minFallbackAlpha = 0.9;
    static constexpr double minFallbackSide = 100;
    static constexpr double spaceChangeDelay = 0.35;
    static constexpr double sweepInterval = 5.0;

    struct PreviewEntry {
        QImage image;
        int pixelWidth = 0;
        double capturedAt = 0;
        double lastShown = 0;
    };
    struct WarmBatch {
        std::set<uint32_t> pending;
    };
    // A running refresh: the captures of one request, done one at a time in the background.
    struct RefreshTask {
        std::atomic<bool> finished{false};
    };
    using Apply = std::function<void(uint32_t, const QImage&)>;
    using Remove = std::function<void(uint32_t)>;

    // `thumbHeight` gives the switcher's tile height in points when asked.
    WindowStore(const Platform& platform, Windows& windows, WindowCapture& capture,
                std::function<double()> thumbHeight);
    WindowStore(const WindowStore&) = delete;
    WindowStore& operator=(const WindowStore&) = delete;

    void start();
    std::vector<WindowInfo> snapshot();
    std::shared_ptr<RefreshTask> refresh(const std::vector<WindowInfo>& windows, Apply apply, Remove remove);
    void adopt(const std::vector<WindowInfo>& windows);
    void forget(int32_t pid);
    void store(const QImage& image, uint32_t id, int pixelWidth);
    void preserveFullscreenPreview();
    void warm(uint32_t id);
    // Activation found a fresher element for a registered window.
    void updateElement(uint32_t id, const AXElement& element);

    // Observers.
    void startObserving();
    void attach(const RunningApp& app);
    void handle(const QString& name, const AXElement& element);
    void startUnknownWindowSweep();
    void sweep();

    // State, for diagnostics and tests.
    const std::map<uint32_t, WindowInfo>& registry() const { return registry_; }
    const std::map<uint32_t, PreviewEntry>& previews() const { return previews_; }
    const std::set<uint32_t>& cgFallback() const { return cgFallback_; }
    const std::set<uint32_t>& blank() const { return blank_; }
    const std::set<int32_t>& unobserved() const { return unobserved_; }
    bool isObserved(int32_t pid) const { return observers_.count(pid) > 0; }
    const WarmBatch& warmBatch() const { return warmBatch_; }

    // The key that recognises a window-list entry as an already known window.
    static QString identityKey(int32_t pid, const QString& title);

private:
    // The steps of `snapshot`: forget the windows the window list no longer has (unless it came
    // back empty), enumerate the applications whose notifications are not observed, take the
    // window list's entries Accessibility does not show that look like real windows, and rank.
    void dropWindowsGoneFrom(const std::vector<WindowDescription>& list);
    void enumerateUnobservedApps();
    void adoptFallbacks(const std::vector<WindowDescription>& list);
    // The known windows front to back, each with its preview.
    std::vector<WindowInfo> frontToBack() const;
    void dropWindow(uint32_t id);
    void onWorkspace(const WorkspaceEvent& event);
    void adoptApp(int32_t pid);
    void applyOutcome(uint32_t id, int width, const WindowCapture::Outcome& outcome, const Apply& apply,
                      const Remove& remove);

    Platform platform_;
    Windows& windows_;
    WindowCapture& capture_;
    std::function<double()> thumbHeight_;

    std::map<uint32_t, WindowInfo> registry_;
    std::map<uint32_t, PreviewEntry> previews_;
    std::set<uint32_t> cgFallback_;
    std::set<uint32_t> blank_;
    std::set<int32_t> unobserved_;
    std::map<int32_t, Subscription> observers_;
    WarmBatch warmBatch_;

    Subscription workspaceSubscription_;
    TimerHandle sweepTimer_;
    Lifetime lifetime_;
};

} // namespace fenwold
