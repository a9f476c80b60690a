// Writing a windowed control with all its children to a file in one of the
// export formats: JPEG and PNG images painted in bands, PDF and SVG vector
// drawings with real text. The editor and the converter both write through
// here. A file is written beside its target and renamed over it once
// complete; a failure leaves the target as it was.
#pragma once

#include <optional>
#include <string>
#include <vector>

class QPainter;

#include "core/Progress.h"
#include "graphics/JpegCodec.h"

namespace tsb {

class TWinControl;

enum TExportFormat { efJpeg, efPng, efPdf, efSvg };

// The format a file name's extension names, without regard to case: .jpg
// and .jpeg, .png, .pdf, .svg. None for any other extension.
std::optional<TExportFormat> ExportFormatOf(const std::string& fileName);

class TPageExport {
public:
    // Vector pages are laid out at this many units to the inch: one unit is
    // one pixel of the screen.
    static constexpr int UnitsPerInch = 96;

    // With a progress object, writing steps it as it goes and stops when it
    // raises; the target is then left as it was.
    explicit TPageExport(TWinControl* control, TProgress* progress = nullptr)
        : FControl(control), FProgress(progress) {}

    void Write(TExportFormat format, const std::string& fileName) const;

    // The client area as it shows, band by band.
    void WriteJpeg(const std::string& fileName, int quality = DefaultJpegQuality) const;
    std::vector<std::uint8_t> Jpeg(int quality = DefaultJpegQuality) const;
    void WritePng(const std::string& fileName) const;
    // One page of the client area's size (at UnitsPerInch, in whole points,
    // rounded up), no margins; fonts embedded, pictures kept lossless.
    void WritePdf(const std::string& fileName) const;
    // A drawing of the client area's size, one unit a pixel.
    void WriteSvg(const std::string& fileName) const;

private:
    void PaintVector(QPainter& painter, int w, int h) const;

    TWinControl* FControl;
    TProgress* FProgress;
};

} // namespace tsb
