#pragma once

#include <QRectF>

class QPainter;

namespace fenwold {

// The translucent rounded backdrop of the program's panels: black at 18 %, a white vertical
// gradient fading out by 74 % of the height, clipped to a rounded rectangle, with a 1-point
// white outline. The platform blur, where there is one, is behind the panel and not drawn here.
// With reduced transparency the backdrop is opaque, as the system draws materials then.
struct GlassBackground {
    double radius = 24;
    bool reduceTransparency = false;

    void paint(QPainter& painter, const QRectF& rect) const;
};

} // namespace fenwold
