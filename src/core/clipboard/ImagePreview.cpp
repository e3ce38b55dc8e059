#include "ImagePreview.h"

#include "core/windows/AreaScaling.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>
#include <array>
#include <mutex>

namespace fenwold {

namespace {

// What the Mac's image source reads among the formats Qt's plug-ins offer; the rest (text-based
// and rare formats) are not images on the pasteboard of a Mac either.
bool isMacImageFormat(const QByteArray& format) {
    static const std::array<QByteArray, 11> formats = {"png", "tiff", "tif", "jpeg", "jpg", "tga",
                                                       "gif", "bmp",  "ico", "icns", "webp"};
    return std::find(formats.begin(), formats.end(), format) != formats.end();
}

quint32 bigEndian32(const QByteArray& bytes, qsizetype at) {
    return qFromBigEndian<quint32>(bytes.constData() + at);
}

// A PNG whose chunk declares more bytes than follow is cut before that chunk, so the decoder
// meets the end of the data instead of allocating what the chunk claims (a truncated file still
// shows what it has).
QByteArray withinDeclaredPngChunks(const QByteArray& bytes) {
    constexpr qsizetype kSignature = 8;
    qsizetype at = kSignature;
    while (at + 8 <= bytes.size()) {
        const qint64 length = bigEndian32(bytes, at);
        const qint64 end = at + 12 + length; // length, type, data, checksum
        if (length > 0x7fffffff || end > bytes.size()) return bytes.left(at);
        at = end;
    }
    return bytes;
}

// An icon file is a sequence of blocks, each a type and a length that includes its header; the
// table of contents lists the blocks again. Any length that runs past the file makes it unreadable,
// and so does one shorter than a header: the decoder reads length − 8 bytes, which wraps to 8 GB.
bool icnsLengthsFit(const QByteArray& bytes) {
    if (bytes.size() < 8) return false;
    const qint64 total = bigEndian32(bytes, 4);
    if (total < 8 || total > bytes.size()) return false;
    for (qint64 at = 8; at + 8 <= total;) {
        const qint64 length = bigEndian32(bytes, at + 4);
        if (length < 8 || at + length > total) return false;
        if (bytes.mid(at, 4) == "TOC ") {
            for (qint64 entry = at + 8; entry + 8 <= at + length; entry += 8)
                if (const qint64 listed = bigEndian32(bytes, entry + 4); listed < 8 || listed > total)
                    return false;
        }
        at += length;
    }
    return true;
}

// The size a PNG's header chunk declares, readable while the rest of the file is cut short (the
// decoder gives no size until it has met the image data).
QSize pngHeaderSize(const QByteArray& bytes) {
    constexpr qsizetype kWidthAt = 16; // signature, length, "IHDR"
    if (bytes.size() < kWidthAt + 8 || bytes.mid(12, 4) != "IHDR") return {};
    const quint32 width = bigEndian32(bytes, kWidthAt);
    const quint32 height = bigEndian32(bytes, kWidthAt + 4);
    if (width == 0 || height == 0 || width > 0x7fffffff || height > 0x7fffffff) return {};
    return QSize(static_cast<int>(width), static_cast<int>(height));
}

QString dimensionsText(QSize size) {
    return QStringLiteral("%1 × %2").arg(size.width()).arg(size.height());
}

QSize fitted(QSize size) {
    return size.scaled(ImageLimits::thumbnailMaxPixels, ImageLimits::thumbnailMaxPixels, Qt::KeepAspectRatio)
        .expandedTo(QSize(1, 1));
}

} // namespace

ImagePreview makeImagePreview(const QByteArray& original) {
    static std::once_flag limit;
    std::call_once(limit, [] { QImageReader::setAllocationLimit(ImageLimits::maxDecodeMegabytes); });

    ImagePreview preview;
    QByteArray bytes = original;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const QByteArray format = QImageReader::imageFormat(&buffer);
    if (!isMacImageFormat(format)) return preview;
    if (format == "icns" && !icnsLengthsFit(bytes)) return preview;
    if (format == "png") bytes = withinDeclaredPngChunks(bytes);
    buffer.seek(0);

    // The format found stays the format used: no second guess from another plug-in.
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);
    if (!reader.canRead()) return preview;
    // The stored pixel size, before any orientation is applied; some formats (icons) only know
    // it once a frame is decoded. Without one, and without a frame, the image has no dimensions.
    QSize size = reader.size();
    if (format == "png" && !size.isValid()) size = pngHeaderSize(bytes);
    const bool sizeKnown = size.isValid() && !size.isEmpty();
    if (sizeKnown) preview.dimensions = dimensionsText(size);

    const bool scalesWhileDecoding = reader.supportsOption(QImageIOHandler::ScaledSize);
    if (sizeKnown) {
        const bool large = std::max(size.width(), size.height()) > ImageLimits::thumbnailMaxPixels;
        if (large && scalesWhileDecoding)
            reader.setScaledSize(fitted(size));
        else if (qint64(size.width()) * size.height() > ImageLimits::maxDecodedPixels)
            return preview;
    }
    reader.setAutoTransform(true);
    QImage image = reader.read();
    if (image.isNull()) return preview;
    if (!sizeKnown) preview.dimensions = dimensionsText(image.size());
    if (std::max(image.width(), image.height()) > ImageLimits::thumbnailMaxPixels)
        image = scaleDownByArea(image, fitted(image.size()));
    // The history keeps a thumbnail per image for as long as the clip stays: the fourth byte of an
    // opaque pixel is a quarter of it, and converting it away loses nothing.
    if (image.depth() == 32 && !image.hasAlphaChannel())
        image = convertedOnThisThread(image, opaqueThumbnailFormat);
    preview.thumbnail = std::move(image);
    return preview;
}

} // namespace fenwold
