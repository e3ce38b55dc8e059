#pragma once

#include "SnapLayouts.h"
#include "ports/Geometry.h"

#include <functional>

namespace fenwold {

// The floating panel of the snap layouts. Frames are in screen coordinates (origin at the primary
// screen's bottom-left).
class SnapLayoutPanel {
public:
    SnapLayoutPanel() = default;
    SnapLayoutPanel(const SnapLayoutPanel&) = delete;
    SnapLayoutPanel& operator=(const SnapLayoutPanel&) = delete;
    virtual ~SnapLayoutPanel() = default;

    // The size the panel needs to draw these layouts.
    virtual Size measure(const SnapLayoutState& state) const = 0;
    // Show at the frame, or redraw for a new selection.
    virtual void show(const SnapLayoutState& state, const Rect& frame) = 0;
    virtual void orderOut() = 0;
    virtual bool isVisible() const = 0;

    // A click on a zone; a click anywhere outside the panel. Set by the controller.
    std::function<void(int layout, int zone)> onPick;
    std::function<void()> onClickOutside;
};

} // namespace fenwold
