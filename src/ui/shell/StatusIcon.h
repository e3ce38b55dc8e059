#pragma once

#include <QImage>

namespace fenwold {

// The status-bar icon: a bar over a letter W, drawn in black on transparent at 18×18 points
// so the system can tint it as a template image. `scale` is pixels per point; `opacity` dims it
// (half while shortcuts cannot work).
QImage statusIconImage(int scale = 2, double opacity = 1.0);

} // namespace fenwold
