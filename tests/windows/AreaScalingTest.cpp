#include "core/windows/AreaScaling.h"
#include "support/HeldThreadPool.h"
#include "support/ImageDifference.h"

#include <gtest/gtest.h>

using namespace fenwold;
using fenwold::testing::HeldThreadPool;
using fenwold::testing::largestDifference;

namespace {

// Soft gradients under fine detail, like a window's text over its background.
QImage windowLike(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const bool ink = (x / 3 + y / 5) % 7 == 0;
            line[x] = ink ? qRgb(20, 20, 30) : qRgb(255 * x / w, 200 - 150 * y / h, (x * y) % 256);
        }
    }
    return image;
}

} // namespace

TEST(AreaScaling, EachPixelIsTheAverageOfTheAreaItCovers) {
    // Three pixels into two: the first takes all of pixel 0 and half of pixel 1.
    QImage row(3, 1, QImage::Format_ARGB32_Premultiplied);
    row.setPixel(0, 0, qRgba(90, 0, 30, 255));
    row.setPixel(1, 0, qRgba(30, 60, 0, 255));
    row.setPixel(2, 0, qRgba(0, 240, 90, 255));
    const QImage two = scaleDownByArea(row, QSize(2, 1));
    ASSERT_EQ(two.size(), QSize(2, 1));
    EXPECT_EQ(two.pixel(0, 0), qRgba(70, 20, 20, 255));  // (2·p0 + p1) / 3
    EXPECT_EQ(two.pixel(1, 0), qRgba(10, 180, 60, 255)); // (p1 + 2·p2) / 3

    // Down as across; premultiplied channels average as they are, so a translucent colour stays.
    QImage translucent(7, 5, QImage::Format_ARGB32_Premultiplied);
    translucent.fill(qPremultiply(qRgba(200, 100, 50, 128)));
    const QImage small = scaleDownByArea(translucent, QSize(3, 2));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(small.pixel(x, y), translucent.pixel(0, 0)) << x << "," << y;
    EXPECT_EQ(small.format(), QImage::Format_ARGB32_Premultiplied);

    // Other formats are read as the colours they hold.
    QImage rgb(4, 4, QImage::Format_RGB888);
    rgb.fill(QColor(10, 20, 30));
    EXPECT_EQ(scaleDownByArea(rgb, QSize(2, 2)).pixel(1, 1), qRgb(10, 20, 30));
    EXPECT_EQ(scaleDownByArea(rgb.convertToFormat(QImage::Format_RGB32), QSize(1, 1)).pixel(0, 0),
              qRgb(10, 20, 30));
}

TEST(AreaScaling, LooksAsQtsSmoothScalingDoes) {
    for (const auto& [from, to] :
         {std::pair{QSize(640, 400), QSize(200, 125)}, std::pair{QSize(1000, 700), QSize(333, 233)},
          std::pair{QSize(301, 299), QSize(7, 5)}, std::pair{QSize(500, 40), QSize(499, 39)}}) {
        const QImage image = windowLike(from.width(), from.height());
        const QImage ours = scaleDownByArea(image, to);
        const QImage qts = image.scaled(to, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        ASSERT_EQ(ours.size(), to);
        EXPECT_LE(largestDifference(ours, qts), 2) << from.width() << "×" << from.height();
    }
}

TEST(AreaScaling, NeverEnlargesAndRefusesEmptySizes) {
    const QImage image = windowLike(40, 30);
    EXPECT_TRUE(scaleDownByArea(image, QSize(41, 10)).isNull());
    EXPECT_TRUE(scaleDownByArea(image, QSize(10, 31)).isNull());
    EXPECT_TRUE(scaleDownByArea(image, QSize(0, 10)).isNull());
    EXPECT_TRUE(scaleDownByArea(QImage(), QSize(1, 1)).isNull());
    EXPECT_EQ(scaleDownByArea(image, image.size()), image);
}

// The point of it: a large reduction finishes while every thread of Qt's pool is taken, as when
// a frame's fills hold them. Qt's own smooth scaling would queue its pieces behind them.
TEST(AreaScaling, LeavesQtsThreadPoolToOthers) {
    // Converted a strip at a time below, as Qt converts it whole.
    QImage translucent = windowLike(1000, 700).convertToFormat(QImage::Format_ARGB32);
    for (int x = 0; x < translucent.width(); ++x)
        translucent.setPixel(x, x % translucent.height(), qRgba(x % 256, 40, 200, x % 251));
    HeldThreadPool pool;
    ASSERT_TRUE(pool.held());
    const QImage reduced = scaleDownByArea(windowLike(2000, 1200), QSize(400, 240));
    const QImage converted = convertedOnThisThread(translucent, QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(pool.finished(), 0) << "finished only once the pool's threads were free";
    pool.release();
    EXPECT_EQ(reduced.size(), QSize(400, 240));
    EXPECT_EQ(converted, translucent.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}
