// The wiring list and the JSON of the 30,000-element diagram: 10,000 shapes
// with captions joined by 9,999 arrows.
#include <benchmark/benchmark.h>
#include <functional>

#include "LargeDiagram.h"
#include "model/DiagramJson.h"
#include "model/DiagramRoot.h"
#include "model/ModelClasses.h"
#include "model/WiringList.h"
#include "widgets/ScrollBox.h"

using namespace tsb;

namespace {

// Times `write` on the large diagram; the counter MB is what it wrote.
void Measure(benchmark::State& state, const std::function<std::size_t(TScrollBox*)>& write) {
    RegisterModelClasses();
    TDiagramRoot root;
    tsbbench::BuildLargeDiagram(&root, root.ScrollBox1);
    std::size_t bytes = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(bytes = write(root.ScrollBox1));
    state.counters["MB"] = double(bytes) / 1e6;
}

void BM_WiringListCsv(benchmark::State& state) {
    Measure(state, [](TScrollBox* box) { return TWiringList(box).Csv().size(); });
}
BENCHMARK(BM_WiringListCsv)->Unit(benchmark::kMillisecond);

void BM_DiagramJson(benchmark::State& state) {
    Measure(state, [](TScrollBox* box) { return TDiagramJson::Write(box).size(); });
}
BENCHMARK(BM_DiagramJson)->Unit(benchmark::kMillisecond);

} // namespace
