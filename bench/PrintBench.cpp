// Printing the diagram: building the editor's one page of 1,000 elements on
// an 800 x 1600 work area, showing it in the preview's paint box, and
// writing it to a PDF file as a print job does.
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include "ThousandElements.h"
#include "editor/MainForm.h"
#include "graphics/Metafile.h"
#include "preview/Printer.h"
#include "preview/qmPrinter.h"

using namespace tsb;

namespace {

void BM_BuildPage(benchmark::State& state) {
    TMainForm form;
    PopulateThousand(form);
    for (auto _ : state)
        form.qmPrinter1->BuildPages();
    state.counters["page_bytes"] =
        double(form.qmPrinter1->PageWidth()) * form.qmPrinter1->PageHeight() * 4;
}
BENCHMARK(BM_BuildPage)->Unit(benchmark::kMillisecond);

void BM_ShowPageAtPageWidth(benchmark::State& state) {
    TMainForm form;
    PopulateThousand(form);
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
    PopulateThousand(form);
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
