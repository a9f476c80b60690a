#include "graphics/PngCodec.h"

#include <QIODevice>
#include <array>
#include <cstring>
#include <vector>
#include <zlib.h>

#include "graphics/ParallelDeflate.h"

namespace tsb {

namespace {

// Pixels per metre of 96 dots per inch, the screen's resolution.
constexpr std::uint32_t ScreenPixelsPerMetre = 3780;
// The largest side we write: a million pixels, as the pages the reader takes.
constexpr int MaxSide = 1000000;
// Deflate level 3: on line drawings filtered by rows it keeps within a
// fifth of the best size at a third of the default level's time.
constexpr int Level = 3;
// Compressed bytes gathered into one IDAT chunk.
constexpr std::size_t IdatBytes = std::size_t(1) << 18;

constexpr std::uint8_t FilterSub = 1;
constexpr std::uint8_t FilterUp = 2;

void PutBigEndian(std::uint8_t* at, std::uint32_t value) {
    at[0] = std::uint8_t(value >> 24);
    at[1] = std::uint8_t(value >> 16);
    at[2] = std::uint8_t(value >> 8);
    at[3] = std::uint8_t(value);
}

// The palette's colours in order of their first use, found again through a
// small open hash.
class TPalette {
public:
    TPalette() { FKeys.fill(Empty); }
    std::uint8_t IndexOf(std::uint32_t rgb) {
        if (rgb == FLast) return FLastIndex;
        std::size_t slot = (rgb * 2654435761u) >> 22;
        while (FKeys[slot] != rgb) {
            if (FKeys[slot] == Empty) {
                if (FCount == 256) throw EPNGPaletteFull();
                FKeys[slot] = rgb;
                FIndex[slot] = std::uint8_t(FCount);
                FColours[FCount++] = rgb;
                break;
            }
            slot = (slot + 1) & (Slots - 1);
        }
        FLast = rgb;
        FLastIndex = FIndex[slot];
        return FLastIndex;
    }
    // The PLTE chunk's data: red, green, blue of every entry.
    std::array<std::uint8_t, 768> Entries() const {
        std::array<std::uint8_t, 768> e{};
        for (int i = 0; i < FCount; ++i) {
            e[3 * i] = std::uint8_t(FColours[i] >> 16);
            e[3 * i + 1] = std::uint8_t(FColours[i] >> 8);
            e[3 * i + 2] = std::uint8_t(FColours[i]);
        }
        return e;
    }

private:
    static constexpr std::size_t Slots = 1024;
    static constexpr std::uint32_t Empty = 0xFFFFFFFFu;
    std::array<std::uint32_t, Slots> FKeys;
    std::array<std::uint8_t, Slots> FIndex{};
    std::array<std::uint32_t, 256> FColours{};
    int FCount = 0;
    std::uint32_t FLast = Empty;
    std::uint8_t FLastIndex = 0;
};

} // namespace

struct TPngStreamEncoder::TState {
    TState(QIODevice& device, int width, const TPngOptions& options)
        : Device(device), Width(width), Colours(options.Colours),
          Deflate([this](const std::uint8_t* data, std::size_t size) { Compressed(data, size); },
                  {Level, options.Threads, options.PieceBytes}) {}

    void Write(const void* data, std::size_t size) {
        const qint64 n = static_cast<qint64>(size);
        if (Device.write(static_cast<const char*>(data), n) != n)
            throw Exception("Stream write error");
    }
    void Chunk(const char* type, const std::uint8_t* data, std::size_t size) {
        std::uint8_t head[8];
        PutBigEndian(head, static_cast<std::uint32_t>(size));
        std::memcpy(head + 4, type, 4);
        uLong crc = crc32(0, head + 4, 4);
        if (size > 0) crc = crc32_z(crc, data, size); // a null buffer would restart it
        std::uint8_t tail[4];
        PutBigEndian(tail, static_cast<std::uint32_t>(crc));
        Write(head, sizeof head);
        Write(data, size);
        Write(tail, sizeof tail);
    }
    void Compressed(const std::uint8_t* data, std::size_t size) {
        Idat.insert(Idat.end(), data, data + size);
        if (Idat.size() >= IdatBytes) FlushIdat();
    }
    void FlushIdat() {
        if (Idat.empty()) return;
        Chunk("IDAT", Idat.data(), Idat.size());
        Idat.clear();
    }

    void Start(int height) {
        static constexpr std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        Write(signature, sizeof signature);
        std::uint8_t ihdr[13] = {};
        PutBigEndian(ihdr, static_cast<std::uint32_t>(Width));
        PutBigEndian(ihdr + 4, static_cast<std::uint32_t>(height));
        ihdr[8] = 8;                            // bits a sample
        ihdr[9] = Colours == pcPalette ? 3 : 2; // indexed or RGB
        Chunk("IHDR", ihdr, sizeof ihdr);       // deflate, row filters, not interlaced
        std::uint8_t phys[9] = {};
        PutBigEndian(phys, ScreenPixelsPerMetre);
        PutBigEndian(phys + 4, ScreenPixelsPerMetre);
        phys[8] = 1; // the unit is the metre
        Chunk("pHYs", phys, sizeof phys);
        if (Colours == pcPalette) {
            // Room for the whole palette, filled in at the end.
            PaletteAt = Device.pos();
            const std::array<std::uint8_t, 768> none{};
            Chunk("PLTE", none.data(), none.size());
            PreviousRgb.assign(static_cast<std::size_t>(Width), 0xFFFFFFFFu);
            PreviousIndex.assign(static_cast<std::size_t>(Width), 0);
        } else {
            Previous.assign(3 * static_cast<std::size_t>(Width), 0);
            Current.resize(Previous.size());
        }
    }

    // Each pixel's palette index less the one above it; a pixel the colour
    // of the one above needs no look-up.
    void PaletteRow(const std::uint8_t* row) {
        const auto* pixels = reinterpret_cast<const std::uint32_t*>(row);
        std::uint8_t* out = Deflate.Append(static_cast<std::size_t>(Width) + 1);
        out[0] = FilterUp;
        ++out;
        for (int x = 0; x < Width; ++x) {
            const std::uint32_t rgb = pixels[x] & 0xFFFFFFu;
            if (rgb == PreviousRgb[x]) {
                out[x] = 0;
                continue;
            }
            const std::uint8_t index = Palette.IndexOf(rgb);
            out[x] = std::uint8_t(index - PreviousIndex[x]);
            PreviousIndex[x] = index;
            PreviousRgb[x] = rgb;
        }
    }

    // Red, green, blue, filtered Up or Sub, whichever leaves the smaller
    // sum of magnitudes.
    void RgbRow(const std::uint8_t* row) {
        const std::size_t n = Current.size();
        for (std::size_t x = 0, i = 0; i < n; ++x, i += 3) {
            Current[i] = row[4 * x + 2];
            Current[i + 1] = row[4 * x + 1];
            Current[i + 2] = row[4 * x];
        }
        auto magnitude = [](int v) {
            return std::abs(static_cast<int>(static_cast<std::int8_t>(v)));
        };
        std::uint64_t up = 0, sub = 0;
        for (std::size_t i = 0; i < n; ++i) {
            up += magnitude(Current[i] - Previous[i]);
            sub += magnitude(Current[i] - (i >= 3 ? Current[i - 3] : 0));
        }
        std::uint8_t* out = Deflate.Append(n + 1);
        out[0] = up <= sub ? FilterUp : FilterSub;
        ++out;
        if (up <= sub) {
            for (std::size_t i = 0; i < n; ++i)
                out[i] = std::uint8_t(Current[i] - Previous[i]);
        } else {
            for (std::size_t i = 0; i < n; ++i)
                out[i] = std::uint8_t(Current[i] - (i >= 3 ? Current[i - 3] : 0));
        }
        Previous.swap(Current);
    }

    void End() {
        Deflate.Finish();
        FlushIdat();
        Chunk("IEND", nullptr, 0);
        if (Colours == pcPalette) {
            const qint64 end = Device.pos();
            if (!Device.seek(PaletteAt)) throw Exception("Stream write error");
            const std::array<std::uint8_t, 768> entries = Palette.Entries();
            Chunk("PLTE", entries.data(), entries.size());
            if (!Device.seek(end)) throw Exception("Stream write error");
        }
    }

    QIODevice& Device;
    int Width;
    TPngColours Colours;
    TParallelDeflate Deflate;
    std::vector<std::uint8_t> Idat;
    qint64 PaletteAt = 0;
    TPalette Palette;
    std::vector<std::uint32_t> PreviousRgb;
    std::vector<std::uint8_t> PreviousIndex;
    std::vector<std::uint8_t> Previous;
    std::vector<std::uint8_t> Current;
    std::exception_ptr Error;
};

TPngStreamEncoder::TPngStreamEncoder(int width, int height, QIODevice& device,
                                     const TPngOptions& options)
    : TRowEncoder(width, height) {
    if (width <= 0 || height <= 0) throw EPNG("PNG image is empty");
    if (width > MaxSide || height > MaxSide) throw EPNG("PNG image is too large");
    TPngOptions chosen = options;
    // The palette is written last, which needs a device that can go back.
    if (device.isSequential()) chosen.Colours = pcRgb;
    F = std::make_unique<TState>(device, width, chosen);
    try {
        F->Start(height);
    } catch (...) {
        F->Error = std::current_exception();
        Fail();
    }
}

TPngStreamEncoder::~TPngStreamEncoder() = default;

std::exception_ptr TPngStreamEncoder::Failure() const {
    return F->Error;
}

std::exception_ptr TPngStreamEncoder::BadSize() const {
    return std::make_exception_ptr(EPNG("PNG image size is not valid"));
}

bool TPngStreamEncoder::EncodeRow(const std::uint8_t* row) {
    try {
        if (F->Colours == pcPalette)
            F->PaletteRow(row);
        else
            F->RgbRow(row);
        return true;
    } catch (...) {
        F->Error = std::current_exception();
        return false;
    }
}

bool TPngStreamEncoder::EncodeEnd() {
    try {
        F->End();
        return true;
    } catch (...) {
        F->Error = std::current_exception();
        return false;
    }
}

} // namespace tsb
