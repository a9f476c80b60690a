// Feeds arbitrary bytes to the JPEG decoder as a JPEG file. A file that
// decodes gives an opaque image within the decoder's limit, which the encoder
// writes as a file the decoder reads back at the same size; the picture then
// draws.
#include "PictureFuzz.h"
#include "graphics/JPEGImage.h"
#include "graphics/JpegCodec.h"

using namespace tsb;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    tsbfuzz::StartPictures(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TJPEGImage picture;
    if (!tsbfuzz::Loaded(picture, [&] { picture.LoadFromBytes(data, size); })) return 0;
    const QImage& image = picture.Image();
    if (size > 0) {
        if (image.format() != QImage::Format_RGB32)
            tsbfuzz::Fail("a JPEG decoded to another format");
        if (image.isNull() || std::int64_t(image.width()) * image.height() > MaxJpegPixels)
            tsbfuzz::Fail("a JPEG beyond the decoder's limit");
        if (tsbfuzz::Small(image)) {
            const std::vector<std::uint8_t> file = EncodeJpeg(image);
            try {
                if (DecodeJpeg(file.data(), file.size()).size() != image.size())
                    tsbfuzz::Fail("a JPEG written and read back has another size");
            } catch (const std::exception& e) {
                tsbfuzz::Fail("a written JPEG does not read back", e);
            }
        }
    }
    tsbfuzz::PaintPicture(picture);
    return 0;
}
