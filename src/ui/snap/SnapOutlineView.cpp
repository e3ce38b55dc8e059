#include "SnapOutlineView.h"

#include "ui/common/PanelHost.h"

#include <QPainter>
#include <QPainterPath>

namespace fenwold {

SnapOutlineView::SnapOutlineView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void SnapOutlineView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(kInset, kInset, -kInset, -kInset);
    QPainterPath shape;
    shape.addRoundedRect(r, kRadius, kRadius);
    painter.fillPath(shape, QColor(255, 255, 255, 64));
    painter.setPen(QPen(QColor(255, 255, 255, 200), 2));
    painter.drawPath(shape);
    // A darker line inside the light one keeps the outline visible over light windows.
    QPainterPath inner;
    inner.addRoundedRect(r.adjusted(2, 2, -2, -2), kRadius - 2, kRadius - 2);
    painter.setPen(QPen(QColor(0, 0, 0, 70), 1));
    painter.drawPath(inner);
}

SnapOutlinePanelWidget::SnapOutlinePanelWidget(const PanelHost& host, const PanelStyle& style)
    : view_(std::make_unique<SnapOutlineView>()), panel_(host.makePanel(*view_, style)) {}

SnapOutlinePanelWidget::~SnapOutlinePanelWidget() {
    panel_.reset();
}

void SnapOutlinePanelWidget::show(const Rect& frame) {
    panel_->setFrame(frame);
    panel_->setAlpha(1);
    panel_->orderFront();
}

void SnapOutlinePanelWidget::orderOut() {
    panel_->orderOut();
}

bool SnapOutlinePanelWidget::isVisible() const {
    return panel_->isVisible();
}

Rect SnapOutlinePanelWidget::frame() const {
    return panel_->frame();
}

} // namespace fenwold
