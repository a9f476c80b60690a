// PNG files through libpng, encoded from rows handed over top to bottom.
#pragma once

#include <QImage>
#include <memory>

#include "platform/ByteSink.h"
#include "platform/Exception.h"

namespace tsb {

// A failure of PNG encoding: "PNG image is empty", "PNG image is too large"
// (over a million pixels a side), or libpng's own message.
class EPNG : public Exception {
public:
    using Exception::Exception;
};

// Encodes an 8-bit RGB file, lossless, at 96 dots per inch, from rows of
// opaque RGB32 images, passing the bytes to the sink as libpng makes them:
// neither the image nor the file is ever held whole. Raises EPNG, or what
// the sink raised; after a failure every call raises again.
class TPngStreamEncoder {
public:
    TPngStreamEncoder(int width, int height, TByteSink sink);
    ~TPngStreamEncoder();
    TPngStreamEncoder(const TPngStreamEncoder&) = delete;
    TPngStreamEncoder& operator=(const TPngStreamEncoder&) = delete;

    // The first `rows` rows of an image as wide as the file.
    void WriteRows(const QImage& image, int rows);
    // Ends the file once every row is written.
    void Finish();

private:
    struct TState;
    [[noreturn]] void Fail();
    std::unique_ptr<TState> F;
};

} // namespace tsb
