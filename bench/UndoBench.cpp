// Undo and redo in the editor with the large diagram in a 1600 x 1200
// window: a one-element step undone and redone with its repaint (a move,
// and a change of a shape's type, which brings the shape back from its
// record), the undo of a delete of 1,000 elements, a drag step with and
// without its recording, and the memory that 1,000 moves of one element
// hold. And the serialising of a recovery copy of the diagram, which runs
// on the GUI thread.
#include <QApplication>
#include <QMainWindow>
#include <QMouseEvent>
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <memory>

#include "EditorWindow.h"
#include "LargeDiagram.h"
#include "editor/DiagramHistory.h"
#include "editor/MainForm.h"
#include "model/CustomShape.h"
#include "model/DiagramStream.h"
#include "model/StandardShape.h"

using namespace tsb;
using namespace tsbbench;

namespace {

TStandardShape* Shape(TMainForm& form, int n) {
    return dynamic_cast<TStandardShape*>(form.FindComponent("StandardShape" + std::to_string(n)));
}

// A move of the selected shape, as a drag records it.
void MoveOne(TMainForm& form, TStandardShape* shape, int dx) {
    form.History().NewGesture();
    shape->MoveSelected(dx, 0);
    form.History().Flush();
}

// Alternately undoes and redoes the step on top, each with its repaint.
void UndoRedo(benchmark::State& state, TMainForm& form) {
    bool undo = true;
    for (auto _ : state) {
        if (undo)
            form.History().Undo();
        else
            form.History().Redo();
        undo = !undo;
        Settle();
    }
    if (!undo) form.History().Redo();
    form.History().Clear();
}

void BM_UndoRedoMoveOfOneElement(benchmark::State& state) {
    TMainForm& form = LargeDiagramWindow();
    TCustomShape::UnselectAll(form.ScrollBox1);
    Shape(form, 203)->SetSelected(true);
    MoveOne(form, Shape(form, 203), 20);
    UndoRedo(state, form);
}
BENCHMARK(BM_UndoRedoMoveOfOneElement)->Unit(benchmark::kMillisecond);

void BM_UndoRedoShapeTypeOfOneElement(benchmark::State& state) {
    TMainForm& form = LargeDiagramWindow();
    // The shape comes back from its record, with its caption and arrows.
    form.ShapeDblClick(Shape(form, 204));
    UndoRedo(state, form);
}
BENCHMARK(BM_UndoRedoShapeTypeOfOneElement)->Unit(benchmark::kMillisecond);

void BM_UndoDeleteOf1000Elements(benchmark::State& state) {
    TMainForm& form = LargeDiagramWindow();
    for (auto _ : state) {
        state.PauseTiming();
        // 334 shapes of the tenth row on with their captions and arrows.
        TCustomShape::UnselectAll(form.ScrollBox1);
        for (int n = 901; n < 901 + 334; ++n)
            Shape(form, n)->SetSelected(true);
        form.DeleteActionExecute();
        Settle();
        state.ResumeTiming();
        form.History().Undo();
        Settle();
    }
    state.counters["elements"] = 334 * 3;
    form.History().Clear();
}
BENCHMARK(BM_UndoDeleteOf1000Elements)->Unit(benchmark::kMillisecond)->Iterations(5);

void Mouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button,
           Qt::MouseButtons buttons) {
    QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// A drag step of one element with its repaint; the drag is recorded as it
// goes unless `quiet`.
void Drag(benchmark::State& state, bool quiet) {
    TMainForm& form = LargeDiagramWindow();
    QWidget* host = form.ScrollBox1->Host();
    std::unique_ptr<TDiagramHistory::TQuiet> off;
    if (quiet) off = std::make_unique<TDiagramHistory::TQuiet>(form.History());
    QPoint at(20 + 4 * 160 + 30, 20 + 2 * 100 + 40);
    Mouse(host, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
    Mouse(host, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    // Away from where the drag began, so that no step takes it back there.
    at += QPoint(5, 0);
    Mouse(host, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
    Settle();
    int step = 0;
    for (auto _ : state) {
        at += QPoint((step++ % 2) ? -1 : 1, 0);
        Mouse(host, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
        Settle();
    }
    Mouse(host, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    Settle();
    form.History().Clear();
}

void BM_DragStepRecorded(benchmark::State& state) {
    Drag(state, false);
}
BENCHMARK(BM_DragStepRecorded)->Unit(benchmark::kMillisecond);

void BM_DragStepNotRecorded(benchmark::State& state) {
    Drag(state, true);
}
BENCHMARK(BM_DragStepNotRecorded)->Unit(benchmark::kMillisecond);

void BM_MemoryOf1000MovesOfOneElement(benchmark::State& state) {
    TMainForm& form = LargeDiagramWindow();
    TStandardShape* shape = Shape(form, 205);
    TCustomShape::UnselectAll(form.ScrollBox1);
    shape->SetSelected(true);
    form.History().Clear();
    std::size_t heap = 0;
    for (auto _ : state) {
        malloc_trim(0);
        std::size_t before = mallinfo2().uordblks;
        for (int i = 0; i < 1000; ++i)
            MoveOne(form, shape, i % 2 ? -20 : 20);
        heap = mallinfo2().uordblks - before;
    }
    state.counters["steps"] = form.History().Stack().count();
    state.counters["history_MB"] = double(form.History().Bytes()) / (1 << 20);
    state.counters["heap_MB"] = double(heap) / (1 << 20);
    form.History().Clear();
}
BENCHMARK(BM_MemoryOf1000MovesOfOneElement)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_SerialiseRecoveryCopy(benchmark::State& state) {
    TMainForm& form = LargeDiagramWindow();
    std::size_t bytes = 0;
    for (auto _ : state)
        bytes = TDiagramStream::WriteAll(form.ScrollBox1).size();
    state.counters["MB"] = double(bytes) / (1 << 20);
}
BENCHMARK(BM_SerialiseRecoveryCopy)->Unit(benchmark::kMillisecond);

} // namespace
