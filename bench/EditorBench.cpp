// The editor with the large diagram in a 1600 x 1200 main window: open to
// the first paint of the viewport, a drag step of one element with its
// repaint, a scroll step of one viewport, a hair-line move, and the memory
// held with the diagram open and with a 60,000 x 40,000 page open; zoomed,
// a repaint of the whole page at Fit Page, a scroll step at each zoom, a
// zoom step and a drag step at 200 %.
//
// Memory figures are the process's resident memory after the open; run each
// memory benchmark on its own (--benchmark_filter) for a clean figure.
#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>

#include "EditorWindow.h"
#include "LargeDiagram.h"
#include "editor/MainForm.h"
#include "editor/ZoomController.h"
#include "model/CustomShape.h"
#include "model/StandardShape.h"
#include "workarea/qmRuler.h"

using namespace tsb;
using namespace tsbbench;

namespace {

void Mouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button,
           Qt::MouseButtons buttons) {
    QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void BM_OpenToFirstPaint(benchmark::State& state) {
    const std::string& file = LargeDiagramFile();
    for (auto _ : state) {
        state.PauseTiming();
        auto form = NewWindow();
        state.ResumeTiming();
        form->OpenFile(file);
        form->Window()->repaint();
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_DragStep(benchmark::State& state) {
    TMainForm& form = LargeDiagramWindow();
    QWidget* host = form.ScrollBox1->Host();
    // The shape at row 2, column 3, pressed on its body.
    QPoint at(20 + 3 * 160 + 30, 20 + 2 * 100 + 40);
    Mouse(host, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
    Mouse(host, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    Settle();
    int step = 0;
    for (auto _ : state) {
        int dx = (step++ % 2) ? -1 : 1;
        at += QPoint(dx, 0);
        Mouse(host, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
        Settle();
    }
    Mouse(host, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    Settle();
}
BENCHMARK(BM_DragStep)->Unit(benchmark::kMillisecond);

void BM_ScrollStep(benchmark::State& state) {
    TMainForm& form = LargeDiagramWindow();
    QScrollBar* bar = form.ContainerPanel->ScrollArea()->verticalScrollBar();
    int page = form.ContainerPanel->ScrollArea()->viewport()->height();
    int position = 0;
    for (auto _ : state) {
        position = position + page > bar->maximum() ? 0 : position + page;
        bar->setValue(position);
        Settle();
    }
    bar->setValue(0);
    Settle();
}
BENCHMARK(BM_ScrollStep)->Unit(benchmark::kMillisecond);

void BM_HairLineMove(benchmark::State& state) {
    TMainForm& form = LargeDiagramWindow();
    QWidget* host = form.ScrollBox1->Host();
    int step = 0;
    for (auto _ : state) {
        // Over empty page between two shapes.
        QPoint p(140 + (step++ % 16), 85);
        Mouse(host, QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton);
        Settle();
    }
}
BENCHMARK(BM_HairLineMove)->Unit(benchmark::kMicrosecond);

// The whole page in view, all 30,000 elements, repainted.
void BM_FitPageRepaint(benchmark::State& state) {
    TMainForm& form = LargeDiagramWindow();
    form.Zoom().FitPage();
    Settle();
    state.counters["zoom_percent"] = form.Zoom().Zoom() * 100;
    for (auto _ : state) {
        form.ScrollBox1->Invalidate();
        form.ScrollBox1->Host()->repaint();
    }
    form.Zoom().ActualSize();
    Settle();
}
BENCHMARK(BM_FitPageRepaint)->Unit(benchmark::kMillisecond);

// A scroll step of one viewport down the page at a zoom in percent.
void BM_ScrollStepZoomed(benchmark::State& state) {
    TMainForm& form = LargeDiagramWindow();
    form.Zoom().SetZoom(state.range(0) / 100.0);
    Settle();
    QScrollBar* bar = form.ContainerPanel->ScrollArea()->verticalScrollBar();
    const int page = form.ContainerPanel->ScrollArea()->viewport()->height();
    int position = 0;
    for (auto _ : state) {
        position = position + page > bar->maximum() ? 0 : position + page;
        bar->setValue(position);
        Settle();
    }
    form.Zoom().ActualSize();
    Settle();
}
BENCHMARK(BM_ScrollStepZoomed)->Unit(benchmark::kMillisecond)->Arg(25)->Arg(50)->Arg(200)->Arg(800);

// One step in or out about the viewport's middle, with the repaint, between
// the zoom given in percent and the next step.
void BM_ZoomStep(benchmark::State& state) {
    TMainForm& form = LargeDiagramWindow();
    form.Zoom().SetZoom(state.range(0) / 100.0);
    Settle();
    bool in = true;
    for (auto _ : state) {
        if (in)
            form.Zoom().ZoomIn();
        else
            form.Zoom().ZoomOut();
        in = !in;
        form.Window()->repaint();
    }
    form.Zoom().ActualSize();
    Settle();
}
BENCHMARK(BM_ZoomStep)->Unit(benchmark::kMillisecond)->Arg(25)->Arg(100)->Arg(400);

void BM_DragStep200(benchmark::State& state) {
    TMainForm& form = LargeDiagramWindow();
    form.Zoom().SetZoom(2);
    QScrollArea* area = form.ContainerPanel->ScrollArea();
    area->horizontalScrollBar()->setValue(0);
    area->verticalScrollBar()->setValue(0);
    Settle();
    QWidget* host = form.ScrollBox1->Host();
    QPoint at(2 * (20 + 3 * 160 + 30), 2 * (20 + 2 * 100 + 40));
    Mouse(host, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
    Mouse(host, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    Settle();
    int step = 0;
    for (auto _ : state) {
        // A page pixel a step.
        at += QPoint((step++ % 2) ? -2 : 2, 0);
        Mouse(host, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
        Settle();
    }
    Mouse(host, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    form.Zoom().ActualSize();
    Settle();
}
BENCHMARK(BM_DragStep200)->Unit(benchmark::kMillisecond);

// Opens the file, paints, scrolls to the far corner and back, and reports
// the resident memory.
void MeasureOpen(benchmark::State& state, const std::string& file) {
    double before = ResidentMB();
    std::unique_ptr<TMainForm> form;
    for (auto _ : state) {
        form = NewWindow();
        form->OpenFile(file);
        form->Window()->repaint();
    }
    QScrollArea* area = form->ContainerPanel->ScrollArea();
    for (int value : {1, 0}) {
        area->horizontalScrollBar()->setValue(value * area->horizontalScrollBar()->maximum());
        area->verticalScrollBar()->setValue(value * area->verticalScrollBar()->maximum());
        Settle();
    }
    state.counters["rss_MB"] = ResidentMB();
    state.counters["rss_before_MB"] = before;
    state.counters["peak_MB"] = PeakResidentMB();
}

void BM_MemoryLargeDiagram(benchmark::State& state) {
    MeasureOpen(state, LargeDiagramFile());
}
BENCHMARK(BM_MemoryLargeDiagram)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_MemoryHugePage(benchmark::State& state) {
    MeasureOpen(state, HugePageFile(60000, 40000));
}
BENCHMARK(BM_MemoryHugePage)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
