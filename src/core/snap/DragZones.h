#pragma once

#include "core/windows/WindowSnap.h"
#include "ports/Screens.h"

#include <optional>
#include <span>
#include <vector>

namespace fenwold {

// Where a window dragged by its title bar snaps when it is let go: a display and the zone of it.
struct DragZone {
    int display = 0;
    WindowSnap snap = WindowSnap::maximize;
    friend bool operator==(const DragZone&, const DragZone&) = default;
};

namespace dragzones {

// How near an edge the pointer counts as against it, in points.
inline constexpr double kEdgeReach = 2;
// The corners: this share of the display's height at either end of a side edge.
inline constexpr double kCornerShare = 0.05;

// The zone the pointer is against (screen coordinates, y up): the left and right edges give the
// halves, their ends the quarters, the top edge the whole visible frame. Only edges the pointer
// cannot cross count: where another display continues, the pointer passes on. Allocates nothing.
std::optional<DragZone> zoneAt(std::span<const ScreenInfo> screens, Point pointer);
// What is left of the display after a window took the zone, in the order snap assist offers it.
std::vector<WindowSnap> restAfter(WindowSnap snap);

} // namespace dragzones
} // namespace fenwold
