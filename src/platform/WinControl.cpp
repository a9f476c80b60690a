#include "platform/WinControl.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>

#include "platform/Application.h"
#include "platform/Screen.h"

namespace tsb {

namespace {

enum HostEvent { evPress, evDouble, evMove, evRelease };

TMouseButton ButtonOf(Qt::MouseButton b) {
    switch (b) {
    case Qt::RightButton:
        return mbRight;
    case Qt::MiddleButton:
        return mbMiddle;
    default:
        return mbLeft;
    }
}

TShiftState ShiftOf(const QMouseEvent* e) {
    TShiftState s = 0;
    Qt::KeyboardModifiers m = e->modifiers();
    if (m & Qt::ShiftModifier) s |= ssShift;
    if (m & Qt::ControlModifier) s |= ssCtrl;
    if (m & Qt::AltModifier) s |= ssAlt;
    Qt::MouseButtons b = e->buttons();
    if (b & Qt::LeftButton) s |= ssLeft;
    if (b & Qt::RightButton) s |= ssRight;
    if (b & Qt::MiddleButton) s |= ssMiddle;
    return s;
}

TPoint PointOf(const QMouseEvent* e) {
    QPoint p = e->position().toPoint();
    return {p.x(), p.y()};
}

// The scroll area of a scrolling control; tells the control when the
// viewport changes size.
class TScrollArea : public QScrollArea {
public:
    explicit TScrollArea(TScrollingWinControl* control) : FControl(control) {}
    void Detach() { FControl = nullptr; }

protected:
    void resizeEvent(QResizeEvent* e) override {
        QScrollArea::resizeEvent(e);
        if (FControl) Guarded([&] { FControl->OuterResized(width(), height()); });
    }

private:
    TScrollingWinControl* FControl;
};

} // namespace

// ---------------------------------------------------------------------------

TControlHost::TControlHost(TWinControl* control, QWidget* parent)
    : QWidget(parent), FControl(control) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TControlHost::paintEvent(QPaintEvent* e) {
    if (!FControl) return;
    Guarded([&] {
        QImage& surface = FControl->Surface();
        QRect r = e->rect();
        FControl->RenderInto(surface, {0, 0}, {r.left(), r.top(), r.right() + 1, r.bottom() + 1});
        QPainter p(this);
        p.drawImage(r, surface, r);
    });
}

void TControlHost::resizeEvent(QResizeEvent*) {
    if (FControl) Guarded([&] { FControl->WidgetResized(width(), height()); });
}

void TControlHost::mousePressEvent(QMouseEvent* e) {
    if (FControl) FControl->HostMouse(evPress, ButtonOf(e->button()), ShiftOf(e), PointOf(e));
}

void TControlHost::mouseDoubleClickEvent(QMouseEvent* e) {
    if (FControl) FControl->HostMouse(evDouble, ButtonOf(e->button()), ShiftOf(e), PointOf(e));
}

void TControlHost::mouseMoveEvent(QMouseEvent* e) {
    if (FControl) FControl->HostMouse(evMove, mbLeft, ShiftOf(e), PointOf(e));
}

void TControlHost::mouseReleaseEvent(QMouseEvent* e) {
    if (FControl) FControl->HostMouse(evRelease, ButtonOf(e->button()), ShiftOf(e), PointOf(e));
}

void TControlHost::leaveEvent(QEvent*) {
    if (FControl) FControl->HostLeave();
}

// ---------------------------------------------------------------------------

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {
    CreateHost(nullptr);
}

void TWinControl::CreateHost(QWidget* parent) {
    FHost = new TControlHost(this, parent);
    FOuter = FHost;
}

TWinControl::~TWinControl() {
    // Only reached with children left when the control was not deleted
    // through the component delete (a control on the stack).
    while (!FControls.empty()) {
        TControl* c = FControls.back();
        delete c;
    }
    if (FHost) FHost->Detach();
    if (FOuter) delete FOuter.data();
}

void TWinControl::BeforeDestruction() {
    // A windowed control takes its child controls with it.
    while (!FControls.empty()) {
        TControl* c = FControls.back();
        delete c;
    }
    TControl::BeforeDestruction();
}

int TWinControl::IndexOfControl(const TControl* c) const {
    auto it = std::find(FControls.begin(), FControls.end(), c);
    return it == FControls.end() ? -1 : static_cast<int>(it - FControls.begin());
}

void TWinControl::InsertControl(TControl* c) {
    FControls.push_back(c);
    c->FParent = this;
    if (auto* w = As<TWinControl>(c)) {
        QWidget* widget = w->Widget();
        widget->setParent(ChildParentWidget());
        widget->setGeometry(w->Left(), w->Top(), w->Width(), w->Height());
        widget->setVisible(w->Visible());
    }
    if (c->Align() != alNone)
        Realign();
    else if (As<TWinControl>(c))
        Realign();
}

void TWinControl::RemoveControl(TControl* c) {
    auto it = std::find(FControls.begin(), FControls.end(), c);
    if (it != FControls.end()) FControls.erase(it);
    if (FCaptureControl == c) FCaptureControl = nullptr;
    c->FParent = nullptr;
    if (auto* w = As<TWinControl>(c)) {
        if (QWidget* widget = w->Widget()) {
            widget->hide();
            widget->setParent(nullptr);
        }
    }
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    bool sized = width != Width() || height != Height();
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    if (QWidget* w = Widget()) w->setGeometry(left, top, width, height);
    if (Parent()) Parent()->Realign();
    if (sized) Realign();
}

void TWinControl::SetParent(TWinControl* parent) {
    TControl::SetParent(parent);
}

void TWinControl::Invalidate() {
    if (FHost) FHost->update();
}

void TWinControl::WidgetResized(int width, int height) {
    if (Widget() == FHost) {
        FWidth = width;
        FHeight = height;
    }
    Realign();
}

void TWinControl::Realign() {
    for (TControl* c : FControls)
        if (c->Align() == alClient) c->SetBounds(0, 0, ClientWidth(), ClientHeight());
}

TControl* TWinControl::ControlAtPos(TPoint p) const {
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        if (Is<TWinControl>(c) || !c->Visible() || !c->Enabled()) continue;
        if (c->BoundsRect().Contains(p.X, p.Y)) return c;
    }
    return nullptr;
}

QImage& TWinControl::Surface() {
    QSize size = FHost ? FHost->size() : QSize(FWidth, FHeight);
    if (size.isEmpty()) size = QSize(1, 1);
    if (FSurface.size() != size) {
        FSurface = QImage(size, QImage::Format_RGB32);
        RenderInto(FSurface, {0, 0}, {0, 0, size.width(), size.height()});
    }
    return FSurface;
}

void TWinControl::PaintBackground(TCanvas& canvas, const TRect& clip) {
    canvas.Brush.Color = Color;
    canvas.Brush.Style = bsSolid;
    canvas.FillRect(clip);
}

void TWinControl::RenderInto(QImage& device, TPoint origin, const TRect& clip) {
    TRect area = clip.Intersect({0, 0, device.width(), device.height()});
    if (area.IsEmpty()) return;
    TCanvas canvas;
    canvas.Bind(&device, origin, area);
    PaintBackground(canvas, area.Offset(-origin.X, -origin.Y));
    for (std::size_t i = 0; i < FControls.size(); ++i) {
        TControl* c = FControls[i];
        if (Is<TWinControl>(c) || !c->Visible()) continue;
        TRect r = c->BoundsRect().Offset(origin.X, origin.Y).Intersect(area);
        if (r.IsEmpty()) continue;
        c->PaintOn(&device, {origin.X + c->Left(), origin.Y + c->Top()}, r);
    }
}

void TWinControl::PaintTo(QImage& device, int x, int y) {
    RenderInto(device, {x, y}, Bounds(x, y, ClientWidth(), ClientHeight()));
    for (TControl* c : FControls) {
        auto* w = As<TWinControl>(c);
        if (w && w->Visible()) w->PaintTo(device, x + w->Left(), y + w->Top());
    }
}

TPoint TWinControl::ClientToScreen(TPoint p) const {
    if (!FHost) return p;
    QPoint g = FHost->mapToGlobal(QPoint(p.X, p.Y));
    return {g.x(), g.y()};
}

TPoint TWinControl::ScreenToClient(TPoint p) const {
    if (!FHost) return p;
    QPoint l = FHost->mapFromGlobal(QPoint(p.X, p.Y));
    return {l.x(), l.y()};
}

void TWinControl::HostMouse(int kind, TMouseButton button, TShiftState shift, TPoint p) {
    Guarded([&] {
        TControl* target = FCaptureControl ? FCaptureControl : ControlAtPos(p);
        if (!target) target = this;
        TPoint local = target == this ? p : target->ParentToClient(p);
        switch (kind) {
        case evPress:
        case evDouble:
            target->WMButtonDown(button, shift, local.X, local.Y, kind == evDouble);
            break;
        case evMove:
            target->MouseMove(shift, local.X, local.Y);
            break;
        case evRelease:
            target->WMButtonUp(button, shift, local.X, local.Y);
            break;
        }
    });
    Guarded([&] { UpdateCursorAndHint(p); });
}

void TWinControl::HostLeave() {}

void TWinControl::UpdateCursorAndHint(TPoint p) {
    if (!FHost) return;
    TControl* over = FCaptureControl ? FCaptureControl : ControlAtPos(p);
    TCursor cursor = over ? over->Cursor() : Cursor();
    FHost->setCursor(Screen().Cursor(cursor));
    // Disabled children (the grid, the rulers) still give their hint.
    TControl* hintControl = nullptr;
    for (auto it = FControls.rbegin(); it != FControls.rend() && !hintControl; ++it)
        if (!Is<TWinControl>(*it) && (*it)->Visible() && (*it)->BoundsRect().Contains(p.X, p.Y))
            hintControl = *it;
    Application().SetHint(hintControl ? hintControl->EffectiveHint() : EffectiveHint());
}

// ---------------------------------------------------------------------------

TScrollingWinControl::TScrollingWinControl(TComponent* owner) : TWinControl(owner) {
    auto* area = new TScrollArea(this);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(false);
    area->setWidget(Host());
    FScroll = area;
    FOuter = area;
}

void TScrollingWinControl::BeforeDestruction() {
    static_cast<TScrollArea*>(FScroll)->Detach();
    TWinControl::BeforeDestruction();
}

QWidget* TScrollingWinControl::Widget() const {
    return FScroll;
}

int TScrollingWinControl::ClientWidth() const {
    return FScroll ? FScroll->viewport()->width() : Width();
}

int TScrollingWinControl::ClientHeight() const {
    return FScroll ? FScroll->viewport()->height() : Height();
}

void TScrollingWinControl::SetBounds(int left, int top, int width, int height) {
    TWinControl::SetBounds(left, top, width, height);
}

void TScrollingWinControl::WidgetResized(int, int) {
    Realign();
}

void TScrollingWinControl::OuterResized(int width, int height) {
    FWidth = width;
    FHeight = height;
    Realign();
}

void TScrollingWinControl::Realign() {
    if (FRealigning || !FScroll) return;
    FRealigning = true;
    // The content holds every unaligned child and at least fills the viewport.
    int w = ClientWidth(), h = ClientHeight();
    for (TControl* c : ControlList()) {
        if (c->Align() != alNone || !c->Visible()) continue;
        w = std::max(w, c->Left() + c->Width());
        h = std::max(h, c->Top() + c->Height());
    }
    if (Host()->size() != QSize(w, h)) Host()->resize(w, h);
    for (TControl* c : ControlList())
        if (c->Align() == alClient) c->SetBounds(0, 0, w, h);
    FRealigning = false;
}

} // namespace tsb
