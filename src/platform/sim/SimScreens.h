#pragma once

#include "ports/Screens.h"

#include <map>
#include <memory>
#include <mutex>

namespace fenwold {

// Simulated displays and pointer. Starts with one 1440×900 screen with a 25-point menu bar and
// a 70-point Dock at the bottom.
class SimScreens final : public Screens {
public:
    SimScreens();

    std::vector<ScreenInfo> screens() const override;
    int mainScreenIndex() const override;
    Point pointerLocation() const override;
    void warpPointer(Point topLeftOrigin) override;
    double doubleClickInterval() const override;
    bool reduceMotion() const override;
    bool reduceTransparency() const override;
    Subscription observeMouseMoved(std::function<void()> handler) override;
    int64_t windowNumberAt(Point point) const override;
    void setCursor(PointerCursor cursor) override;
    PointerCursor cursor() const;

    // Setup and input.
    void setScreens(std::vector<ScreenInfo> screens);
    void addScreen(ScreenInfo screen);
    void setScreen(int index, ScreenInfo screen);
    void setMainScreenIndex(int index);
    // Move the pointer (screen coordinates) and tell the mouse-moved monitors.
    void movePointer(Point screenPoint);
    // Move it with a button held: a drag, which mouse-moved monitors do not see.
    void dragPointer(Point screenPoint);
    void setDoubleClickInterval(double seconds);
    void setReduceMotion(bool on);
    void setReduceTransparency(bool on);
    std::vector<Point> warps() const;
    // What answers `windowNumberAt`: whoever draws the session's windows (the playground's
    // screen). Without one no window is anywhere.
    void setWindowNumberAt(std::function<int64_t(Point)> answer);

private:
    mutable std::mutex mutex_;
    std::vector<ScreenInfo> screens_;
    int main_ = 0;
    Point pointer_{720, 450};
    double doubleClick_ = 0.5;
    bool reduceMotion_ = false;
    bool reduceTransparency_ = false;
    std::vector<Point> warps_;
    std::function<int64_t(Point)> windowNumberAt_;
    PointerCursor cursor_ = PointerCursor::arrow;
    std::map<uint64_t, std::shared_ptr<std::function<void()>>> monitors_;
    uint64_t nextMonitor_ = 1;
};

} // namespace fenwold
