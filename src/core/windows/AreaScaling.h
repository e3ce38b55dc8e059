#pragma once

#include <QImage>
#include <QSize>

namespace fenwold {

// A reduced copy of an image, each pixel the average of the area of the image it covers: what
// Qt's smooth scaling gives for a reduction, computed on the calling thread alone. Qt's own
// splits a large image across the thread pool its raster engine also splits fills across, and
// a frame being painted waits for those; a capture reduced in the background would make the
// panel a person just opened wait for it. Window captures and clip thumbnails are both reduced
// in the background.
//
// `size` must be no larger than the image in either direction; otherwise, and for an empty
// image or size, the result is null. The result is premultiplied 32-bit ARGB, or 32-bit RGB for
// an image without an alpha channel, the formats Qt's smooth scaling gives.
QImage scaleDownByArea(const QImage& image, QSize size);

// `image` in `format`, converted by Qt on the calling thread alone: Qt splits the conversion of a
// large image across the same pool, a strip at a time, and waits for the strips.
QImage convertedOnThisThread(const QImage& image, QImage::Format format);

} // namespace fenwold
