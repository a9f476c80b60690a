// BMP files built byte by byte, read back to exact pixels; files that lie
// about their sizes; the bytes the writer produces.
#include <climits>
#include <gtest/gtest.h>

#include "core/Exception.h"
#include "graphics/BmpCodec.h"
#include "support/TestSupport.h"

using namespace tsb;
using tsbtest::Px;

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& b, std::uint32_t v, int size) {
    for (int i = 0; i < size; ++i)
        b.push_back(i < 4 ? std::uint8_t(v >> (8 * i)) : 0);
}

// Info header (40 bytes or, padded with zeros, any other size).
Bytes Info(std::int32_t w, std::int32_t h, int bpp, std::uint32_t compression = 0,
           std::uint32_t colorsUsed = 0, std::uint32_t headerSize = 40) {
    Bytes b;
    const std::pair<std::uint32_t, int> fields[] = {{headerSize, 4}, {w, 4},   {h, 4},
                                                    {1, 2},          {bpp, 2}, {compression, 4},
                                                    {0, 12}, // image size, resolution
                                                    {colorsUsed, 4}};
    for (auto [value, size] : fields)
        Put(b, value, size);
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

// Every pixel as 0xRRGGBB, row by row from the top.
std::vector<unsigned> Pixels(const QImage& image) {
    std::vector<unsigned> out;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            out.push_back(Px(image, x, y));
    return out;
}

using P = std::vector<unsigned>;
const unsigned B = 0x0000FF, C = 0x123456, W = 0xFFFFFF;
const Bytes Table3 = {0xFF, 0x00, 0x00, 0, 0x56, 0x34, 0x12, 0, 0xFF, 0xFF, 0xFF, 0}; // B C W

} // namespace

TEST(BmpDecode, PaletteDepths) {
    // 1 bpp, bottom-up: bottom row 1 0 1, top row 0 1 1, rows padded to 4 bytes.
    const QImage one = Decode(File(Info(3, 2, 1), Bytes(Table3.begin(), Table3.begin() + 8),
                                   {0xA0, 0, 0, 0, 0x60, 0, 0, 0}));
    EXPECT_EQ(one.format(), QImage::Format_RGB32);
    EXPECT_EQ(Pixels(one), (P{B, C, C, C, B, C}));
    // 4 bpp, top-down, three colours used.
    EXPECT_EQ(Pixels(Decode(File(Info(3, -2, 4, 0, 3), Table3, {0x01, 0x20, 0, 0, 0x21, 0, 0, 0}))),
              (P{B, C, W, W, C, B}));
    // 8 bpp; an index beyond the colour table shows black.
    EXPECT_EQ(Pixels(Decode(File(Info(2, 1, 8, 0, 3), Table3, {2, 7, 0, 0}))), (P{W, 0}));

    // Core (12-byte) header with 3-byte colour entries.
    Bytes core;
    for (std::uint32_t v : {12, 2, 1, 1, 8})
        Put(core, v, core.empty() ? 4 : 2);
    Bytes coreTable(256 * 3, 0);
    coreTable[3] = 0x56, coreTable[4] = 0x34, coreTable[5] = 0x12;
    EXPECT_EQ(Pixels(Decode(File(core, coreTable, {1, 0, 0, 0}))), (P{C, 0}));
}

TEST(BmpDecode, TrueColourDepths) {
    // 24 bpp, rows padded to 8 bytes.
    EXPECT_EQ(Pixels(Decode(File(Info(2, 2, 24), {},
                                 {3, 2, 1, 6, 5, 4, 0xEE, 0xEE, //
                                  9, 8, 7, 12, 11, 10, 0xEE, 0xEE}))),
              (P{0x070809, 0x0A0B0C, 0x010203, 0x040506}));

    // 32 bpp BI_RGB: the fourth byte is not alpha.
    QImage x32 = Decode(File(Info(1, 1, 32), {}, {0x30, 0x20, 0x10, 0x00}));
    EXPECT_EQ(x32.format(), QImage::Format_RGB32);
    EXPECT_EQ(x32.pixel(0, 0), 0xFF102030u);

    // 16 bpp BI_RGB is 5-5-5; with bit fields 5-6-5, and 5 and 6-bit values scale to 8 bits.
    EXPECT_EQ(Pixels(Decode(File(Info(2, 1, 16), {}, {0x00, 0x7C, 0x1F, 0x00}))), (P{0xFF0000, B}));
    Bytes masks;
    for (std::uint32_t m : {0xF800, 0x07E0, 0x001F})
        Put(masks, m, 4);
    EXPECT_EQ(
        Pixels(Decode(File(Info(2, -2, 16, 3), masks, {0, 0xF8, 0xE0, 7, 0x1F, 0, 0x10, 0x84}))),
        (P{0xFF0000, 0x00FF00, B, 0x848284})); // 16/31, 32/63, 16/31
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
    const unsigned K = 0x111111, R = 0xFF0000, G = 0x00FF00;
    const Bytes table = {0x11, 0x11, 0x11, 0, 0x00, 0x00, 0xFF, 0, 0x00, 0xFF, 0x00, 0}; // K R G
    // Bottom row: run of three 1s, end of line. Middle: literal 2 1 2 (padded), end of
    // line. Top: move right by 2, one 2, end of bitmap. Skipped pixels keep colour 0.
    EXPECT_EQ(Pixels(Decode(File(Info(4, 3, 8, 1, 3), table,
                                 {3, 1, 0, 0, 0, 3, 2, 1, 2, 0, 0, 0, 0, 2, 2, 0, 1, 2, 0, 1}))),
              (P{K, K, G, K, G, R, G, K, R, R, R, K}));
    // RLE4: a run alternates its two nibbles; a literal of 3 pixels takes 2 bytes.
    EXPECT_EQ(Pixels(Decode(File(Info(5, 1, 4, 2, 3), table, {2, 0x12, 0, 3, 0x21, 0x20, 0, 1}))),
              (P{R, G, G, R, G}));
    // A run longer than the row is cut at its end.
    EXPECT_EQ(Pixels(Decode(File(Info(2, 1, 8, 1, 3), table, {255, 1, 0, 1}))), (P{R, R}));
}

TEST(BmpDecode, LyingHeadersRaiseErrors) {
    const std::string notValid = "Bitmap image is not valid";
    const std::string tooLarge = "Bitmap image is too large";
    const std::string unsupported = "Bitmap image format is not supported";
    const Bytes row = {1, 2, 3, 0};
    auto withByte = [](Bytes b, std::size_t at, std::uint8_t v) {
        b[at] = v;
        return b;
    };
    const Bytes good = File(Info(1, 1, 24), {}, row);

    const std::vector<std::pair<Bytes, std::string>> cases = {
        {{}, notValid},
        {withByte(good, 1, 'A'), notValid},                   // signature
        {withByte(good, 10, 0xF0), notValid},                 // pixel offset beyond the file
        {withByte(good, 10, 20), notValid},                   // pixel offset inside the header
        {File(Info(1, 1, 8, 0, 200), Table3, row), notValid}, // colour table beyond the file
        {File(Info(1, 1, 8, 0, 300), Bytes(1200, 0), row), notValid},
        {File(Info(1, 1000, 24), {}, row), notValid}, // rows beyond the file
        {File(Info(100, 1, 24), {}, row), notValid},
        {File(Info(0, 1, 24), {}, row), notValid},
        {File(Info(1, 0, 24), {}, row), notValid},
        {File(Info(40000, 1, 24), {}, row), tooLarge},
        {File(Info(30000, 30000, 24), {}, row), tooLarge},
        {File(Info(1, INT_MIN, 24), {}, row), tooLarge},
        {File(Info(1, 1, 24, 0, 0, 20), {}, row), notValid}, // header size
        {File(Info(1, 1, 24, 0, 0, 64), {}, row), unsupported},
        {File(Info(1, 1, 2), Bytes(16, 0), row), unsupported},
        {File(Info(1, 1, 24, 4), {}, row), unsupported},                  // embedded JPEG
        {File(Info(1, 1, 16, 3), {}, {}), notValid},                      // bit-field masks missing
        {File(Info(2, 2, 8, 1, 1), Bytes(4, 0), {2, 0, 0, 0}), notValid}, // RLE ends early
        {File(Info(4, 1, 8, 1, 1), Bytes(4, 0), {0, 5, 0, 0}), notValid}, // literal too short
        {File(Info(2, -1, 8, 1, 1), Bytes(4, 0), {0, 1}), notValid},      // RLE top-down
    };
    for (std::size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(ErrorOf(cases[i].first), cases[i].second) << "case " << i;

    // Every cut of a valid file is refused.
    const Bytes whole = File(Info(4, 2, 24), {}, Bytes(24, 0x5A));
    ASSERT_NO_THROW(Decode(whole));
    for (std::size_t n = 0; n < whole.size(); ++n)
        EXPECT_EQ(ErrorOf(Bytes(whole.begin(), whole.begin() + n)), notValid) << n;
}

TEST(BmpEncode, OpaqueAs24BitTranslucentAs32BitWithAlphaMask) {
    QImage image(3, 2, QImage::Format_RGB32);
    const QRgb colours[6] = {0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0, 0x010203};
    for (int i = 0; i < 6; ++i)
        image.setPixel(i % 3, i / 3, colours[i]);
    const Bytes b = EncodeBmp(image);
    // clang-format off
    const Bytes header = {'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, // file header
                          40, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0,            // size, width, height
                          1, 0, 24, 0, 0, 0, 0, 0, 24, 0, 0, 0,           // planes, bpp, type, size
                          0xC4, 0x0E, 0, 0, 0xC4, 0x0E, 0, 0,             // 96 dpi
                          0, 0, 0, 0, 0, 0, 0, 0};                        // colours
    // clang-format on
    ASSERT_EQ(b.size(), 78u);
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 54), header);
    // Bottom row first, blue-green-red, padded with zeros to 12 bytes.
    EXPECT_EQ(Bytes(b.begin() + 54, b.begin() + 66),
              (Bytes{0xC0, 0xB0, 0xA0, 0xF0, 0xE0, 0xD0, 3, 2, 1, 0, 0, 0}));
    // An alpha channel that is opaque everywhere does not need 32 bits.
    EXPECT_EQ(EncodeBmp(image.convertToFormat(QImage::Format_ARGB32)), b);
    // Rows of every padding length come back exactly.
    for (int w = 1; w <= 5; ++w) {
        const QImage part = image.scaled(w, 3);
        EXPECT_EQ(Decode(EncodeBmp(part)), part) << w;
    }

    QImage translucent(2, 1, QImage::Format_ARGB32);
    translucent.setPixel(0, 0, 0x80102030);
    translucent.setPixel(1, 0, 0x00FFFFFF);
    const Bytes t = EncodeBmp(translucent);
    ASSERT_EQ(t.size(), 14u + 108 + 8);
    EXPECT_EQ((Bytes{t[10], t[14], t[28], t[30]}), (Bytes{122, 108, 32, 3})); // BI_BITFIELDS
    EXPECT_EQ(Bytes(t.begin() + 54, t.begin() + 70),
              (Bytes{0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0, 0, 0, 0, 0xFF}));
    EXPECT_EQ(Bytes(t.begin() + 122, t.end()),
              (Bytes{0x30, 0x20, 0x10, 0x80, 0xFF, 0xFF, 0xFF, 0}));
    EXPECT_EQ(Decode(t), translucent);

    EXPECT_THROW(EncodeBmp(QImage()), Exception);
}
