// The entry of every benchmark program: the application object on the
// offscreen platform unless another is asked for, the diagram classes, then
// the benchmarks of the program.
#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>

#include "model/ModelClasses.h"

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    tsb::RegisterModelClasses();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
