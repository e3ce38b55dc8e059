#include "GlassBackground.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace fenwold {

void GlassBackground::paint(QPainter& painter, const QRectF& rect) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(rect, radius, radius);
    painter.setClipPath(shape);

    // Stands in for the blur where the platform offers none, so text stays legible.
    painter.fillPath(shape, reduceTransparency ? QColor(40, 40, 44) : QColor(60, 60, 66, 150));
    painter.fillPath(shape, QColor(0, 0, 0, qRound(255 * 0.18)));

    QLinearGradient sheen(rect.topLeft(), rect.bottomLeft());
    sheen.setColorAt(0.0, QColor(255, 255, 255, qRound(255 * 0.14)));
    sheen.setColorAt(0.42, QColor(255, 255, 255, qRound(255 * 0.05)));
    sheen.setColorAt(0.74, QColor(255, 255, 255, 0));
    sheen.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.fillPath(shape, sheen);

    painter.setClipping(false);
    QPen outline(QColor(255, 255, 255, qRound(255 * 0.18)));
    outline.setWidthF(1.0);
    painter.setPen(outline);
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    painter.restore();
}

} // namespace fenwold
