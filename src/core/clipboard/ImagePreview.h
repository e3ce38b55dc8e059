#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>

namespace fenwold {

// Image size and a thumbnail at most 640 pixels on its longer side, orientation applied; an
// opaque image's in three bytes a pixel.
struct ImagePreview {
    std::optional<QImage> thumbnail;
    std::optional<QString> dimensions; // "W × H"; present when the bytes name a readable image
};

// Decodes image bytes from another application's pasteboard, which may be hostile: only the
// formats the Mac's image source reads, lengths the container declares checked against the bytes
// there are, and decoding bounded in memory and time (a pixel budget, decoding at the
// thumbnail's size where the format allows, an allocation limit). Slow for large images: call it
// off the main thread.
ImagePreview makeImagePreview(const QByteArray& bytes);

// What an opaque image's thumbnail is kept in: three bytes a pixel, all the image has.
inline constexpr QImage::Format opaqueThumbnailFormat = QImage::Format_RGB888;

namespace ImageLimits {
inline constexpr int thumbnailMaxPixels = 640;
// Larger images keep their dimensions but get no thumbnail, unless their format decodes at the
// thumbnail's size: 8192 × 4096 pixels, 128 MiB as 32-bit pixels.
inline constexpr qint64 maxDecodedPixels = 8192LL * 4096;
inline constexpr int maxDecodeMegabytes = 128;
} // namespace ImageLimits

} // namespace fenwold
