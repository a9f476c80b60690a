#include "export/PagePainter.h"

#include <QBuffer>
#include <QFileDevice>
#include <algorithm>
#include <cmath>

#include "widgets/WinControl.h"

namespace tsb {

namespace {

// Drops what lies beyond the device's position.
void CutAtPosition(QIODevice& device) {
    if (auto* file = qobject_cast<QFileDevice*>(&device)) {
        if (!file->resize(file->pos())) throw Exception("Stream write error");
    } else if (auto* buffer = qobject_cast<QBuffer*>(&device)) {
        buffer->buffer().truncate(buffer->pos());
    } else {
        throw Exception("Stream write error");
    }
}

} // namespace

TPagePainter::TPagePainter(TWinControl* control, TProgress* progress)
    : FControl(control), FProgress(progress), FWidth(std::max(0, control->ClientWidth())),
      FHeight(std::max(0, control->ClientHeight())) {}

int TPagePainter::BandRows() const {
    if (FWidth <= 0) return 1;
    return static_cast<int>(std::clamp<std::int64_t>(BandPixels / FWidth, 1, 1024));
}

void TPagePainter::ForEachBand(
    const std::function<void(const QImage& band, int top, int rows)>& visit) const {
    if (FWidth <= 0 || FHeight <= 0) return;
    const int bandRows = std::min(BandRows(), FHeight);
    QImage band(FWidth, bandRows, QImage::Format_RGB32);
    if (band.isNull()) throw Exception("Not enough memory to paint the work area");
    for (int top = 0; top < FHeight; top += bandRows) {
        StepProgress(FProgress, top, FHeight);
        const int rows = std::min(bandRows, FHeight - top);
        band.fill(Qt::white);
        FControl->PaintTo(band, 0, -top);
        visit(band, top, rows);
    }
    StepProgress(FProgress, FHeight, FHeight);
}

QImage TPagePainter::Picture(std::int64_t maxPixels) const {
    if (FWidth <= 0 || FHeight <= 0) return QImage();
    const std::int64_t pixels = static_cast<std::int64_t>(FWidth) * FHeight;
    if (pixels <= maxPixels) {
        QImage image(FWidth, FHeight, QImage::Format_RGB32);
        if (image.isNull()) throw Exception("Not enough memory to paint the work area");
        image.fill(Qt::white);
        FControl->PaintTo(image, 0, 0);
        return image;
    }
    const double scale = std::sqrt(static_cast<double>(maxPixels) / static_cast<double>(pixels));
    const int width = std::max(1, static_cast<int>(FWidth * scale));
    const int height = std::max(1, static_cast<int>(FHeight * scale));
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) throw Exception("Not enough memory to paint the work area");
    std::vector<int> columns(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x)
        columns[static_cast<std::size_t>(x)] =
            static_cast<int>(static_cast<std::int64_t>(x) * FWidth / width);
    // Each picture row is one page row, painted alone.
    QImage row(FWidth, 1, QImage::Format_RGB32);
    if (row.isNull()) throw Exception("Not enough memory to paint the work area");
    for (int y = 0; y < height; ++y) {
        const int pageRow = static_cast<int>(static_cast<std::int64_t>(y) * FHeight / height);
        row.fill(Qt::white);
        FControl->PaintTo(row, 0, -pageRow);
        const auto* src = reinterpret_cast<const QRgb*>(row.constScanLine(0));
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            dst[x] = src[columns[static_cast<std::size_t>(x)]];
    }
    return image;
}

void TPagePainter::WriteJpeg(const TByteSink& sink, int quality) const {
    TJpegStreamEncoder encoder(FWidth, FHeight, sink, quality);
    ForEachBand([&](const QImage& band, int, int rows) { encoder.WriteRows(band, rows); });
    encoder.Finish();
}

void TPagePainter::WritePng(QIODevice& device, const TPngOptions& options) const {
    const qint64 start = device.pos();
    auto write = [&](const TPngOptions& chosen) {
        TPngStreamEncoder encoder(FWidth, FHeight, device, chosen);
        ForEachBand([&](const QImage& band, int, int rows) { encoder.WriteRows(band, rows); });
        encoder.Finish();
    };
    try {
        write(options);
        return;
    } catch (const EPNGPaletteFull&) {
    }
    // Too many colours for a palette: the page again, in full colour, over
    // what was written.
    TPngOptions rgb = options;
    rgb.Colours = pcRgb;
    if (!device.seek(start)) throw Exception("Stream write error");
    write(rgb);
    CutAtPosition(device);
}

} // namespace tsb
