#pragma once

#include "ports/Screens.h"

namespace fenwold {

// Displays, the pointer and the display options through AppKit. Main thread.
class MacScreens final : public Screens {
public:
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
};

} // namespace fenwold
