// Opening and saving a large diagram: 10,000 standard shapes with captions
// joined by 9,999 one-way arrows.
#include <benchmark/benchmark.h>

#include "LargeDiagram.h"
#include "model/Connector.h"
#include "model/DiagramRoot.h"
#include "model/DiagramStream.h"
#include "model/ModelClasses.h"
#include "model/StandardShape.h"
#include "model/TextShape.h"
#include "widgets/ScrollBox.h"

using namespace tsb;

namespace {

constexpr int kShapes = 10000;

// The diagram as the editor would have made it, every element selected.
void BuildDiagram(TDiagramRoot& root) {
    TScrollBox* box = root.ScrollBox1;
    box->SetBounds(40, 30, 800, 1600);
    TStandardShape* previous = nullptr;
    for (int i = 0; i < kShapes; ++i) {
        auto* shape = new TStandardShape(&root);
        shape->SetName("StandardShape" + std::to_string(i + 1));
        shape->SetTop(20 + (i / 100) * 15);
        shape->SetLeft(20 + (i % 100) * 7);
        shape->SetParent(box);
        shape->SetShapeType(stRoundRect);
        auto* caption = new TTextShape(&root);
        caption->SetName(shape->Name() + "_Caption");
        caption->SetText("Caption");
        shape->SetCaptionAlign(alClient);
        shape->SetCaption(caption);
        if (previous) tsbbench::JoinByArrow(&root, box, previous, shape);
        previous = shape;
    }
    TCustomShape::SelectAll(box);
}

void BM_SaveDiagram(benchmark::State& state) {
    TDiagramRoot root;
    BuildDiagram(root);
    for (auto _ : state) {
        TCustomShape::SelectAll(root.ScrollBox1);
        TBytes bytes = TDiagramStream::Write(root.ScrollBox1);
        TCustomShape::UnselectAll(root.ScrollBox1);
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_SaveDiagram)->Unit(benchmark::kMillisecond);

void BM_OpenDiagram(benchmark::State& state) {
    TBytes bytes;
    {
        TDiagramRoot source;
        BuildDiagram(source);
        bytes = TDiagramStream::Write(source.ScrollBox1);
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto root = std::make_unique<TDiagramRoot>();
        state.ResumeTiming();
        TDiagramStream::Read(bytes, root->ScrollBox1);
        TCustomShape::UnselectAll(root->ScrollBox1);
        state.PauseTiming();
        root.reset();
        state.ResumeTiming();
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_OpenDiagram)->Unit(benchmark::kMillisecond);

} // namespace
