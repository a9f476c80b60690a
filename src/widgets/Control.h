// Windowless controls: bounds in the parent's client pixels, painted on the
// parent's surface, with mouse handlers, click and double-click events.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/Component.h"
#include "core/Types.h"
#include "graphics/Canvas.h"

namespace tsb {

class TWinControl;

// An event: a callable, and the name of the published method it stands for
// when it has one (only named handlers can be written to a stream).
template <typename... Args> struct TEvent {
    std::function<void(Args...)> Fn;
    std::string Name;

    TEvent() = default;
    template <typename F>
    TEvent(F f, std::string name = {}) : Fn(std::move(f)), Name(std::move(name)) {}
    explicit operator bool() const { return static_cast<bool>(Fn); }
    void operator()(Args... args) const {
        if (Fn) Fn(args...);
    }
};

using TNotifyEvent = TEvent<TComponent*>;
using TMouseEvent = TEvent<TComponent*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = TEvent<TComponent*, TShiftState, int, int>;

class TControl : public TComponent {
    TSB_CLASS(TControl)
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
    void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
    void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
    void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    // Stores new bounds as they are: no bounds setter, no repaint.
    void UpdateBoundsRect(const TRect& r);
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    TRect ClientRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }
    virtual int ClientWidth() const { return FWidth; }
    virtual int ClientHeight() const { return FHeight; }

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* parent);

    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor c);
    std::string Hint;
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign a);

    // The control's own canvas. Pen, brush and font persist between paints.
    // Outside painting it draws straight onto the parent's surface, brought
    // up to date under the control first; what it draws shows with the next
    // update of the window.
    TCanvas* Canvas();
    // The canvas object with its pen, brush and font, bound to nothing new;
    // for measuring text.
    TCanvas& CanvasState();
    virtual void Paint();
    // Paints the control onto a device at its place in the parent.
    // Paints the control onto what a canvas is bound to (an image or a
    // vector device) at its place in the parent: origin and clip in device
    // pixels.
    void PaintOn(const TCanvas& device, TPoint origin, const TRect& clip);
    virtual void Invalidate();
    void InvalidateRect(const TRect& clientRect);

    void BringToFront();
    void SendToBack();
    // Compares as the control's place in its parent's child list: larger
    // is further front.
    std::int64_t ChildOrder() const { return FChildOrder; }

    // Mouse capture: every move and the release go to the capturing control.
    bool MouseCapture() const;
    void SetMouseCapture(bool on);

    TPoint ClientToParent(TPoint p) const { return {p.X + FLeft, p.Y + FTop}; }
    TPoint ParentToClient(TPoint p) const { return {p.X - FLeft, p.Y - FTop}; }
    virtual TPoint ClientToScreen(TPoint p) const;
    virtual TPoint ScreenToClient(TPoint p) const;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

    // Mouse handlers; the base versions raise the events.
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void Click();
    virtual void DblClick();

    // Window-system messages, as the parent's surface delivers them.
    void WMButtonDown(TMouseButton button, TShiftState shift, int x, int y, bool dbl);
    void WMButtonUp(TMouseButton button, TShiftState shift, int x, int y);

    // The hint shown for this control: its own, or the first of its parents'.
    std::string EffectiveHint() const;

protected:
    void BeforeDestruction() override;
    // Tells the parent's index that the bounds changed.
    void BoundsChanged();
    bool FPainting = false;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;

private:
    friend class TWinControl;
    friend class TControlIndex;

    TWinControl* FParent = nullptr;
    // Place in the parent's child order (larger is further front) and the
    // buckets of the parent's index the control is entered in.
    std::int64_t FChildOrder = 0;
    TRect FIndexCells;
    bool FIndexLarge = false;
    bool FVisible = true;
    bool FEnabled = true;
    bool FClicked = false;
    TCursor FCursor = crDefault;
    TAlign FAlign = alNone;
    std::unique_ptr<TCanvas> FCanvas;
};

} // namespace tsb
