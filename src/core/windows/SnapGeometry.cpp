#include "SnapGeometry.h"

namespace fenwold::snapgeometry {

Rect snapRect(WindowSnap snap, const Rect& v) {
    const double hw = v.width / 2, hh = v.height / 2;
    switch (snap) {
    case WindowSnap::left:
        return {v.minX(), v.minY(), hw, v.height};
    case WindowSnap::right:
        return {v.midX(), v.minY(), hw, v.height};
    case WindowSnap::maximize:
        return v;
    case WindowSnap::topLeft:
        return {v.minX(), v.midY(), hw, hh};
    case WindowSnap::topRight:
        return {v.midX(), v.midY(), hw, hh};
    case WindowSnap::bottomLeft:
        return {v.minX(), v.minY(), hw, hh};
    case WindowSnap::bottomRight:
        return {v.midX(), v.minY(), hw, hh};
    }
    return v;
}

Rect toAX(const Rect& r, double primaryHeight) {
    return {r.minX(), primaryHeight - r.maxY(), r.width, r.height};
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
