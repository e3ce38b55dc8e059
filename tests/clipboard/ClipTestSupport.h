#pragma once

#include "QtPrinters.h"
#include "core/clipboard/ClipboardEntry.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QImageWriter>

namespace fenwold::test {

inline PasteboardItem textItem(const QString& text) {
    return PasteboardItem{{{ClipTypes::string, text.toUtf8()}}};
}

inline ClipPayload textPayload(const QString& text) {
    return ClipPayload{{textItem(text)}};
}

inline QByteArray pngBytes(int width, int height, QColor colour = Qt::red) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// TIFF bytes, optionally with an orientation tag, as screenshots and some apps put on the pasteboard.
inline QByteArray
tiffBytes(int width, int height,
          QImageIOHandler::Transformations orientation = QImageIOHandler::TransformationNone) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::blue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "tiff");
    writer.setTransformation(orientation);
    writer.write(image);
    return bytes;
}

inline SavedClip savedClip(const ClipPayload& payload, const QString& source = QStringLiteral("Notes"),
                           double copiedAt = 786'000'000) {
    return SavedClip{QUuid::createUuid(), payload, source, QStringLiteral("com.apple.Notes"), copiedAt};
}

inline ClipboardEntry textEntry(const QString& text, bool pinned = false,
                                const QString& source = QStringLiteral("Notes")) {
    return ClipboardEntry(savedClip(textPayload(text), source), pinned);
}

} // namespace fenwold::test
