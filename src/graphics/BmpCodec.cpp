#include "graphics/BmpCodec.h"

#include <algorithm>
#include <array>
#include <bit>

#include "core/Exception.h"

namespace tsb {

namespace {

const char* const NotValid = "Bitmap image is not valid";
const char* const NotSupported = "Bitmap image format is not supported";
const char* const TooLarge = "Bitmap image is too large";
const char* const EmptyImage = "Bitmap image is empty";

[[noreturn]] void Fail(const char* message) {
    throw Exception(message);
}

enum : std::uint32_t {
    BI_RGB = 0,
    BI_RLE8 = 1,
    BI_RLE4 = 2,
    BI_BITFIELDS = 3,
    BI_ALPHABITFIELDS = 6
};

constexpr std::size_t FileHeaderSize = 14;
constexpr std::size_t CoreHeaderSize = 12;
constexpr std::size_t InfoHeaderSize = 40;
constexpr std::size_t V4HeaderSize = 108;
constexpr std::int32_t PixelsPerMeter = 3780; // 96 dots per inch

// Little-endian reads that fail instead of reading past the end.
class TByteReader {
public:
    TByteReader(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}

    std::size_t Size() const { return FSize; }
    bool Has(std::size_t pos, std::size_t count) const {
        return pos <= FSize && count <= FSize - pos;
    }
    const std::uint8_t* At(std::size_t pos, std::size_t count) const {
        if (!Has(pos, count)) Fail(NotValid);
        return FData + pos;
    }
    std::uint16_t U16(std::size_t pos) const {
        const std::uint8_t* p = At(pos, 2);
        return static_cast<std::uint16_t>(p[0] | p[1] << 8);
    }
    std::uint32_t U32(std::size_t pos) const {
        const std::uint8_t* p = At(pos, 4);
        return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
               std::uint32_t(p[3]) << 24;
    }
    std::int32_t I32(std::size_t pos) const { return static_cast<std::int32_t>(U32(pos)); }

private:
    const std::uint8_t* FData;
    std::size_t FSize;
};

// One colour component described by a bit mask, scaled to 8 bits.
struct TChannel {
    std::uint32_t Mask = 0;
    int Shift = 0;
    int Bits = 0; // width of the mask from its lowest to its highest set bit

    explicit TChannel(std::uint32_t mask = 0) : Mask(mask) {
        if (mask == 0) return;
        Shift = std::countr_zero(mask);
        Bits = 32 - std::countl_zero(mask) - Shift;
    }
    int Extract(std::uint32_t pixel) const {
        if (Bits == 0) return 0;
        const std::uint32_t v = (pixel & Mask) >> Shift;
        if (Bits >= 8) return static_cast<int>(v >> (Bits - 8));
        const std::uint32_t max = (1u << Bits) - 1;
        return static_cast<int>((v * 255 + max / 2) / max);
    }
};

struct THeader {
    int Width = 0;
    int Height = 0;
    bool TopDown = false;
    int BitCount = 0;
    std::uint32_t Compression = BI_RGB;
    std::array<std::uint32_t, 4> Masks{}; // R, G, B, A
    std::size_t PaletteStart = 0;
    std::size_t PaletteEntrySize = 4;
    std::uint32_t ColorsUsed = 0;
    std::size_t HeaderEnd = 0; // end of the info header and of any masks after it
};

THeader ReadHeader(const TByteReader& in) {
    if (!in.Has(0, FileHeaderSize + 4) || in.At(0, 2)[0] != 'B' || in.At(0, 2)[1] != 'M')
        Fail(NotValid);
    const std::uint32_t headerSize = in.U32(FileHeaderSize);
    THeader h;
    std::int64_t width = 0, height = 0;
    if (headerSize == CoreHeaderSize) {
        width = in.U16(18);
        height = in.U16(20);
        h.BitCount = in.U16(24);
        h.PaletteEntrySize = 3;
        h.HeaderEnd = FileHeaderSize + CoreHeaderSize;
    } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 ||
               headerSize == 124) {
        width = in.I32(18);
        height = in.I32(22);
        h.BitCount = in.U16(28);
        h.Compression = in.U32(30);
        h.ColorsUsed = in.U32(46);
        h.HeaderEnd = FileHeaderSize + headerSize;
        in.At(FileHeaderSize, headerSize);
        const bool bitFields = h.Compression == BI_BITFIELDS || h.Compression == BI_ALPHABITFIELDS;
        std::size_t maskCount = 0;
        std::size_t maskPos = FileHeaderSize + InfoHeaderSize;
        if (headerSize > InfoHeaderSize) {
            maskCount = headerSize == 52 ? 3 : 4;
        } else if (bitFields) {
            maskCount = h.Compression == BI_ALPHABITFIELDS ? 4 : 3;
            h.HeaderEnd += maskCount * 4;
        }
        if (bitFields)
            for (std::size_t i = 0; i < maskCount; ++i)
                h.Masks[i] = in.U32(maskPos + 4 * i);
    } else if (headerSize < InfoHeaderSize) {
        Fail(NotValid);
    } else {
        Fail(NotSupported);
    }
    h.PaletteStart = h.HeaderEnd;

    if (width <= 0 || height == 0) Fail(NotValid);
    h.TopDown = height < 0;
    if (height < 0) height = -height; // 64-bit, so even INT32_MIN negates safely
    if (width > MaxBmpSide || height > MaxBmpSide || width * height > MaxBmpPixels) Fail(TooLarge);
    h.Width = static_cast<int>(width);
    h.Height = static_cast<int>(height);

    bool supported = false;
    switch (h.Compression) {
    case BI_RGB:
        supported = h.BitCount == 1 || h.BitCount == 4 || h.BitCount == 8 || h.BitCount == 16 ||
                    h.BitCount == 24 || h.BitCount == 32;
        break;
    case BI_RLE8:
        supported = h.BitCount == 8;
        break;
    case BI_RLE4:
        supported = h.BitCount == 4;
        break;
    case BI_BITFIELDS:
    case BI_ALPHABITFIELDS:
        supported = h.BitCount == 16 || h.BitCount == 32;
        break;
    }
    if (!supported) Fail(NotSupported);
    if (h.TopDown && (h.Compression == BI_RLE8 || h.Compression == BI_RLE4)) Fail(NotValid);

    if (h.Compression == BI_RGB && h.BitCount == 16)
        h.Masks = {0x7C00, 0x03E0, 0x001F, 0};
    else if (h.Compression == BI_RGB && h.BitCount == 32)
        h.Masks = {0xFF0000, 0x00FF00, 0x0000FF, 0};
    return h;
}

using TPalette = std::array<QRgb, 256>;

TPalette ReadPalette(const TByteReader& in, const THeader& h, std::size_t pixelOffset) {
    TPalette palette;
    palette.fill(qRgb(0, 0, 0)); // indices beyond the table show black
    if (h.BitCount > 8) return palette;
    const std::size_t count = h.ColorsUsed != 0 ? h.ColorsUsed : std::size_t(1) << h.BitCount;
    if (count > palette.size()) Fail(NotValid);
    const std::size_t bytes = count * h.PaletteEntrySize;
    if (!in.Has(h.PaletteStart, bytes) || h.PaletteStart + bytes > pixelOffset) Fail(NotValid);
    const std::uint8_t* p = in.At(h.PaletteStart, bytes);
    for (std::size_t i = 0; i < count; ++i, p += h.PaletteEntrySize)
        palette[i] = qRgb(p[2], p[1], p[0]);
    return palette;
}

QRgb* Row(QImage& image, const THeader& h, int fileRow) {
    const int y = h.TopDown ? fileRow : h.Height - 1 - fileRow;
    return reinterpret_cast<QRgb*>(image.scanLine(y));
}

// Uncompressed rows; returns whether some pixel carries a non-zero alpha.
bool ReadRows(const TByteReader& in, const THeader& h, std::size_t offset, const TPalette& palette,
              QImage& image) {
    const std::int64_t rowBits = std::int64_t(h.Width) * h.BitCount;
    const std::int64_t stride = (rowBits + 31) / 32 * 4;
    // The last row may lack its padding.
    const std::int64_t needed = stride * (h.Height - 1) + (rowBits + 7) / 8;
    const std::uint8_t* data = in.At(offset, static_cast<std::size_t>(needed));

    const TChannel red(h.Masks[0]), green(h.Masks[1]), blue(h.Masks[2]), alpha(h.Masks[3]);
    bool anyAlpha = false;
    for (int r = 0; r < h.Height; ++r) {
        const std::uint8_t* src = data + stride * r;
        QRgb* dst = Row(image, h, r);
        for (int x = 0; x < h.Width; ++x) {
            switch (h.BitCount) {
            case 1:
                dst[x] = palette[(src[x >> 3] >> (7 - (x & 7))) & 1];
                break;
            case 4:
                dst[x] = palette[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15];
                break;
            case 8:
                dst[x] = palette[src[x]];
                break;
            case 24:
                dst[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
                break;
            default: {
                const std::uint8_t* p = src + x * (h.BitCount / 8);
                std::uint32_t v = p[0] | std::uint32_t(p[1]) << 8;
                if (h.BitCount == 32) v |= std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
                const int a = alpha.Extract(v);
                anyAlpha = anyAlpha || a != 0;
                dst[x] = qRgba(red.Extract(v), green.Extract(v), blue.Extract(v), a);
            }
            }
        }
    }
    return anyAlpha;
}

// Run-length encoded rows (RLE8, RLE4). Pixels the data skips keep colour 0.
void ReadRle(const TByteReader& in, const THeader& h, std::size_t offset, const TPalette& palette,
             QImage& image) {
    image.fill(palette[0]);
    const std::size_t size = in.Size();
    const std::uint8_t* p = in.At(offset, 0);
    std::size_t i = 0;
    const std::size_t n = size - offset;
    int x = 0, y = 0; // y counts file rows, from the bottom
    auto put = [&](int index) {
        if (x < h.Width && y < h.Height) Row(image, h, y)[x] = palette[index];
        if (x < h.Width) ++x;
    };
    const bool rle4 = h.Compression == BI_RLE4;
    while (y < h.Height) {
        if (n - i < 2) Fail(NotValid);
        const int count = p[i], value = p[i + 1];
        i += 2;
        if (count > 0) {
            for (int k = 0; k < count; ++k)
                put(rle4 ? ((k & 1) ? value & 15 : value >> 4) : value);
        } else if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of bitmap
            return;
        } else if (value == 2) { // move right and up
            if (n - i < 2) Fail(NotValid);
            x = std::min(x + p[i], h.Width);
            y += p[i + 1];
            i += 2;
        } else { // literal pixels, padded to a 16-bit boundary
            const std::size_t bytes = rle4 ? (value + 1) / 2 : value;
            const std::size_t padded = (bytes + 1) & ~std::size_t(1);
            if (n - i < padded) Fail(NotValid);
            for (int k = 0; k < value; ++k) {
                const int b = p[i + (rle4 ? k / 2 : k)];
                put(rle4 ? ((k & 1) ? b & 15 : b >> 4) : b);
            }
            i += padded;
        }
    }
}

void Put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}

void Put32(std::uint8_t* p, std::uint32_t v) {
    Put16(p, v);
    Put16(p + 2, v >> 16);
}

bool AllOpaque(const QImage& argb) {
    for (int y = 0; y < argb.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(line[x]) != 255) return false;
    }
    return true;
}

} // namespace

QImage DecodeBmp(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr) Fail(NotValid);
    const TByteReader in(data, size);
    const THeader h = ReadHeader(in);
    const std::uint32_t offset = in.U32(10);
    if (offset < h.HeaderEnd || offset > size) Fail(NotValid);
    const TPalette palette = ReadPalette(in, h, offset);

    const bool alphaMask = h.Masks[3] != 0;
    QImage image(h.Width, h.Height, alphaMask ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull()) Fail(TooLarge);
    if (h.Compression == BI_RLE8 || h.Compression == BI_RLE4) {
        ReadRle(in, h, offset, palette, image);
    } else if (!ReadRows(in, h, offset, palette, image) && alphaMask) {
        // Alpha 0 everywhere: the writer did not fill the alpha channel.
        for (int y = 0; y < h.Height; ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < h.Width; ++x)
                line[x] |= 0xFF000000u;
        }
        image.reinterpretAsFormat(QImage::Format_RGB32);
    }
    return image;
}

std::vector<std::uint8_t> EncodeBmp(const QImage& image) {
    if (image.isNull()) Fail(EmptyImage);
    QImage src = image.convertToFormat(QImage::Format_ARGB32);
    const bool alpha = image.hasAlphaChannel() && !AllOpaque(src);
    const std::uint64_t w = std::uint64_t(src.width()), h = std::uint64_t(src.height());
    const std::uint64_t stride = alpha ? w * 4 : (w * 3 + 3) & ~std::uint64_t(3);
    const std::uint64_t headerSize = alpha ? V4HeaderSize : InfoHeaderSize;
    const std::uint64_t offset = FileHeaderSize + headerSize;
    const std::uint64_t total = offset + stride * h;
    if (total > 0xFFFFFFFFu) Fail(TooLarge);

    std::vector<std::uint8_t> out(static_cast<std::size_t>(total), 0);
    std::uint8_t* p = out.data();
    p[0] = 'B';
    p[1] = 'M';
    Put32(p + 2, std::uint32_t(total));
    Put32(p + 10, std::uint32_t(offset));
    p += FileHeaderSize;
    Put32(p + 0, std::uint32_t(headerSize));
    Put32(p + 4, std::uint32_t(w));
    Put32(p + 8, std::uint32_t(h));
    Put16(p + 12, 1);
    Put16(p + 14, alpha ? 32 : 24);
    Put32(p + 16, alpha ? BI_BITFIELDS : BI_RGB);
    Put32(p + 20, std::uint32_t(stride * h));
    Put32(p + 24, PixelsPerMeter);
    Put32(p + 28, PixelsPerMeter);
    if (alpha) {
        Put32(p + 40, 0x00FF0000);
        Put32(p + 44, 0x0000FF00);
        Put32(p + 48, 0x000000FF);
        Put32(p + 52, 0xFF000000);
        Put32(p + 56, 0x73524742); // 'sRGB' colour space
    }
    for (std::uint64_t r = 0; r < h; ++r) {
        const QRgb* line = reinterpret_cast<const QRgb*>(src.constScanLine(int(h - 1 - r)));
        std::uint8_t* dst = out.data() + offset + r * stride;
        for (std::uint64_t x = 0; x < w; ++x) {
            const QRgb c = line[x];
            *dst++ = std::uint8_t(qBlue(c));
            *dst++ = std::uint8_t(qGreen(c));
            *dst++ = std::uint8_t(qRed(c));
            if (alpha) *dst++ = std::uint8_t(qAlpha(c));
        }
    }
    return out;
}

} // namespace tsb
