// Previews of image bytes another application put on the pasteboard, hostile ones included:
// bounded thumbnails, dimensions as the image source reports them, nothing decoded that would
// take more memory than a preview is worth.
#include "core/clipboard/ImagePreview.h"
#include "ClipTestSupport.h"
#include "support/HeldThreadPool.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace fenwold;
using namespace fenwold::test;
using fenwold::testing::HeldThreadPool;

namespace {

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(image);
    return bytes;
}

QImage filled(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(40, 120, 200));
    return image;
}

TEST(ImagePreview, IconsReportTheSizeOfTheFrameTheyDecodeTo) {
    // Icon files name no size before a frame is decoded; the frame's size is the image's.
    const QByteArray icns = encoded(filled(64, 64), "icns");
    ASSERT_FALSE(icns.isEmpty()) << "this build has no icon plug-in";
    const ImagePreview preview = makeImagePreview(icns);
    ASSERT_TRUE(preview.thumbnail);
    EXPECT_EQ(preview.thumbnail->size(), QSize(64, 64));
    EXPECT_EQ(preview.dimensions, QString::fromUtf8("64 × 64"));
}

TEST(ImagePreview, AHugeDeclaredPictureKeepsItsDimensionsButIsNotDecoded) {
    // 109 bytes of PNG that declare 30 000 × 30 000 pixels (3.6 GB decoded).
    const QByteArray png = QByteArray::fromHex(
        "89504e470d0a1a0a0000000d4948445200007530000075300800000000434ca766000000344944415478daedc1310100"
        "0000c2a0f54f6d094fa000000000000000000000000000000000000000000000000000000000004e0675310001be328f"
        "610000000049454e44ae426082");
    QElapsedTimer timer;
    timer.start();
    const ImagePreview preview = makeImagePreview(png);
    EXPECT_EQ(preview.dimensions, QString::fromUtf8("30000 × 30000"));
    EXPECT_FALSE(preview.thumbnail);
    EXPECT_LT(timer.elapsed(), 2000);
}

TEST(ImagePreview, DeclaredLengthsBeyondTheDataAreNotBelieved) {
    // A PNG chunk that declares 2 GB in a 44-byte file: the decoder never sees the claim.
    const QByteArray chunk = QByteArray::fromHex(
        "89504e470d0a1a0a0000000d49484452000000080000000808020000004b6d29dc7ffffff074455874616263");
    EXPECT_FALSE(makeImagePreview(chunk).thumbnail);
    // An icon file whose table of contents declares a 4 GB entry is no image at all.
    const QByteArray icns = QByteArray::fromHex(
        "69636e7300000068544f43200000001069633037fffffff069633037fffffff089504e470d0a1a0a" +
        QByteArray(128, '0'));
    const ImagePreview broken = makeImagePreview(icns);
    EXPECT_FALSE(broken.thumbnail);
    EXPECT_FALSE(broken.dimensions);
    // Nor is one whose table of contents lists an entry shorter than its own header.
    const QByteArray listedEmpty = QByteArray::fromHex("69636e73000000a1544f4320000000106963703500000000"
                                                       "00a17035000000898950") +
                                   QByteArray(127, '\0');
    const ImagePreview empty = makeImagePreview(listedEmpty);
    EXPECT_FALSE(empty.thumbnail);
    EXPECT_FALSE(empty.dimensions) << empty.dimensions->toStdString();
    // A truncated PNG still shows the rows it has.
    const QByteArray whole = pngBytes(200, 100, Qt::darkMagenta);
    const ImagePreview cut = makeImagePreview(whole.left(whole.size() - 12));
    EXPECT_EQ(cut.dimensions, QString::fromUtf8("200 × 100"));
}

TEST(ImagePreview, DataCutShortShowsTheDeclaredSizeOrNone) {
    // Half a PNG: its image data runs past the end, so the decoder has no size to give, but the
    // header says what the image is.
    QImage noise(1300, 650, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, qRgb((x * 7 + y * 13) % 256, (x * y) % 256, (x ^ y) % 256));
    const QByteArray whole = encoded(noise, "png");
    const ImagePreview half = makeImagePreview(whole.left(whole.size() / 2));
    EXPECT_EQ(half.dimensions, QString::fromUtf8("1300 × 650"));
    // Cut inside the header, it tells nothing: no dimensions rather than "0 × 0".
    const ImagePreview headless = makeImagePreview(whole.left(20));
    EXPECT_FALSE(headless.dimensions);
    EXPECT_FALSE(headless.thumbnail);
}

TEST(ImagePreview, FormatsThatDecodeWhileScalingAreReadAtTheThumbnailsSize) {
    const QByteArray jpeg = encoded(filled(9000, 4500), "jpeg"); // beyond the pixel budget
    ASSERT_FALSE(jpeg.isEmpty());
    const ImagePreview preview = makeImagePreview(jpeg);
    EXPECT_EQ(preview.dimensions, QString::fromUtf8("9000 × 4500"));
    ASSERT_TRUE(preview.thumbnail);
    EXPECT_EQ(preview.thumbnail->size(), QSize(640, 320));
}

TEST(ImagePreview, OpaqueThumbnailsKeepThreeBytesAPixelAndEveryPixel) {
    QImage noise(600, 400, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, qRgb((x * 7 + y) % 256, (x ^ y) % 256, (x * y) % 256));
    QImage translucent(300, 200, QImage::Format_ARGB32);
    translucent.fill(QColor(200, 40, 90, 128));
    translucent.setPixel(5, 5, qRgba(1, 2, 3, 0));
    QImage grey(300, 200, QImage::Format_Grayscale8);
    grey.fill(77);

    struct Case {
        const char* name;
        QImage image;
        QImage::Format stored;
    };
    const std::vector<Case> cases = {
        {"opaque", noise, QImage::Format_RGB888},
        {"with alpha", translucent, QImage::Format_ARGB32},
        {"one byte a pixel", grey, QImage::Format_Grayscale8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ImagePreview preview = makeImagePreview(encoded(c.image, "png"));
        ASSERT_TRUE(preview.thumbnail);
        EXPECT_EQ(preview.thumbnail->format(), c.stored);
        EXPECT_EQ(preview.thumbnail->convertToFormat(c.image.format()), c.image);
    }

    // Scaled to the thumbnail's size first, then converted: three bytes for what was four.
    const ImagePreview large = makeImagePreview(encoded(noise.scaled(1280, 854), "png"));
    ASSERT_TRUE(large.thumbnail);
    EXPECT_EQ(large.thumbnail->size(), QSize(640, 427));
    EXPECT_EQ(large.thumbnail->format(), QImage::Format_RGB888);
    EXPECT_LE(large.thumbnail->sizeInBytes(), 640 * 3 * 427);
}

// Thumbnails are made in the background: reducing a large picture must not wait for, or make a
// frame wait behind, the thread pool Qt's raster engine splits its fills across.
TEST(ImagePreview, ALargePicturesThumbnailLeavesQtsThreadPoolToOthers) {
    QImage picture(3000, 2000, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x % 256, y % 256, (x + y) % 256));
    const QByteArray png = encoded(picture, "png");
    HeldThreadPool pool;
    ASSERT_TRUE(pool.held());
    const ImagePreview preview = makeImagePreview(png);
    EXPECT_EQ(pool.finished(), 0) << "made only once the pool's threads were free";
    pool.release();
    ASSERT_TRUE(preview.thumbnail);
    EXPECT_EQ(preview.thumbnail->size(), QSize(640, 426));
    EXPECT_EQ(preview.thumbnail->format(), QImage::Format_RGB888);
}

TEST(ImagePreview, OnlyFormatsAMacReadsAsImagesCount) {
    // X pixmaps are text; no Mac image source reads them.
    const QByteArray xpm = encoded(filled(8, 8), "xpm");
    ASSERT_FALSE(xpm.isEmpty());
    const ImagePreview preview = makeImagePreview(xpm);
    EXPECT_FALSE(preview.dimensions);
    EXPECT_FALSE(preview.thumbnail);
    for (const char* format : {"png", "tiff", "jpeg", "bmp", "ico", "webp"}) {
        const ImagePreview image = makeImagePreview(encoded(filled(32, 16), format));
        EXPECT_TRUE(image.thumbnail) << format;
        EXPECT_EQ(image.dimensions, QString::fromUtf8("32 × 16")) << format;
    }
}

} // namespace
