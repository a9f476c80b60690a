#include "workarea/qmRuler.h"

#include <algorithm>
#include <string>

namespace tsb {

namespace {

constexpr int LabelReach = 100;

// The first tick of a scale starting at zero that lies at or after edge.
int FirstTick(int zero, int edge) {
    if (edge <= zero) return zero;
    return zero + (edge - zero + 24) / 25 * 25;
}

} // namespace

TqmRuler::TqmRuler(TComponent* owner) : TControl(owner) {
    SetAlign(alClient);
    SetEnabled(false);
}

void TqmRuler::SetTarget(TControl* target) {
    if (target == FTarget) return;
    if (FTarget) RemoveFreeNotification(FTarget);
    FTarget = target;
    if (FTarget) FreeNotification(FTarget);
    Invalidate();
}

void TqmRuler::SetFlat(bool flat) {
    if (flat == FFlat) return;
    FFlat = flat;
    Invalidate();
}

void TqmRuler::SetHairLineColor(TColor color) {
    if (color == FHairLineColor) return;
    FHairLineColor = color;
    Invalidate();
}

void TqmRuler::SetRulers(TRulers rulers) {
    if (rulers == FRulers) return;
    FRulers = rulers;
    Invalidate();
}

void TqmRuler::SetBackGround(TColor color) {
    if (color == FBackGround) return;
    FBackGround = color;
    Invalidate();
}

void TqmRuler::SetRulerWidth(int width) {
    if (width == FRulerWidth) return;
    FRulerWidth = width;
    Invalidate();
}

void TqmRuler::Notification(TComponent* component, TOperation operation) {
    TControl::Notification(component, operation);
    if (operation == opRemove && component == static_cast<TComponent*>(FTarget)) FTarget = nullptr;
}

// The corner box and the outer strips: a flat or raised bevel around button
// face. Drawn in pmCopy whatever pen mode the hair-lines left behind.
void TqmRuler::PaintStrip(TCanvas& canvas, TRect r) {
    canvas.Pen.Mode = pmCopy;
    canvas.Pen.Style = psSolid;
    if (FFlat)
        canvas.Frame3D(r, clBtnShadow, clBtnShadow, 1);
    else
        canvas.Frame3D(r, clBtnHighlight, clBtnShadow, 2);
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = clBtnFace;
    canvas.FillRect(r);
}

void TqmRuler::SetLabelFont(TCanvas& canvas) {
    canvas.Font.SetName("Small Fonts");
    canvas.Font.SetSize(6);
}

void TqmRuler::HorzHairLine(TCanvas& canvas, int x) {
    canvas.MoveTo(HorzScale.Left + x, HorzScale.Top + 1);
    canvas.LineTo(HorzScale.Left + x, HorzScale.Bottom - 1);
}

void TqmRuler::VertHairLine(TCanvas& canvas, int y) {
    canvas.MoveTo(VertScale.Left + 1, VertScale.Top + y);
    canvas.LineTo(VertScale.Right - 1, VertScale.Top + y);
}

void TqmRuler::PaintHorzRuler(TCanvas& canvas) {
    int rw = FRulerWidth;
    if (FRulers == ruBoth)
        PaintStrip(canvas, {rw - 1, 0, Width(), rw});
    else
        PaintStrip(canvas, {0, 0, Width(), rw});
    canvas.Brush.Color = FBackGround;
    canvas.Pen.Mode = pmCopy;
    TRect s = FTarget ? TRect{FTarget->Left() - 2, Top() + 3,
                              FTarget->Left() + FTarget->Width() + 1, rw - 4}
                      : TRect{rw, Top() + 3, Width(), rw - 4};
    canvas.Frame3D(s, clBtnShadow, clBtnHighlight, 2);
    HorzScale = s;
    canvas.Brush.Style = bsSolid;
    canvas.FillRect(s);
    int u = (s.Bottom - s.Top) / 4;
    // Ticks and labels that can reach the area being painted: a label spans
    // less than LabelReach pixels on either side of its tick.
    TRect clip = canvas.ClipRect();
    if (s.Left <= s.Right) canvas.Pen.Color = clBlack;
    int from = FirstTick(s.Left, clip.Left - LabelReach);
    int to = std::min(s.Right, clip.Right + LabelReach);
    for (int x = from; x <= to; x += 25) {
        canvas.Pen.Color = clBlack;
        int d = x - s.Left;
        if (d % 50 != 0) {
            canvas.MoveTo(x, s.Top + 3 * u);
        } else if (d != 0 && d % 100 != 0) {
            canvas.MoveTo(x, s.Top + 2 * u);
        } else {
            SetLabelFont(canvas);
            canvas.MoveTo(x, s.Top + u);
            canvas.LineTo(x, s.Bottom);
            if (d != 0) {
                std::string label = std::to_string(d);
                canvas.TextOut(x - canvas.TextWidth(label) / 2, s.Top, label);
            }
            continue;
        }
        canvas.LineTo(x, s.Bottom);
    }
    TColor saved = canvas.Pen.Color;
    canvas.Pen.Color = FHairLineColor;
    canvas.Pen.Mode = pmNotXor;
    HorzHairLine(canvas, HairPos.X);
    canvas.Pen.Color = saved;
}

void TqmRuler::PaintVertRuler(TCanvas& canvas) {
    int rw = FRulerWidth;
    if (FRulers == ruBoth)
        PaintStrip(canvas, {0, rw - 1, rw, Height()});
    else
        PaintStrip(canvas, {0, 0, rw, Height()});
    canvas.Brush.Color = FBackGround;
    canvas.Pen.Mode = pmCopy;
    TRect s = FTarget ? TRect{Left() + 3, FTarget->Top() - 2, rw - 4,
                              FTarget->Top() + FTarget->Height() + 1}
                      : TRect{Left() + 3, rw, rw - 4, Height()};
    canvas.Frame3D(s, clBtnShadow, clBtnHighlight, 2);
    VertScale = s;
    canvas.Brush.Style = bsSolid;
    canvas.FillRect(s);
    int u = (s.Right - s.Left) / 4;
    TRect clip = canvas.ClipRect();
    if (s.Top <= s.Bottom) canvas.Pen.Color = clBlack;
    int from = FirstTick(s.Top, clip.Top - LabelReach);
    int to = std::min(s.Bottom, clip.Bottom + LabelReach);
    for (int y = from; y <= to; y += 25) {
        canvas.Pen.Color = clBlack;
        int d = y - s.Top;
        if (d % 50 != 0) {
            canvas.MoveTo(s.Left + 3 * u, y);
        } else if (d != 0 && d % 100 != 0) {
            canvas.MoveTo(s.Left + 2 * u, y);
        } else {
            SetLabelFont(canvas);
            canvas.MoveTo(s.Left + u, y);
            canvas.LineTo(s.Right, y);
            if (d != 0) {
                std::string label = std::to_string(d);
                canvas.TextOut(s.Left, y - canvas.TextHeight(label) / 2, label);
            }
            continue;
        }
        canvas.LineTo(s.Right, y);
    }
    TColor saved = canvas.Pen.Color;
    canvas.Pen.Color = FHairLineColor;
    canvas.Pen.Mode = pmNotXor;
    VertHairLine(canvas, HairPos.Y);
    canvas.Pen.Color = saved;
}

void TqmRuler::Paint() {
    TControl::Paint();
    if (FRulers == ruNone) return;
    TCanvas& canvas = *Canvas();
    if (FRulers == ruBoth) PaintStrip(canvas, {0, 0, FRulerWidth, FRulerWidth});
    if (FRulers == ruHorz || FRulers == ruBoth) PaintHorzRuler(canvas);
    if (FRulers == ruVert || FRulers == ruBoth) PaintVertRuler(canvas);
}

void TqmRuler::MoveHairLine(TPoint p) {
    bool horz = FRulers == ruBoth || FRulers == ruHorz;
    bool vert = FRulers == ruBoth || FRulers == ruVert;
    bool moveX = horz && p.X != HairPos.X;
    bool moveY = vert && p.Y != HairPos.Y;
    if (!moveX && !moveY) return;
    TCanvas& canvas = *Canvas();
    canvas.Pen.Color = FHairLineColor;
    canvas.Pen.Mode = pmNotXor;
    if (moveX) {
        HorzHairLine(canvas, HairPos.X);
        HorzHairLine(canvas, p.X);
        HairPos.X = p.X;
    }
    if (moveY) {
        VertHairLine(canvas, HairPos.Y);
        VertHairLine(canvas, p.Y);
        HairPos.Y = p.Y;
    }
}

} // namespace tsb
