#include "RoundedPreviews.h"

#include <QPainter>
#include <QPainterPath>
#include <iterator>

namespace fenwold {

void RoundedPreviews::draw(QPainter& painter, uint32_t id, const QImage& image, const QRectF& place,
                           double radius) {
    const double ratio = painter.device()->devicePixelRatioF();
    // The kept image starts on a whole device pixel; the place's fraction is drawn into it, so the
    // edges fall on the same pixels as when drawn in place.
    const QRect pixels = QRectF(place.topLeft() * ratio, place.bottomRight() * ratio).toAlignedRect();
    Kept& kept = kept_[id];
    if (kept.imageKey != image.cacheKey() || kept.pixels != pixels || kept.radius != radius ||
        kept.image.isNull()) {
        kept.image = render(image, place, radius, pixels, ratio);
        kept.imageKey = image.cacheKey();
        kept.pixels = pixels;
        kept.radius = radius;
    }
    kept.drawn = true;
    painter.drawImage(QPointF(pixels.topLeft()) / ratio, kept.image);
}

QImage RoundedPreviews::render(const QImage& image, const QRectF& place, double radius, const QRect& pixels,
                               double ratio) {
    QImage out(pixels.size(), QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    p.translate(-pixels.topLeft());
    p.scale(ratio, ratio);
    QPainterPath clip;
    clip.addRoundedRect(place, radius, radius);
    p.setClipPath(clip);
    p.drawImage(place, image);
    p.end();
    out.setDevicePixelRatio(ratio);
    return out;
}

void RoundedPreviews::endFrame() {
    for (auto it = kept_.begin(); it != kept_.end();) {
        if (!it->second.drawn) {
            it = kept_.erase(it);
        } else {
            it->second.drawn = false;
            ++it;
        }
    }
}

void RoundedPreviews::clear() {
    kept_.clear();
}

} // namespace fenwold
