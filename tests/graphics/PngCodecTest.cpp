// PNG files streamed from rows: the bytes of the file's header and palette,
// every pixel back unchanged in both colour kinds whatever the pieces and
// threads, and failures that raise and leave the encoder failed.
#include <QBuffer>
#include <QImage>
#include <cstring>
#include <gtest/gtest.h>
#include <random>

#include "graphics/PngCodec.h"

using namespace tsb;

namespace {

std::uint32_t BigEndian(const QByteArray& b, qsizetype at) {
    const auto* u = reinterpret_cast<const std::uint8_t*>(b.constData());
    return std::uint32_t(u[at]) << 24 | std::uint32_t(u[at + 1]) << 16 |
           std::uint32_t(u[at + 2]) << 8 | u[at + 3];
}

// An image of random colours, so no two neighbours agree by chance.
QImage Noise(int w, int h, unsigned seed) {
    std::mt19937 random(seed);
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, 0xFF000000u | (random() & 0xFFFFFFu));
    return image;
}

// A line drawing: a few flat colours in runs and repeated rows.
QImage Drawing(int w, int h, unsigned seed) {
    std::mt19937 random(seed);
    const QRgb colours[] = {qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(255, 0, 0),
                            qRgb(128, 128, 128)};
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < h; ++y) {
        if (y > 0 && random() % 3 == 0) {
            std::memcpy(image.scanLine(y), image.constScanLine(y - 1),
                        static_cast<std::size_t>(image.bytesPerLine()));
            continue;
        }
        for (int x = 0; x < w;) {
            const int run = 1 + int(random() % 40);
            const QRgb c = colours[random() % 4];
            for (int i = 0; i < run && x < w; ++i, ++x)
                image.setPixel(x, y, c);
        }
    }
    return image;
}

// The image encoded in bands of the given heights, repeated.
QByteArray Encode(const QImage& image, const TPngOptions& options,
                  std::initializer_list<int> bands = {1, 40, 0, 33, 16}) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    TPngStreamEncoder encoder(image.width(), image.height(), buffer, options);
    for (int top = 0; top < image.height();) {
        for (int rows : bands) {
            rows = std::min(rows, image.height() - top);
            // Band images taller than the rows they give.
            QImage band(image.width(), std::max(rows, 50), QImage::Format_RGB32);
            band.fill(Qt::black);
            for (int y = 0; y < rows; ++y)
                std::memcpy(band.scanLine(y), image.constScanLine(top + y),
                            static_cast<std::size_t>(image.bytesPerLine()));
            encoder.WriteRows(band, rows);
            top += rows;
        }
    }
    encoder.Finish();
    return bytes;
}

QImage Decode(const QByteArray& png) {
    return QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32);
}

// A device that takes `room` bytes and then fails.
class TFullDevice : public QIODevice {
public:
    explicit TFullDevice(qint64 room) : FRoom(room) { open(WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 size) override {
        if (size > FRoom) return -1;
        FRoom -= size;
        return size;
    }

private:
    qint64 FRoom;
};

} // namespace

TEST(PngCodec, HeaderAndPaletteOfAnIndexedImageAtScreenResolution) {
    QImage image(300, 7, QImage::Format_RGB32);
    image.fill(qRgb(10, 20, 30));
    image.setPixel(5, 3, qRgb(200, 100, 0));
    const QByteArray b = Encode(image, {});
    ASSERT_GT(b.size(), 33 + 21 + 780);
    EXPECT_EQ(b.left(8), QByteArray("\x89PNG\r\n\x1A\n"));
    // IHDR: width, height, bit depth 8, colour type 3 (palette), no interlace.
    EXPECT_EQ(BigEndian(b, 8), 13u);
    EXPECT_EQ(b.mid(12, 4), "IHDR");
    EXPECT_EQ(BigEndian(b, 16), 300u);
    EXPECT_EQ(BigEndian(b, 20), 7u);
    EXPECT_EQ(b[24], 8);
    EXPECT_EQ(b[25], 3);
    EXPECT_EQ(b[28], 0);
    // pHYs right after: 3,780 pixels a metre both ways (96 dpi), unit metre.
    EXPECT_EQ(b.mid(37, 4), "pHYs");
    EXPECT_EQ(BigEndian(b, 41), 3780u);
    EXPECT_EQ(BigEndian(b, 45), 3780u);
    EXPECT_EQ(b[49], 1);
    // Then the palette, filled in at the end: colours in order of first use.
    EXPECT_EQ(BigEndian(b, 54), 768u);
    EXPECT_EQ(b.mid(58, 4), "PLTE");
    EXPECT_EQ(b.mid(62, 6), QByteArray("\x0A\x14\x1E\xC8\x64\x00", 6));
    EXPECT_EQ(b.mid(838, 4), "IDAT");
    EXPECT_EQ(b.right(8).left(4), "IEND");
    EXPECT_TRUE(Decode(b) == image); // the checksums hold, or Qt's reader refuses

    const QByteArray rgb = Encode(image, {pcRgb});
    EXPECT_EQ(rgb[25], 2);
    EXPECT_EQ(rgb.mid(58, 4), "IDAT");
    EXPECT_TRUE(Decode(rgb) == image);
}

TEST(PngCodec, EveryPixelComesBackWhateverThePiecesAndThreads) {
    const QImage drawing = Drawing(517, 300, 2);
    const QImage noise = Noise(211, 90, 3);
    for (int threads : {1, 2, 3})
        for (std::size_t piece : {std::size_t(700), std::size_t(20000), std::size_t(1) << 20}) {
            const TPngOptions palette{pcPalette, threads, piece}, rgb{pcRgb, threads, piece};
            EXPECT_TRUE(Decode(Encode(drawing, palette)) == drawing) << threads << "/" << piece;
            EXPECT_TRUE(Decode(Encode(drawing, rgb)) == drawing) << threads << "/" << piece;
            EXPECT_TRUE(Decode(Encode(noise, rgb, {7, 83})) == noise) << threads << "/" << piece;
        }
    // A palette takes 256 colours, and refuses the 257th.
    QImage full(257, 2, QImage::Format_RGB32);
    for (int x = 0; x < 257; ++x) {
        full.setPixel(x, 0, qRgb(x % 256, x / 256, 7));
        full.setPixel(x, 1, qRgb(0, 0, 7));
    }
    EXPECT_TRUE(Decode(Encode(full.copy(0, 0, 256, 2), {})) == full.copy(0, 0, 256, 2));
    EXPECT_THROW(Encode(full, {}), EPNGPaletteFull);
}

TEST(PngCodec, OtherImageFormatsAreTakenAsTheirColours) {
    QImage indexed(4, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(255, 0, 0), qRgb(0, 0, 255)});
    for (int x = 0; x < 4; ++x)
        indexed.setPixel(x, 0, x % 2);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    TPngStreamEncoder encoder(4, 1, buffer);
    encoder.WriteRows(indexed, 1);
    encoder.Finish();
    const QImage decoded = Decode(bytes);
    EXPECT_EQ(decoded.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(decoded.pixel(3, 0), qRgb(0, 0, 255));
}

TEST(PngCodec, FailuresRaiseAndStay) {
    QBuffer none;
    none.open(QIODevice::WriteOnly);
    EXPECT_THROW(TPngStreamEncoder(0, 10, none), EPNG);
    EXPECT_THROW(TPngStreamEncoder(10, -1, none), EPNG);
    try {
        TPngStreamEncoder(10, 1000001, none);
        FAIL() << "no error";
    } catch (const EPNG& e) {
        EXPECT_STREQ(e.what(), "PNG image is too large");
    }
    TPngStreamEncoder(1000000, 1, none); // the largest page fits

    TPngStreamEncoder shortOne(8, 2, none);
    QImage row(8, 1, QImage::Format_RGB32);
    row.fill(Qt::red);
    shortOne.WriteRows(row, 1);
    EXPECT_THROW(shortOne.Finish(), EPNG); // a row short
    EXPECT_THROW(shortOne.WriteRows(QImage(9, 1, QImage::Format_RGB32), 1), EPNG);
    EXPECT_THROW(shortOne.WriteRows(row, 2), EPNG); // more rows than the image has

    // A device that fills up: its error comes out, and again on every call.
    TFullDevice full(1000);
    TPngStreamEncoder failing(2000, 100, full, {pcRgb, 2, 4096});
    const QImage band = Noise(2000, 100, 3);
    try {
        failing.WriteRows(band, 100);
        failing.Finish();
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Stream write error");
    }
    EXPECT_THROW(failing.Finish(), Exception);
    EXPECT_THROW(failing.WriteRows(band, 1), Exception);
}
