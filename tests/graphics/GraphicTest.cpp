// Bitmaps and JPEG images as graphics: drawing, transparency, streaming and
// conversion between the two.
#include <QPainter>
#include <gtest/gtest.h>

#include "graphics/Bitmap.h"
#include "graphics/BmpCodec.h"
#include "graphics/JPEGImage.h"
#include "support/TestSupport.h"

using namespace tsb;
using tsbtest::Px;

namespace {

// 3 x 2: top row red, green, red; bottom row red, blue, white.
QImage Sample() {
    QImage image(3, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, 0xFF0000);
    image.setPixel(1, 0, 0x00FF00);
    image.setPixel(2, 0, 0xFF0000);
    image.setPixel(0, 1, 0xFF0000);
    image.setPixel(1, 1, 0x0000FF);
    image.setPixel(2, 1, 0xFFFFFF);
    return image;
}

QImage DrawnOnGray(const TGraphic& graphic) {
    QImage canvas(6, 4, QImage::Format_RGB32);
    canvas.fill(0x808080);
    QPainter painter(&canvas);
    painter.setCompositionMode(QPainter::RasterOp_NotDestination); // Draw copies regardless
    graphic.Draw(painter, 2, 1);
    painter.end();
    return canvas;
}

} // namespace

TEST(Bitmap, DrawsAtItsSizeWithBottomLeftColourTransparent) {
    TBitmap bitmap(Sample());
    QImage plain = DrawnOnGray(bitmap);
    EXPECT_EQ(Px(plain, 1, 1), 0x808080u);
    EXPECT_EQ(Px(plain, 2, 1), 0xFF0000u);
    EXPECT_EQ(Px(plain, 3, 1), 0x00FF00u);
    EXPECT_EQ(Px(plain, 4, 2), 0xFFFFFFu);
    EXPECT_EQ(Px(plain, 5, 2), 0x808080u);
    EXPECT_EQ(Px(plain, 2, 3), 0x808080u);

    bitmap.SetTransparent(true);
    QImage masked = DrawnOnGray(bitmap);
    const unsigned expected[2][3] = {{0x808080, 0x00FF00, 0x808080},
                                     {0x808080, 0x0000FF, 0xFFFFFF}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(Px(masked, 2 + x, 1 + y), expected[y][x]) << x << "," << y;

    // The transparent colour follows the image.
    QImage other = Sample();
    other.setPixel(0, 1, 0x00FF00);
    bitmap.SetImage(other);
    masked = DrawnOnGray(bitmap);
    EXPECT_EQ(Px(masked, 2, 1), 0xFF0000u);
    EXPECT_EQ(Px(masked, 3, 1), 0x808080u);
}

TEST(Bitmap, SizeAndChanges) {
    TBitmap bitmap;
    int changes = 0;
    bitmap.OnChange = [&] { ++changes; };
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_TRUE(bitmap.SaveToBytes().empty());

    bitmap.SetWidth(4); // 4 x 0: empty, but the width stays for the next step
    EXPECT_TRUE(bitmap.Empty());
    bitmap.SetHeight(3);
    ASSERT_EQ(bitmap.Image().size(), QSize(4, 3));
    EXPECT_EQ(Px(bitmap.Image(), 3, 2), 0xFFFFFFu);
    EXPECT_EQ(changes, 2);
    bitmap.SetSize(4, 3);
    EXPECT_EQ(changes, 2);
    EXPECT_THROW(bitmap.SetSize(MaxBmpSide + 1, 1), Exception);
    EXPECT_EQ(bitmap.Width(), 4);

    bitmap.SetImage(Sample());
    // A failed load keeps the picture and raises no change.
    changes = 0;
    const std::uint8_t junk[] = {'B', 'M', 0, 0};
    EXPECT_THROW(bitmap.LoadFromBytes(junk, sizeof junk), Exception);
    EXPECT_EQ(bitmap.Image(), Sample());
    EXPECT_EQ(changes, 0);
    bitmap.SetTransparent(true);
    bitmap.SetTransparent(true);
    EXPECT_EQ(changes, 1);
}

TEST(JPEGImage, KeepsItsFileBytesAndConvertsFromBitmaps) {
    QImage photo(24, 16, QImage::Format_RGB32);
    photo.fill(0x3366CC);
    const std::vector<std::uint8_t> file = EncodeJpeg(photo, 75);

    TJPEGImage jpeg;
    int changes = 0;
    jpeg.OnChange = [&] { ++changes; };
    jpeg.LoadFromBytes(file.data(), file.size());
    EXPECT_EQ(jpeg.SaveToBytes(), file);
    EXPECT_EQ(jpeg.Width(), 24);
    EXPECT_EQ(changes, 1);

    // Transparency has no effect on a JPEG image.
    jpeg.SetTransparent(true);
    const QImage drawn = DrawnOnGray(jpeg);
    EXPECT_EQ(Px(drawn, 2, 1), Px(jpeg.Image(), 0, 0));
    EXPECT_EQ(Px(drawn, 5, 3), Px(jpeg.Image(), 3, 2));

    const std::vector<std::uint8_t> truncated(file.begin(), file.begin() + file.size() / 2);
    changes = 0;
    EXPECT_THROW(jpeg.LoadFromBytes(truncated.data(), truncated.size()), EJPEG);
    EXPECT_EQ(jpeg.SaveToBytes(), file);
    EXPECT_EQ(changes, 0);

    // From a bitmap: encoded at quality 90 and decoded again.
    TBitmap bitmap(Sample().scaled(32, 32));
    bitmap.SetTransparent(true);
    jpeg.Assign(bitmap);
    EXPECT_EQ(jpeg.SaveToBytes(), EncodeJpeg(bitmap.Image(), 90));
    EXPECT_TRUE(jpeg.Transparent());
    EXPECT_EQ(jpeg.Image().size(), QSize(32, 32));

    // And back: the bitmap takes the decoded pixels.
    TBitmap back;
    back.Assign(jpeg);
    EXPECT_EQ(back.Image(), jpeg.Image());
}
