// BMP files built byte by byte, read back to exact pixels; files that lie
// about their sizes; the bytes the writer produces.
#include <climits>
#include <gtest/gtest.h>

#include "platform/Application.h"
#include "platform/BmpCodec.h"
#include "support/TestSupport.h"

using namespace tsb;
using tsbtest::Px;

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& b, std::uint32_t v, int size) {
    for (int i = 0; i < size; ++i)
        b.push_back(std::uint8_t(v >> (8 * i)));
}

Bytes Info(std::int32_t w, std::int32_t h, int bpp, std::uint32_t compression = 0,
           std::uint32_t colorsUsed = 0, std::uint32_t headerSize = 40) {
    Bytes b;
    Put(b, headerSize, 4);
    Put(b, std::uint32_t(w), 4);
    Put(b, std::uint32_t(h), 4);
    Put(b, 1, 2);
    Put(b, bpp, 2);
    Put(b, compression, 4);
    Put(b, 0, 4); // image size
    Put(b, 0, 4);
    Put(b, 0, 4);
    Put(b, colorsUsed, 4);
    Put(b, 0, 4);
    b.resize(headerSize, 0);
    return b;
}

// File header + info header + colour table (BGRX entries) + pixels, with the
// pixel offset right after the table.
Bytes File(const Bytes& info, const Bytes& table, const Bytes& pixels) {
    Bytes b{'B', 'M'};
    const std::uint32_t offset = std::uint32_t(14 + info.size() + table.size());
    Put(b, offset + std::uint32_t(pixels.size()), 4);
    Put(b, 0, 4);
    Put(b, offset, 4);
    b.insert(b.end(), info.begin(), info.end());
    b.insert(b.end(), table.begin(), table.end());
    b.insert(b.end(), pixels.begin(), pixels.end());
    return b;
}

QImage Decode(const Bytes& b) {
    return DecodeBmp(b.data(), b.size());
}

std::string ErrorOf(const Bytes& b) {
    try {
        Decode(b);
    } catch (const Exception& e) {
        return e.Message();
    }
    return "no error";
}

const Bytes Table3 = {0xFF, 0x00, 0x00, 0, 0x56, 0x34, 0x12, 0, 0xFF, 0xFF, 0xFF, 0};

} // namespace

TEST(BmpDecode, PaletteDepths) {
    // 1 bpp, 3 x 2, bottom-up: bottom row 1 0 1, top row 0 1 1.
    QImage one = Decode(File(Info(3, 2, 1), Bytes(Table3.begin(), Table3.begin() + 8),
                             {0xA0, 0, 0, 0, 0x60, 0, 0, 0}));
    ASSERT_EQ(one.size(), QSize(3, 2));
    EXPECT_EQ(one.format(), QImage::Format_RGB32);
    EXPECT_EQ(Px(one, 0, 1), 0x123456u);
    EXPECT_EQ(Px(one, 1, 1), 0x0000FFu);
    EXPECT_EQ(Px(one, 2, 1), 0x123456u);
    EXPECT_EQ(Px(one, 0, 0), 0x0000FFu);
    EXPECT_EQ(Px(one, 1, 0), 0x123456u);

    // 4 bpp, 3 x 2, top-down, three colours used.
    QImage four = Decode(File(Info(3, -2, 4, 0, 3), Table3, {0x01, 0x20, 0, 0, 0x21, 0x00, 0, 0}));
    EXPECT_EQ(Px(four, 0, 0), 0x0000FFu);
    EXPECT_EQ(Px(four, 1, 0), 0x123456u);
    EXPECT_EQ(Px(four, 2, 0), 0xFFFFFFu);
    EXPECT_EQ(Px(four, 0, 1), 0xFFFFFFu);
    EXPECT_EQ(Px(four, 1, 1), 0x123456u);
    EXPECT_EQ(Px(four, 2, 1), 0x0000FFu);

    // 8 bpp; an index beyond the colour table shows black.
    QImage eight = Decode(File(Info(2, 1, 8, 0, 3), Table3, {2, 7, 0, 0}));
    EXPECT_EQ(Px(eight, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(Px(eight, 1, 0), 0x000000u);

    // Core (12-byte) header with 3-byte colour entries.
    Bytes core;
    Put(core, 12, 4);
    Put(core, 2, 2);
    Put(core, 1, 2);
    Put(core, 1, 2);
    Put(core, 8, 2);
    Bytes coreTable(256 * 3, 0);
    coreTable[3] = 0x56, coreTable[4] = 0x34, coreTable[5] = 0x12;
    QImage old = Decode(File(core, coreTable, {1, 0, 0, 0}));
    EXPECT_EQ(Px(old, 0, 0), 0x123456u);
    EXPECT_EQ(Px(old, 1, 0), 0x000000u);
}

TEST(BmpDecode, TrueColourDepths) {
    // 24 bpp, 2 x 2, rows padded to 8 bytes.
    QImage rgb = Decode(File(Info(2, 2, 24), {},
                             {0x03, 0x02, 0x01, 0x06, 0x05, 0x04, 0xEE, 0xEE, //
                              0x09, 0x08, 0x07, 0x0C, 0x0B, 0x0A, 0xEE, 0xEE}));
    EXPECT_EQ(Px(rgb, 0, 1), 0x010203u);
    EXPECT_EQ(Px(rgb, 1, 1), 0x040506u);
    EXPECT_EQ(Px(rgb, 0, 0), 0x070809u);
    EXPECT_EQ(Px(rgb, 1, 0), 0x0A0B0Cu);

    // 32 bpp BI_RGB: the fourth byte is not alpha.
    QImage x32 = Decode(File(Info(1, 1, 32), {}, {0x30, 0x20, 0x10, 0x00}));
    EXPECT_EQ(x32.format(), QImage::Format_RGB32);
    EXPECT_EQ(x32.pixel(0, 0), 0xFF102030u);

    // 16 bpp BI_RGB is 5-5-5.
    QImage x555 = Decode(File(Info(2, 1, 16), {}, {0x00, 0x7C, 0x1F, 0x00}));
    EXPECT_EQ(Px(x555, 0, 0), 0xFF0000u);
    EXPECT_EQ(Px(x555, 1, 0), 0x0000FFu);

    // 16 bpp 5-6-5 bit fields after a 40-byte header; 5 and 6-bit values scale to 8 bits.
    Bytes masks;
    Put(masks, 0xF800, 4);
    Put(masks, 0x07E0, 4);
    Put(masks, 0x001F, 4);
    QImage x565 =
        Decode(File(Info(2, -2, 16, 3), masks, {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0x10, 0x84}));
    EXPECT_EQ(Px(x565, 0, 0), 0xFF0000u);
    EXPECT_EQ(Px(x565, 1, 0), 0x00FF00u);
    EXPECT_EQ(Px(x565, 0, 1), 0x0000FFu);
    EXPECT_EQ(Px(x565, 1, 1), 0x848284u); // 16/31, 32/63, 16/31
}

TEST(BmpDecode, AlphaMaskInV4Header) {
    Bytes info = Info(2, 1, 32, 3, 0, 108);
    const std::uint32_t masks[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k < 4; ++k)
            info[40 + 4 * i + k] = std::uint8_t(masks[i] >> (8 * k));
    QImage a = Decode(File(info, {}, {0x10, 0x20, 0x30, 0x80, 0x01, 0x02, 0x03, 0x00}));
    EXPECT_EQ(a.format(), QImage::Format_ARGB32);
    EXPECT_EQ(a.pixel(0, 0), 0x80302010u);
    EXPECT_EQ(a.pixel(1, 0), 0x00030201u);

    // Alpha 0 everywhere: the writer left the channel unused.
    QImage opaque = Decode(File(info, {}, {0x10, 0x20, 0x30, 0x00, 0x01, 0x02, 0x03, 0x00}));
    EXPECT_EQ(opaque.format(), QImage::Format_RGB32);
    EXPECT_EQ(opaque.pixel(1, 0), 0xFF030201u);
}

TEST(BmpDecode, RunLengthEncoded) {
    const Bytes table = {0x11, 0x11, 0x11, 0, 0x00, 0x00, 0xFF, 0, 0x00, 0xFF, 0x00, 0};
    // Bottom row: run of three 1s, end of line. Middle: literal 2 1 2 (padded), end of
    // line. Top: move right by 2, one 2, end of bitmap. Skipped pixels keep colour 0.
    QImage rle8 = Decode(File(Info(4, 3, 8, 1, 3), table,
                              {3, 1, 0, 0, 0, 3, 2, 1, 2, 0, 0, 0, 0, 2, 2, 0, 1, 2, 0, 1}));
    const unsigned R = 0xFF0000, G = 0x00FF00, K = 0x111111;
    const unsigned expected[3][4] = {{K, K, G, K}, {G, R, G, K}, {R, R, R, K}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(Px(rle8, x, y), expected[y][x]) << x << "," << y;

    // RLE4: a run alternates its two nibbles; a literal of 3 pixels takes 2 bytes.
    QImage rle4 = Decode(File(Info(5, 1, 4, 2, 3), table, {2, 0x12, 0, 3, 0x21, 0x20, 0, 1}));
    EXPECT_EQ(Px(rle4, 0, 0), R);
    EXPECT_EQ(Px(rle4, 1, 0), G);
    EXPECT_EQ(Px(rle4, 2, 0), G);
    EXPECT_EQ(Px(rle4, 3, 0), R);
    EXPECT_EQ(Px(rle4, 4, 0), G);

    // Runs longer than the row are cut at its end.
    QImage clipped = Decode(File(Info(2, 1, 8, 1, 3), table, {255, 1, 0, 1}));
    EXPECT_EQ(Px(clipped, 1, 0), R);
}

TEST(BmpDecode, LyingHeadersRaiseErrors) {
    const std::string notValid = "Bitmap image is not valid";
    const std::string tooLarge = "Bitmap image is too large";
    const std::string unsupported = "Bitmap image format is not supported";
    const Bytes row = {1, 2, 3, 0};

    EXPECT_EQ(ErrorOf({}), notValid);
    EXPECT_EQ(ErrorOf({'B', 'M'}), notValid);
    Bytes badSignature = File(Info(1, 1, 24), {}, row);
    badSignature[1] = 'A';
    EXPECT_EQ(ErrorOf(badSignature), notValid);

    Bytes badOffset = File(Info(1, 1, 24), {}, row);
    badOffset[10] = 0xF0; // pixel offset beyond the file
    EXPECT_EQ(ErrorOf(badOffset), notValid);
    Bytes lowOffset = File(Info(1, 1, 24), {}, row);
    lowOffset[10] = 20; // inside the info header
    EXPECT_EQ(ErrorOf(lowOffset), notValid);

    EXPECT_EQ(ErrorOf(File(Info(1, 1, 8, 0, 200), Table3, {0, 0, 0, 0})), notValid);
    EXPECT_EQ(ErrorOf(File(Info(1, 1, 8, 0, 300), Bytes(1200, 0), {0, 0, 0, 0})), notValid);
    EXPECT_EQ(ErrorOf(File(Info(1, 1000, 24), {}, row)), notValid);
    EXPECT_EQ(ErrorOf(File(Info(100, 1, 24), {}, row)), notValid);
    EXPECT_EQ(ErrorOf(File(Info(0, 1, 24), {}, row)), notValid);
    EXPECT_EQ(ErrorOf(File(Info(1, 0, 24), {}, row)), notValid);
    EXPECT_EQ(ErrorOf(File(Info(-1, 1, 24), {}, row)), notValid);
    EXPECT_EQ(ErrorOf(File(Info(40000, 1, 24), {}, row)), tooLarge);
    EXPECT_EQ(ErrorOf(File(Info(30000, 30000, 24), {}, row)), tooLarge);
    EXPECT_EQ(ErrorOf(File(Info(1, INT_MIN, 24), {}, row)), tooLarge);

    EXPECT_EQ(ErrorOf(File(Info(1, 1, 24, 0, 0, 20), {}, row)), notValid);
    EXPECT_EQ(ErrorOf(File(Info(1, 1, 24, 0, 0, 64), {}, row)), unsupported);
    EXPECT_EQ(ErrorOf(File(Info(1, 1, 2), Bytes(16, 0), row)), unsupported);
    EXPECT_EQ(ErrorOf(File(Info(1, 1, 24, 4), {}, row)), unsupported); // embedded JPEG
    EXPECT_EQ(ErrorOf(File(Info(1, 1, 24, 1), {}, row)), unsupported); // RLE8 needs 8 bpp

    // Bit-field masks missing after the header.
    EXPECT_EQ(ErrorOf(File(Info(1, 1, 16, 3), {}, {})), notValid);

    // RLE that stops before the last row, and RLE rows stored top-down.
    EXPECT_EQ(ErrorOf(File(Info(2, 2, 8, 1, 1), Bytes(4, 0), {2, 0, 0, 0})), notValid);
    EXPECT_EQ(ErrorOf(File(Info(2, -1, 8, 1, 1), Bytes(4, 0), {0, 1})), notValid);
    EXPECT_EQ(ErrorOf(File(Info(4, 1, 8, 1, 1), Bytes(4, 0), {0, 5, 0, 0})), notValid);

    // Every cut of a valid file is refused.
    const Bytes whole = File(Info(4, 2, 24), {}, Bytes(24, 0x5A));
    ASSERT_NO_THROW(Decode(whole));
    for (std::size_t n = 0; n < whole.size(); ++n)
        EXPECT_EQ(ErrorOf(Bytes(whole.begin(), whole.begin() + n)), notValid) << n;
}

TEST(BmpEncode, OpaqueImageAs24BitRows) {
    QImage image(3, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, 0x102030);
    image.setPixel(1, 0, 0x405060);
    image.setPixel(2, 0, 0x708090);
    image.setPixel(0, 1, 0xA0B0C0);
    image.setPixel(1, 1, 0xD0E0F0);
    image.setPixel(2, 1, 0x010203);
    const Bytes b = EncodeBmp(image);
    const Bytes header = {'B',  'M',  78, 0, 0, 0, 0,  0, 0, 0, 54,   0,    0, 0, //
                          40,   0,    0,  0, 3, 0, 0,  0, 2, 0, 0,    0,    1, 0,
                          24,   0,    0,  0, 0, 0, 24, 0, 0, 0, 0xC4, 0x0E, 0, 0,
                          0xC4, 0x0E, 0,  0, 0, 0, 0,  0, 0, 0, 0,    0};
    ASSERT_EQ(b.size(), 78u);
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 54), header);
    // Bottom row first, blue-green-red, padded with zeros to 12 bytes.
    const Bytes bottom = {0xC0, 0xB0, 0xA0, 0xF0, 0xE0, 0xD0, 0x03, 0x02, 0x01, 0, 0, 0};
    EXPECT_EQ(Bytes(b.begin() + 54, b.begin() + 66), bottom);
    EXPECT_EQ(Decode(b), image);

    // Rows of every padding length come back exactly.
    for (int w = 1; w <= 5; ++w) {
        QImage row(w, 3, QImage::Format_RGB32);
        for (int x = 0; x < w; ++x)
            for (int y = 0; y < 3; ++y)
                row.setPixel(x, y, qRgb(x * 40, y * 70, 200 - x));
        EXPECT_EQ(Decode(EncodeBmp(row)), row) << w;
    }

    // An alpha channel that is opaque everywhere does not need 32 bits.
    EXPECT_EQ(EncodeBmp(image.convertToFormat(QImage::Format_ARGB32))[28], 24);
    EXPECT_THROW(EncodeBmp(QImage()), Exception);
}

TEST(BmpEncode, TranslucentImageAs32BitWithAlphaMask) {
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, 0x80102030);
    image.setPixel(1, 0, 0x00FFFFFF);
    const Bytes b = EncodeBmp(image);
    ASSERT_EQ(b.size(), 14u + 108 + 8);
    EXPECT_EQ(b[10], 122);
    EXPECT_EQ(b[14], 108);
    EXPECT_EQ(b[28], 32);
    EXPECT_EQ(b[30], 3); // BI_BITFIELDS
    const Bytes masks = {0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0, 0, 0, 0, 0xFF};
    EXPECT_EQ(Bytes(b.begin() + 54, b.begin() + 70), masks);
    EXPECT_EQ(Bytes(b.begin() + 122, b.end()),
              (Bytes{0x30, 0x20, 0x10, 0x80, 0xFF, 0xFF, 0xFF, 0}));
    EXPECT_EQ(Decode(b), image);
}
