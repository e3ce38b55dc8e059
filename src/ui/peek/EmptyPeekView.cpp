#include "EmptyPeekView.h"

#include "ui/common/GlassBackground.h"
#include "ui/common/PanelHost.h"

#include <QFontMetrics>
#include <QPainter>

namespace fenwold {

EmptyPeekView::EmptyPeekView(QWidget* parent) : QWidget(parent) {}

QFont EmptyPeekView::labelFont() {
    QFont font;
    font.setPixelSize(kFontSize);
    font.setWeight(QFont::Medium);
    return font;
}

void EmptyPeekView::setText(const QString& text) {
    text_ = text;
    resize(sizeFor(text));
    update();
}

QSize EmptyPeekView::sizeFor(const QString& text) {
    const QFontMetrics metrics(labelFont());
    return {metrics.horizontalAdvance(text) + 2 * kPadX, metrics.height() + 2 * kPadY};
}

void EmptyPeekView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    GlassBackground{kRadius}.paint(painter, QRectF(rect()));
    painter.setFont(labelFont());
    // The secondary label colour on a dark glass.
    painter.setPen(QColor(235, 235, 245, qRound(255 * 0.6)));
    painter.drawText(rect().adjusted(kPadX, kPadY, -kPadX, -kPadY), Qt::AlignCenter, text_);
}

EmptyPeekPanelWidget::EmptyPeekPanelWidget(const PanelHost& host, const PanelStyle& style)
    : view_(std::make_unique<EmptyPeekView>()), panel_(host.makePanel(*view_, style)) {}

EmptyPeekPanelWidget::~EmptyPeekPanelWidget() {
    panel_.reset();
}

Size EmptyPeekPanelWidget::measure(const QString& text) const {
    const QSize size = EmptyPeekView::sizeFor(text);
    return {static_cast<double>(size.width()), static_cast<double>(size.height())};
}

void EmptyPeekPanelWidget::show(const QString& text, const Rect& frame) {
    view_->setText(text);
    panel_->setFrame(frame);
    panel_->setAlpha(1);
    panel_->orderFront();
}

void EmptyPeekPanelWidget::orderOut() {
    panel_->orderOut();
}

bool EmptyPeekPanelWidget::isVisible() const {
    return panel_->isVisible();
}

} // namespace fenwold
