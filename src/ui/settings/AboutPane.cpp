#include "AboutPane.h"

#include "core/settings/SettingsContent.h"
#include "core/shell/Welcome.h"

#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

namespace fenwold {

QImage drawnAppIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(size * 0.06, size * 0.06, size * 0.88, size * 0.88);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, QColor(70, 130, 220));
    fill.setColorAt(1, QColor(30, 70, 160));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(r, size * 0.2, size * 0.2);
    // Four panes of a window, the lower-right one lifted: a switcher's tile grid.
    const double g = size * 0.05;
    const double w = (r.width() - 5 * g) / 2;
    p.setBrush(QColor(255, 255, 255, 220));
    for (int i = 0; i < 4; ++i) {
        const double x = r.x() + g * 1.5 + (i % 2) * (w + g * 2);
        const double y = r.y() + g * 1.5 + (i / 2) * (w + g * 2);
        p.setBrush(i == 3 ? QColor(255, 255, 255) : QColor(255, 255, 255, 150));
        p.drawRoundedRect(QRectF(x, y, w, w), g, g);
    }
    return image;
}

QImage largestImage(const QString& iconFile) {
    QImageReader reader(iconFile);
    QImage largest;
    const int count = std::max(reader.imageCount(), 1);
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !reader.jumpToImage(i)) break;
        const QImage image = reader.read();
        if (image.width() > largest.width()) largest = image;
    }
    return largest;
}

AboutPane::AboutPane(const SettingsDeps& deps, QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 28, 20, 28);
    layout->setSpacing(8);
    layout->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setFixedWidth(400);

    auto* icon = new QLabel;
    const QImage image = deps.appIcon.isNull() ? drawnAppIcon(192) : deps.appIcon;
    QPixmap pixmap =
        QPixmap::fromImage(image.scaled(192, 192, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    pixmap.setDevicePixelRatio(2);
    icon->setPixmap(pixmap);
    icon->setFixedSize(96, 96);
    layout->addWidget(icon, 0, Qt::AlignHCenter);

    auto* name = new QLabel(QStringLiteral("Fenwold"));
    QFont title = name->font();
    title.setPointSizeF(title.pointSizeF() * 1.6);
    title.setBold(true);
    name->setFont(title);
    layout->addWidget(name, 0, Qt::AlignHCenter);

    version_ = new QLabel(aboutVersionLine(deps.bundle));
    layout->addWidget(version_, 0, Qt::AlignHCenter);
    auto* tagline = new QLabel(kAboutTagline);
    layout->addWidget(tagline, 0, Qt::AlignHCenter);
    auto* closing = new QLabel(kAboutClosing);
    QFont caption = closing->font();
    caption.setPointSizeF(caption.pointSizeF() * 0.85);
    closing->setFont(caption);
    closing->setForegroundRole(QPalette::PlaceholderText);
    layout->addWidget(closing, 0, Qt::AlignHCenter);

    if (deps.showWelcome) {
        welcome_ = new QPushButton(kAboutShowWelcome);
        welcome_->setAutoDefault(false);
        layout->addSpacing(6);
        layout->addWidget(welcome_, 0, Qt::AlignHCenter);
        connect(welcome_, &QPushButton::clicked, this, [show = deps.showWelcome] { show(); });
    }
}

} // namespace fenwold
