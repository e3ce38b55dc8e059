#pragma once

#include <QByteArray>
#include <QImage>

namespace fenwold {

// Opaque thumbnails are kept in three bytes a pixel, and Qt's raster engine scales only 32-bit
// images on the path that draws their edges whole: each is drawn from its pixels in four bytes.
// They are converted into memory kept here for the next, as a new image for each drawing would
// wait for the system to hand over its pages (most of a millisecond) every time.
class ThumbnailPixels {
public:
    // The thumbnail as the painter gets it. A converted one lives here, until the next call or
    // until release(): draw it, do not keep it.
    QImage forDrawing(const QImage& thumbnail);
    // Gives the memory back (the shelf has closed).
    void release();

private:
    QByteArray pixels_;
};

} // namespace fenwold
