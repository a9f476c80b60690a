// Writes the benchmarks' diagrams as files, for measuring the converter:
//   bench_make_diagram OUT.tsb             the 30,000-element diagram
//   bench_make_diagram --huge-page OUT.tsb a 60,000 x 40,000 page
#include <QApplication>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "LargeDiagram.h"
#include "model/ModelClasses.h"

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    tsb::RegisterModelClasses();
    try {
        if (argc == 3 && std::strcmp(argv[1], "--huge-page") == 0)
            tsbbench::WriteHugePage(argv[2], 60000, 40000);
        else if (argc == 2)
            tsbbench::WriteLargeDiagram(argv[1]);
        else {
            std::cerr << "Usage: bench_make_diagram [--huge-page] OUT.tsb\n";
            return 2;
        }
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
