#pragma once

#include <CoreGraphics/CoreGraphics.h>
#include <QImage>

namespace fenwold {

// A CoreGraphics image drawn into a Qt image (32-bit, premultiplied alpha first, little endian);
// null for a null image.
QImage qImageFromCGImage(CGImageRef image);

} // namespace fenwold
