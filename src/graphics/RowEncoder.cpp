#include "graphics/RowEncoder.h"

namespace tsb {

void TRowEncoder::Fail() {
    FFailed = true;
    std::rethrow_exception(Failure());
}

void TRowEncoder::WriteRows(const QImage& image, int rows) {
    if (FFailed) Fail();
    if (image.width() != FWidth || rows < 0 || rows > image.height() || FWritten + rows > FHeight)
        std::rethrow_exception(BadSize());
    const QImage rgb = image.format() == QImage::Format_RGB32
                           ? image
                           : image.convertToFormat(QImage::Format_RGB32);
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "RGB32 rows are read as BGRX bytes");
    for (int y = 0; y < rows; ++y) {
        if (!EncodeRow(rgb.constScanLine(y))) Fail();
        ++FWritten;
    }
}

void TRowEncoder::Finish() {
    if (FFailed) Fail();
    if (FFinished) return;
    if (FWritten != FHeight) std::rethrow_exception(BadSize());
    if (!EncodeEnd()) Fail();
    FFinished = true;
}

} // namespace tsb
