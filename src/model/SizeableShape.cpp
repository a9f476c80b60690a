#include "model/SizeableShape.h"

namespace tsb {

TSizeableShape::TSizeableShape(TComponent* owner) : TMoveableShape(owner) {}

void TSizeableShape::SetSelected(bool value) {
    if (value == Selected()) return;
    TCustomShape::SetSelected(value);
    Invalidate();
}

TRect TSizeableShape::HandleRect(int n) const {
    int w = Width(), h = Height(), hw = HandleWidth, hh = HandleHeight;
    int x = 0, y = 0;
    switch (n) {
    case 0:
        break;
    case 1:
        x = w / 2 - hw / 2;
        break;
    case 2:
        x = w - hw;
        break;
    case 3:
        y = h / 2 - hh / 2;
        break;
    case 4:
        x = w - hw;
        y = h / 2 - hh / 2;
        break;
    case 5:
        y = h - hh;
        break;
    case 6:
        x = w / 2 - hw / 2;
        y = h - hh;
        break;
    case 7:
        x = w - hw;
        y = h - hh;
        break;
    default:
        return {};
    }
    return {x, y, x + hw, y + hh};
}

void TSizeableShape::PaintHandles() {
    if (!Selected()) return;
    TCanvas* canvas = Canvas();
    TBrush saved = canvas->Brush;
    canvas->Brush.Style = bsSolid;
    canvas->Brush.Color = clBlack;
    canvas->Pen.Color = clBlack;
    for (int n = 0; n < 8; ++n)
        canvas->FillRect(HandleRect(n));
    canvas->Brush = saved;
}

void TSizeableShape::Paint() {
    TMoveableShape::Paint();
    if (Parent()) PaintHandles();
}

void TSizeableShape::HitTestHandles(int x, int y) {
    static const TCursor cursors[9] = {crSizeNWSE, crSizeNS, crSizeNESW, crSizeWE, crSizeWE,
                                       crSizeNESW, crSizeNS, crSizeNWSE, crHand};
    ActiveHandle = 8;
    if (!Selected()) return;
    for (int n = 0; n < 8; ++n) {
        if (PointInRect(x, y, HandleRect(n))) {
            ActiveHandle = n;
            break;
        }
    }
    SetCursor(cursors[ActiveHandle]);
}

void TSizeableShape::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (ActiveHandle == 8 || button != mbLeft || (shift & ssShift)) {
        ActiveHandle = 8;
        TMoveableShape::MouseDown(button, shift, x, y);
        return;
    }
    UnselectAll(Parent());
    BringToFront();
    SetSelectedFlag(true);
    Invalidate();
    LastPoint = {x, y};
}

void TSizeableShape::MouseMove(TShiftState shift, int x, int y) {
    TMoveableShape::MouseMove(shift, x, y);
    if (ActiveHandle != 8 && (shift & ssLeft))
        ResizeTo(x, y);
    else
        HitTestHandles(x, y);
    if (TWinControl* container = Parent()) {
        TPoint p = ClientToParent({x, y});
        container->MouseMove(shift, p.X, p.Y);
    }
}

void TSizeableShape::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) ActiveHandle = 8;
    TMoveableShape::MouseUp(button, shift, x, y);
}

void TSizeableShape::ResizeTo(int x, int y) {
    int dx = x - LastPoint.X, dy = y - LastPoint.Y;
    int l = Left(), t = Top(), w = Width(), h = Height();
    auto left = [&] {
        if (l + dx >= 0 && w - dx > MinWidth) {
            l += dx;
            w -= dx;
        }
    };
    auto right = [&] {
        if (w + dx > MinWidth) {
            w += dx;
            LastPoint.X = x;
        }
    };
    auto top = [&] {
        if (t + dy >= 0 && h - dy > MinHeight) {
            t += dy;
            h -= dy;
        }
    };
    switch (ActiveHandle) {
    case 0:
        left();
        top();
        break;
    case 1:
        top();
        break;
    case 2:
        right();
        top();
        break;
    case 3:
        left();
        break;
    case 4:
        right();
        break;
    case 5:
        if (l + dx >= 0 && w - dx > MinWidth && h + dy > MinHeight) {
            l += dx;
            w -= dx;
            h += dy;
            LastPoint.Y = y;
        }
        break;
    case 6:
        if (h + dy > MinHeight) {
            h += dy;
            LastPoint.Y = y;
        }
        break;
    case 7:
        if (h + dy > MinHeight && w + dx > MinWidth) {
            w += dx;
            h += dy;
            LastPoint = {x, y};
        }
        break;
    default:
        return;
    }
    SetBounds(l, t, w, h);
    PlaceCaption();
}

} // namespace tsb
