// PNG files encoded from rows handed over top to bottom, compressed on
// every core.
#pragma once

#include <QImage>
#include <memory>

#include "core/Exception.h"
#include "graphics/RowEncoder.h"

class QIODevice;

namespace tsb {

// A failure of PNG encoding: "PNG image is empty", "PNG image is too large"
// (over a million pixels a side), "PNG image size is not valid".
class EPNG : public Exception {
public:
    using Exception::Exception;
};

// An image with more colours than a palette holds, met while encoding with
// one: the image must be encoded again in full colour.
class EPNGPaletteFull : public EPNG {
public:
    EPNGPaletteFull() : EPNG("PNG image has more than 256 colours") {}
};

enum TPngColours : std::uint8_t {
    // A palette of the colours in order of their first pixel: a third of
    // the bytes to compress for a drawing of flat colours. Raises
    // EPNGPaletteFull at the 257th colour.
    pcPalette,
    // 8-bit red, green, blue.
    pcRgb
};

struct TPngOptions {
    TPngColours Colours = pcPalette;
    // Compressing threads; 0 for one per core.
    int Threads = 0;
    // Bytes of filtered rows compressed as one piece.
    std::size_t PieceBytes = std::size_t(1) << 20;
};

// Encodes a lossless 8-bit file at 96 dots per inch from rows of opaque
// RGB32 images. Each row is filtered against the row above (Up), or, in
// full colour, against the pixel before it (Sub) where that leaves less,
// which suits line drawings; the rows are compressed on worker threads
// while the caller goes on. The file goes to the device from its position
// at construction, as it is made; the device must be able to seek back
// there, as the palette is filled in at the end. Neither the image nor the
// file is ever held whole. Raises EPNG, or the device's "Stream write
// error"; after a failure every call raises again.
class TPngStreamEncoder : public TRowEncoder {
public:
    TPngStreamEncoder(int width, int height, QIODevice& device, const TPngOptions& options = {});
    ~TPngStreamEncoder() override;

protected:
    bool EncodeRow(const std::uint8_t* row) override;
    bool EncodeEnd() override;
    std::exception_ptr Failure() const override;
    std::exception_ptr BadSize() const override;

private:
    struct TState;
    std::unique_ptr<TState> F;
};

} // namespace tsb
