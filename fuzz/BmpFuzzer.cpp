// Feeds arbitrary bytes to the BMP decoder as a bitmap file. A file that
// decodes gives an image within the decoder's limits, in one of its two
// formats, whose pixels the encoder writes and the decoder reads back as they
// were; the bitmap then draws.
#include "PictureFuzz.h"
#include "graphics/Bitmap.h"
#include "graphics/BmpCodec.h"

using namespace tsb;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    tsbfuzz::StartPictures(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TBitmap bitmap;
    if (!tsbfuzz::Loaded(bitmap, [&] { bitmap.LoadFromBytes(data, size); })) return 0;
    const QImage& image = bitmap.Image();
    if (size > 0) {
        if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
            tsbfuzz::Fail("a bitmap decoded to another format");
        if (image.width() < 1 || image.height() < 1 || image.width() > MaxBmpSide ||
            image.height() > MaxBmpSide ||
            std::int64_t(image.width()) * image.height() > MaxBmpPixels)
            tsbfuzz::Fail("a bitmap beyond the decoder's limits");
        if (tsbfuzz::Small(image)) {
            // An opaque image goes out as 24 bits and comes back as RGB32,
            // whatever format it had.
            const std::vector<std::uint8_t> file = EncodeBmp(image);
            const auto argb = [](const QImage& i) {
                return i.convertToFormat(QImage::Format_ARGB32);
            };
            try {
                if (argb(DecodeBmp(file.data(), file.size())) != argb(image))
                    tsbfuzz::Fail("a bitmap written and read back has other pixels");
            } catch (const std::exception& e) {
                tsbfuzz::Fail("a written bitmap does not read back", e);
            }
        }
    }
    tsbfuzz::PaintPicture(bitmap);
    return 0;
}
