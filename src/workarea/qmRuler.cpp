#include "workarea/qmRuler.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "widgets/WinControl.h"

namespace tsb {

namespace {

constexpr int LabelReach = 100;

// The distance of labelled ticks in target pixels: the first of 20, 40,
// 100, 200, 500, 1000, 2000, 5000, 10000... that lies at least 100 pixels
// apart on the ruler, 100 when the target is not zoomed.
std::int64_t LabelStep(double zoom) {
    if (zoom * 20 >= 100) return 20;
    if (zoom * 40 >= 100) return 40;
    for (std::int64_t step = 100;; step *= 10)
        for (std::int64_t times : {1, 2, 5})
            if (step * times * zoom >= 100 || step * times >= std::int64_t(1) << 40)
                return step * times;
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

TRect TqmRuler::TargetRect() const {
    if (const auto* windowed = As<TWinControl>(FTarget)) return windowed->ViewBounds();
    return FTarget ? FTarget->BoundsRect() : TRect{};
}

double TqmRuler::TargetZoom() const {
    const auto* windowed = As<TWinControl>(FTarget);
    return windowed ? windowed->View().Zoom() : 1;
}

int TqmRuler::OnScale(int pos) const {
    const double zoom = TargetZoom();
    // The middle of the target's pixel, which the pointer is over.
    return zoom == 1 ? pos : int(std::floor((pos + 0.5) * zoom));
}

bool TqmRuler::HairLineShown(const TRect& scale, bool vert, int along) const {
    // Zoomed, the target is placed anywhere in its panel, and a line before
    // the pointer has been over it (HairPos's first place) would show beside
    // the scale: lines off the scale are left out.
    const TAxis axis{vert};
    return TargetZoom() == 1 || (along >= axis.AlongStart(scale) && along < axis.AlongEnd(scale));
}

TRect TqmRuler::HairLineRect(bool vert, int pos) const {
    const TAxis axis{vert};
    const TRect& s = vert ? VertScale : HorzScale;
    const int along = axis.AlongStart(s) + OnScale(pos);
    if (!HairLineShown(s, vert, along)) return {};
    return axis.Rect(along, axis.AcrossStart(s) + 1, along + 1, axis.AcrossEnd(s) - 1);
}

void TqmRuler::HairLine(TCanvas& canvas, bool vert, int pos) {
    const TAxis axis{vert};
    const TRect& s = vert ? VertScale : HorzScale;
    const int along = axis.AlongStart(s) + OnScale(pos);
    if (!HairLineShown(s, vert, along)) return;
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
        // The target as it shows, zoomed or not.
        const TRect target = TargetRect();
        const int start = vert ? target.Top : target.Left;
        const int extent = vert ? target.Height() : target.Width();
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
    // less than LabelReach pixels on either side of its tick. They count
    // target pixels: a zoomed target's scale shows its own pixels, with
    // labels far enough apart to read.
    const TRect clip = canvas.ClipRect();
    if (zero <= end) canvas.Pen.Color = clBlack;
    const double zoom = TargetZoom();
    const std::int64_t label = LabelStep(zoom), tick = label / 4;
    const double spacing = tick * zoom;
    const int to = std::min(end, axis.AlongEnd(clip) + LabelReach);
    for (std::int64_t k = std::max<std::int64_t>(
             0, std::int64_t(std::ceil((axis.AlongStart(clip) - LabelReach - zero) / spacing)));
         ; ++k) {
        const std::int64_t d = k * tick;
        const std::int64_t along = zero + (zoom == 1 ? d : std::llround(d * zoom));
        if (along > to) break;
        canvas.Pen.Color = clBlack;
        // Short ticks at odd quarters of the label step, middle ones half way
        // between labels, long ones with a label (at 100 % every 25, 50 and
        // 100 pixels).
        int reach = 3 * u;
        if (d % (label / 2) == 0) reach = d != 0 && d % label != 0 ? 2 * u : u;
        if (reach == u) SetLabelFont(canvas);
        const TPoint a = axis.At(int(along), outer + reach), b = axis.At(int(along), inner);
        canvas.MoveTo(a.X, a.Y);
        canvas.LineTo(b.X, b.Y);
        if (reach == u && d != 0) {
            const std::string text = std::to_string(d);
            const int half = (vert ? canvas.TextHeight(text) : canvas.TextWidth(text)) / 2;
            const TPoint at = axis.At(int(along) - half, outer);
            canvas.TextOut(at.X, at.Y, text);
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
    if (Parent() && !Parent()->View().OneToOne()) {
        // A scaled surface is drawn by painting: the old and the new lines'
        // strips are painted again.
        if (moveX) {
            InvalidateRect(HairLineRect(false, HairPos.X));
            HairPos.X = p.X;
            InvalidateRect(HairLineRect(false, HairPos.X));
        }
        if (moveY) {
            InvalidateRect(HairLineRect(true, HairPos.Y));
            HairPos.Y = p.Y;
            InvalidateRect(HairLineRect(true, HairPos.Y));
        }
        return;
    }
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
