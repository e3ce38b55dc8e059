// Previews kept between frames look exactly as drawn in place, and follow their image and place.
#include "ui/switcher/RoundedPreviews.h"
#include "support/ImageDifference.h"

#include <QPainter>
#include <QPainterPath>
#include <gtest/gtest.h>

using namespace fenwold;
using fenwold::testing::largestDifference;

namespace {

// A capture with detail in every direction, so a shifted or misscaled draw shows.
QImage detailed(QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb((x * 7) % 256, (y * 11) % 256, ((x + y) * 5) % 256));
    return image;
}

// The frame under the tiles: translucent, as the panels' backdrop is.
QImage backdrop(double ratio) {
    QImage frame(QSize(400, 260) * ratio, QImage::Format_ARGB32_Premultiplied);
    frame.fill(QColor(50, 50, 56, 160));
    frame.setDevicePixelRatio(ratio);
    return frame;
}

void drawInPlace(QImage& frame, const QImage& image, const QRectF& place) {
    QPainter p(&frame);
    p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    QPainterPath clip;
    clip.addRoundedRect(place, 6, 6);
    p.setClipPath(clip);
    p.drawImage(place, image);
}

void drawKept(QImage& frame, RoundedPreviews& previews, uint32_t id, const QImage& image,
              const QRectF& place) {
    QPainter p(&frame);
    p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    previews.draw(p, id, image, place, 6);
}

} // namespace

TEST(RoundedPreviewsTest, AKeptPreviewLooksAsOneDrawnInPlaceAtAnyPlaceAndPixelRatio) {
    const QImage image = detailed({344, 214});
    for (const double ratio : {1.0, 2.0, 1.5}) {
        for (const QRectF place : {QRectF(20, 30, 172, 107), QRectF(20.3, 30.7, 171.4, 106.6)}) {
            QImage direct = backdrop(ratio), kept = backdrop(ratio), again = backdrop(ratio);
            drawInPlace(direct, image, place);
            RoundedPreviews previews;
            drawKept(kept, previews, 1, image, place);
            drawKept(again, previews, 1, image, place); // from what was kept
            // Kept pixels carry their coverage rounded to 8 bits once more.
            EXPECT_LE(largestDifference(direct, kept), 1) << ratio << " " << place.x();
            EXPECT_EQ(kept, again);
        }
    }
}

TEST(RoundedPreviewsTest, ANewImageOrPlaceIsDrawnAfreshAndWindowsNotDrawnAreLetGo) {
    RoundedPreviews previews;
    const QImage first = detailed({300, 200});
    QImage second = first.mirrored(true, false);
    const QRectF place(10, 10, 150, 100);
    QImage frame = backdrop(1);
    drawKept(frame, previews, 1, first, place);
    drawKept(frame, previews, 2, first, place.translated(200, 0));
    previews.endFrame();
    EXPECT_EQ(previews.size(), 2u);

    for (const auto& [image, at] : {std::pair{second, place}, std::pair{second, QRectF(30.5, 40, 120, 80)}}) {
        QImage direct = backdrop(1), kept = backdrop(1);
        drawInPlace(direct, image, at);
        drawKept(kept, previews, 1, image, at);
        EXPECT_LE(largestDifference(direct, kept), 1);
    }
    previews.endFrame(); // window 2 was not drawn in that frame
    EXPECT_EQ(previews.size(), 1u);
    previews.clear();
    EXPECT_EQ(previews.size(), 0u);
}
