#pragma once

#include "core/windows/WindowSnap.h"

#include <vector>

namespace fenwold {

// One arrangement of a display's visible frame: its zones in reading order, left to right and
// top to bottom, which is how the digits number them.
struct SnapLayout {
    std::vector<WindowSnap> zones;
    friend bool operator==(const SnapLayout&, const SnapLayout&) = default;
};

// The layouts the snap-layouts panel offers, in the order the digits number them: halves,
// thirds, two-thirds beside a third, quarters. The panel shows them in rows of this many.
const std::vector<SnapLayout>& snapLayouts();
inline constexpr int kSnapLayoutsPerRow = 2;

// What the panel draws: the layouts in the proportions of the window's display, the selected
// zone, and whether a first digit has chosen the layout so that its zones show their digits.
struct SnapLayoutState {
    std::vector<SnapLayout> layouts;
    double aspect = 16.0 / 10.0; // width over height of the display's visible frame
    int layout = 0;
    int zone = 0;
    bool numberingZones = false;
    friend bool operator==(const SnapLayoutState&, const SnapLayoutState&) = default;
};

} // namespace fenwold
