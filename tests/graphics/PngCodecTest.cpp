// PNG files streamed from rows: the bytes of the file's header, every pixel
// back unchanged, and failures that raise and leave the encoder failed.
#include <QImage>
#include <cstring>
#include <gtest/gtest.h>
#include <random>

#include "graphics/PngCodec.h"

using namespace tsb;

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t BigEndian(const Bytes& b, std::size_t at) {
    return std::uint32_t(b[at]) << 24 | std::uint32_t(b[at + 1]) << 16 |
           std::uint32_t(b[at + 2]) << 8 | b[at + 3];
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

struct TCollected {
    Bytes Data;
    int Pieces = 0;
    TByteSink Sink() {
        return [this](const std::uint8_t* data, std::size_t size) {
            Data.insert(Data.end(), data, data + size);
            ++Pieces;
        };
    }
};

} // namespace

TEST(PngCodec, HeaderNamesAnEightBitRgbImageAtScreenResolution) {
    TCollected out;
    TPngStreamEncoder encoder(300, 7, out.Sink());
    encoder.WriteRows(Noise(300, 7, 1), 7);
    encoder.Finish();
    const Bytes& b = out.Data;
    ASSERT_GT(b.size(), 33u + 21u);
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 8),
              (Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
    // IHDR: width, height, bit depth 8, colour type 2 (RGB), no interlace.
    EXPECT_EQ(BigEndian(b, 8), 13u);
    EXPECT_EQ(std::string(b.begin() + 12, b.begin() + 16), "IHDR");
    EXPECT_EQ(BigEndian(b, 16), 300u);
    EXPECT_EQ(BigEndian(b, 20), 7u);
    EXPECT_EQ(b[24], 8);
    EXPECT_EQ(b[25], 2);
    EXPECT_EQ(b[28], 0);
    // pHYs right after: 3,780 pixels a metre both ways (96 dpi), unit metre.
    EXPECT_EQ(std::string(b.begin() + 37, b.begin() + 41), "pHYs");
    EXPECT_EQ(BigEndian(b, 41), 3780u);
    EXPECT_EQ(BigEndian(b, 45), 3780u);
    EXPECT_EQ(b[49], 1);
    EXPECT_EQ(std::string(b.end() - 8, b.end() - 4), "IEND");
}

TEST(PngCodec, RowsInPiecesComeBackPixelForPixel) {
    const QImage image = Noise(517, 90, 2);
    TCollected out;
    TPngStreamEncoder encoder(517, 90, out.Sink());
    // Bands of several sizes, from images taller than the rows they give.
    int top = 0;
    for (int rows : {1, 40, 0, 33, 16}) {
        QImage band(517, 50, QImage::Format_RGB32);
        band.fill(Qt::black);
        for (int y = 0; y < rows; ++y)
            std::memcpy(band.scanLine(y), image.constScanLine(top + y),
                        static_cast<std::size_t>(image.bytesPerLine()));
        encoder.WriteRows(band, rows);
        top += rows;
    }
    encoder.Finish();
    EXPECT_GT(out.Pieces, 1); // handed over as it was made
    QImage decoded = QImage::fromData(out.Data.data(), int(out.Data.size()), "PNG");
    ASSERT_FALSE(decoded.isNull());
    EXPECT_TRUE(decoded.convertToFormat(QImage::Format_RGB32) == image);
}

TEST(PngCodec, OtherImageFormatsAreTakenAsTheirColours) {
    QImage indexed(4, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(255, 0, 0), qRgb(0, 0, 255)});
    for (int x = 0; x < 4; ++x)
        indexed.setPixel(x, 0, x % 2);
    TCollected out;
    TPngStreamEncoder encoder(4, 1, out.Sink());
    encoder.WriteRows(indexed, 1);
    encoder.Finish();
    QImage decoded = QImage::fromData(out.Data.data(), int(out.Data.size()), "PNG");
    EXPECT_EQ(decoded.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(decoded.pixel(3, 0), qRgb(0, 0, 255));
}

TEST(PngCodec, FailuresRaiseAndStay) {
    auto none = [](const std::uint8_t*, std::size_t) {};
    EXPECT_THROW(TPngStreamEncoder(0, 10, none), EPNG);
    EXPECT_THROW(TPngStreamEncoder(10, -1, none), EPNG);
    // Beyond libpng's limit of a million pixels a side.
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

    // A sink that fails: its own error comes out, and again on every call.
    std::size_t taken = 0;
    TPngStreamEncoder failing(2000, 100, [&](const std::uint8_t*, std::size_t size) {
        taken += size;
        if (taken > 1000) throw Exception("Stream write error");
    });
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
