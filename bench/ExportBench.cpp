// The converter's export, in process: the 30,000-element diagram and a
// 20,000 x 15,000 page with a few elements, loaded as the converter loads
// them (grid shown, nothing selected) and written to each format, with the
// memory of the process at its peak during the export.
//
// The peak is the resident high-water mark, set back to the resident memory
// before each export, so each benchmark's peak_MB is its own.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <benchmark/benchmark.h>
#include <memory>

#include "LargeDiagram.h"
#include "model/CustomShape.h"
#include "model/DiagramRoot.h"
#include "model/ModelClasses.h"
#include "platform/PageExport.h"
#include "platform/ScrollBox.h"
#include "workarea/SnapGrid.h"

using namespace tsb;
using namespace tsbbench;

namespace {

std::string TempFile(const std::string& name) {
    return QDir::temp().filePath(QString::fromStdString(name)).toStdString();
}

const std::string& LargeFile() {
    static const std::string file = [] {
        std::string f = TempFile("tresselby-bench-export-large.tsb");
        WriteLargeDiagram(f);
        return f;
    }();
    return file;
}

const std::string& LargePageFile() {
    static const std::string file = [] {
        std::string f = TempFile("tresselby-bench-export-page.tsb");
        WriteHugePage(f, 20000, 15000);
        return f;
    }();
    return file;
}

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

void Export(benchmark::State& state, const std::string& (*file)(), TExportFormat format,
            const char* extension) {
    auto loaded = std::make_unique<TLoaded>(file());
    const std::string out = TempFile(std::string("tresselby-bench-export.") + extension);
    const double before = ResidentMB();
    ResetHighWater();
    for (auto _ : state)
        TPageExport(loaded->Root.ScrollBox1).Write(format, out);
    state.counters["rss_before_MB"] = before;
    state.counters["peak_MB"] = HighWaterMB();
    state.counters["file_MB"] = double(QFileInfo(QString::fromStdString(out)).size()) / (1 << 20);
    QFile::remove(QString::fromStdString(out));
}

#define EXPORT_BENCHMARK(name, file, format, extension)                                            \
    BENCHMARK_CAPTURE(Export, name, file, format, extension)                                       \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->Iterations(1)

EXPORT_BENCHMARK(Large30kJpeg, LargeFile, efJpeg, "jpg");
EXPORT_BENCHMARK(Large30kPng, LargeFile, efPng, "png");
EXPORT_BENCHMARK(Large30kPdf, LargeFile, efPdf, "pdf");
EXPORT_BENCHMARK(Large30kSvg, LargeFile, efSvg, "svg");
EXPORT_BENCHMARK(Page20000x15000Png, LargePageFile, efPng, "png");
EXPORT_BENCHMARK(Page20000x15000Pdf, LargePageFile, efPdf, "pdf");
EXPORT_BENCHMARK(Page20000x15000Svg, LargePageFile, efSvg, "svg");

} // namespace
