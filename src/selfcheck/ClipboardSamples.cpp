#include "ClipboardSamples.h"

#include "core/clipboard/ClipboardStore.h"

#include <QBuffer>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

namespace fenwold {

namespace {

SavedClip textClip(const QString& text, const QString& source, const QString& sourceID, double at) {
    return SavedClip{QUuid::createUuid(), ClipPayload{{PasteboardItem{{{ClipTypes::string, text.toUtf8()}}}}},
                     source, sourceID, at};
}

QByteArray sampleImage() {
    QImage image(480, 320, QImage::Format_ARGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, 320);
    sky.setColorAt(0, QColor(255, 183, 94));
    sky.setColorAt(1, QColor(237, 100, 120));
    painter.fillRect(image.rect(), sky);
    painter.setBrush(QColor(255, 236, 170));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(330, 150), 56, 56);
    painter.setBrush(QColor(60, 48, 90));
    painter.drawPolygon(QPolygonF({QPointF(0, 320), QPointF(150, 170), QPointF(260, 260), QPointF(360, 190),
                                   QPointF(480, 290), QPointF(480, 320)}));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

void insertSampleClips(ClipboardStore& store, double now) {
    // Oldest first: each insert lands at the front.
    const SavedClip pinnedNote =
        textClip(QStringLiteral("Wi-Fi for guests: Fenwold-Guest\nPassword is on the fridge"),
                 QStringLiteral("Notes"), QStringLiteral("com.apple.Notes"), now - 3 * 86400);
    store.insert(ClipboardEntry(pinnedNote, false));
    store.insert(ClipboardEntry(
        SavedClip{QUuid::createUuid(), ClipPayload{{PasteboardItem{{{ClipTypes::png, sampleImage()}}}}},
                  QStringLiteral("Photos"), QStringLiteral("com.apple.Photos"), now - 120},
        false));
    store.insert(
        ClipboardEntry(textClip(QStringLiteral("https://www.example.com/articles/cozy-desk-setups"),
                                QStringLiteral("Safari"), QStringLiteral("com.apple.Safari"), now - 60 * 14),
                       false));
    store.insert(ClipboardEntry(
        textClip(QStringLiteral("import { useState } from \"react\";\n\n"
                                "export function Counter() {\n"
                                "  const [count, setCount] = useState(0); // starts at 0\n"
                                "  return <button onClick={() => setCount(count + 1)}>{count}</button>;\n"
                                "}\n"),
                 QStringLiteral("Visual Studio Code"), QStringLiteral("com.microsoft.VSCode"), now - 60 * 3),
        false));
    store.insert(
        ClipboardEntry(textClip(QStringLiteral("Pick up the framed print on Thursday, and bring the "
                                               "receipt — the shop closes at six."),
                                QStringLiteral("Notes"), QStringLiteral("com.apple.Notes"), now - 20),
                       false));
    for (const auto& entry : store.entries()) {
        if (entry.saved.id == pinnedNote.id) {
            store.togglePin(entry.id());
            break;
        }
    }
}

} // namespace fenwold
