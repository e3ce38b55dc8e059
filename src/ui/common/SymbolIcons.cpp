#include "SymbolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPixmap>
#include <cmath>
#include <functional>
#include <map>

namespace fenwold {

namespace {

using Draw = std::function<void(QPainter&, double s)>;

void gear(QPainter& p, double s) {
    QPainterPath teeth;
    const QPointF c(s / 2, s / 2);
    const int count = 8;
    for (int i = 0; i < count * 2; ++i) {
        const double angle = M_PI * i / count;
        const double r = (i % 2 == 0) ? s * 0.46 : s * 0.36;
        const QPointF pt(c.x() + r * std::cos(angle), c.y() + r * std::sin(angle));
        if (i == 0)
            teeth.moveTo(pt);
        else
            teeth.lineTo(pt);
    }
    teeth.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(c, s * 0.14, s * 0.14);
    p.drawPath(teeth.subtracted(hole));
}

void keyboard(QPainter& p, double s) {
    QPainterPath body;
    body.addRoundedRect(QRectF(s * 0.05, s * 0.22, s * 0.9, s * 0.56), s * 0.08, s * 0.08);
    QPainterPath keys;
    const double k = s * 0.1;
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 5; ++col)
            keys.addRect(QRectF(s * 0.14 + col * s * 0.15, s * 0.3 + row * s * 0.14, k, k));
    }
    keys.addRect(QRectF(s * 0.26, s * 0.6, s * 0.48, k));
    p.drawPath(body.subtracted(keys));
}

void infoCircle(QPainter& p, double s) {
    QPainterPath circle;
    circle.addEllipse(QRectF(s * 0.06, s * 0.06, s * 0.88, s * 0.88));
    QPainterPath inner;
    inner.addEllipse(QRectF(s * 0.14, s * 0.14, s * 0.72, s * 0.72));
    QPainterPath glyph;
    glyph.addEllipse(QPointF(s / 2, s * 0.3), s * 0.06, s * 0.06);
    glyph.addRect(QRectF(s * 0.45, s * 0.42, s * 0.1, s * 0.32));
    p.drawPath(circle.subtracted(inner).united(glyph));
}

// Stroked glyphs, drawn with the brush colour as a pen.
void stroked(QPainter& p, double s, const QPainterPath& path, double width = 0.12) {
    QPen pen(p.brush().color(), s * width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.save();
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.restore();
}

void xmark(QPainter& p, double s) {
    QPainterPath path;
    path.moveTo(s * 0.25, s * 0.25);
    path.lineTo(s * 0.75, s * 0.75);
    path.moveTo(s * 0.75, s * 0.25);
    path.lineTo(s * 0.25, s * 0.75);
    stroked(p, s, path);
}

void minus(QPainter& p, double s) {
    QPainterPath path;
    path.moveTo(s * 0.22, s * 0.5);
    path.lineTo(s * 0.78, s * 0.5);
    stroked(p, s, path);
}

void expandArrows(QPainter& p, double s) {
    QPainterPath path;
    path.moveTo(s * 0.25, s * 0.5);
    path.lineTo(s * 0.25, s * 0.25);
    path.lineTo(s * 0.5, s * 0.25);
    path.moveTo(s * 0.25, s * 0.25);
    path.lineTo(s * 0.45, s * 0.45);
    path.moveTo(s * 0.75, s * 0.5);
    path.lineTo(s * 0.75, s * 0.75);
    path.lineTo(s * 0.5, s * 0.75);
    path.moveTo(s * 0.75, s * 0.75);
    path.lineTo(s * 0.55, s * 0.55);
    stroked(p, s, path, 0.1);
}

void power(QPainter& p, double s) {
    QPainterPath path;
    path.arcMoveTo(QRectF(s * 0.22, s * 0.24, s * 0.56, s * 0.56), 60);
    path.arcTo(QRectF(s * 0.22, s * 0.24, s * 0.56, s * 0.56), 60, -300);
    path.moveTo(s * 0.5, s * 0.16);
    path.lineTo(s * 0.5, s * 0.48);
    stroked(p, s, path, 0.1);
}

void uturnBackward(QPainter& p, double s) {
    QPainterPath path;
    path.moveTo(s * 0.3, s * 0.4);
    path.lineTo(s * 0.62, s * 0.4);
    path.arcTo(QRectF(s * 0.44, s * 0.4, s * 0.36, s * 0.36), 90, -180);
    path.lineTo(s * 0.4, s * 0.76);
    path.moveTo(s * 0.42, s * 0.26);
    path.lineTo(s * 0.28, s * 0.4);
    path.lineTo(s * 0.42, s * 0.54);
    stroked(p, s, path, 0.1);
}

void moveArrows(QPainter& p, double s) {
    QPainterPath path;
    path.moveTo(s * 0.5, s * 0.12);
    path.lineTo(s * 0.5, s * 0.88);
    path.moveTo(s * 0.12, s * 0.5);
    path.lineTo(s * 0.88, s * 0.5);
    const double h = s * 0.1;
    for (const QPointF& tip : {QPointF(s * 0.5, s * 0.12), QPointF(s * 0.5, s * 0.88),
                               QPointF(s * 0.12, s * 0.5), QPointF(s * 0.88, s * 0.5)}) {
        const QPointF toCentre = QPointF(s * 0.5, s * 0.5) - tip;
        const double len = std::hypot(toCentre.x(), toCentre.y());
        const QPointF d = toCentre / len * h;
        const QPointF n(-d.y(), d.x());
        path.moveTo(tip + d + n);
        path.lineTo(tip);
        path.lineTo(tip + d - n);
    }
    stroked(p, s, path, 0.09);
}

// A filled disc with a glyph cut out of it.
void disc(QPainter& p, double s, const QPainterPath& glyph) {
    QPainterPath circle;
    circle.addEllipse(QRectF(s * 0.06, s * 0.06, s * 0.88, s * 0.88));
    QPainterPathStroker stroker;
    stroker.setWidth(s * 0.12);
    stroker.setCapStyle(Qt::RoundCap);
    p.drawPath(circle.subtracted(stroker.createStroke(glyph)));
}

void minusCircleFill(QPainter& p, double s) {
    QPainterPath glyph;
    glyph.moveTo(s * 0.3, s * 0.5);
    glyph.lineTo(s * 0.7, s * 0.5);
    disc(p, s, glyph);
}

void xmarkCircleFill(QPainter& p, double s) {
    QPainterPath glyph;
    glyph.moveTo(s * 0.34, s * 0.34);
    glyph.lineTo(s * 0.66, s * 0.66);
    glyph.moveTo(s * 0.66, s * 0.34);
    glyph.lineTo(s * 0.34, s * 0.66);
    disc(p, s, glyph);
}

// A window outline with part of it filled.
void framed(QPainter& p, double s, const QRectF& filled) {
    QPainterPath outline;
    outline.addRoundedRect(QRectF(s * 0.08, s * 0.18, s * 0.84, s * 0.64), s * 0.1, s * 0.1);
    QPainterPath inner;
    inner.addRoundedRect(QRectF(s * 0.16, s * 0.26, s * 0.68, s * 0.48), s * 0.05, s * 0.05);
    QPainterPath part;
    part.addRect(filled);
    p.drawPath(outline.subtracted(inner).united(part));
}

void rectInsetFilled(QPainter& p, double s) {
    framed(p, s, QRectF(s * 0.22, s * 0.32, s * 0.56, s * 0.36));
}
void leadingHalfFilled(QPainter& p, double s) {
    framed(p, s, QRectF(s * 0.16, s * 0.26, s * 0.34, s * 0.48));
}
void trailingHalfFilled(QPainter& p, double s) {
    framed(p, s, QRectF(s * 0.5, s * 0.26, s * 0.34, s * 0.48));
}
void leftHalfInsetFilled(QPainter& p, double s) {
    framed(p, s, QRectF(s * 0.22, s * 0.32, s * 0.25, s * 0.36));
}
void rightHalfInsetFilled(QPainter& p, double s) {
    framed(p, s, QRectF(s * 0.53, s * 0.32, s * 0.25, s * 0.36));
}

const std::map<QString, Draw>& drawings() {
    static const std::map<QString, Draw> table = {
        {QStringLiteral("gearshape"), gear},
        {QStringLiteral("keyboard"), keyboard},
        {QStringLiteral("info.circle"), infoCircle},
        {QStringLiteral("xmark"), xmark},
        {QStringLiteral("minus"), minus},
        {QStringLiteral("arrow.up.left.and.arrow.down.right"), expandArrows},
        {QStringLiteral("power"), power},
        {QStringLiteral("arrow.uturn.backward"), uturnBackward},
        {QStringLiteral("arrow.up.and.down.and.arrow.left.and.right"), moveArrows},
        {QStringLiteral("minus.circle.fill"), minusCircleFill},
        {QStringLiteral("xmark.circle.fill"), xmarkCircleFill},
        {QStringLiteral("rectangle.inset.filled"), rectInsetFilled},
        {QStringLiteral("rectangle.leadinghalf.filled"), leadingHalfFilled},
        {QStringLiteral("rectangle.trailinghalf.filled"), trailingHalfFilled},
        {QStringLiteral("rectangle.lefthalf.inset.filled"), leftHalfInsetFilled},
        {QStringLiteral("rectangle.righthalf.inset.filled"), rightHalfInsetFilled},
    };
    return table;
}

} // namespace

void paintSymbol(QPainter& painter, const QString& name, const QRectF& rect, const QColor& color) {
    auto it = drawings().find(name);
    if (it == drawings().end()) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(rect.topLeft());
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    it->second(painter, std::min(rect.width(), rect.height()));
    painter.restore();
}

QIcon symbolIcon(const QString& name, const QColor& color, int size) {
    auto it = drawings().find(name);
    if (it == drawings().end()) return {};
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pixmap(size * scale, size * scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        it->second(painter, size * scale);
        painter.end();
        pixmap.setDevicePixelRatio(scale);
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace fenwold
