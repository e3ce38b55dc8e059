#include "GlassBackground.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace fenwold {

namespace {

// `top` laid over `bottom`, as the painter's source-over does.
QColor over(const QColor& top, const QColor& bottom) {
    const double a = top.alphaF() + bottom.alphaF() * (1 - top.alphaF());
    if (a <= 0) return QColor(0, 0, 0, 0);
    const auto channel = [&](double t, double b) {
        return (t * top.alphaF() + b * bottom.alphaF() * (1 - top.alphaF())) / a;
    };
    return QColor::fromRgbF(channel(top.redF(), bottom.redF()), channel(top.greenF(), bottom.greenF()),
                            channel(top.blueF(), bottom.blueF()), a);
}

} // namespace

void GlassBackground::paint(QPainter& painter, const QRectF& rect) const {
    // Three layers: a tint that stands in for the blur where the platform offers none (so text
    // stays legible), a shade, and a white sheen fading out by 74 % of the height. They are
    // composed here and filled once: a panel's first frame fills its whole area, and each pass
    // over it costs as much as everything else the frame draws.
    const QColor tint = reduceTransparency ? QColor(40, 40, 44) : QColor(60, 60, 66, 150);
    const QColor base = over(QColor(0, 0, 0, qRound(255 * 0.18)), tint);
    QLinearGradient sheen(rect.topLeft(), rect.bottomLeft());
    sheen.setColorAt(0.0, over(QColor(255, 255, 255, qRound(255 * 0.14)), base));
    sheen.setColorAt(0.42, over(QColor(255, 255, 255, qRound(255 * 0.05)), base));
    sheen.setColorAt(0.74, base);
    sheen.setColorAt(1.0, base);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(rect, radius, radius);
    painter.fillPath(shape, sheen);

    QPen outline(QColor(255, 255, 255, qRound(255 * 0.18)));
    outline.setWidthF(1.0);
    painter.setPen(outline);
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    painter.restore();
}

} // namespace fenwold
