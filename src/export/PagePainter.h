// Paints a windowed control with all its children a band of rows at a time,
// so a page of any size passes through an image of a few megabytes: JPEG
// and PNG export stream the bands to the encoder, and a scaled-down picture
// takes only the rows it shows.
#pragma once

#include <QImage>
#include <cstdint>
#include <functional>

#include "core/Progress.h"
#include "graphics/JpegCodec.h"
#include "graphics/PngCodec.h"

class QIODevice;

namespace tsb {

class TWinControl;

class TPagePainter {
public:
    // Pixels of one band; its height follows from the width.
    static constexpr std::int64_t BandPixels = 1 << 20;

    // With a progress object, painting steps it once a band, in rows.
    explicit TPagePainter(TWinControl* control, TProgress* progress = nullptr);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Rows per band for this page.
    int BandRows() const;

    // Paints the page top to bottom on a white ground, each band as it
    // would look painted in one piece, and hands it over: the image holds
    // `rows` rows starting at page row `top`.
    void ForEachBand(const std::function<void(const QImage& band, int top, int rows)>& visit) const;

    // The page as one image when it has at most maxPixels pixels; otherwise
    // scaled down, proportions kept, to at most maxPixels, each pixel taken
    // from the page pixel it covers.
    QImage Picture(std::int64_t maxPixels) const;

    // The page as a JPEG file of the given quality, band by band.
    void WriteJpeg(const TByteSink& sink, int quality = DefaultJpegQuality) const;
    // The page as a PNG file, band by band: every pixel as painted, with a
    // palette where the page has at most 256 colours. Written from the
    // device's position, which it must be able to go back to; what lay
    // beyond the file is cut off.
    void WritePng(QIODevice& device, const TPngOptions& options = {}) const;

private:
    TWinControl* FControl;
    TProgress* FProgress;
    int FWidth;
    int FHeight;
};

} // namespace tsb
