#include "ThumbnailPixels.h"

#include "core/clipboard/ImagePreview.h"

#include <QPainter>

namespace fenwold {

QImage ThumbnailPixels::forDrawing(const QImage& thumbnail) {
    if (thumbnail.format() != opaqueThumbnailFormat) return thumbnail;
    // Each line as long as a 32-bit image's own, so the image drawn is the one the thumbnail
    // would have been.
    const qsizetype lineBytes = qsizetype(thumbnail.width()) * 4;
    if (pixels_.size() < lineBytes * thumbnail.height()) pixels_.resize(lineBytes * thumbnail.height());
    QImage converted(reinterpret_cast<uchar*>(pixels_.data()), thumbnail.width(), thumbnail.height(),
                     lineBytes, QImage::Format_RGB32);
    QPainter painter(&converted);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, thumbnail);
    return converted;
}

void ThumbnailPixels::release() {
    pixels_ = QByteArray();
}

} // namespace fenwold
