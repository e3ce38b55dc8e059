#pragma once

#include "ports/Geometry.h"

namespace fenwold {

// The translucent outline of where a dragged window will snap. It never takes focus or keys and
// lets every click through. Frames are in screen coordinates (origin bottom-left, y up).
class SnapOutlinePanel {
public:
    SnapOutlinePanel() = default;
    SnapOutlinePanel(const SnapOutlinePanel&) = delete;
    SnapOutlinePanel& operator=(const SnapOutlinePanel&) = delete;
    virtual ~SnapOutlinePanel() = default;

    // Show the outline of this frame, in front, without activating the program.
    virtual void show(const Rect& frame) = 0;
    virtual void orderOut() = 0;
    virtual bool isVisible() const = 0;
    virtual Rect frame() const = 0;
};

} // namespace fenwold
