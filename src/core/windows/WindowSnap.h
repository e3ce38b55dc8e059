#pragma once

namespace fenwold {

// Where a window can be snapped: the halves, the whole visible frame and the quarters, then the
// thirds and two-thirds of the snap layouts.
enum class WindowSnap {
    left,
    right,
    maximize,
    topLeft,
    topRight,
    bottomLeft,
    bottomRight,
    leftThird,
    centreThird,
    rightThird,
    leftTwoThirds,
    rightTwoThirds
};

// A window's arrangement as the program recognises it.
enum class WindowMode { normal, fullscreen, tiledLeft, tiledRight, maximized, snappedLeft, snappedRight };

} // namespace fenwold
