#include "widgets/Control.h"

#include <algorithm>

#include "widgets/WinControl.h"

namespace tsb {

TControl::TControl(TComponent* owner) : TComponent(owner) {}

TControl::~TControl() = default;

void TControl::BeforeDestruction() {
    if (FParent) SetParent(nullptr);
    TComponent::BeforeDestruction();
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
    if (FParent && FParent->OnChildBoundsChanging)
        FParent->OnChildBoundsChanging(this, BoundsRect());
    if (FParent && FVisible) FParent->InvalidateRect(BoundsRect());
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    BoundsChanged();
    Invalidate();
}

void TControl::UpdateBoundsRect(const TRect& r) {
    if (FParent && FParent->OnChildBoundsChanging)
        FParent->OnChildBoundsChanging(this, BoundsRect());
    FLeft = r.Left;
    FTop = r.Top;
    FWidth = r.Width();
    FHeight = r.Height();
    BoundsChanged();
}

void TControl::BoundsChanged() {
    if (!FParent) return;
    FParent->FChildIndex.Update(this);
    if (FParent->FBoundsLog) FParent->FBoundsLog->push_back(this);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == FParent) return;
    if (FParent) {
        Invalidate();
        FParent->RemoveControl(this);
    }
    if (parent) {
        parent->InsertControl(this);
        Invalidate();
    }
}

void TControl::SetVisible(bool v) {
    if (v == FVisible) return;
    if (FVisible) Invalidate();
    FVisible = v;
    Invalidate();
}

void TControl::SetEnabled(bool v) {
    if (v == FEnabled) return;
    FEnabled = v;
    Invalidate();
}

void TControl::SetCursor(TCursor c) {
    FCursor = c;
}

void TControl::SetAlign(TAlign a) {
    if (a == FAlign) return;
    FAlign = a;
    if (FParent) FParent->Realign();
}

TCanvas* TControl::Canvas() {
    if (!FCanvas) FCanvas = std::make_unique<TCanvas>();
    if (!FPainting && FParent) {
        TWinControl* parent = FParent;
        parent->SyncSurface();
        if (!parent->View().OneToOne()) {
            // A scaled surface is drawn by painting alone: the control is
            // repainted instead.
            FCanvas->Unbind();
            Invalidate();
            return FCanvas.get();
        }
        // Drawing outside painting lands on the parent's surface at once,
        // over a picture brought up to date first, and the pixels it touches
        // show with the next update of the widget.
        parent->PrepareSurface(BoundsRect());
        TRect area = parent->SurfaceRect();
        FCanvas->Bind(&parent->FSurface, {FLeft - area.Left, FTop - area.Top},
                      BoundsRect().Offset(-area.Left, -area.Top));
        FCanvas->OnDamage = [parent, area](const TRect& r) {
            parent->SurfaceDrawn(r.Offset(area.Left, area.Top));
        };
    }
    return FCanvas.get();
}

TCanvas& TControl::CanvasState() {
    if (!FCanvas) FCanvas = std::make_unique<TCanvas>();
    return *FCanvas;
}

void TControl::PaintOn(const TCanvas& device, TPoint origin, const TRect& clip) {
    if (!FCanvas) FCanvas = std::make_unique<TCanvas>();
    FCanvas->BindLike(device, origin, clip);
    FPainting = true;
    try {
        Paint();
    } catch (...) {
        FPainting = false;
        FCanvas->EndPainter();
        FCanvas->Unbind();
        throw;
    }
    FPainting = false;
    FCanvas->EndPainter();
    // The device may be a band or bitmap that goes away after painting.
    FCanvas->Unbind();
}

void TControl::Paint() {}

void TControl::Invalidate() {
    if (FParent && FVisible) FParent->InvalidateRect(BoundsRect());
}

void TControl::InvalidateRect(const TRect& clientRect) {
    if (!Is<TWinControl>(this)) {
        if (FParent) FParent->InvalidateRect(clientRect.Offset(FLeft, FTop));
        return;
    }
    static_cast<TWinControl*>(this)->InvalidateClient(clientRect);
}

void TControl::BringToFront() {
    if (!FParent) return;
    auto& list = FParent->FControls;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end() || it + 1 == list.end()) return;
    list.erase(it);
    list.push_back(this);
    FChildOrder = ++FParent->FFrontOrder;
    ++FParent->FChildVersion;
    if (auto* w = As<TWinControl>(this); w && w->Widget()) w->Widget()->raise();
    Invalidate();
}

void TControl::SendToBack() {
    if (!FParent) return;
    auto& list = FParent->FControls;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end() || it == list.begin()) return;
    list.erase(it);
    list.insert(list.begin(), this);
    FChildOrder = --FParent->FBackOrder;
    ++FParent->FChildVersion;
    if (auto* w = As<TWinControl>(this); w && w->Widget()) w->Widget()->lower();
    Invalidate();
}

bool TControl::MouseCapture() const {
    return FParent && FParent->FCaptureControl == this;
}

void TControl::SetMouseCapture(bool on) {
    // Windowed controls get the window system's own capture.
    if (!FParent || Is<TWinControl>(this)) return;
    if (on)
        FParent->FCaptureControl = this;
    else if (FParent->FCaptureControl == this)
        FParent->FCaptureControl = nullptr;
}

TPoint TControl::ClientToScreen(TPoint p) const {
    if (!FParent) return p;
    return FParent->ClientToScreen(ClientToParent(p));
}

TPoint TControl::ScreenToClient(TPoint p) const {
    if (!FParent) return p;
    return ParentToClient(FParent->ScreenToClient(p));
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    OnMouseUp(this, button, shift, x, y);
}

void TControl::Click() {
    OnClick(this);
}

void TControl::DblClick() {
    OnDblClick(this);
}

void TControl::WMButtonDown(TMouseButton button, TShiftState shift, int x, int y, bool dbl) {
    if (button == mbLeft) {
        SetMouseCapture(true);
        if (dbl) {
            DblClick();
            MouseDown(mbLeft, shift | ssDouble, x, y);
        } else {
            FClicked = true;
            MouseDown(mbLeft, shift, x, y);
        }
        return;
    }
    MouseDown(button, dbl ? (shift | ssDouble) : shift, x, y);
}

void TControl::WMButtonUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        SetMouseCapture(false);
        if (FClicked) {
            FClicked = false;
            if (ClientRect().Contains(x, y)) {
                // A failing click handler must not leave a drag half ended.
                try {
                    Click();
                } catch (...) {
                    MouseUp(button, shift, x, y);
                    throw;
                }
            }
        }
    }
    MouseUp(button, shift, x, y);
}

std::string TControl::EffectiveHint() const {
    for (const TControl* c = this; c; c = c->FParent)
        if (!c->Hint.empty()) return c->Hint;
    return {};
}

} // namespace tsb
