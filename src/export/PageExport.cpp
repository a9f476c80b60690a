#include "export/PageExport.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "core/FileStream.h"
#include "export/PagePainter.h"
#include "export/SvgDevice.h"
#include "graphics/Canvas.h"
#include "widgets/WinControl.h"

namespace tsb {

namespace {

QString Title(const std::string& fileName) {
    return QFileInfo(QString::fromStdString(fileName)).completeBaseName();
}

void Begin(QPainter& painter, QPaintDevice* device) {
    if (!painter.begin(device)) throw Exception("Stream write error");
}

} // namespace

// The control as a vector drawing of w x h units on a painter that has begun,
// stepping the progress element by element.
void TPageExport::PaintVector(QPainter& painter, int w, int h) const {
    TCanvas canvas;
    canvas.BindPainter(&painter, {0, 0}, {0, 0, w, h});
    TProgress* progress = FProgress;
    if (!progress) {
        FControl->PaintTo(canvas, 0, 0);
        return;
    }
    FControl->PaintTo(canvas, 0, 0, [progress](std::size_t done, std::size_t total) {
        progress->Step(static_cast<std::int64_t>(done), static_cast<std::int64_t>(total));
    });
    progress->Step(1, 1);
}

std::optional<TExportFormat> ExportFormatOf(const std::string& fileName) {
    const std::string extension =
        QFileInfo(QString::fromStdString(fileName)).suffix().toStdString();
    if (SameText(extension, "jpg") || SameText(extension, "jpeg")) return efJpeg;
    if (SameText(extension, "png")) return efPng;
    if (SameText(extension, "pdf")) return efPdf;
    if (SameText(extension, "svg")) return efSvg;
    return std::nullopt;
}

void TPageExport::Write(TExportFormat format, const std::string& fileName) const {
    switch (format) {
    case efJpeg:
        WriteJpeg(fileName);
        return;
    case efPng:
        WritePng(fileName);
        return;
    case efPdf:
        WritePdf(fileName);
        return;
    case efSvg:
        WriteSvg(fileName);
        return;
    }
}

void TPageExport::WriteJpeg(const std::string& fileName, int quality) const {
    WriteFileStreamed(fileName, [this, quality](const TByteSink& write) {
        TPagePainter(FControl, FProgress).WriteJpeg(write, quality);
        StepProgress(FProgress, 1, 1); // a last chance to stop before the file replaces the target
    });
}

std::vector<std::uint8_t> TPageExport::Jpeg(int quality) const {
    std::vector<std::uint8_t> bytes;
    TPagePainter(FControl, FProgress)
        .WriteJpeg([&bytes](const std::uint8_t* data,
                            std::size_t size) { bytes.insert(bytes.end(), data, data + size); },
                   quality);
    return bytes;
}

void TPageExport::WritePng(const std::string& fileName) const {
    WriteFileThrough(fileName, [this](QIODevice& file) {
        TPagePainter(FControl, FProgress).WritePng(file);
        StepProgress(FProgress, 1, 1);
    });
}

void TPageExport::WritePdf(const std::string& fileName) const {
    const int w = FControl->ClientWidth(), h = FControl->ClientHeight();
    if (w <= 0 || h <= 0) throw Exception("PDF page is empty");
    WriteFileThrough(fileName, [&](QIODevice& file) {
        QPdfWriter pdf(&file);
        pdf.setResolution(UnitsPerInch);
        // Page sizes are whole points: rounded up, so nothing is cut off.
        const auto points = [](int units) { return (std::int64_t(units) * 72 + 95) / 96; };
        const QPageSize size(QSizeF(qreal(points(w)), qreal(points(h))), QPageSize::Point,
                             QString(), QPageSize::ExactMatch);
        pdf.setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF()));
        pdf.setTitle(Title(fileName));
        pdf.setCreator("Tresselby Diagram Tool");
        QPainter painter;
        Begin(painter, &pdf);
        painter.setRenderHint(QPainter::LosslessImageRendering);
        PaintVector(painter, w, h);
        painter.end();
        StepProgress(FProgress, 1, 1);
    });
}

void TPageExport::WriteSvg(const std::string& fileName) const {
    const int w = FControl->ClientWidth(), h = FControl->ClientHeight();
    if (w <= 0 || h <= 0) throw Exception("SVG drawing is empty");
    WriteFileThrough(fileName, [&](QIODevice& file) {
        TSvgDevice svg(file, QSize(w, h), Title(fileName), "Drawn by Tresselby Diagram Tool");
        QPainter painter;
        Begin(painter, &svg);
        PaintVector(painter, w, h);
        painter.end();
        if (!svg.Written()) throw Exception("Stream write error");
        StepProgress(FProgress, 1, 1);
    });
}

} // namespace tsb
