#include "SnapLayoutView.h"

#include "core/windows/SnapGeometry.h"
#include "ui/common/GlassBackground.h"
#include "ui/common/PanelHost.h"
#include "ui/common/QtFloatingPanel.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace fenwold {

namespace {

QColor white(double alpha) {
    return QColor(255, 255, 255, qRound(255 * alpha));
}

// The system's accent blue, as the selected zone.
QColor accent(double alpha) {
    return QColor(10, 132, 255, qRound(255 * alpha));
}

// The digits under the layouts: the panels' heading type, in the secondary label colour unless
// the layout is the selected one.
QFont captionFont() {
    QFont f = QGuiApplication::font();
    f.setPointSizeF(11);
    f.setWeight(QFont::DemiBold);
    return f;
}

QFont zoneDigitFont() {
    QFont f = QGuiApplication::font();
    f.setPointSizeF(13);
    f.setWeight(QFont::DemiBold);
    return f;
}

int columnsOf(const SnapLayoutState& s) {
    return std::max(1, std::min(kSnapLayoutsPerRow, static_cast<int>(s.layouts.size())));
}

} // namespace

SnapLayoutGeometry::SnapLayoutGeometry(const SnapLayoutState& state) : state_(&state) {
    // Very wide or tall displays are drawn no flatter or taller than these.
    thumbHeight_ = std::round(kThumbWidth / std::clamp(state.aspect, 0.75, 2.4));
    const int columns = columnsOf(state);
    const int n = static_cast<int>(state.layouts.size());
    const int rows = std::max(1, (n + columns - 1) / columns);
    size_ = QSizeF(2 * kPadding + columns * kThumbWidth + (columns - 1) * kGap,
                   2 * kPadding + rows * (thumbHeight_ + kCaption) + (rows - 1) * kGap);
}

QRectF SnapLayoutGeometry::thumbRect(int layout) const {
    const int columns = columnsOf(*state_);
    const int row = layout / columns, column = layout % columns;
    return QRectF(kPadding + column * (kThumbWidth + kGap), kPadding + row * (thumbHeight_ + kCaption + kGap),
                  kThumbWidth, thumbHeight_);
}

QRectF SnapLayoutGeometry::captionRect(int layout) const {
    const QRectF thumb = thumbRect(layout);
    return QRectF(thumb.left(), thumb.bottom(), thumb.width(), kCaption);
}

QRectF SnapLayoutGeometry::zoneRect(int layout, int zone) const {
    const QRectF inner = thumbRect(layout).adjusted(kThumbInset, kThumbInset, -kThumbInset, -kThumbInset);
    const WindowSnap snap =
        state_->layouts[static_cast<std::size_t>(layout)].zones[static_cast<std::size_t>(zone)];
    // The zone as the window would fill it, top-down like the view.
    const Rect z = snapgeometry::snapRectAX(snap, Rect{inner.x(), inner.y(), inner.width(), inner.height()});
    const double half = kZoneGap / 2;
    return QRectF(z.x, z.y, z.width, z.height).adjusted(half, half, -half, -half);
}

std::optional<SnapLayoutGeometry::Zone> SnapLayoutGeometry::zoneAt(QPointF point) const {
    for (int l = 0; l < static_cast<int>(state_->layouts.size()); ++l)
        for (int z = 0; z < static_cast<int>(state_->layouts[static_cast<std::size_t>(l)].zones.size()); ++z)
            if (zoneRect(l, z).contains(point)) return Zone{l, z};
    return std::nullopt;
}

SnapLayoutView::SnapLayoutView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_TranslucentBackground);
}

void SnapLayoutView::setState(const SnapLayoutState& state) {
    if (state.layouts != state_.layouts) hovered_.reset();
    state_ = state;
    resize(sizeHint());
    update();
}

QSize SnapLayoutView::sizeHint() const {
    const QSizeF s = SnapLayoutGeometry(state_).size();
    return QSize(static_cast<int>(std::ceil(s.width())), static_cast<int>(std::ceil(s.height())));
}

void SnapLayoutView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintContent(painter);
}

QImage SnapLayoutView::render(double scale) const {
    QImage image((QSizeF(sizeHint()) * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paintContent(painter);
    return image;
}

void SnapLayoutView::paintContent(QPainter& painter) const {
    const SnapLayoutGeometry g(state_);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    GlassBackground{radius_, false}.paint(painter, QRectF(QPointF(0, 0), g.size()));
    for (int l = 0; l < static_cast<int>(state_.layouts.size()); ++l) {
        const bool chosen = l == state_.layout;
        QPainterPath thumb;
        thumb.addRoundedRect(g.thumbRect(l), SnapLayoutGeometry::kThumbRadius,
                             SnapLayoutGeometry::kThumbRadius);
        painter.fillPath(thumb, white(0.08));
        QPen outline(white(chosen ? 0.45 : 0.16));
        outline.setWidthF(1);
        painter.strokePath(thumb, outline);

        const int zones = static_cast<int>(state_.layouts[static_cast<std::size_t>(l)].zones.size());
        for (int z = 0; z < zones; ++z) {
            const SnapLayoutGeometry::Zone here{l, z};
            const bool selected = chosen && z == state_.zone;
            const bool hovered = hovered_ == here;
            const QRectF r = g.zoneRect(l, z);
            QPainterPath zone;
            zone.addRoundedRect(r, SnapLayoutGeometry::kZoneRadius, SnapLayoutGeometry::kZoneRadius);
            painter.fillPath(zone, selected ? accent(0.9) : hovered ? accent(0.55) : white(0.2));
            painter.strokePath(zone, QPen(selected ? accent(1) : white(0.28), 1));
            // After a first digit, the chosen layout's zones show the digits that pick them.
            if (chosen && state_.numberingZones) {
                painter.setFont(zoneDigitFont());
                painter.setPen(white(selected ? 1 : 0.85));
                painter.drawText(r, Qt::AlignCenter, QString::number(z + 1));
            }
        }
        painter.setFont(captionFont());
        painter.setPen(white(chosen ? 1 : 0.55));
        painter.drawText(g.captionRect(l), Qt::AlignCenter, QString::number(l + 1));
    }
}

void SnapLayoutView::mouseMoveEvent(QMouseEvent* event) {
    const auto under = SnapLayoutGeometry(state_).zoneAt(event->position());
    if (under != hovered_) {
        hovered_ = under;
        update();
    }
}

void SnapLayoutView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const auto under = SnapLayoutGeometry(state_).zoneAt(event->position());
    if (under && onPick) onPick(under->layout, under->zone);
}

void SnapLayoutView::leaveEvent(QEvent*) {
    if (!hovered_) return;
    hovered_.reset();
    update();
}

SnapLayoutPanelWidget::SnapLayoutPanelWidget(const PanelHost& host, const PanelStyle& style)
    : view_(std::make_unique<SnapLayoutView>()) {
    view_->setCornerRadius(style.cornerRadius);
    panel_ = host.makePanel(*view_, style);
    view_->onPick = [this](int layout, int zone) {
        if (onPick) onPick(layout, zone);
    };
}

SnapLayoutPanelWidget::~SnapLayoutPanelWidget() {
    clicks_.reset();
    panel_.reset();
}

Size SnapLayoutPanelWidget::measure(const SnapLayoutState& state) const {
    const QSizeF s = SnapLayoutGeometry(state).size();
    return {std::ceil(s.width()), std::ceil(s.height())};
}

void SnapLayoutPanelWidget::show(const SnapLayoutState& state, const Rect& frame) {
    view_->setState(state);
    panel_->setFrame(frame);
    panel_->setAlpha(1);
    if (!panel_->isVisible()) {
        panel_->orderFront();
        clicks_ = monitorPanelClicks(*panel_, *view_, [this](bool inPanel) {
            if (!inPanel && onClickOutside) onClickOutside();
        });
    }
    view_->update();
}

void SnapLayoutPanelWidget::orderOut() {
    clicks_.reset();
    panel_->orderOut();
}

bool SnapLayoutPanelWidget::isVisible() const {
    return panel_->isVisible();
}

} // namespace fenwold
