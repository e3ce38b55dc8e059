#pragma once

#include "ports/Geometry.h"

#include <QString>

namespace fenwold {

// The small tooltip-like panel saying why the Dock peek has nothing to show. It ignores the
// mouse. Frames are in screen coordinates (origin bottom-left).
class EmptyPeekPanel {
public:
    EmptyPeekPanel() = default;
    EmptyPeekPanel(const EmptyPeekPanel&) = delete;
    EmptyPeekPanel& operator=(const EmptyPeekPanel&) = delete;
    virtual ~EmptyPeekPanel() = default;

    // The natural size of the panel for a text.
    virtual Size measure(const QString& text) const = 0;
    // Show the text at the frame, in front, without activating the program.
    virtual void show(const QString& text, const Rect& frame) = 0;
    virtual void orderOut() = 0;
    virtual bool isVisible() const = 0;
};

} // namespace fenwold
