#pragma once

#include "SwitcherModel.h"
#include "ports/Geometry.h"

#include <vector>

namespace fenwold {

// Tile sizes shared by the switcher, the Dock peek and snap assist (points). One instance lives
// for the whole run.
struct Metrics {
    static constexpr double kDefaultThumbH = 140;
    static constexpr double kMinThumbH = 90;
    static constexpr double kMaxThumbH = 280;
    static constexpr double kTileSpacing = 10;
    static constexpr double kPadding = 20;

    double thumbH = kDefaultThumbH;          // the height layout uses now
    double preferredThumbH = kDefaultThumbH; // what the user asked for, within 90...280

    double thumbWidth(const WindowInfo& w) const;
    double tileWidth(const WindowInfo& w) const { return thumbWidth(w) + 20; }
    double tileHeight() const { return thumbH + 56; }
    // Store a preference, clamped; values of 0 or below are ignored.
    void setPreferred(double value);
};

struct FlowLayout {
    std::vector<std::vector<int>> rows;
    Size size;
};

// Packs tiles left to right into rows no wider than maxRowW, in list order.
FlowLayout flowRows(const std::vector<WindowInfo>& windows, double maxRowW, const Metrics& metrics);

// Shrinks `metrics.thumbH` from the preferred height in 4-point steps (not below 90) until the
// grid fits maxRowW + 40 wide and 90 % of the available height; returns the final layout.
FlowLayout fitToScreen(const std::vector<WindowInfo>& windows, double maxRowW, double availableHeight,
                       Metrics& metrics);

} // namespace fenwold
