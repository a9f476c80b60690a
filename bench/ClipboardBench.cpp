// Copy and paste of 1,000 selected elements through the main window, and the
// JPEG export of an 800 x 1600 page.
#include <benchmark/benchmark.h>

#include "ThousandElements.h"
#include "editor/MainForm.h"
#include "export/PagePainter.h"
#include "graphics/JpegCodec.h"
#include "model/StandardShape.h"
#include "model/TextShape.h"
#include "widgets/ScrollBox.h"

using namespace tsb;

namespace {

void BM_Copy1000(benchmark::State& state) {
    TMainForm form;
    PopulateThousand(form);
    for (auto _ : state)
        form.CopyActionExecute();
}
BENCHMARK(BM_Copy1000)->Unit(benchmark::kMillisecond);

void BM_Paste1000(benchmark::State& state) {
    TMainForm source;
    PopulateThousand(source);
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
    PopulateThousand(form);
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
