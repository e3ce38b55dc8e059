// Image previews of any bytes a pasteboard offers as PNG or TIFF data (the decoders recognise
// formats by content, so every format the image plug-ins read is in play): the thumbnail is at
// most 640 pixels on its longer side and never empty, the dimensions read "W × H" whenever
// there is a thumbnail, and decoding stays within the fuzzer's memory and time limits.
#include "FuzzSupport.h"
#include "core/clipboard/ClipboardEntry.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageWriter>
#include <QRegularExpression>

using namespace fenwold;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // The image plug-ins load once, here, so their first use is not taken for a leak.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    for (const char* format : {"png", "tiff", "jpeg", "gif", "bmp", "ico", "icns", "webp", "tga"}) {
        QImage image(4, 4, QImage::Format_ARGB32);
        image.fill(Qt::red);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter(&buffer, format).write(image);
        (void)makeImagePreview(bytes);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ImagePreview preview = makeImagePreview(fuzz::bytesOf(data, size));
    static const QRegularExpression form(QStringLiteral("^(\\d+) × (\\d+)$"));
    if (preview.dimensions)
        FUZZ_CHECK(form.match(*preview.dimensions).hasMatch(),
                   "dimensions " + preview.dimensions->toStdString());
    if (!preview.thumbnail) return 0;
    const QImage& thumb = *preview.thumbnail;
    FUZZ_CHECK(!thumb.isNull() && thumb.width() > 0 && thumb.height() > 0, "an empty thumbnail");
    FUZZ_CHECK(std::max(thumb.width(), thumb.height()) <= 640,
               "thumbnail " + std::to_string(thumb.width()) + "x" + std::to_string(thumb.height()));
    FUZZ_CHECK(preview.dimensions.has_value(), "a thumbnail without dimensions");
    const auto match = form.match(*preview.dimensions);
    FUZZ_CHECK(match.captured(1).toLongLong() > 0 && match.captured(2).toLongLong() > 0,
               "a decoded image of size " + preview.dimensions->toStdString());
    return 0;
}
