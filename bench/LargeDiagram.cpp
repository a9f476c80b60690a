#include "LargeDiagram.h"

#include <QDir>
#include <fstream>
#include <map>
#include <sstream>
#include <sys/resource.h>
#include <utility>

#include "model/Connector.h"
#include "model/CustomShape.h"
#include "model/DiagramRoot.h"
#include "model/StandardShape.h"
#include "model/TextShape.h"
#include "widgets/ScrollBox.h"

using namespace tsb;

namespace tsbbench {

TSingleHeadArrow* JoinByArrow(TComponent* owner, TScrollBox* box, TCustomShape* from,
                              TCustomShape* to) {
    auto* arrow = new TSingleHeadArrow(owner);
    arrow->LineColor = clRed;
    arrow->StartConn().Side = csRight;
    arrow->StartConn().SetShape(from);
    arrow->EndConn().Side = csLeft;
    arrow->EndConn().SetShape(to);
    arrow->UpdateBounds();
    arrow->SetParent(box);
    return arrow;
}

void BuildLargeDiagram(TComponent* owner, TScrollBox* box) {
    box->SetBounds(40, 30, kPageWidth, kPageHeight);
    TStandardShape* previous = nullptr;
    for (int i = 0; i < kColumns * kRows; ++i) {
        auto* shape = new TStandardShape(owner);
        shape->SetName("StandardShape" + std::to_string(i + 1));
        shape->SetTop(20 + (i / kColumns) * 100);
        shape->SetLeft(20 + (i % kColumns) * 160);
        shape->SetParent(box);
        shape->SetShapeType(stRoundRect);
        auto* caption = new TTextShape(owner);
        caption->SetName(shape->Name() + "_Caption");
        caption->SetText("Caption");
        shape->SetCaptionAlign(alClient);
        shape->SetCaption(caption);
        if (previous) JoinByArrow(owner, box, previous, shape);
        previous = shape;
    }
    TCustomShape::SelectAll(box);
}

void WriteLargeDiagram(const std::string& fileName) {
    TDiagramRoot root;
    BuildLargeDiagram(&root, root.ScrollBox1);
    TCustomShape::SaveToFile(fileName, root.ScrollBox1);
}

void WriteHugePage(const std::string& fileName, int width, int height) {
    TDiagramRoot root;
    root.ScrollBox1->SetBounds(40, 30, width, height);
    TStandardShape* previous = nullptr;
    for (int i = 0; i < 16; ++i) {
        auto* shape = new TStandardShape(&root);
        shape->SetName("StandardShape" + std::to_string(i + 1));
        shape->SetBounds(20 + (i % 4) * (width / 4), 20 + (i / 4) * (height / 4), 100, 60);
        shape->SetParent(root.ScrollBox1);
        if (previous) JoinByArrow(&root, root.ScrollBox1, previous, shape);
        previous = shape;
    }
    TCustomShape::SelectAll(root.ScrollBox1);
    TCustomShape::SaveToFile(fileName, root.ScrollBox1);
}

namespace {

// A memory figure of /proc/self/status, in MB.
double StatusMB(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0) {
            std::istringstream in(line.substr(field.size()));
            double kb = 0;
            in >> kb;
            return kb / 1024.0;
        }
    return 0;
}

} // namespace

double ResidentMB() {
    return StatusMB("VmRSS:");
}

double HighWaterMB() {
    return StatusMB("VmHWM:");
}

void ResetHighWater() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

double PeakResidentMB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

std::string TempFile(const std::string& name) {
    return QDir::temp().filePath(QString::fromStdString(name)).toStdString();
}

const std::string& LargeDiagramFile() {
    static const std::string file = [] {
        std::string f = TempFile("tresselby-bench-large.tsb");
        WriteLargeDiagram(f);
        return f;
    }();
    return file;
}

const std::string& HugePageFile(int width, int height) {
    static std::map<std::pair<int, int>, std::string> files;
    auto [it, added] = files.try_emplace({width, height});
    if (added) {
        it->second = TempFile("tresselby-bench-page-" + std::to_string(width) + "x" +
                              std::to_string(height) + ".tsb");
        WriteHugePage(it->second, width, height);
    }
    return it->second;
}

} // namespace tsbbench
