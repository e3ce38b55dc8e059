#include "SnapGeometry.h"

#include <algorithm>
#include <cmath>

namespace fenwold::snapgeometry {

namespace {

// Each snap as a span of a grid laid over the visible frame: six columns (halves and thirds
// meet on it) and two rows, counted from the top-left.
struct Zone {
    int column, columns, row, rows;
};
constexpr int kColumns = 6, kRows = 2;

Zone zoneOf(WindowSnap snap) {
    switch (snap) {
    case WindowSnap::left:
        return {0, 3, 0, 2};
    case WindowSnap::right:
        return {3, 3, 0, 2};
    case WindowSnap::maximize:
        return {0, 6, 0, 2};
    case WindowSnap::topLeft:
        return {0, 3, 0, 1};
    case WindowSnap::topRight:
        return {3, 3, 0, 1};
    case WindowSnap::bottomLeft:
        return {0, 3, 1, 1};
    case WindowSnap::bottomRight:
        return {3, 3, 1, 1};
    case WindowSnap::leftThird:
        return {0, 2, 0, 2};
    case WindowSnap::centreThird:
        return {2, 2, 0, 2};
    case WindowSnap::rightThird:
        return {4, 2, 0, 2};
    case WindowSnap::leftTwoThirds:
        return {0, 4, 0, 2};
    case WindowSnap::rightTwoThirds:
        return {2, 4, 0, 2};
    }
    return {0, 6, 0, 2};
}

// Grid lines are placed by multiplying before dividing, so neighbouring zones share their edges
// exactly and halves of an even frame stay whole numbers.
double gridLine(double origin, double length, int line, int lines) {
    return origin + length * line / lines;
}

Rect zoneRect(WindowSnap snap, const Rect& v, bool yUp) {
    const Zone z = zoneOf(snap);
    const double left = gridLine(v.x, v.width, z.column, kColumns);
    const double right = gridLine(v.x, v.width, z.column + z.columns, kColumns);
    // Rows count from the top: in y-up coordinates that is from the frame's far edge.
    const int firstLine = yUp ? kRows - z.row - z.rows : z.row;
    const double low = gridLine(v.y, v.height, firstLine, kRows);
    const double high = gridLine(v.y, v.height, firstLine + z.rows, kRows);
    return {left, low, right - left, high - low};
}

} // namespace

const std::vector<WindowSnap>& allSnaps() {
    static const std::vector<WindowSnap> snaps = {
        WindowSnap::left,        WindowSnap::right,         WindowSnap::maximize,
        WindowSnap::topLeft,     WindowSnap::topRight,      WindowSnap::bottomLeft,
        WindowSnap::bottomRight, WindowSnap::leftThird,     WindowSnap::centreThird,
        WindowSnap::rightThird,  WindowSnap::leftTwoThirds, WindowSnap::rightTwoThirds};
    return snaps;
}

Rect snapRect(WindowSnap snap, const Rect& v) {
    return zoneRect(snap, v, true);
}

Rect snapRectAX(WindowSnap snap, const Rect& v) {
    return zoneRect(snap, v, false);
}

Rect fitInZone(Size size, const Rect& zone, const Rect& v) {
    const double x = std::clamp(zone.x, v.minX(), std::max(v.minX(), v.maxX() - size.width));
    const double y = std::clamp(zone.y, v.minY(), std::max(v.minY(), v.maxY() - size.height));
    return {x, y, size.width, size.height};
}

Rect toAX(const Rect& r, double primaryHeight) {
    return {r.minX(), primaryHeight - r.maxY(), r.width, r.height};
}

std::optional<WindowSnap> snapMatching(const Rect& frame, const Rect& visible, double tolerance) {
    const auto near = [tolerance](double a, double b) { return std::abs(a - b) < tolerance; };
    for (WindowSnap snap : allSnaps()) {
        const Rect z = snapRectAX(snap, visible);
        if (near(frame.x, z.x) && near(frame.y, z.y) && near(frame.maxX(), z.maxX()) &&
            near(frame.maxY(), z.maxY()))
            return snap;
    }
    return std::nullopt;
}

int screenIndexContainingAX(const std::vector<ScreenInfo>& screens, int mainIndex, const Rect& axRect) {
    if (screens.empty()) return -1;
    const double H = screens.front().frame.maxY();
    const Point probe{axRect.minX() + 1, H - axRect.minY() - 1};
    for (std::size_t i = 0; i < screens.size(); ++i) {
        if (screens[i].frame.contains(probe)) return static_cast<int>(i);
    }
    if (mainIndex >= 0 && mainIndex < static_cast<int>(screens.size())) return mainIndex;
    return 0;
}

} // namespace fenwold::snapgeometry
