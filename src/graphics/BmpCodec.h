// Windows bitmap files (.bmp): reading and writing. Both functions are pure,
// bytes in and image out, and trust nothing in their input.
#pragma once

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tsb {

// Largest bitmap the reader accepts: each side, and the number of pixels.
constexpr int MaxBmpSide = 32768;
constexpr std::int64_t MaxBmpPixels = std::int64_t(1) << 26;

// Decodes a complete BMP file: "BM" file header, then a core (12-byte),
// info (40-byte) or later (52, 56, 108, 124-byte) header; 1, 4 and 8 bits per
// pixel with a colour table, uncompressed or RLE4/RLE8; 16 and 32 bits with
// BI_RGB or bit-field masks; 24 bits; bottom-up or top-down rows.
// Returns Format_RGB32, or Format_ARGB32 when the file has an alpha mask and
// some pixel has a non-zero alpha (writers that leave alpha at 0 everywhere
// mean an opaque image). Raises tsb::Exception with "Bitmap image is not
// valid", "Bitmap image format is not supported" or "Bitmap image is too large".
QImage DecodeBmp(const std::uint8_t* data, std::size_t size);

// Encodes a non-empty image as a bottom-up BMP file at 96 dots per inch.
// Opaque images: 24 bits per pixel, BI_RGB, 40-byte info header, no colour
// table. Images with any non-opaque pixel: 32 bits per pixel, BI_BITFIELDS
// with a 108-byte (V4) header and the masks R 0x00FF0000, G 0x0000FF00,
// B 0x000000FF, A 0xFF000000; colours are not premultiplied. A null image
// raises "Bitmap image is empty", a file beyond 4 GiB "Bitmap image is too large".
std::vector<std::uint8_t> EncodeBmp(const QImage& image);

} // namespace tsb
