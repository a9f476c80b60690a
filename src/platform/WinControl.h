// Windowed controls: a Qt widget behind the control, a z-ordered list of
// child controls painted on the widget's surface, and mouse routing to them.
#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <vector>

#include "platform/Control.h"

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

    TColor Color = clBtnFace;

    void SetBounds(int left, int top, int width, int height) override;
    void SetParent(TWinControl* parent) override;
    void Invalidate() override;

    // The front-most visible, enabled windowless child under a client point.
    TControl* ControlAtPos(TPoint p) const;
    TControl* CaptureControl() const { return FCaptureControl; }

    // Renders the control, its windowless children and its windowed
    // children onto a device image with the control's top-left at (x, y).
    void PaintTo(QImage& device, int x, int y);
    // The surface outside-of-paint drawing goes to.
    QImage& Surface();
    // Repaints the client area of the widget from the background up.
    void RenderInto(QImage& device, TPoint origin, const TRect& clip);

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
    QPointer<QWidget> FOuter;

private:
    friend class TControl;
    void InsertControl(TControl* c);
    void RemoveControl(TControl* c);
    void UpdateCursorAndHint(TPoint p);

    TControlHost* FHost = nullptr;
    std::vector<TControl*> FControls;
    TControl* FCaptureControl = nullptr;
    QImage FSurface;
};

// A windowed control whose children scroll inside a viewport, grown to hold
// every child that is not aligned.
class TScrollingWinControl : public TWinControl {
    TSB_CLASS(TScrollingWinControl)
public:
    explicit TScrollingWinControl(TComponent* owner);
    QWidget* Widget() const override;
    QScrollArea* ScrollArea() const { return FScroll; }
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
    QScrollArea* FScroll = nullptr;
    bool FRealigning = false;
};

} // namespace tsb
