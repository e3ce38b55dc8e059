#pragma once

#include "ports/Screens.h"

#include <vector>

namespace fenwold::displaygeometry {

// The screens' indices from left to right, by their centres; screens one above another go
// top first.
std::vector<int> leftToRight(const std::vector<ScreenInfo>& screens);
// The screen beside `from` on one side, wrapping round at the ends as Windows does: `from` itself
// when it is the only one, -1 when `from` is not a screen.
int adjacentScreen(const std::vector<ScreenInfo>& screens, int from, bool right);
// The screen holding a point in screen coordinates, -1 when none does.
int screenIndexContaining(const std::vector<ScreenInfo>& screens, Point point);
// A window frame carried from one visible frame to another (all three in Accessibility
// coordinates): its size and its offset from the visible frame's top-left corner stay, each
// pulled in as far as it takes to fit.
Rect carryFrame(const Rect& frame, const Rect& fromVisible, const Rect& toVisible);

} // namespace fenwold::displaygeometry
