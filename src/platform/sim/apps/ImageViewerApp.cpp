#include "ImageViewerApp.h"

#include "ports/KeyCodes.h"

#include <QBuffer>
#include <QLinearGradient>
#include <QPainter>

namespace fenwold {

ImageViewerApp::ImageViewerApp(SimSession& session)
    : SimApplication(session, "com.apple.Preview", "Preview") {}

uint32_t ImageViewerApp::openImage(const QString& title, const QImage& image, Rect frame) {
    const uint32_t number = openWindow(title, frame);
    images_[number] = image;
    return number;
}

QStringList ImageViewerApp::content(uint32_t window) const {
    auto it = images_.find(window);
    if (it == images_.end()) return {};
    return {QStringLiteral("%1 \u00D7 %2 pixels").arg(it->second.width()).arg(it->second.height())};
}

QImage ImageViewerApp::picture(uint32_t window) const {
    auto it = images_.find(window);
    return it == images_.end() ? QImage() : it->second;
}

QImage ImageViewerApp::sampleImage() {
    QImage image(320, 200, QImage::Format_ARGB32);
    QPainter p(&image);
    QLinearGradient sky(0, 0, 0, 200);
    sky.setColorAt(0, QColor(255, 140, 60));
    sky.setColorAt(1, QColor(120, 40, 120));
    p.fillRect(image.rect(), sky);
    p.setBrush(QColor(255, 220, 120));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(160, 130), 40, 40);
    p.setBrush(QColor(40, 30, 60));
    p.drawPolygon(QPolygonF({QPointF(0, 200), QPointF(90, 120), QPointF(170, 170), QPointF(250, 110),
                             QPointF(320, 160), QPointF(320, 200)}));
    return image;
}

bool ImageViewerApp::handleKey(std::optional<uint32_t> window, const AppKey& key) {
    if (!window || !key.command() || key.control() || letter(key) != u'c') return false;
    auto it = images_.find(*window);
    if (it == images_.end()) return false;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    it->second.save(&buffer, "PNG");
    session_.pasteboard.write({PasteboardItem{{{QStringLiteral("public.png"), png}}}});
    return true;
}

} // namespace fenwold
