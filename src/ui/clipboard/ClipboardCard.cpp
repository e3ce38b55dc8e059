#include "ClipboardCard.h"

#include "core/clipboard/ClipboardCode.h"

#include <QApplication>
#include <QBuffer>
#include <QContextMenuEvent>
#include <QDrag>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTextDocument>
#include <QTextOption>
#include <QToolButton>

namespace fenwold {

namespace {

constexpr double kPadding = 12;

// The MIME names Qt hands to the platform for the clip's types; unknown types travel as is.
QString mimeFor(const QString& type) {
    if (type == ClipTypes::string) return QStringLiteral("text/plain");
    if (type == ClipTypes::html) return QStringLiteral("text/html");
    if (type == ClipTypes::png) return QStringLiteral("image/png");
    if (type == ClipTypes::tiff) return QStringLiteral("image/tiff");
    if (type == ClipTypes::rtf) return QStringLiteral("text/rtf");
    if (type == ClipTypes::url) return QStringLiteral("text/uri-list");
    return type;
}

} // namespace

ClipboardCard::ClipboardCard(ClipboardEntry entry, std::size_t index, bool selected, double now,
                             ShelfStyle style, ThumbnailPixels& thumbnailPixels, QWidget* parent)
    : QWidget(parent), entry_(std::move(entry)), index_(index), selected_(selected), now_(now), style_(style),
      thumbnailPixels_(thumbnailPixels) {
    setFixedSize(width, height);
    setAttribute(Qt::WA_Hover);
    setAccessibleName(ShelfTexts::accessibilityLabel(entry_));
    pinButton_ = new QToolButton(this);
    pinButton_->setAutoRaise(true);
    pinButton_->setText(
        ShelfStyle::symbol(entry_.pinned ? QStringLiteral("pin.fill") : QStringLiteral("pin")));
    pinButton_->setToolTip(ShelfTexts::pinHelp(entry_.pinned));
    pinButton_->setAccessibleName(ShelfTexts::pinHelp(entry_.pinned));
    // Styled by the shelf's style sheet: a sheet of its own per card makes every card expensive
    // to polish, which a person would wait for the first time the shelf opens.
    pinButton_->setObjectName(QStringLiteral("pin"));
    pinButton_->setProperty("pinned", entry_.pinned);
    pinButton_->setGeometry(width - 32, 6, 26, 22);
    connect(pinButton_, &QToolButton::clicked, this, [this] {
        if (pin) pin();
    });
}

std::vector<std::function<void()>> ClipboardCard::warmUpSteps(const ShelfStyle& style,
                                                              double devicePixelRatio) {
    // Every printable ASCII character in each of the card's fonts, which covers most of what a
    // clip shows.
    QString ascii;
    for (char c = ' '; c <= '~'; ++c)
        ascii += QLatin1Char(c);
    std::vector<PasteboardItem> samples(4);
    samples[0].types.emplace_back(ClipTypes::string, ascii.toUtf8());
    samples[1].types.emplace_back(ClipTypes::string, "const value = compute();\n" + ascii.toUtf8());
    samples[2].types.emplace_back(
        ClipTypes::string, "https://example.com/the-quick-brown-fox-jumps-over-the-lazy-dog-0123456789");
    QByteArray png;
    {
        QImage pixel(1, 1, QImage::Format_RGB32);
        pixel.fill(Qt::gray);
        QBuffer buffer(&png);
        pixel.save(&buffer, "PNG");
    }
    samples[3].types.emplace_back(ClipTypes::png, png);
    std::vector<std::function<void()>> steps;
    for (std::size_t n = 0; n < samples.size(); ++n) {
        steps.push_back([=, item = samples[n]] {
            QImage scratch(QSize(width, height) * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
            scratch.setDevicePixelRatio(devicePixelRatio);
            ThumbnailPixels thumbnailPixels;
            ClipboardCard card(
                ClipboardEntry(SavedClip{QUuid(), ClipPayload{{item}}, ascii, std::nullopt, 0}, false), 0,
                false, 0, style, thumbnailPixels);
            // Qt keeps a glyph's image for each quarter-pixel it may start at: the card is drawn
            // at each.
            for (int quarter = 0; quarter < 4; ++quarter) {
                card.place((n * 4 + quarter) % 9, 0); // the shortcut badges' digits
                scratch.fill(Qt::transparent);
                QPainter painter(&scratch);
                painter.translate(quarter / (4 * devicePixelRatio), 0);
                card.render(&painter);
            }
        });
    }
    return steps;
}

void ClipboardCard::place(std::size_t index, double now) {
    if (index == index_ && now == now_) return;
    index_ = index;
    now_ = now;
    update();
}

void ClipboardCard::setSelected(bool selected) {
    if (selected == selected_) return;
    selected_ = selected;
    update();
}

void ClipboardCard::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = QRectF(rect()).adjusted(1, 1, -1, -1);
    QPainterPath shape;
    shape.addRoundedRect(bounds, radius, radius);
    painter.fillPath(shape, hover_ ? style_.cardHover() : style_.card());
    painter.setPen(QPen(selected_ ? style_.accent() : style_.separator(), selected_ ? 2.0 : 1.0));
    painter.drawPath(shape);

    // Kind line.
    painter.setPen(style_.secondaryLabel());
    painter.setFont(ShelfStyle::systemFont(11, QFont::DemiBold));
    painter.drawText(QRectF(kPadding, 8, width - 2 * kPadding - 30, 18), Qt::AlignLeft | Qt::AlignVCenter,
                     ShelfStyle::symbol(ShelfTexts::kindSymbol(entry_.kind())) + QStringLiteral("  ") +
                         displayName(entry_.kind()));

    paintPreview(painter, QRectF(kPadding, 32, width - 2 * kPadding, height - 32 - 34));

    // Source and age, and the shortcut badge.
    painter.setPen(style_.secondaryLabel());
    painter.setFont(ShelfStyle::systemFont(10));
    const QRectF bottom(kPadding, height - 28, width - 2 * kPadding, 18);
    const auto badge = ShelfTexts::shortcutBadge(index_);
    const QString footer =
        entry_.saved.source + QStringLiteral(" · ") + ShelfTexts::age(entry_.saved.copiedAt, now_);
    painter.drawText(
        bottom.adjusted(0, 0, badge ? -30 : 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
        painter.fontMetrics().elidedText(footer, Qt::ElideRight, int(bottom.width()) - (badge ? 30 : 0)));
    if (badge) {
        painter.setFont(ShelfStyle::systemFont(9, QFont::DemiBold));
        const QRectF pill(bottom.right() - 26, bottom.top() + 1, 26, 16);
        painter.setBrush(style_.separator());
        painter.setPen(Qt::NoPen);
        painter.drawRoundedRect(pill, 5, 5);
        painter.setPen(style_.secondaryLabel());
        painter.drawText(pill, Qt::AlignCenter, *badge);
    }
}

void ClipboardCard::paintPreview(QPainter& painter, const QRectF& area) const {
    painter.save();
    painter.setClipRect(area);
    switch (entry_.kind()) {
    case ClipKind::text: {
        painter.setPen(style_.label());
        painter.setFont(ShelfStyle::systemFont(14));
        QTextOption option(Qt::AlignLeft | Qt::AlignTop);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        painter.drawText(area, entry_.textPrefix(650), option);
        break;
    }
    case ClipKind::image:
        if (entry_.thumbnail()) {
            const QImage image = thumbnailPixels_.forDrawing(*entry_.thumbnail());
            QSizeF size = image.size();
            size.scale(area.size(), Qt::KeepAspectRatio);
            const QRectF target(area.center().x() - size.width() / 2, area.center().y() - size.height() / 2,
                                size.width(), size.height());
            painter.drawImage(target, image);
        } else {
            painter.setPen(style_.secondaryLabel());
            painter.setFont(ShelfStyle::systemFont(12));
            painter.drawText(area, Qt::AlignCenter, QStringLiteral("Image preview unavailable"));
        }
        break;
    case ClipKind::link: {
        painter.setPen(style_.accent());
        painter.setFont(ShelfStyle::systemFont(24, QFont::Light));
        painter.drawText(QRectF(area.left(), area.top(), area.width(), 34), Qt::AlignLeft | Qt::AlignVCenter,
                         ShelfStyle::symbol(QStringLiteral("arrow.up.right.square")));
        painter.setPen(style_.label());
        painter.setFont(ShelfStyle::systemFont(16, QFont::DemiBold));
        painter.drawText(QRectF(area.left(), area.top() + 40, area.width(), 24),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         painter.fontMetrics().elidedText(entry_.title(), Qt::ElideRight, int(area.width())));
        painter.setPen(style_.secondaryLabel());
        painter.setFont(ShelfStyle::systemFont(10));
        QTextOption option(Qt::AlignLeft | Qt::AlignTop);
        option.setWrapMode(QTextOption::WrapAnywhere);
        painter.drawText(QRectF(area.left(), area.top() + 68, area.width(), area.height() - 68),
                         entry_.textPrefix(300), option);
        break;
    }
    case ClipKind::code: {
        QTextDocument* document = style_.codeDocument(ClipboardCode::highlight(entry_.textPrefix(600)),
                                                      ShelfStyle::monospaceFont(10), nullptr, 3);
        document->setTextWidth(area.width());
        painter.translate(area.topLeft());
        // Seven lines of 10-point text with 3 points between them.
        const double lines = 7 * (QFontMetricsF(ShelfStyle::monospaceFont(10)).height() + 3);
        document->drawContents(&painter, QRectF(0, 0, area.width(), std::min(lines, area.height())));
        delete document;
        break;
    }
    }
    painter.restore();
}

void ClipboardCard::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressPosition_ = event->position().toPoint();
        if (select) select();
    }
    QWidget::mousePressEvent(event);
}

void ClipboardCard::mouseMoveEvent(QMouseEvent* event) {
    if ((event->buttons() & Qt::LeftButton) &&
        (event->position().toPoint() - pressPosition_).manhattanLength() >= QApplication::startDragDistance())
        startDrag();
}

void ClipboardCard::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && paste) paste();
}

void ClipboardCard::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    for (const auto& item : ShelfTexts::contextMenu(entry_)) {
        const auto action = item.action;
        menu.addAction(item.title, this, [this, action] {
            if (menuAction) menuAction(action);
        });
    }
    menu.exec(event->globalPos());
}

void ClipboardCard::enterEvent(QEnterEvent*) {
    hover_ = true;
    update();
}

void ClipboardCard::leaveEvent(QEvent*) {
    hover_ = false;
    update();
}

void ClipboardCard::startDrag() {
    if (entry_.saved.payload.items.empty()) return;
    auto* data = new QMimeData;
    for (const auto& [type, bytes] : entry_.saved.payload.items.front().types)
        data->setData(mimeFor(type), bytes);
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction);
}

} // namespace fenwold
