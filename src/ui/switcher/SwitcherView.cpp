#include "SwitcherView.h"

#include "ui/common/GlassBackground.h"
#include "ui/common/SymbolIcons.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

namespace fenwold {

namespace {

constexpr double kHeaderFontSize = 13;
constexpr double kHeaderGap = 10;
constexpr double kLabelFontSize = 12;
constexpr double kButton = 22;
constexpr double kButtonGap = 6;

struct ButtonStyle {
    TileAction action;
    QColor color;
    const char* symbol;
};

const std::vector<ButtonStyle>& buttonStyles() {
    static const std::vector<ButtonStyle> styles = {
        {TileAction::close, QColor::fromRgbF(1.0f, 0.37f, 0.34f), "xmark"},
        {TileAction::minimize, QColor::fromRgbF(1.0f, 0.74f, 0.18f), "minus"},
        {TileAction::zoom, QColor::fromRgbF(0.16f, 0.78f, 0.25f), "arrow.up.left.and.arrow.down.right"},
        {TileAction::quit, QColor(175, 82, 222), "power"}, // the system purple
    };
    return styles;
}

QString labelFor(const WindowInfo& w) {
    if (w.isMinimized) return w.title + QStringLiteral(" (minimized)");
    if (w.isHidden) return w.title + QStringLiteral(" (hidden)");
    return w.title;
}

} // namespace

SwitcherView::SwitcherView(SwitcherModel& model, const Metrics& metrics, QWidget* parent)
    : QWidget(parent), model_(model), metrics_(metrics) {
    setMouseTracking(true);
    setAttribute(Qt::WA_TranslucentBackground);
    // A new thumbnail redraws without relayout.
    observer_ = model_.observe([this] { update(); });
}

SwitcherView::~SwitcherView() {
    model_.unobserve(observer_);
}

const std::vector<TileAction>& SwitcherView::buttonActions() {
    static const std::vector<TileAction> actions = {TileAction::close, TileAction::minimize, TileAction::zoom,
                                                    TileAction::quit};
    return actions;
}

void SwitcherView::setRows(std::vector<std::vector<int>> rows) {
    rows_ = std::move(rows);
    hovered_ = -1;
    update();
}

void SwitcherView::setHeader(std::optional<QString> header) {
    header_ = std::move(header);
    update();
}

double SwitcherView::headerHeight(bool hasHeader) {
    return hasHeader ? kHeaderFontSize + 4 + kHeaderGap : 0;
}

QSize SwitcherView::preferredSize() const {
    return sizeFor(model_, metrics_, rows_, header_.has_value());
}

QSize SwitcherView::sizeFor(const SwitcherModel& model, const Metrics& metrics,
                            const std::vector<std::vector<int>>& rows, bool hasHeader) {
    const auto& windows = model.windows();
    double width = 0;
    for (const auto& row : rows) {
        double x = 0;
        bool first = true;
        for (int i : row) {
            if (i < 0 || i >= static_cast<int>(windows.size())) continue;
            x +=
                (first ? 0 : Metrics::kTileSpacing) + metrics.tileWidth(windows[static_cast<std::size_t>(i)]);
            first = false;
        }
        width = std::max(width, x);
    }
    const auto count = static_cast<double>(std::max<std::size_t>(1, rows.size()));
    const double height = metrics.tileHeight() * count + Metrics::kTileSpacing * (count - 1);
    return QSize(static_cast<int>(std::ceil(width + 2 * Metrics::kPadding)),
                 static_cast<int>(std::ceil(height + 2 * Metrics::kPadding + headerHeight(hasHeader))));
}

QRectF SwitcherView::tileRect(int index) const {
    const auto& windows = model_.windows();
    double y = Metrics::kPadding + headerHeight(header_.has_value());
    for (const auto& row : rows_) {
        double x = Metrics::kPadding;
        for (int i : row) {
            if (i < 0 || i >= static_cast<int>(windows.size())) continue;
            const double w = metrics_.tileWidth(windows[static_cast<std::size_t>(i)]);
            if (i == index) return {x, y, w, metrics_.tileHeight()};
            x += w + Metrics::kTileSpacing;
        }
        y += metrics_.tileHeight() + Metrics::kTileSpacing;
    }
    return {};
}

QRectF SwitcherView::previewRect(int index) const {
    const QRectF tile = tileRect(index);
    if (tile.isEmpty()) return {};
    return {tile.x() + 10, tile.y() + 10, tile.width() - 20, metrics_.thumbH};
}

QRectF SwitcherView::buttonRect(int index, TileAction action) const {
    const QRectF preview = previewRect(index);
    const auto& actions = buttonActions();
    const auto it = std::find(actions.begin(), actions.end(), action);
    if (preview.isEmpty() || it == actions.end()) return {};
    const double total = 4 * kButton + 3 * kButtonGap;
    const double x0 = preview.center().x() - total / 2;
    const double y = preview.top() + 8 + 4;
    return {x0 + static_cast<double>(it - actions.begin()) * (kButton + kButtonGap), y, kButton, kButton};
}

QString SwitcherView::tooltip(int index, TileAction action) const {
    switch (action) {
    case TileAction::close:
        return QStringLiteral("Close window");
    case TileAction::minimize:
        return QStringLiteral("Minimize window");
    case TileAction::zoom:
        return QStringLiteral("Full screen");
    case TileAction::quit:
        if (index >= 0 && index < static_cast<int>(model_.windows().size()))
            return QStringLiteral("Quit ") + model_.windows()[static_cast<std::size_t>(index)].appName;
        return QStringLiteral("Quit ");
    case TileAction::pick:
        break;
    }
    return {};
}

SwitcherView::Hit SwitcherView::hitTest(QPointF point) const {
    const int count = static_cast<int>(model_.windows().size());
    for (int i = 0; i < count; ++i) {
        if (!tileRect(i).contains(point)) continue;
        Hit hit{i, std::nullopt};
        if (i == hovered_) {
            for (TileAction a : buttonActions()) {
                if (buttonRect(i, a).contains(point)) hit.button = a;
            }
        }
        return hit;
    }
    return {};
}

void SwitcherView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    GlassBackground{radius_}.paint(painter, QRectF(rect()));
    if (header_) {
        QFont font = painter.font();
        font.setPixelSize(static_cast<int>(kHeaderFontSize));
        font.setWeight(QFont::DemiBold);
        painter.setFont(font);
        painter.setPen(QColor(255, 255, 255, 170));
        painter.drawText(QRectF(Metrics::kPadding, Metrics::kPadding, width() - 2 * Metrics::kPadding,
                                kHeaderFontSize + 4),
                         Qt::AlignLeft | Qt::AlignVCenter, *header_);
    }
    const int count = static_cast<int>(model_.windows().size());
    for (const auto& row : rows_) {
        for (int i : row) {
            if (i >= 0 && i < count) paintTile(painter, i); // indices outside the list are skipped
        }
    }
    previews_.endFrame();
}

void SwitcherView::paintTile(QPainter& painter, int index) {
    const WindowInfo& w = model_.windows()[static_cast<std::size_t>(index)];
    const QRectF tile = tileRect(index);
    const QRectF preview = previewRect(index);
    painter.save();
    if (index == model_.selected()) {
        QPainterPath highlight;
        highlight.addRoundedRect(tile, 12, 12);
        painter.fillPath(highlight, QColor(255, 255, 255, 46));
        painter.setPen(QPen(QColor(255, 255, 255, 110), 1.5));
        painter.drawPath(highlight);
    }
    if (!w.thumb.isNull()) {
        previews_.draw(painter, w.id, w.thumb, preview, 6);
    } else if (!w.icon.isNull()) {
        const double side = std::min(preview.height(), preview.width()) * 0.6;
        const QRectF square(preview.center().x() - side / 2, preview.center().y() - side / 2, side, side);
        painter.setOpacity(w.isMinimized || w.isHidden ? 0.55 : 1.0);
        painter.drawImage(square, w.icon);
        painter.setOpacity(1.0);
    }
    QFont font = painter.font();
    font.setPixelSize(static_cast<int>(kLabelFontSize));
    font.setWeight(QFont::Normal);
    painter.setFont(font);
    painter.setPen(Qt::white);
    const QRectF label(tile.x() + 10, preview.bottom() + 10, tile.width() - 20, 20);
    painter.drawText(
        label, Qt::AlignHCenter | Qt::AlignVCenter,
        painter.fontMetrics().elidedText(labelFor(w), Qt::ElideRight, static_cast<int>(label.width())));
    if (index == hovered_) {
        const QRectF first = buttonRect(index, TileAction::close);
        const QRectF last = buttonRect(index, TileAction::quit);
        QPainterPath capsule;
        const QRectF bar = QRectF(first.topLeft(), last.bottomRight()).adjusted(-5, -4, 5, 4);
        capsule.addRoundedRect(bar, bar.height() / 2, bar.height() / 2);
        painter.fillPath(capsule, QColor(0, 0, 0, 102));
        for (const ButtonStyle& style : buttonStyles()) {
            const QRectF circle = buttonRect(index, style.action);
            painter.setPen(Qt::NoPen);
            painter.setBrush(style.color);
            painter.drawEllipse(circle);
            paintSymbol(painter, QString::fromLatin1(style.symbol), circle.adjusted(4, 4, -4, -4),
                        QColor(0, 0, 0, 190));
        }
    }
    painter.restore();
}

void SwitcherView::mouseMoveEvent(QMouseEvent* event) {
    const int hovered = hitTest(event->position()).index;
    if (hovered != hovered_) {
        hovered_ = hovered;
        update();
    }
}

void SwitcherView::leaveEvent(QEvent*) {
    if (hovered_ != -1) {
        hovered_ = -1;
        update();
    }
}

void SwitcherView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    // A click counts as hovering first, so a button is found even without a prior move.
    const int under = hitTest(event->position()).index;
    if (under >= 0) hovered_ = under;
    const Hit hit = hitTest(event->position());
    if (hit.index < 0 || !onAction) return;
    onAction(hit.index, hit.button.value_or(TileAction::pick));
}

bool SwitcherView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const Hit hit = hitTest(help->pos());
        if (hit.button)
            QToolTip::showText(help->globalPos(), tooltip(hit.index, *hit.button), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

} // namespace fenwold
