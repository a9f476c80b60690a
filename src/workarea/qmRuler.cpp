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

namespace {

// One ruler seen along its scale: `along` runs with the numbers (x for the
// horizontal ruler, y for the vertical one), `across` from the ruler's outer
// side towards the target.
struct TAxis {
    bool Vert;
    TPoint At(int along, int across) const {
        return Vert ? TPoint{across, along} : TPoint{along, across};
    }
    TRect Rect(int along1, int across1, int along2, int across2) const {
        TPoint a = At(along1, across1), b = At(along2, across2);
        return {a.X, a.Y, b.X, b.Y};
    }
    int AlongStart(const TRect& r) const { return Vert ? r.Top : r.Left; }
    int AlongEnd(const TRect& r) const { return Vert ? r.Bottom : r.Right; }
    int AcrossStart(const TRect& r) const { return Vert ? r.Left : r.Top; }
    int AcrossEnd(const TRect& r) const { return Vert ? r.Right : r.Bottom; }
};

} // namespace

void TqmRuler::HairLine(TCanvas& canvas, bool vert, int pos) {
    const TAxis axis{vert};
    const TRect& s = vert ? VertScale : HorzScale;
    const int along = axis.AlongStart(s) + pos;
    TPoint from = axis.At(along, axis.AcrossStart(s) + 1);
    TPoint to = axis.At(along, axis.AcrossEnd(s) - 1);
    canvas.MoveTo(from.X, from.Y);
    canvas.LineTo(to.X, to.Y);
}

void TqmRuler::PaintRuler(TCanvas& canvas, bool vert) {
    const TAxis axis{vert};
    const int rw = FRulerWidth;
    const int length = vert ? Height() : Width();
    // The control's own offset in its parent, on the side across the scale.
    const int offset = vert ? Left() : Top();
    PaintStrip(canvas, axis.Rect(FRulers == ruBoth ? rw - 1 : 0, 0, length, rw));
    canvas.Brush.Color = FBackGround;
    canvas.Pen.Mode = pmCopy;
    TRect s;
    if (FTarget) {
        const int start = vert ? FTarget->Top() : FTarget->Left();
        const int extent = vert ? FTarget->Height() : FTarget->Width();
        s = axis.Rect(start - 2, offset + 3, start + extent + 1, rw - 4);
    } else {
        s = axis.Rect(rw, offset + 3, length, rw - 4);
    }
    canvas.Frame3D(s, clBtnShadow, clBtnHighlight, 2);
    (vert ? VertScale : HorzScale) = s;
    canvas.Brush.Style = bsSolid;
    canvas.FillRect(s);
    const int zero = axis.AlongStart(s), end = axis.AlongEnd(s);
    const int outer = axis.AcrossStart(s), inner = axis.AcrossEnd(s);
    const int u = (inner - outer) / 4;
    // Ticks and labels that can reach the area being painted: a label spans
    // less than LabelReach pixels on either side of its tick.
    const TRect clip = canvas.ClipRect();
    if (zero <= end) canvas.Pen.Color = clBlack;
    const int from = FirstTick(zero, axis.AlongStart(clip) - LabelReach);
    const int to = std::min(end, axis.AlongEnd(clip) + LabelReach);
    for (int along = from; along <= to; along += 25) {
        canvas.Pen.Color = clBlack;
        const int d = along - zero;
        // Short ticks at odd multiples of 25, middle ones at odd multiples of
        // 50, long ones with a label at multiples of 100.
        int reach = 3 * u;
        if (d % 50 == 0) reach = d != 0 && d % 100 != 0 ? 2 * u : u;
        if (reach == u) SetLabelFont(canvas);
        const TPoint a = axis.At(along, outer + reach), b = axis.At(along, inner);
        canvas.MoveTo(a.X, a.Y);
        canvas.LineTo(b.X, b.Y);
        if (reach == u && d != 0) {
            const std::string label = std::to_string(d);
            const int half = (vert ? canvas.TextHeight(label) : canvas.TextWidth(label)) / 2;
            const TPoint at = axis.At(along - half, outer);
            canvas.TextOut(at.X, at.Y, label);
        }
    }
    const TColor saved = canvas.Pen.Color;
    canvas.Pen.Color = FHairLineColor;
    canvas.Pen.Mode = pmNotXor;
    HairLine(canvas, vert, vert ? HairPos.Y : HairPos.X);
    canvas.Pen.Color = saved;
}

void TqmRuler::Paint() {
    TControl::Paint();
    if (FRulers == ruNone) return;
    TCanvas& canvas = *Canvas();
    if (FRulers == ruBoth) PaintStrip(canvas, {0, 0, FRulerWidth, FRulerWidth});
    if (FRulers == ruHorz || FRulers == ruBoth) PaintRuler(canvas, false);
    if (FRulers == ruVert || FRulers == ruBoth) PaintRuler(canvas, true);
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
        HairLine(canvas, false, HairPos.X);
        HairLine(canvas, false, p.X);
        HairPos.X = p.X;
    }
    if (moveY) {
        HairLine(canvas, true, HairPos.Y);
        HairLine(canvas, true, p.Y);
        HairPos.Y = p.Y;
    }
}

} // namespace tsb
