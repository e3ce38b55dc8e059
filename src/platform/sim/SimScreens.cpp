#include "SimScreens.h"

namespace fenwold {

SimScreens::SimScreens() {
    screens_.push_back({Rect{0, 0, 1440, 900}, Rect{0, 70, 1440, 805}});
}

std::vector<ScreenInfo> SimScreens::screens() const {
    std::lock_guard lock(mutex_);
    return screens_;
}

int SimScreens::mainScreenIndex() const {
    std::lock_guard lock(mutex_);
    return screens_.empty() ? -1 : main_;
}

Point SimScreens::pointerLocation() const {
    std::lock_guard lock(mutex_);
    return pointer_;
}

void SimScreens::warpPointer(Point topLeftOrigin) {
    {
        std::lock_guard lock(mutex_);
        warps_.push_back(topLeftOrigin);
        const double primaryHeight = screens_.empty() ? 0 : screens_.front().frame.height;
        pointer_ = {topLeftOrigin.x, primaryHeight - topLeftOrigin.y};
    }
}

double SimScreens::doubleClickInterval() const {
    std::lock_guard lock(mutex_);
    return doubleClick_;
}

bool SimScreens::reduceMotion() const {
    std::lock_guard lock(mutex_);
    return reduceMotion_;
}

bool SimScreens::reduceTransparency() const {
    std::lock_guard lock(mutex_);
    return reduceTransparency_;
}

Subscription SimScreens::observeMouseMoved(std::function<void()> handler) {
    std::lock_guard lock(mutex_);
    const uint64_t id = nextMonitor_++;
    monitors_.emplace(id, std::make_shared<std::function<void()>>(std::move(handler)));
    return Subscription([this, id] {
        std::lock_guard inner(mutex_);
        monitors_.erase(id);
    });
}

int64_t SimScreens::windowNumberAt(Point point) const {
    std::function<int64_t(Point)> answer;
    {
        std::lock_guard lock(mutex_);
        answer = windowNumberAt_;
    }
    return answer ? answer(point) : 0;
}

void SimScreens::setCursor(PointerCursor cursor) {
    std::lock_guard lock(mutex_);
    cursor_ = cursor;
}

PointerCursor SimScreens::cursor() const {
    std::lock_guard lock(mutex_);
    return cursor_;
}

void SimScreens::setWindowNumberAt(std::function<int64_t(Point)> answer) {
    std::lock_guard lock(mutex_);
    windowNumberAt_ = std::move(answer);
}

void SimScreens::setScreens(std::vector<ScreenInfo> screens) {
    std::lock_guard lock(mutex_);
    screens_ = std::move(screens);
    main_ = 0;
}

void SimScreens::addScreen(ScreenInfo screen) {
    std::lock_guard lock(mutex_);
    screens_.push_back(screen);
}

void SimScreens::setScreen(int index, ScreenInfo screen) {
    std::lock_guard lock(mutex_);
    screens_.at(static_cast<std::size_t>(index)) = screen;
}

void SimScreens::setMainScreenIndex(int index) {
    std::lock_guard lock(mutex_);
    main_ = index;
}

void SimScreens::movePointer(Point screenPoint) {
    std::vector<std::shared_ptr<std::function<void()>>> monitors;
    {
        std::lock_guard lock(mutex_);
        pointer_ = screenPoint;
        for (const auto& [id, m] : monitors_)
            monitors.push_back(m);
    }
    for (const auto& m : monitors)
        (*m)();
}

void SimScreens::dragPointer(Point screenPoint) {
    std::lock_guard lock(mutex_);
    pointer_ = screenPoint;
}

void SimScreens::setDoubleClickInterval(double seconds) {
    std::lock_guard lock(mutex_);
    doubleClick_ = seconds;
}

void SimScreens::setReduceMotion(bool on) {
    std::lock_guard lock(mutex_);
    reduceMotion_ = on;
}

void SimScreens::setReduceTransparency(bool on) {
    std::lock_guard lock(mutex_);
    reduceTransparency_ = on;
}

std::vector<Point> SimScreens::warps() const {
    std::lock_guard lock(mutex_);
    return warps_;
}

} // namespace fenwold
