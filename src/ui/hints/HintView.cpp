#include "HintView.h"

#include "ui/common/GlassBackground.h"
#include "ui/common/PanelHost.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

namespace fenwold {

namespace {

QColor primaryColour() {
    return QColor(255, 255, 255);
}

QColor withAlpha(QColor c, double alpha) {
    c.setAlphaF(static_cast<float>(alpha));
    return c;
}

} // namespace

QFont HintLayout::headingFont() {
    QFont f = QGuiApplication::font();
    f.setPointSizeF(11);
    f.setWeight(QFont::DemiBold);
    return f;
}

QFont HintLayout::wordsFont() {
    QFont f = QGuiApplication::font();
    f.setPointSizeF(13);
    return f;
}

QFont HintLayout::keycapFont() {
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setPointSizeF(12);
    f.setWeight(QFont::Medium);
    return f;
}

HintLayout HintLayout::of(const Hint& hint) {
    HintLayout l;
    l.heading = hint.heading();
    const QFontMetricsF headingMetrics(headingFont()), wordsMetrics(wordsFont()), capMetrics(keycapFont());

    const QSizeF headingSize(headingMetrics.horizontalAdvance(l.heading), headingMetrics.height());
    l.headingRect = QRectF(QPointF(kPadX, kPadY), headingSize);

    // Measure the row, then centre every item vertically in it.
    double x = kPadX, rowHeight = 0;
    for (const auto& segment : Hint::segments(hint.mac)) {
        QSizeF size;
        if (segment.kind == Hint::Segment::Kind::key) {
            const double label = std::max(kCapMinLabel, capMetrics.horizontalAdvance(segment.text));
            size = QSizeF(label + 2 * kCapPadX, capMetrics.height() + 2 * kCapPadY);
        } else {
            size = QSizeF(wordsMetrics.horizontalAdvance(segment.text), wordsMetrics.height());
        }
        if (!l.items.empty()) x += kRowSpacing;
        l.items.push_back({segment, QRectF(QPointF(x, 0), size)});
        x += size.width();
        rowHeight = std::max(rowHeight, size.height());
    }
    const double rowWidth = l.items.empty() ? 0 : x - kPadX;
    const double rowTop = kPadY + headingSize.height() + (l.items.empty() ? 0 : kStackSpacing);
    for (auto& item : l.items)
        item.rect.moveTop(rowTop + (rowHeight - item.rect.height()) / 2);

    l.size = QSizeF(2 * kPadX + std::max(headingSize.width(), rowWidth), rowTop + rowHeight + kPadY);
    return l;
}

void Keycap::paint(QPainter& painter, const QRectF& rect, const QString& label, const QColor& primary) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath key;
    key.addRoundedRect(rect, HintLayout::kCapRadius, HintLayout::kCapRadius);
    painter.fillPath(key, withAlpha(primary, 0.09));
    QPen outline(withAlpha(primary, 0.22));
    outline.setWidthF(1);
    painter.strokePath(key, outline);
    painter.setFont(HintLayout::keycapFont());
    painter.setPen(primary);
    painter.drawText(rect, Qt::AlignCenter, label);
    painter.restore();
}

HintView::HintView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void HintView::setHint(const Hint& hint) {
    layout_ = HintLayout::of(hint);
    resize(sizeHint());
    update();
}

QSize HintView::sizeHint() const {
    return layout_.size.toSize();
}

void HintView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintContent(painter);
}

QImage HintView::render(double scale) const {
    QImage image((layout_.size * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paintContent(painter);
    return image;
}

void HintView::paintContent(QPainter& painter) const {
    painter.setRenderHint(QPainter::TextAntialiasing);
    GlassBackground{HintLayout::kPanelRadius, false}.paint(painter, QRectF(QPointF(0, 0), layout_.size));
    const QColor primary = primaryColour();
    painter.setFont(HintLayout::headingFont());
    painter.setPen(withAlpha(primary, 0.55)); // the secondary label colour
    painter.drawText(layout_.headingRect, Qt::AlignLeft | Qt::AlignVCenter, layout_.heading);
    painter.setFont(HintLayout::wordsFont());
    for (const auto& item : layout_.items) {
        if (item.segment.kind == Hint::Segment::Kind::key) {
            Keycap::paint(painter, item.rect, item.segment.text, primary);
        } else {
            painter.setPen(primary);
            painter.drawText(item.rect, Qt::AlignLeft | Qt::AlignVCenter, item.segment.text);
        }
    }
}

HintPanelWidget::HintPanelWidget(const PanelHost& host, const PanelStyle& style)
    : host_(host), view_(std::make_unique<HintView>()), panel_(host.makePanel(*view_, style)) {}

std::vector<Rect> HintPanelWidget::otherOverlays() const {
    return host_.shownFrames(panel_.get());
}

HintPanelWidget::~HintPanelWidget() {
    panel_.reset();
}

Size HintPanelWidget::setContent(const Hint& hint) {
    view_->setHint(hint);
    const QSize s = view_->sizeHint();
    return {static_cast<double>(s.width()), static_cast<double>(s.height())};
}

void HintPanelWidget::setFrame(const Rect& frame) {
    panel_->setFrame(frame);
}

double HintPanelWidget::alpha() const {
    return panel_->alpha();
}

bool HintPanelWidget::isVisible() const {
    return panel_->isVisible();
}

void HintPanelWidget::setAlpha(double alpha) {
    panel_->setAlpha(alpha);
}

void HintPanelWidget::orderFront() {
    panel_->orderFront();
}

void HintPanelWidget::animateAlpha(double alpha, double seconds) {
    // A new presentation during a fade takes over from where the fade has got to.
    panel_->animate(panel_->frame(), alpha, seconds, true, {});
}

void HintPanelWidget::orderOut() {
    panel_->orderOut();
}

} // namespace fenwold
