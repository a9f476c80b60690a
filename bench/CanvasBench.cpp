// The canvas drawing what a band or a small viewport shows of figures far
// larger than it: a long thin diagonal, solid and dashed, and an ellipse of
// the largest size a diagram holds, each into an 800 x 600 image.
#include <QImage>
#include <benchmark/benchmark.h>

#include "graphics/Canvas.h"

using namespace tsb;

namespace {

void BM_LongDiagonalThroughAViewport(benchmark::State& state) {
    QImage image(800, 600, QImage::Format_RGB32);
    image.fill(Qt::white);
    TCanvas canvas(&image);
    canvas.Pen.Style = static_cast<TPenStyle>(state.range(0));
    for (auto _ : state) {
        // 2,000,000 pixels long, some 700 of them on the image.
        canvas.MoveTo(-1000000, -750000);
        canvas.LineTo(1000000, 750000);
    }
}
BENCHMARK(BM_LongDiagonalThroughAViewport)
    ->Arg(psSolid)
    ->Arg(psDash)
    ->Unit(benchmark::kMicrosecond);

void BM_LargestEllipseAcrossAViewport(benchmark::State& state) {
    QImage image(800, 600, QImage::Format_RGB32);
    TCanvas canvas(&image);
    for (auto _ : state)
        canvas.Ellipse(-853153, -853253, 146847, 146747);
}
BENCHMARK(BM_LargestEllipseAcrossAViewport)->Unit(benchmark::kMicrosecond);

} // namespace
