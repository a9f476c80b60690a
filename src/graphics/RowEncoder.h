// The part image encoders share when they take rows top to bottom and hand
// their bytes on as they make them: checking the rows against the image's
// size, and staying failed after a failure.
#pragma once

#include <QImage>
#include <cstdint>
#include <exception>

namespace tsb {

class TRowEncoder {
public:
    virtual ~TRowEncoder() = default;
    TRowEncoder(const TRowEncoder&) = delete;
    TRowEncoder& operator=(const TRowEncoder&) = delete;

    // The first `rows` rows of an image as wide as the file.
    void WriteRows(const QImage& image, int rows);
    // Ends the file once every row is written.
    void Finish();

protected:
    TRowEncoder(int width, int height) : FWidth(width), FHeight(height) {}
    // One row as an RGB32 image holds it (blue, green, red, unused); false
    // when the codec failed.
    virtual bool EncodeRow(const std::uint8_t* row) = 0;
    // The end of the file; false when the codec failed.
    virtual bool EncodeEnd() = 0;
    // What made the codec fail: the sink's own error, or the codec's.
    virtual std::exception_ptr Failure() const = 0;
    // The codec's error for rows that do not fit the image.
    virtual std::exception_ptr BadSize() const = 0;
    // Marks the encoder failed and raises; every later call raises again.
    [[noreturn]] void Fail();

private:
    int FWidth;
    int FHeight;
    int FWritten = 0;
    bool FFailed = false;
    bool FFinished = false;
};

} // namespace tsb
