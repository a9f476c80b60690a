#include "model/StandardShape.h"

#include <algorithm>

namespace tsb {

TStandardShape::TStandardShape(TComponent* owner) : TSizeableShape(owner) {
    SetBounds(Left(), Top(), 100, 60);
}

void TStandardShape::SetShapeType(TShapeType type) {
    if (type == FShapeType) return;
    FShapeType = type;
    Invalidate();
}

void TStandardShape::Paint() {
    TSizeableShape::Paint();
    if (!Parent()) return;
    // The outline runs through the middle of the handles.
    TRect r = ClientRect();
    r.Left += HandleWidth / 2;
    r.Right -= HandleWidth / 2;
    r.Top += HandleHeight / 2;
    r.Bottom -= HandleHeight / 2;
    TCanvas* canvas = Canvas();
    canvas->Brush.Style = bsClear;
    canvas->Pen.Color = LineColour;
    canvas->Pen.Mode = pmNot;
    int w = r.Right - r.Left + 1, h = r.Bottom - r.Top + 1;
    int c = std::min(w, h);
    if (FShapeType == stSquare || FShapeType == stRoundSquare || FShapeType == stCircle) {
        // Anchored at the top-left corner, not centred.
        r.Right = r.Left + c;
        r.Bottom = r.Top + c;
    }
    switch (FShapeType) {
    case stRectangle:
    case stSquare:
        canvas->Rectangle(r);
        break;
    case stRoundRect:
    case stRoundSquare:
        canvas->RoundRect(r.Left, r.Top, r.Right, r.Bottom, c / 4, c / 4);
        break;
    case stEllipse:
    case stCircle:
        canvas->Ellipse(r.Left, r.Top, r.Right, r.Bottom);
        break;
    }
}

} // namespace tsb
