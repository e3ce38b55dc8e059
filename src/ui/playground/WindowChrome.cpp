#include "WindowChrome.h"

#include <QPainter>
#include <QPainterPath>

namespace fenwold {

QRect titleBarButton(const QRect& frame, int index) {
    return QRect(frame.x() + 12 + index * 20, frame.y() + 8, 12, 12);
}

void paintWindowChrome(QPainter& p, const QRect& frame, const QString& title, bool active) {
    QPainterPath shape;
    shape.addRoundedRect(frame, 10, 10);
    p.fillPath(shape, QColor(252, 252, 252));
    p.save();
    p.setClipPath(shape);
    p.fillRect(QRect(frame.topLeft(), QSize(frame.width(), kTitleBarHeight)),
               active ? QColor(232, 232, 236) : QColor(246, 246, 246));
    p.restore();
    const QColor lights[3] = {QColor(255, 95, 87), QColor(254, 188, 46), QColor(40, 200, 64)};
    for (int i = 0; i < 3; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(active ? lights[i] : QColor(205, 205, 205));
        p.drawEllipse(titleBarButton(frame, i));
    }
    QFont font = p.font();
    font.setPixelSize(13);
    font.setBold(true);
    p.setFont(font);
    p.setPen(active ? QColor(40, 40, 40) : QColor(150, 150, 150));
    p.drawText(QRect(frame.x() + 70, frame.y(), frame.width() - 140, kTitleBarHeight), Qt::AlignCenter,
               p.fontMetrics().elidedText(title, Qt::ElideRight, frame.width() - 140));
}

} // namespace fenwold
