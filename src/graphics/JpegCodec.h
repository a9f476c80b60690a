// JPEG files through libjpeg: decoding to an image and encoding baseline
// colour files. Both functions are pure, bytes in and image out.
#pragma once

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/Exception.h"
#include "graphics/ByteSink.h"
#include "graphics/RowEncoder.h"

namespace tsb {

// A failure reported by libjpeg, with libjpeg's own message
// (e.g. "Premature end of JPEG file", "Not a JPEG file: starts with 0x42 0x4d").
class EJPEG : public Exception {
public:
    using Exception::Exception;
};

// Largest JPEG image the decoder accepts, in pixels.
constexpr std::int64_t MaxJpegPixels = std::int64_t(1) << 26;

// Default quality of encoded files.
constexpr int DefaultJpegQuality = 90;

// Decodes a complete JPEG file (grayscale, YCbCr, RGB, CMYK or YCCK) into a
// Format_RGB32 image. Damaged data raises EJPEG: a file that ends early, a
// corrupt header, corrupt entropy-coded data that libjpeg notices, and an
// image larger than MaxJpegPixels ("JPEG image is too large").
QImage DecodeJpeg(const std::uint8_t* data, std::size_t size);

// Encodes a non-empty image as a baseline JFIF file in YCbCr colour with
// 2 x 2 chroma subsampling at the given quality (1 to 100). Pixels that are
// not opaque are first laid over white. Raises EJPEG on failure.
std::vector<std::uint8_t> EncodeJpeg(const QImage& image, int quality = DefaultJpegQuality);

// Encodes the same files as EncodeJpeg from rows handed over top to bottom,
// passing the bytes to the sink as libjpeg makes them: neither the image
// nor the file is ever held whole. Raises EJPEG, or what the sink raised;
// after a failure every call raises again.
class TJpegStreamEncoder : public TRowEncoder {
public:
    TJpegStreamEncoder(int width, int height, TByteSink sink, int quality = DefaultJpegQuality);
    ~TJpegStreamEncoder() override;

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
