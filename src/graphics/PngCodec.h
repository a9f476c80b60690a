// PNG files through libpng, encoded from rows handed over top to bottom.
#pragma once

#include <QImage>
#include <memory>

#include "core/Exception.h"
#include "graphics/ByteSink.h"
#include "graphics/RowEncoder.h"

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
class TPngStreamEncoder : public TRowEncoder {
public:
    TPngStreamEncoder(int width, int height, TByteSink sink);
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
