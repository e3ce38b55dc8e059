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

EmptyPeekPanelWidget::EmptyPeekPanelWidget(const PanelHost& host)
    : host_(host), view_(std::make_unique<EmptyPeekView>()) {
    host_.adopt(*view_, false);
    view_->hide(); // ordered out until the peek has something to say
}

EmptyPeekPanelWidget::~EmptyPeekPanelWidget() = default;

Size EmptyPeekPanelWidget::measure(const QString& text) const {
    const QSize size = EmptyPeekView::sizeFor(text);
    return {static_cast<double>(size.width()), static_cast<double>(size.height())};
}

void EmptyPeekPanelWidget::show(const QString& text, const Rect& frame) {
    view_->setText(text);
    view_->setGeometry(host_.toWidget(frame));
    view_->show();
    view_->raise();
}

void EmptyPeekPanelWidget::orderOut() {
    view_->hide();
}

bool EmptyPeekPanelWidget::isVisible() const {
    return view_->isVisible();
}

} // namespace fenwold
