// Printing the diagram: building the editor's one page of 1,000 elements on
// an 800 x 1600 work area, showing it in the preview's paint box, and
// writing it to a PDF file as a print job does.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cstdlib>

#include "editor/MainForm.h"
#include "platform/Metafile.h"
#include "platform/Printer.h"
#include "preview/qmPrinter.h"

using namespace tsb;

namespace {

void Populate(TMainForm& form) {
    form.P800x1600ActionExecute();
    for (int i = 0; i < 500; ++i) {
        form.ShapeBtnClick();
        form.ScrollBox1MouseDown(form.ScrollBox1, mbLeft, 0, 20 + (i % 5) * 150, 20 + (i / 5) * 15);
    }
    form.SelectAll();
}

void BM_BuildPage(benchmark::State& state) {
    TMainForm form;
    Populate(form);
    for (auto _ : state)
        form.qmPrinter1->BuildPages();
    state.counters["page_bytes"] =
        double(form.qmPrinter1->PageWidth()) * form.qmPrinter1->PageHeight() * 4;
}
BENCHMARK(BM_BuildPage)->Unit(benchmark::kMillisecond);

void BM_ShowPageAtPageWidth(benchmark::State& state) {
    TMainForm form;
    Populate(form);
    form.qmPrinter1->BuildPages();
    QImage box(1000, 1294, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&box);
        form.qmPrinter1->SelectedPage()->Play(painter, box.rect());
    }
}
BENCHMARK(BM_ShowPageAtPageWidth)->Unit(benchmark::kMillisecond);

void BM_PrintPageToPdf(benchmark::State& state) {
    TMainForm form;
    Populate(form);
    form.qmPrinter1->BuildPages();
    QString file = QDir::temp().filePath("tresselby-bench.pdf");
    TPrinter& printer = Printer();
    for (auto _ : state) {
        printer.OutputFile = file.toStdString();
        printer.BeginDoc();
        form.qmPrinter1->SelectedPage()->Play(
            *printer.Canvas(), QRect(0, 0, printer.PageWidth(), printer.PageHeight()));
        printer.EndDoc();
    }
    printer.OutputFile.clear();
    state.counters["pdf_bytes"] = double(QFileInfo(file).size());
    QFile::remove(file);
}
BENCHMARK(BM_PrintPageToPdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
