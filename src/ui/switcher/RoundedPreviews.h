#pragma once

#include <QImage>
#include <QRect>
#include <cstdint>
#include <unordered_map>

class QPainter;
class QRectF;

namespace fenwold {

// Window previews as the tiles show them: scaled into their place and rounded, each kept while its
// image and place stay the same. Drawing a scaled image inside a rounded clip is the costliest
// thing a tile grid's frame does (Qt splits each such fill across its thread pool and waits);
// a kept preview is put on the frame as it is.
class RoundedPreviews {
public:
    // Draws `image` stretched into `place` (the painter's logical coordinates, which must be the
    // device's but for its pixel ratio) with corners of `radius`, as a rounded clip around a
    // smoothly scaled image draws it.
    void draw(QPainter& painter, uint32_t id, const QImage& image, const QRectF& place, double radius);
    // Forgets the previews not drawn since the last call, so windows gone take theirs along.
    void endFrame();
    void clear();
    std::size_t size() const { return kept_.size(); }

private:
    struct Kept {
        qint64 imageKey = 0;
        QRect pixels; // the device pixels it covers
        double radius = 0;
        QImage image;
        bool drawn = false;
    };
    static QImage render(const QImage& image, const QRectF& place, double radius, const QRect& pixels,
                         double ratio);

    std::unordered_map<uint32_t, Kept> kept_;
};

} // namespace fenwold
