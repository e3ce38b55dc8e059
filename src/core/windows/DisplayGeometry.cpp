#include "DisplayGeometry.h"

#include <algorithm>
#include <numeric>

namespace fenwold::displaygeometry {

std::vector<int> leftToRight(const std::vector<ScreenInfo>& screens) {
    std::vector<int> order(screens.size());
    std::iota(order.begin(), order.end(), 0);
    // Displays at the same place keep their order (the index breaks the tie, since std::stable_sort
    // takes its buffer from a function libstdc++ 12 deprecates).
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        const Rect& fa = screens[static_cast<std::size_t>(a)].frame;
        const Rect& fb = screens[static_cast<std::size_t>(b)].frame;
        if (fa.midX() != fb.midX()) return fa.midX() < fb.midX();
        if (fa.midY() != fb.midY()) return fa.midY() > fb.midY(); // y grows upwards
        return a < b;
    });
    return order;
}

int adjacentScreen(const std::vector<ScreenInfo>& screens, int from, bool right) {
    const std::vector<int> order = leftToRight(screens);
    const auto at = std::find(order.begin(), order.end(), from);
    if (at == order.end()) return -1;
    const int n = static_cast<int>(order.size());
    const int position = static_cast<int>(at - order.begin());
    return order[static_cast<std::size_t>(((position + (right ? 1 : -1)) % n + n) % n)];
}

int screenIndexContaining(const std::vector<ScreenInfo>& screens, Point point) {
    for (std::size_t i = 0; i < screens.size(); ++i)
        if (screens[i].frame.contains(point)) return static_cast<int>(i);
    return -1;
}

Rect carryFrame(const Rect& frame, const Rect& from, const Rect& to) {
    const double width = std::min(frame.width, to.width);
    const double height = std::min(frame.height, to.height);
    const double x = std::clamp(to.x + (frame.x - from.x), to.minX(), to.maxX() - width);
    const double y = std::clamp(to.y + (frame.y - from.y), to.minY(), to.maxY() - height);
    return {x, y, width, height};
}

} // namespace fenwold::displaygeometry
