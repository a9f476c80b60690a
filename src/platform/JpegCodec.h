// JPEG files through libjpeg: decoding to an image and encoding baseline
// colour files. Both functions are pure, bytes in and image out.
#pragma once

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/Exception.h"

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

} // namespace tsb
