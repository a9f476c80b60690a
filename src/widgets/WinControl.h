// Windowed controls: a Qt widget behind the control, a z-ordered list of
// child controls painted on the widget's surface, and mouse routing to them.
#pragma once

#include <QImage>
#include <QPointer>
#include <QRegion>
#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

#include "widgets/Control.h"
#include "widgets/ControlIndex.h"
#include "widgets/ViewTransform.h"

class QScrollArea;

namespace tsb {

class TWinControl;

// The widget that shows a windowed control's surface and routes input.
class TControlHost : public QWidget {
public:
    TControlHost(TWinControl* control, QWidget* parent);
    TWinControl* Control() const { return FControl; }
    void Detach() { FControl = nullptr; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    TWinControl* FControl;
};

class TWinControl : public TControl {
    TSB_CLASS(TWinControl)
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // The widget to put into Qt layouts.
    virtual QWidget* Widget() const { return FHost; }
    // The widget that hosts the children and paints them.
    TControlHost* Host() const { return FHost; }

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int index) const { return FControls[static_cast<std::size_t>(index)]; }
    const std::vector<TControl*>& ControlList() const { return FControls; }
    int IndexOfControl(const TControl* c) const;
    // Changes whenever a child comes, goes or changes its place in the
    // child order.
    std::uint64_t ChildListVersion() const { return FChildVersion; }

    TColor Color = clBtnFace;

    void SetBounds(int left, int top, int width, int height) override;
    void SetParent(TWinControl* parent) override;
    void Invalidate() override;

    // How the client area shows: page pixels to view and device pixels.
    const TViewTransform& View() const { return FView; }
    // Shows the client area at a zoom (view pixels a page pixel) with the
    // widget's top-left at `origin` in the parent's client area; at zoom 1
    // the widget sits at the control's own Left and Top. The bounds stay in
    // page pixels. Not for scrolling controls.
    void SetZoom(double zoom, TPoint origin);
    // Where the widget shows in the parent's client area.
    TRect ViewBounds() const;

    // The front-most visible, enabled windowless child under a client point.
    TControl* ControlAtPos(TPoint p) const;
    TControl* CaptureControl() const { return FCaptureControl; }
    // Appends, in child order, the children whose bounds may meet a client
    // rectangle, right and bottom edges included: every child that does,
    // and perhaps a few more. Callers test the bounds themselves.
    void FindControls(const TRect& area, std::vector<TControl*>& out) const;
    // While set, every child whose bounds change is appended to the log.
    void LogBoundsChanges(std::vector<TControl*>* log) { FBoundsLog = log; }
    // While set, called with a child and its bounds just before they change.
    std::function<void(TControl*, const TRect&)> OnChildBoundsChanging;
    // Moves the given children to the given places of the child list,
    // lowest place first; the other children keep their order. Places
    // beyond the end put the child at the end.
    void PlaceControls(const std::vector<std::pair<std::size_t, TControl*>>& places);

    // Renders the control, its windowless children and its windowed
    // children onto what a canvas is bound to (an image or a vector device)
    // with the control's top-left at (x, y) of the canvas, clipped to the
    // canvas's clip. With a step, it is told (done, total) before each
    // windowless child of this control it paints.
    void PaintTo(const TCanvas& canvas, int x, int y,
                 const std::function<void(std::size_t, std::size_t)>& step = {});
    // The same onto a device image, clipped to the image.
    void PaintTo(QImage& device, int x, int y);
    // Repaints part of the client area from the background up onto a
    // device: origin is where the client's (0, 0) lands, clip is in device
    // pixels.
    void RenderInto(QImage& device, TPoint origin, const TRect& clip);
    // The same onto what a canvas is bound to; its own origin and clip are
    // not used.
    void RenderOn(const TCanvas& device, TPoint origin, const TRect& clip,
                  const std::function<void(std::size_t, std::size_t)>& step = {});

    // The surface: one image of the part of the client area that can show
    // (for a control not on screen, a screen-sized part from its top-left
    // corner), in device pixels, kept between paints. Invalidated parts are
    // repainted into it before they show; drawing outside painting lands on
    // it at once where a page pixel is a device pixel. Surface() returns it
    // up to date everywhere.
    QImage& Surface();
    // The device rectangle of the client area the surface covers: client
    // pixels when the view is one to one.
    TRect SurfaceRect() const { return FSurfaceRect; }
    // Follows the visible part and brings the surface up to date within a
    // client rectangle, before drawing on it outside painting.
    void PrepareSurface(const TRect& clientRect);
    // Pixels drawn on the surface outside painting: shown with the next
    // update, without repainting.
    void SurfaceDrawn(const TRect& clientRect);
    // Marks part of the client area for repainting from the background up.
    void InvalidateClient(const TRect& clientRect);
    // The host's paint event: repaint what is invalid, show the region.
    // A control whose painting fails does not stop the others, the region
    // counts as painted, and the first error is reported once painting is
    // over, from the event loop.
    virtual void PaintHost(const QRegion& region);

    // Lays out children aligned to the client area.
    virtual void Realign();

    TPoint ClientToScreen(TPoint p) const override;
    TPoint ScreenToClient(TPoint p) const override;

    // Size of the widget changed by Qt (layouts, window resizing).
    virtual void WidgetResized(int width, int height);

    // Called by the host with client coordinates.
    void HostMouse(int kind, TMouseButton button, TShiftState shift, TPoint p);
    void HostLeave();

protected:
    void BeforeDestruction() override;
    virtual void PaintBackground(TCanvas& canvas, const TRect& clip);
    virtual QWidget* ChildParentWidget() const { return FHost; }
    void CreateHost(QWidget* parent);
    // The outermost widget, deleted with the control.
    QPointer<QWidget> FOuterWidget;

private:
    friend class TControl;
    void InsertControl(TControl* c);
    void RemoveControl(TControl* c);
    void UpdateCursorAndHint(TPoint p);
    // The view rectangle that can show on screen.
    TRect VisibleViewRect() const;
    // Moves the surface onto the visible part, keeping the pixels both
    // share; what comes into view is invalid.
    void SyncSurface();
    // Repaints the invalid part of the surface within a region; painting
    // errors are kept in `error`, the first one only.
    void RenderSurface(const QRegion& area, std::string& error);
    // Paints the background and the windowless children; with `error`, a
    // failing part is noted there and the rest still paints.
    void Render(const TCanvas& device, TPoint origin, const TRect& area, std::string* error,
                const std::function<void(std::size_t, std::size_t)>& step = {});
    // Through the vector back end, scaled: the view is not one to one.
    void RenderScaled(const QRect& deviceRect, std::string& error);

    TControlHost* FHost = nullptr;
    std::vector<TControl*> FControls;
    TControlIndex FChildIndex;
    std::int64_t FFrontOrder = 0;
    std::int64_t FBackOrder = 0;
    std::uint64_t FChildVersion = 0;
    int FWindowedCount = 0;
    std::vector<TControl*>* FBoundsLog = nullptr;
    TControl* FCaptureControl = nullptr;
    TViewTransform FView;
    TPoint FViewOrigin;
    QImage FSurface;
    TRect FSurfaceRect;
    // Device pixels of the surface still to repaint.
    QRegion FDirty;
};

// A windowed control whose children scroll inside a viewport, grown to hold
// every child that is not aligned.
class TScrollingWinControl : public TWinControl {
    TSB_CLASS(TScrollingWinControl)
public:
    explicit TScrollingWinControl(TComponent* owner);
    QWidget* Widget() const override;
    QScrollArea* ScrollArea() const { return FScrollArea; }
    int ClientWidth() const override;
    int ClientHeight() const override;
    void Realign() override;
    void SetBounds(int left, int top, int width, int height) override;
    void WidgetResized(int width, int height) override;
    // The scroll area itself was resized by its layout.
    void OuterResized(int width, int height);

protected:
    void BeforeDestruction() override;

private:
    QScrollArea* FScrollArea = nullptr;
    bool FRealigning = false;
};

} // namespace tsb
