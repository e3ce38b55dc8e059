#include "AreaScaling.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace fenwold {

namespace {

// Where one output pixel's span begins in the source and how much of each source pixel it
// takes. A span of `source` pixels is split into `target` spans; measured in 1/target of a
// source pixel, each output span is `source` long and each source pixel `target` long, so every
// overlap is a whole number and the weights of one output pixel add up to `source`.
struct Spans {
    std::vector<int> first;       // per output pixel: its first source pixel
    std::vector<int> count;       // per output pixel: how many source pixels it covers
    std::vector<uint32_t> weight; // the overlaps, output pixel after output pixel
};

Spans spansOf(int source, int target) {
    Spans spans;
    spans.first.reserve(target);
    spans.count.reserve(target);
    spans.weight.reserve(static_cast<std::size_t>(source) + target);
    for (int out = 0; out < target; ++out) {
        const int64_t begin = int64_t(out) * source, end = begin + source;
        const int firstPixel = static_cast<int>(begin / target);
        const int lastPixel = static_cast<int>((end - 1) / target);
        spans.first.push_back(firstPixel);
        spans.count.push_back(lastPixel - firstPixel + 1);
        for (int p = firstPixel; p <= lastPixel; ++p) {
            const int64_t from = std::max(begin, int64_t(p) * target);
            const int64_t to = std::min(end, int64_t(p + 1) * target);
            spans.weight.push_back(static_cast<uint32_t>(to - from));
        }
    }
    return spans;
}

} // namespace

QImage scaleDownByArea(const QImage& image, QSize size) {
    const int sw = image.width(), sh = image.height(), dw = size.width(), dh = size.height();
    if (image.isNull() || dw <= 0 || dh <= 0 || dw > sw || dh > sh) return {};
    // Both formats hold premultiplied channels a byte each (opaque pixels in the second), which
    // average as they are. Captures arrive in the first.
    const QImage::Format format =
        image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    const QImage source = convertedOnThisThread(image, format);
    QImage out(dw, dh, format);
    if (out.isNull()) return {};
    const Spans across = spansOf(sw, dw), down = spansOf(sh, dh);

    // Each source row is summed across into `row` (four channels per output pixel, weighted by
    // the overlaps, so at most sw × 255), then added into the output row's sums with its own
    // overlap down. A source row straddles at most two output rows.
    std::vector<uint32_t> row(std::size_t(dw) * 4);
    std::vector<uint64_t> sums(std::size_t(dw) * 4);
    const double scale = 1.0 / (double(sw) * double(sh));
    const bool opaque = source.format() == QImage::Format_RGB32;
    std::size_t downWeight = 0;
    for (int y = 0; y < dh; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        for (int r = 0; r < down.count[y]; ++r) {
            const auto* pixels = reinterpret_cast<const uint32_t*>(source.constScanLine(down.first[y] + r));
            const uint32_t* weight = across.weight.data();
            for (int x = 0; x < dw; ++x) {
                const uint32_t* from = pixels + across.first[x];
                uint32_t b = 0, g = 0, red = 0, a = 0;
                for (int i = 0; i < across.count[x]; ++i) {
                    const uint32_t p = from[i], w = weight[i];
                    b += (p & 0xff) * w;
                    g += ((p >> 8) & 0xff) * w;
                    red += ((p >> 16) & 0xff) * w;
                    a += (p >> 24) * w;
                }
                weight += across.count[x];
                uint32_t* sum = row.data() + std::size_t(x) * 4;
                sum[0] = b, sum[1] = g, sum[2] = red, sum[3] = a;
            }
            const uint64_t w = down.weight[downWeight + r];
            for (std::size_t i = 0; i < sums.size(); ++i)
                sums[i] += w * row[i];
        }
        downWeight += down.count[y];
        auto* line = reinterpret_cast<uint32_t*>(out.scanLine(y));
        for (int x = 0; x < dw; ++x) {
            const uint64_t* sum = sums.data() + std::size_t(x) * 4;
            const auto channel = [&](int i) { return static_cast<uint32_t>(double(sum[i]) * scale + 0.5); };
            line[x] = channel(0) | channel(1) << 8 | channel(2) << 16 | (opaque ? 0xffu : channel(3)) << 24;
        }
    }
    return out;
}

QImage convertedOnThisThread(const QImage& image, QImage::Format format) {
    if (image.isNull() || image.format() == format) return image;
    // Qt converts a strip of fewer than twice 65,536 pixels in one piece, on the calling thread.
    const int rows = std::max(1, ((1 << 17) - 1) / image.width());
    const bool palette = QImage::toPixelFormat(format).colorModel() == QPixelFormat::Indexed;
    if (rows >= image.height() || palette) return image.convertToFormat(format);
    QImage out(image.size(), format);
    if (out.isNull()) return {};
    for (int y = 0; y < image.height(); y += rows) {
        const int height = std::min(rows, image.height() - y);
        // The rows where they are, not a copy; a palette image's strip needs its colours.
        QImage strip(image.constScanLine(y), image.width(), height, image.bytesPerLine(), image.format());
        if (!image.colorTable().isEmpty()) strip.setColorTable(image.colorTable());
        const QImage converted = strip.convertToFormat(format);
        if (converted.isNull()) return {};
        for (int row = 0; row < height; ++row)
            std::memcpy(out.scanLine(y + row), converted.constScanLine(row),
                        static_cast<std::size_t>(out.bytesPerLine()));
    }
    return out;
}

} // namespace fenwold
