// JPEG encoding and decoding through libjpeg, and damaged files that must
// fail with an error while the process goes on.
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <jpeglib.h>

#include "graphics/JpegCodec.h"
#include "support/TestSupport.h"

using namespace tsb;

namespace {

using Bytes = std::vector<std::uint8_t>;

// Writes a JPEG file straight through libjpeg, for colour spaces the codec
// does not write itself. Input is valid, so libjpeg's default error handling
// serves.
Bytes RawJpeg(int width, int height, int components, J_COLOR_SPACE space, const Bytes& samples) {
    jpeg_compress_struct info{};
    jpeg_error_mgr err{};
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = components;
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    for (int y = 0; y < height; ++y) {
        JSAMPROW row = const_cast<JSAMPLE*>(samples.data() + y * width * components);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

// Four flat 16 x 16 quadrants: red, green, blue, white.
QImage Quadrants() {
    QImage image(32, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            image.setPixel(
                x, y, y < 16 ? (x < 16 ? 0xFF0000 : 0x00FF00) : (x < 16 ? 0x0000FF : 0xFFFFFF));
    return image;
}

QImage Noise(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    unsigned seed = 12345;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1103515245 + 12345;
            image.setPixel(x, y, seed >> 8 & 0xFFFFFF);
        }
    return image;
}

int Distance(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

QImage Decode(const Bytes& b) {
    return DecodeJpeg(b.data(), b.size());
}

std::string ErrorOf(const Bytes& b) {
    try {
        Decode(b);
    } catch (const EJPEG& e) {
        return e.Message();
    }
    return "no error";
}

// Offset of the first marker 0xFF code, or npos.
std::size_t FindMarker(const Bytes& b, std::uint8_t code) {
    for (std::size_t i = 0; i + 1 < b.size(); ++i)
        if (b[i] == 0xFF && b[i + 1] == code) return i;
    return std::string::npos;
}

} // namespace

TEST(JpegEncode, BaselineColourFileThatDecodesWithinTolerance) {
    const QImage image = Quadrants();
    const Bytes b = EncodeJpeg(image);
    ASSERT_GT(b.size(), 4u);
    EXPECT_EQ((Bytes{b[0], b[1], b[b.size() - 2], b.back()}), (Bytes{0xFF, 0xD8, 0xFF, 0xD9}));
    const std::size_t sof = FindMarker(b, 0xC0);
    ASSERT_NE(sof, std::string::npos);
    EXPECT_EQ(FindMarker(b, 0xC2), std::string::npos); // not progressive
    // Length 17, 8-bit samples, 32 x 32, three components.
    EXPECT_EQ(Bytes(b.begin() + sof + 2, b.begin() + sof + 10), (Bytes{0, 17, 8, 0, 32, 0, 32, 3}));

    const QImage decoded = Decode(b);
    ASSERT_EQ(decoded.size(), image.size());
    EXPECT_EQ(decoded.format(), QImage::Format_RGB32);
    int worst = 0; // inside the quadrants, away from the colour edges
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if ((x + 3) % 16 > 5 && (y + 3) % 16 > 5)
                worst = std::max(worst, Distance(decoded.pixel(x, y), image.pixel(x, y)));
    EXPECT_LE(worst, 8);

    // Quality is kept in range; translucent pixels lie over white.
    EXPECT_EQ(EncodeJpeg(image, -5), EncodeJpeg(image, 1));
    QImage clear(16, 16, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    EXPECT_LE(Distance(Decode(EncodeJpeg(clear)).pixel(8, 8), 0xFFFFFF), 2);
    EXPECT_THROW(EncodeJpeg(QImage()), EJPEG);
}

TEST(JpegDecode, GrayscaleAndCmykFiles) {
    Bytes gray(16 * 8);
    for (int x = 0; x < 16; ++x)
        for (int y = 0; y < 8; ++y)
            gray[y * 16 + x] = x < 8 ? 0x40 : 0xC0;
    const QImage g = Decode(RawJpeg(16, 8, 1, JCS_GRAYSCALE, gray));
    EXPECT_EQ(g.format(), QImage::Format_RGB32);
    EXPECT_LE(Distance(g.pixel(2, 2), 0x404040), 2);
    EXPECT_LE(Distance(g.pixel(13, 5), 0xC0C0C0), 2);
    EXPECT_EQ(qRed(g.pixel(13, 5)), qBlue(g.pixel(13, 5)));

    // libjpeg marks CMYK files as Adobe's, whose samples are inverted (255 = no ink):
    // full cyan ink, then full yellow ink at half black.
    Bytes cmyk;
    for (int i = 0; i < 64; ++i)
        cmyk.insert(cmyk.end(), {0, 255, 255, 255});
    for (int i = 0; i < 64; ++i)
        cmyk.insert(cmyk.end(), {255, 255, 0, 128});
    const QImage c = Decode(RawJpeg(8, 16, 4, JCS_CMYK, cmyk));
    EXPECT_LE(Distance(c.pixel(4, 3), 0x00FFFF), 3);
    EXPECT_LE(Distance(c.pixel(4, 12), 0x808000), 3);
}

TEST(JpegDecode, DamagedFilesRaiseErrors) {
    const Bytes good = EncodeJpeg(Noise(40, 24));

    // Every cut raises, whether it falls in the headers, the scan or the end marker.
    for (std::size_t n = 0; n < good.size(); ++n)
        EXPECT_NE(ErrorOf(Bytes(good.begin(), good.begin() + n)), "no error") << n;
    EXPECT_EQ(ErrorOf(Bytes(good.begin(), good.begin() + good.size() / 2)),
              "Premature end of JPEG file");
    EXPECT_EQ(ErrorOf({}), "Empty input file");

    EXPECT_EQ(ErrorOf({'B', 'M', 1, 2, 3, 4}), "Not a JPEG file: starts with 0x42 0x4d");

    const std::size_t sof = FindMarker(good, 0xC0);
    Bytes noHeight = good;
    noHeight[sof + 5] = noHeight[sof + 6] = 0;
    EXPECT_EQ(ErrorOf(noHeight), "Empty JPEG image (DNL not supported)");

    Bytes huge = good; // 60000 x 60000: refused before anything is allocated
    huge[sof + 5] = huge[sof + 7] = 0xEA;
    huge[sof + 6] = huge[sof + 8] = 0x60;
    EXPECT_EQ(ErrorOf(huge), "JPEG image is too large");

    Bytes badTable = good;
    badTable[FindMarker(good, 0xC4) + 4] = 0x07; // Huffman table number 7
    EXPECT_NE(ErrorOf(badTable), "no error");

    Bytes badScan = good; // a marker in the middle of the entropy-coded data
    const std::size_t scan = FindMarker(good, 0xDA);
    badScan[scan + 40] = 0xFF;
    badScan[scan + 41] = 0xD0;
    EXPECT_NE(ErrorOf(badScan), "no error");

    // Nothing above disturbed the next decode.
    EXPECT_EQ(Decode(good).size(), QSize(40, 24));
}
