#pragma once

#include "ports/Geometry.h"

#include <mutex>
#include <optional>

namespace fenwold {

// Where the Dock's icons were found, for the event tap to tell a press that may be on one from
// any other without asking the Dock: the span of the icons the pointer's hit-tests met, in
// top-left-origin global coordinates. Grown on the main thread with every icon found, dropped
// when a hit-test inside it finds none (the Dock moved, hid or shrank); read on the tap's thread.
class DockArea {
public:
    void found(const Rect& iconAX) {
        std::lock_guard lock(mutex_);
        area_ = area_ ? area_->united(iconAX) : iconAX;
    }
    void foundNothingAt(Point axPoint) {
        std::lock_guard lock(mutex_);
        if (area_ && area_->contains(axPoint)) area_.reset();
    }
    bool contains(Point axPoint) const {
        std::lock_guard lock(mutex_);
        return area_ && area_->contains(axPoint);
    }

private:
    mutable std::mutex mutex_;
    std::optional<Rect> area_;
};

} // namespace fenwold
