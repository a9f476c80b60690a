// The converter's export, in process: the 30,000-element diagram and a
// 20,000 x 15,000 page with a few elements, loaded as the converter loads
// them (grid shown, nothing selected) and written to each format, with the
// memory of the process at its peak during the export.
//
// The peak is the resident high-water mark, set back to the resident memory
// before each export, so each benchmark's peak_MB is its own. The same
// exports through the editor's progress window (shown after half a second,
// as in the editor) give the cost of progress.
#include <QFile>
#include <QFileInfo>
#include <benchmark/benchmark.h>
#include <memory>

#include "LargeDiagram.h"
#include "editor/ProgressWindow.h"
#include "export/PageExport.h"
#include "model/CustomShape.h"
#include "model/DiagramRoot.h"
#include "model/ModelClasses.h"
#include "widgets/ScrollBox.h"
#include "workarea/SnapGrid.h"

using namespace tsb;
using namespace tsbbench;

namespace {

// A diagram file loaded as the converter loads it.
struct TLoaded {
    explicit TLoaded(const std::string& file) {
        auto* grid = new TSnapGrid(&Root);
        grid->SetName("SnapGrid1");
        grid->SetGridSize(20);
        grid->SetParent(Root.ScrollBox1);
        TCustomShape::LoadFromFile(file, Root.ScrollBox1);
        TCustomShape::UnselectAll(Root.ScrollBox1);
    }
    TDiagramRoot Root;
};

const std::string& PageFile() {
    return HugePageFile(20000, 15000);
}

void Export(benchmark::State& state, const std::string& (*file)(), TExportFormat format,
            const char* extension, bool progress = false) {
    auto loaded = std::make_unique<TLoaded>(file());
    const std::string out = TempFile(std::string("tresselby-bench-export.") + extension);
    const double before = ResidentMB();
    ResetHighWater();
    bool shown = false;
    for (auto _ : state) {
        TProgressWindow window(nullptr, "Exporting");
        TPageExport(loaded->Root.ScrollBox1, progress ? &window : nullptr).Write(format, out);
        shown = window.Window() != nullptr;
    }
    if (progress) state.counters["window_shown"] = shown;
    state.counters["rss_before_MB"] = before;
    state.counters["peak_MB"] = HighWaterMB();
    state.counters["file_MB"] = double(QFileInfo(QString::fromStdString(out)).size()) / (1 << 20);
    QFile::remove(QString::fromStdString(out));
}

#define EXPORT_BENCHMARK(name, file, format, ...)                                                  \
    BENCHMARK_CAPTURE(Export, name, file, format, __VA_ARGS__)                                     \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->Iterations(1)

EXPORT_BENCHMARK(Large30kJpeg, LargeDiagramFile, efJpeg, "jpg");
EXPORT_BENCHMARK(Large30kPng, LargeDiagramFile, efPng, "png");
EXPORT_BENCHMARK(Large30kPdf, LargeDiagramFile, efPdf, "pdf");
EXPORT_BENCHMARK(Large30kSvg, LargeDiagramFile, efSvg, "svg");
EXPORT_BENCHMARK(Large30kPngWithProgress, LargeDiagramFile, efPng, "png", true);
EXPORT_BENCHMARK(Large30kPdfWithProgress, LargeDiagramFile, efPdf, "pdf", true);
EXPORT_BENCHMARK(Large30kSvgWithProgress, LargeDiagramFile, efSvg, "svg", true);
EXPORT_BENCHMARK(Page20000x15000Png, PageFile, efPng, "png");
EXPORT_BENCHMARK(Page20000x15000Pdf, PageFile, efPdf, "pdf");
EXPORT_BENCHMARK(Page20000x15000Svg, PageFile, efSvg, "svg");

} // namespace
