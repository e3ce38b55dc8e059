#include "StatusIcon.h"

#include <QPainter>
#include <QPainterPath>

namespace fenwold {

QImage statusIconImage(int scale, double opacity) {
    constexpr double kSize = 18;
    QImage image(static_cast<int>(kSize * scale), static_cast<int>(kSize * scale),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setOpacity(opacity);
    p.scale(scale, scale);
    // The drawing is specified with the origin at the bottom left; flip once, then lift by 0.7.
    p.translate(0, kSize);
    p.scale(1, -1);
    p.translate(0, 0.7);

    QPainterPath bar;
    bar.addRoundedRect(QRectF(4.3, 14.1, 9.4, 1.8), 0.9, 0.9);
    p.fillPath(bar, Qt::black);

    QPainterPath letter;
    letter.moveTo(2.9, 11.2);
    letter.lineTo(6.0, 2.2);
    letter.lineTo(9.0, 9.9);
    letter.lineTo(12.0, 2.2);
    letter.lineTo(15.1, 11.2);
    QPen pen(Qt::black, 2.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(letter);
    p.end();
    image.setDevicePixelRatio(scale);
    return image;
}

} // namespace fenwold
