#include "SimDock.h"

namespace fenwold {

namespace {
const QString kDockDomain = QStringLiteral("com.apple.dock");
}

SimDock::SimDock(SimAccessibility& ax, SimWorkspace& workspace, SimScreens& screens, SimPrefs& prefs)
    : ax_(ax), workspace_(workspace), screens_(screens), prefs_(prefs) {
    workspaceSub_ = workspace_.observe([this](const WorkspaceEvent& e) {
        if (e.kind == WorkspaceEvent::Kind::launched || e.kind == WorkspaceEvent::Kind::terminated)
            publishAll();
    });
}

int32_t SimDock::launch() {
    std::lock_guard lock(mutex_);
    if (pid_) return *pid_;
    const int32_t pid = nextPid_++;
    workspace_.launchWithPid(pid, kDockDomain, QStringLiteral("Dock"), ActivationPolicy::prohibited);
    pid_ = pid;
    appElement_ = ax_.application(pid);
    for (auto& item : items_)
        item.element = ax_.create(pid);
    for (std::size_t i = 0; i < items_.size(); ++i)
        publishLocked(i);
    ax_.onHitTest(pid, [this](Point p) { return hitTest(p); });
    return pid;
}

void SimDock::quit() {
    int32_t pid = 0;
    {
        std::lock_guard lock(mutex_);
        if (!pid_) return;
        pid = *pid_;
        for (auto& item : items_) {
            ax_.destroy(item.element);
            item.element = {};
        }
        ax_.destroy(appElement_);
        appElement_ = {};
        pid_.reset();
    }
    workspace_.quit(pid);
}

int32_t SimDock::restart() {
    quit();
    return launch();
}

std::optional<int32_t> SimDock::pid() const {
    std::lock_guard lock(mutex_);
    return pid_;
}

int SimDock::addApp(const QString& title, const QUrl& url) {
    return addItem(QStringLiteral("AXApplicationDockItem"), title, url);
}

int SimDock::addMinimizedWindow(const QString& title) {
    return addItem(QStringLiteral("AXMinimizedWindowDockItem"), title, std::nullopt, std::optional<bool>{});
}

int SimDock::addItem(const QString& subrole, const std::optional<QString>& title,
                     const std::optional<QUrl>& url, std::optional<std::optional<bool>> running) {
    std::lock_guard lock(mutex_);
    SimDockItem item{subrole, title, url, running, {}};
    if (pid_) item.element = ax_.create(*pid_);
    items_.push_back(item);
    // Every icon shifts when one is added.
    for (std::size_t i = 0; i < items_.size(); ++i)
        publishLocked(i);
    return static_cast<int>(items_.size()) - 1;
}

void SimDock::setOrientation(const QString& orientation) {
    std::lock_guard lock(mutex_);
    orientation_ = orientation;
    prefs_.setDomainValue(kDockDomain, QStringLiteral("orientation"), orientation);
    for (std::size_t i = 0; i < items_.size(); ++i)
        publishLocked(i);
}

int SimDock::count() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(items_.size());
}

Rect SimDock::itemFrame(int index) const {
    std::lock_guard lock(mutex_);
    if (index < 0 || index >= static_cast<int>(items_.size())) return {};
    return frameLocked(static_cast<std::size_t>(index));
}

Rect SimDock::frameLocked(std::size_t index) const {
    const auto screens = screens_.screens();
    if (screens.empty()) return {};
    const Rect f = screens.front().frame;
    const double length = kIconSize * static_cast<double>(items_.size());
    const double offset = kIconSize * static_cast<double>(index);
    if (orientation_ == QLatin1String("left"))
        return {f.minX() + kEdgeInset, f.midY() + length / 2 - offset - kIconSize, kIconSize, kIconSize};
    if (orientation_ == QLatin1String("right"))
        return {f.maxX() - kEdgeInset - kIconSize, f.midY() + length / 2 - offset - kIconSize, kIconSize,
                kIconSize};
    return {f.midX() - length / 2 + offset, f.minY() + kEdgeInset, kIconSize, kIconSize};
}

std::optional<bool> SimDock::runningLocked(const SimDockItem& item) const {
    if (item.runningOverride) return *item.runningOverride;
    for (const RunningApp& app : workspace_.runningApps()) {
        if (item.url && app.bundleURL == item.url) return true;
    }
    return false;
}

void SimDock::publishLocked(std::size_t index) {
    const SimDockItem& item = items_[index];
    if (!item.element) return;
    const auto screens = screens_.screens();
    const double primaryTop = screens.empty() ? 0 : screens.front().frame.maxY();
    const Rect r = frameLocked(index);
    ax_.set(item.element, QStringLiteral("AXRole"), AXValue::of(QStringLiteral("AXDockItem")));
    ax_.set(item.element, QStringLiteral("AXSubrole"), AXValue::of(item.subrole));
    if (item.title) ax_.set(item.element, QStringLiteral("AXTitle"), AXValue::of(*item.title));
    if (item.url) ax_.set(item.element, QStringLiteral("AXURL"), AXValue::of(*item.url));
    if (auto running = runningLocked(item))
        ax_.set(item.element, QStringLiteral("AXIsApplicationRunning"), AXValue::of(*running));
    else
        ax_.remove(item.element, QStringLiteral("AXIsApplicationRunning"));
    ax_.set(item.element, QStringLiteral("AXPosition"), AXValue::of(Point{r.x, primaryTop - r.maxY()}));
    ax_.set(item.element, QStringLiteral("AXSize"), AXValue::of(r.size()));
}

void SimDock::publishAll() {
    std::lock_guard lock(mutex_);
    for (std::size_t i = 0; i < items_.size(); ++i)
        publishLocked(i);
}

int SimDock::hitTests() const {
    std::lock_guard lock(mutex_);
    return hitTests_;
}

AXValue SimDock::hitTest(Point axPoint) {
    std::lock_guard lock(mutex_);
    ++hitTests_;
    const auto screens = screens_.screens();
    const double primaryTop = screens.empty() ? 0 : screens.front().frame.maxY();
    const Point p{axPoint.x, primaryTop - axPoint.y};
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (frameLocked(i).contains(p) && items_[i].element) return AXValue::of(items_[i].element);
    }
    return AXValue::failed(axerr::noValue);
}

} // namespace fenwold
