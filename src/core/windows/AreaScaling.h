#pragma once

#include <QImage>
#include <QSize>

namespace fenwold {

// A reduced copy of an image, each pixel the average of the area of the image it covers: what
// Qt's smooth scaling gives for a reduction, computed on the calling thread alone. Qt's own
// splits a large image across the thread pool its raster engine also splits fills across, and
// a frame being painted waits for those; a capture reduced in the background would make the
// panel a person just opened wait for it.
//
// `size` must be no larger than the image in either direction; otherwise, and for an empty
// image or size, the result is null. The result is premultiplied 32-bit ARGB.
QImage scaleDownByArea(const QImage& image, QSize size);

} // namespace fenwold
