#pragma once

#include "WindowInfo.h"
#include "ports/Screens.h"

#include <optional>
#include <vector>

namespace fenwold::snapgeometry {

// Every snap target, in the enumeration's order.
const std::vector<WindowSnap>& allSnaps();
// The rectangle a snap fills within a visible frame (both in screen coordinates, y up).
Rect snapRect(WindowSnap snap, const Rect& visibleFrame);
// The same rectangle where the frames are in Accessibility coordinates (y down).
Rect snapRectAX(WindowSnap snap, const Rect& visibleFrameAX);
// Where a window of this size goes for a zone it does not fit: from the zone's top-left corner,
// pulled back inside the visible frame as far as it takes (all in the same coordinates).
Rect fitInZone(Size size, const Rect& zone, const Rect& visibleFrame);
// Screen coordinates to Accessibility coordinates, given the primary screen's height. The flip
// is its own inverse: it also turns Accessibility rectangles into screen ones.
Rect toAX(const Rect& screenRect, double primaryHeight);
// The snap whose rectangle a window's frame fills within the tolerance on every edge (both in
// Accessibility coordinates): how a window arranged by other means is recognised. Every edge
// counts, so a half is never taken for a quarter.
std::optional<WindowSnap> snapMatching(const Rect& frameAX, const Rect& visibleFrameAX, double tolerance);
// The screen holding an Accessibility rectangle's top-left corner; else the main screen, else
// the first; -1 when there are no screens.
int screenIndexContainingAX(const std::vector<ScreenInfo>& screens, int mainIndex, const Rect& axRect);

} // namespace fenwold::snapgeometry
