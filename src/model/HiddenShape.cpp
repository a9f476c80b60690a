#include "model/HiddenShape.h"

namespace tsb {

THiddenShape::THiddenShape(TComponent* owner) : TMoveableShape(owner) {
    SetBounds(Left(), Top(), 20, 20);
}

void THiddenShape::SetSelected(bool value) {
    if (value == Selected()) return;
    TMoveableShape::SetSelected(value);
    Invalidate();
}

void THiddenShape::Paint() {
    if (!Parent()) return;
    TCanvas* canvas = Canvas();
    int w = Width(), h = Height();
    DrawDottedFrame(*canvas, w, h, Selected());
    canvas->Pen.Mode = pmNot;
    canvas->Pen.Style = psSolid;
    canvas->Brush.Color = clBlack;
    canvas->Brush.Style = bsSolid;
    canvas->Rectangle(w / 2 - 1, h / 2 - 1, w / 2 + 1, h / 2 + 1);
}

} // namespace tsb
