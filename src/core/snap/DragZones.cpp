#include "DragZones.h"

namespace fenwold::dragzones {

namespace {

// Whether some display holds the point.
bool onADisplay(std::span<const ScreenInfo> screens, Point p) {
    for (const ScreenInfo& s : screens)
        if (s.frame.contains(p)) return true;
    return false;
}

} // namespace

std::optional<DragZone> zoneAt(std::span<const ScreenInfo> screens, Point p) {
    for (std::size_t i = 0; i < screens.size(); ++i) {
        const Rect& f = screens[i].frame;
        if (!f.contains(p)) continue;
        // An edge counts where one more point beyond it lies on no display.
        const bool left = p.x - f.minX() < kEdgeReach && !onADisplay(screens, {f.minX() - 1, p.y});
        const bool right = f.maxX() - p.x <= kEdgeReach && !onADisplay(screens, {f.maxX() + 1, p.y});
        const bool top = f.maxY() - p.y <= kEdgeReach && !onADisplay(screens, {p.x, f.maxY() + 1});
        const double corner = f.height * kCornerShare;
        const bool upper = f.maxY() - p.y < corner;
        const bool lower = p.y - f.minY() < corner;
        const int display = static_cast<int>(i);
        if (left)
            return DragZone{display, upper   ? WindowSnap::topLeft
                                     : lower ? WindowSnap::bottomLeft
                                             : WindowSnap::left};
        if (right)
            return DragZone{display, upper   ? WindowSnap::topRight
                                     : lower ? WindowSnap::bottomRight
                                             : WindowSnap::right};
        if (top) return DragZone{display, WindowSnap::maximize};
        return std::nullopt;
    }
    return std::nullopt;
}

std::vector<WindowSnap> restAfter(WindowSnap snap) {
    using S = WindowSnap;
    switch (snap) {
    case S::left:
        return {S::right};
    case S::right:
        return {S::left};
    case S::topLeft:
        return {S::topRight, S::bottomLeft, S::bottomRight};
    case S::topRight:
        return {S::topLeft, S::bottomLeft, S::bottomRight};
    case S::bottomLeft:
        return {S::topLeft, S::topRight, S::bottomRight};
    case S::bottomRight:
        return {S::topLeft, S::topRight, S::bottomLeft};
    default:
        return {};
    }
}

} // namespace fenwold::dragzones
