#include "model/DiagramRoot.h"

#include "widgets/ScrollBox.h"

namespace tsb {

TDiagramRoot::TDiagramRoot() : TComponent(nullptr) {
    ScrollBox1 = CreateWorkArea(this);
    ScrollBox1->SetBounds(40, 30, 800, 600);
}

void TDiagramRoot::ScrollBox1MouseDown(TComponent*, TMouseButton, TShiftState, int, int) {}

void TDiagramRoot::ScrollBox1MouseMove(TComponent*, TShiftState, int, int) {}

const TClassInfo& TDiagramRoot::StaticClassInfo() {
    static const TClassInfo info("TDiagramRoot", nullptr, {}, nullptr,
                                 WorkAreaHandlers<TDiagramRoot>());
    return info;
}

} // namespace tsb
