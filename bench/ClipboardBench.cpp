// Copy and paste of 1,000 selected elements through the main window, and the
// JPEG export of an 800 x 1600 page.
#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>

#include "editor/MainForm.h"
#include "model/StandardShape.h"
#include "model/TextShape.h"
#include "platform/JpegCodec.h"
#include "platform/PagePainter.h"
#include "platform/ScrollBox.h"

using namespace tsb;

namespace {

// 500 standard shapes with their captions: 1,000 elements, all selected.
void Populate(TMainForm& form) {
    form.P800x1600ActionExecute();
    for (int i = 0; i < 500; ++i) {
        form.ShapeBtnClick();
        form.ScrollBox1MouseDown(form.ScrollBox1, mbLeft, 0, 20 + (i % 5) * 150, 20 + (i / 5) * 15);
    }
    form.SelectAll();
}

void BM_Copy1000(benchmark::State& state) {
    TMainForm form;
    Populate(form);
    for (auto _ : state)
        form.CopyActionExecute();
}
BENCHMARK(BM_Copy1000)->Unit(benchmark::kMillisecond);

void BM_Paste1000(benchmark::State& state) {
    TMainForm source;
    Populate(source);
    source.CopyActionExecute();
    for (auto _ : state) {
        state.PauseTiming();
        auto form = std::make_unique<TMainForm>();
        state.ResumeTiming();
        form->PasteActionExecute();
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Paste1000)->Unit(benchmark::kMillisecond);

void BM_Export800x1600(benchmark::State& state) {
    TMainForm form;
    Populate(form);
    for (auto _ : state) {
        // As the Export command does: bands streamed to the encoder.
        std::vector<std::uint8_t> jpeg;
        TPagePainter(form.ScrollBox1)
            .WriteJpeg([&](const std::uint8_t* data,
                           std::size_t size) { jpeg.insert(jpeg.end(), data, data + size); },
                       90);
        benchmark::DoNotOptimize(jpeg.data());
    }
}
BENCHMARK(BM_Export800x1600)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
