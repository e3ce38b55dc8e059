#include "WindowStore.h"

#include "Windows.h"
#include "ports/Accessibility.h"
#include "ports/WindowServer.h"

#include <algorithm>
#include <climits>
#include <unordered_set>

namespace fenwold {

WindowStore::WindowStore(const Platform& platform, Windows& windows, WindowCapture& capture,
                         std::function<double()> thumbHeight)
    : platform_(platform), windows_(windows), capture_(capture), thumbHeight_(std::move(thumbHeight)) {}

QString WindowStore::identityKey(int32_t pid, const QString& title) {
    return QString::number(pid) + QChar(0) + title;
}

void WindowStore::adopt(const std::vector<WindowInfo>& windows) {
    for (const WindowInfo& w : windows) {
        const bool known = registry_.count(w.id) > 0;
        registry_[w.id] = w;
        cgFallback_.erase(w.id);
        if (!known) warm(w.id);
    }
}

void WindowStore::dropWindow(uint32_t id) {
    registry_.erase(id);
    previews_.erase(id);
    blank_.erase(id);
    cgFallback_.erase(id);
}

void WindowStore::forget(int32_t pid) {
    // Its observer watches nothing any more, and a new application may get the same pid.
    observers_.erase(pid);
    unobserved_.erase(pid);
    std::vector<uint32_t> gone;
    for (const auto& [id, w] : registry_) {
        if (w.pid == pid) gone.push_back(id);
    }
    for (uint32_t id : gone)
        dropWindow(id);
}

void WindowStore::updateElement(uint32_t id, const AXElement& element) {
    if (auto it = registry_.find(id); it != registry_.end()) it->second.axWindow = element;
}

void WindowStore::store(const QImage& image, uint32_t id, int pixelWidth) {
    const double now = platform_.mainQueue->uptime();
    previews_[id] = PreviewEntry{image, pixelWidth, now, now};
    if (auto it = registry_.find(id); it != registry_.end()) it->second.thumb = image;
    std::vector<StoreMath::Entry> entries;
    entries.reserve(previews_.size());
    for (const auto& [n, p] : previews_)
        entries.push_back({n, static_cast<int64_t>(p.image.height()) * p.image.bytesPerLine(), p.lastShown});
    for (uint32_t n : StoreMath::evictions(entries, previewBudget))
        previews_.erase(n);
}

std::vector<WindowInfo> WindowStore::snapshot() {
    const auto list = platform_.windowServer->windowList(windowlist::excludeDesktopElements, 0);
    dropWindowsGoneFrom(list);
    enumerateUnobservedApps();
    adoptFallbacks(list);
    return frontToBack();
}

void WindowStore::dropWindowsGoneFrom(const std::vector<WindowDescription>& list) {
    std::unordered_set<uint32_t> live;
    live.reserve(list.size());
    for (const auto& d : list) {
        if (d.number) live.insert(*d.number);
    }
    // A session always has windows; an empty answer is a failed query, and dropping every
    // window on it would lose minimised and hidden ones until their applications speak again.
    for (auto it = registry_.begin(); !live.empty() && it != registry_.end();) {
        const uint32_t id = it->first;
        ++it;
        if (!live.count(id)) dropWindow(id);
    }
}

void WindowStore::enumerateUnobservedApps() {
    const std::set<int32_t> unobserved = unobserved_;
    for (int32_t pid : unobserved) {
        if (auto app = platform_.workspace->app(pid)) adopt(windows_.enumerate(*app));
    }
}

void WindowStore::adoptFallbacks(const std::vector<WindowDescription>& list) {
    const int32_t own = platform_.workspace->ownPid();
    // Identity keys are built only when a window-list entry could become a fallback window.
    std::optional<std::unordered_set<QString>> keys;
    for (const auto& d : list) {
        if (!d.number || registry_.count(*d.number) || d.layer != 0) continue;
        if (!d.name || d.name->isEmpty() || !d.alpha || *d.alpha < minFallbackAlpha) continue;
        if (!d.bounds || d.bounds->width < minFallbackSide || d.bounds->height < minFallbackSide) continue;
        if (!d.ownerPid || *d.ownerPid == own) continue;
        const auto app = platform_.workspace->app(*d.ownerPid);
        if (!app || app->policy != ActivationPolicy::regular) continue;
        if (!keys) {
            keys.emplace();
            for (const auto& [id, w] : registry_)
                keys->insert(identityKey(w.pid, w.title));
        }
        const QString key = identityKey(*d.ownerPid, *d.name);
        if (!keys->insert(key).second) continue;
        WindowInfo w;
        w.id = *d.number;
        w.pid = *d.ownerPid;
        w.title = *d.name;
        w.appName = app->name && !app->name->isEmpty() ? *app->name : QStringLiteral("?");
        w.icon = platform_.workspace->icon(w.pid);
        w.isHidden = app->hidden;
        w.aspect = d.bounds->width / d.bounds->height;
        registry_[w.id] = w;
        cgFallback_.insert(w.id);
        warm(w.id);
    }
}

std::vector<WindowInfo> WindowStore::frontToBack() const {
    const auto ranks = windows_.zOrder();
    struct Ranked {
        int rank;
        std::size_t position;
        const WindowInfo* info;
    };
    std::vector<Ranked> ranked;
    ranked.reserve(registry_.size());
    for (const auto& [id, w] : registry_) {
        if (blank_.count(id)) continue;
        auto r = ranks.find(id);
        ranked.push_back({r == ranks.end() ? INT_MAX : r->second, ranked.size(), &w});
    }
    std::sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
        return a.rank != b.rank ? a.rank < b.rank : a.position < b.position;
    });
    std::vector<WindowInfo> out;
    out.reserve(ranked.size());
    for (const auto& r : ranked) {
        out.push_back(*r.info);
        auto p = previews_.find(r.info->id);
        out.back().thumb = p == previews_.end() ? QImage() : p->second.image;
    }
    return out;
}

void WindowStore::applyOutcome(uint32_t id, int width, const WindowCapture::Outcome& outcome,
                               const Apply& apply, const Remove& remove) {
    using Kind = WindowCapture::Outcome::Kind;
    switch (outcome.kind) {
    case Kind::captured:
        if (outcome.image.isNull()) return;
        blank_.erase(id);
        store(outcome.image, id, width);
        if (apply) apply(id, outcome.image);
        break;
    case Kind::noContent:
        // A window that once showed content keeps its preview.
        if (previews_.count(id)) return;
        blank_.insert(id);
        if (remove) remove(id);
        break;
    case Kind::unavailable:
        break;
    }
}

namespace {

// The captures of one refresh, run one after another off the main thread; each result is
// handed to the main thread as it arrives.
struct RefreshRun : std::enable_shared_from_this<RefreshRun> {
    struct Job {
        WindowInfo window;
        int width = 0;
        bool rejectUniform = false;
    };
    std::vector<Job> jobs;
    WindowCapture* capture = nullptr;
    MainQueue* queue = nullptr;
    std::function<void(uint32_t, int, WindowCapture::Outcome)> deliver;
    std::shared_ptr<WindowStore::RefreshTask> task;

    void next(std::size_t index) {
        if (index >= jobs.size()) {
            task->finished = true;
            return;
        }
        const Job& job = jobs[index];
        capture->capture(job.window, job.width, job.rejectUniform,
                         [self = shared_from_this(), index](WindowCapture::Outcome outcome) {
                             const Job& j = self->jobs[index];
                             self->queue->post(
                                 [deliver = self->deliver, id = j.window.id, width = j.width,
                                  outcome = std::move(outcome)] { deliver(id, width, outcome); });
                             self->next(index + 1);
                         });
    }
};

} // namespace

std::shared_ptr<WindowStore::RefreshTask> WindowStore::refresh(const std::vector<WindowInfo>& windows,
                                                               Apply apply, Remove remove) {
    const double now = platform_.mainQueue->uptime();
    for (const WindowInfo& w : windows) {
        if (auto p = previews_.find(w.id); p != previews_.end()) p->second.lastShown = now;
    }
    auto run = std::make_shared<RefreshRun>();
    const double thumbH = thumbHeight_ ? thumbHeight_() : 140.0;
    for (const WindowInfo& w : windows) {
        const int width = StoreMath::captureWidth(thumbH, w.aspect);
        if (auto p = previews_.find(w.id); p != previews_.end() && p->second.pixelWidth >= width &&
                                           now - p->second.capturedAt < previewFreshness)
            continue;
        run->jobs.push_back({w, width, cgFallback_.count(w.id) > 0});
    }
    if (run->jobs.empty()) return nullptr;
    run->capture = &capture_;
    run->queue = platform_.mainQueue;
    run->task = std::make_shared<RefreshTask>();
    run->deliver = lifetime_.guard([this, apply = std::move(apply), remove = std::move(remove)](
                                       uint32_t id, int width, const WindowCapture::Outcome& outcome) {
        applyOutcome(id, width, outcome, apply, remove);
    });
    auto task = run->task;
    platform_.background->run([run] { run->next(0); });
    return task;
}

void WindowStore::warm(uint32_t id) {
    if (previews_.count(id)) return;
    const bool first = warmBatch_.pending.empty();
    warmBatch_.pending.insert(id);
    if (!first) return;
    platform_.mainQueue->after(warmDelay, lifetime_.guard([this] {
        const std::set<uint32_t> pending = std::exchange(warmBatch_.pending, {});
        std::vector<WindowInfo> records;
        for (uint32_t n : pending) {
            if (auto it = registry_.find(n); it != registry_.end()) records.push_back(it->second);
        }
        if (!records.empty()) refresh(records, nullptr, nullptr);
    }));
}

void WindowStore::preserveFullscreenPreview() {
    const auto front = windows_.frontmostWindow();
    if (!front) return;
    const auto app = platform_.workspace->app(front->pid);
    if (!app) return;
    for (const WindowInfo& w : windows_.enumerate(*app)) {
        if (w.id != front->id) continue;
        if (!w.isFullscreen) return;
        const int width = StoreMath::captureWidth(thumbHeight_ ? thumbHeight_() : 140.0, w.aspect);
        const QImage image = capture_.visibleImage(w, width);
        if (image.isNull()) return;
        adopt({w});
        blank_.erase(w.id);
        store(image, w.id, width);
        return;
    }
}

void WindowStore::start() {
    const int32_t own = platform_.workspace->ownPid();
    for (const RunningApp& app : platform_.workspace->runningApps()) {
        if (app.policy == ActivationPolicy::regular && app.pid != own) adopt(windows_.enumerate(app));
    }
    preserveFullscreenPreview();
    startObserving();
}

} // namespace fenwold
