#pragma once

#include "WindowInfo.h"
#include "ports/Screens.h"

#include <vector>

namespace fenwold::snapgeometry {

// The rectangle a snap fills within a visible frame (both in screen coordinates, y up).
Rect snapRect(WindowSnap snap, const Rect& visibleFrame);
// Screen coordinates to Accessibility coordinates, given the primary screen's height.
Rect toAX(const Rect& screenRect, double primaryHeight);
// The screen holding an Accessibility rectangle's top-left corner; else the main screen, else
// the first; -1 when there are no screens.
int screenIndexContainingAX(const std::vector<ScreenInfo>& screens, int mainIndex, const Rect& axRect);

} // namespace fenwold::snapgeometry
