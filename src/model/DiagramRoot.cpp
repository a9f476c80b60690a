#include "model/DiagramRoot.h"

#include "platform/ScrollBox.h"

namespace tsb {

TDiagramRoot::TDiagramRoot() : TComponent(nullptr) {
    ScrollBox1 = new TScrollBox(this);
    ScrollBox1->SetName("ScrollBox1");
    ScrollBox1->Hint = "Work area";
    ScrollBox1->AutoScroll = false;
    ScrollBox1->BorderStyle = bsNone;
    ScrollBox1->Color = clWindow;
    ScrollBox1->ParentColor = false;
    ScrollBox1->TabOrder = 0;
    ScrollBox1->SetBounds(40, 30, 800, 600);
    ScrollBox1->OnMouseDown =
        TMouseEvent([this](TComponent* s, TMouseButton b, TShiftState sh, int x,
                           int y) { ScrollBox1MouseDown(s, b, sh, x, y); },
                    "ScrollBox1MouseDown");
    ScrollBox1->OnMouseMove = TMouseMoveEvent(
        [this](TComponent* s, TShiftState sh, int x, int y) { ScrollBox1MouseMove(s, sh, x, y); },
        "ScrollBox1MouseMove");
}

void TDiagramRoot::ScrollBox1MouseDown(TComponent*, TMouseButton, TShiftState, int, int) {}

void TDiagramRoot::ScrollBox1MouseMove(TComponent*, TShiftState, int, int) {}

const TClassInfo& TDiagramRoot::StaticClassInfo() {
    static const TClassInfo info("TDiagramRoot", nullptr, {}, nullptr,
                                 WorkAreaHandlers<TDiagramRoot>());
    return info;
}

} // namespace tsb
