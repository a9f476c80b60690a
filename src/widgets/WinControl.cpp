#include "widgets/WinControl.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "core/ScopeExit.h"
#include "graphics/QtConvert.h"
#include "widgets/Application.h"
#include "widgets/Screen.h"

namespace tsb {

namespace {

enum HostEvent { evPress, evDouble, evMove, evRelease };

// The page point under the pointer.
TPoint PointOf(const TWinControl* control, const QMouseEvent* e) {
    return control->View().ViewToPage(e->position());
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
    if (FControl) FControl->PaintHost(e->region());
}

void TControlHost::resizeEvent(QResizeEvent*) {
    if (FControl) Guarded([&] { FControl->WidgetResized(width(), height()); });
}

void TControlHost::mousePressEvent(QMouseEvent* e) {
    if (FControl)
        FControl->HostMouse(evPress, ButtonOf(e->button()), ShiftOf(e), PointOf(FControl, e));
}

void TControlHost::mouseDoubleClickEvent(QMouseEvent* e) {
    if (FControl)
        FControl->HostMouse(evDouble, ButtonOf(e->button()), ShiftOf(e), PointOf(FControl, e));
}

void TControlHost::mouseMoveEvent(QMouseEvent* e) {
    if (FControl) FControl->HostMouse(evMove, mbLeft, ShiftOf(e), PointOf(FControl, e));
}

void TControlHost::mouseReleaseEvent(QMouseEvent* e) {
    if (FControl)
        FControl->HostMouse(evRelease, ButtonOf(e->button()), ShiftOf(e), PointOf(FControl, e));
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
    FOuterWidget = FHost;
}

TWinControl::~TWinControl() {
    // Only reached with children left when the control was not deleted
    // through the component delete (a control on the stack).
    while (!FControls.empty()) {
        TControl* c = FControls.back();
        delete c;
    }
    if (FHost) FHost->Detach();
    if (FOuterWidget) delete FOuterWidget.data();
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

void TWinControl::PlaceControls(const std::vector<std::pair<std::size_t, TControl*>>& places) {
    if (places.empty()) return;
    std::vector<TControl*> moving;
    moving.reserve(places.size());
    for (const auto& [place, c] : places)
        if (c->FParent == this) moving.push_back(c);
    std::sort(moving.begin(), moving.end());
    auto isMoving = [&moving](TControl* c) {
        return std::binary_search(moving.begin(), moving.end(), c);
    };
    std::vector<TControl*> order;
    order.reserve(FControls.size());
    auto next = places.begin();
    auto take = [&] {
        while (next != places.end() && next->second->FParent != this)
            ++next;
    };
    take();
    for (TControl* c : FControls) {
        if (isMoving(c)) continue;
        for (; next != places.end() && next->first <= order.size(); ++next, take())
            order.push_back(next->second);
        order.push_back(c);
    }
    for (; next != places.end(); ++next, take())
        order.push_back(next->second);
    FControls = std::move(order);
    // Child order values follow the list again; the index sorts by them.
    FBackOrder = 0;
    FFrontOrder = 0;
    for (TControl* c : FControls)
        c->FChildOrder = ++FFrontOrder;
    ++FChildVersion;
    if (FWindowedCount)
        for (TControl* c : FControls)
            if (auto* w = As<TWinControl>(c); w && w->Widget()) w->Widget()->raise();
    for (const auto& [place, c] : places)
        if (c->FParent == this) c->Invalidate();
}

void TWinControl::InsertControl(TControl* c) {
    FControls.push_back(c);
    c->FParent = this;
    c->FChildOrder = ++FFrontOrder;
    FChildIndex.Insert(c);
    ++FChildVersion;
    if (Is<TWinControl>(c)) ++FWindowedCount;
    if (auto* w = As<TWinControl>(c)) {
        QWidget* widget = w->Widget();
        widget->setParent(ChildParentWidget());
        widget->setGeometry(ToQRect(w->ViewBounds()));
        widget->setVisible(w->Visible());
    }
    if (c->Align() != alNone)
        Realign();
    else if (As<TWinControl>(c))
        Realign();
}

void TWinControl::RemoveControl(TControl* c) {
    // Children mostly leave from the front (deleting all of them does).
    auto it = std::find(FControls.rbegin(), FControls.rend(), c);
    if (it != FControls.rend()) {
        FControls.erase(std::next(it).base());
        FChildIndex.Remove(c);
        ++FChildVersion;
        if (Is<TWinControl>(c)) --FWindowedCount;
    }
    if (FCaptureControl == c) FCaptureControl = nullptr;
    c->FParent = nullptr;
    // A canvas left bound to this surface must not outlive it.
    if (c->FCanvas && !c->FPainting) c->FCanvas->Unbind();
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
    BoundsChanged();
    if (QWidget* w = Widget()) w->setGeometry(ToQRect(ViewBounds()));
    if (Parent()) Parent()->Realign();
    if (sized) Realign();
}

TRect TWinControl::ViewBounds() const {
    if (FView.Zoom() == 1) return BoundsRect();
    return Bounds(FViewOrigin.X, FViewOrigin.Y, FView.ViewExtent(Width()),
                  FView.ViewExtent(Height()));
}

void TWinControl::SetZoom(double zoom, TPoint origin) {
    if (zoom == FView.Zoom() && (zoom == 1 || origin == FViewOrigin)) return;
    const bool rescaled = zoom != FView.Zoom();
    FView.SetZoom(zoom);
    FViewOrigin = origin;
    if (rescaled) {
        // Every device pixel shows something else now.
        FSurface = QImage();
        FSurfaceRect = {};
        FDirty = QRegion();
    }
    if (QWidget* w = Widget()) w->setGeometry(ToQRect(ViewBounds()));
    if (Parent()) Parent()->Realign();
    if (FHost) FHost->update();
}

void TWinControl::SetParent(TWinControl* parent) {
    TControl::SetParent(parent);
}

void TWinControl::Invalidate() {
    if (!FHost || FSurfaceRect.IsEmpty()) return;
    FDirty = QRegion(ToQRect(FSurfaceRect));
    FHost->update();
}

void TWinControl::WidgetResized(int width, int height) {
    // A zoomed control takes its size from its page, never from the widget.
    if (Widget() == FHost && FView.Zoom() == 1) {
        FWidth = width;
        FHeight = height;
        BoundsChanged();
    }
    Realign();
}

void TWinControl::Realign() {
    for (TControl* c : FControls)
        if (c->Align() == alClient) c->SetBounds(0, 0, ClientWidth(), ClientHeight());
}

void TWinControl::FindControls(const TRect& area, std::vector<TControl*>& out) const {
    FChildIndex.Query(area, out);
}

TControl* TWinControl::ControlAtPos(TPoint p) const {
    std::vector<TControl*> found;
    FindControls({p.X, p.Y, p.X, p.Y}, found);
    for (auto it = found.rbegin(); it != found.rend(); ++it) {
        TControl* c = *it;
        if (Is<TWinControl>(c) || !c->Visible() || !c->Enabled()) continue;
        if (c->BoundsRect().Contains(p.X, p.Y)) return c;
    }
    return nullptr;
}

namespace {

// The size of the screen, which bounds the surface of a control not shown.
QSize ScreenSize() {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QSize s = screen->virtualSize();
        if (!s.isEmpty()) return s;
    }
    return QSize(1920, 1080);
}

// Moves an image's pixels by (-dx, -dy): what was at (x + dx, y + dy) comes
// to (x, y); rows and columns that come from outside keep old pixels.
void ShiftImage(QImage& image, int dx, int dy) {
    const int w = image.width(), h = image.height();
    if (std::abs(dx) >= w || std::abs(dy) >= h) return;
    const std::size_t bytes = static_cast<std::size_t>(w - std::abs(dx)) * 4;
    auto row = [&](int y) {
        const std::uint8_t* src = image.constScanLine(y + dy) + std::max(dx, 0) * 4;
        std::uint8_t* dst = image.scanLine(y) + std::max(-dx, 0) * 4;
        std::memmove(dst, src, bytes);
    };
    if (dy >= 0) {
        for (int y = 0; y + dy < h; ++y)
            row(y);
    } else {
        for (int y = h - 1; y + dy >= 0; --y)
            row(y);
    }
}

} // namespace

TRect TWinControl::VisibleViewRect() const {
    if (!FHost) return {};
    QRect r = FHost->rect();
    // Each parent widget clips its children; a scroll area's viewport shows
    // only the part of the content that is scrolled into view.
    QPoint offset(0, 0);
    for (QWidget* w = FHost; !w->isWindow() && w->parentWidget(); w = w->parentWidget()) {
        offset -= w->pos();
        r &= QRect(offset, w->parentWidget()->size());
    }
    if (!FHost->isVisible()) r &= QRect(QPoint(0, 0), ScreenSize());
    return r.isEmpty() ? TRect{} : FromQRect(r);
}

void TWinControl::SyncSurface() {
    const double ratio = FHost ? FHost->devicePixelRatioF() : 1;
    if (ratio != FView.Ratio()) {
        // Another screen: every pixel is new.
        FView.SetRatio(ratio);
        FSurface = QImage();
        FSurfaceRect = {};
        FDirty = QRegion();
    }
    const TRect view = VisibleViewRect();
    const TRect want = view.IsEmpty() ? TRect{} : FromQRect(FView.ViewToDevice(ToQRect(view)));
    if (want == FSurfaceRect && !FSurface.isNull() == !want.IsEmpty()) return;
    if (want.IsEmpty()) {
        FSurface = QImage();
        FSurfaceRect = {};
        FDirty = QRegion();
        return;
    }
    QRect next = ToQRect(want), old = ToQRect(FSurfaceRect);
    if (FSurface.isNull() || FSurface.size() != next.size()) {
        QImage image(next.size(), QImage::Format_RGB32);
        if (image.isNull()) throw Exception("Not enough memory to show the work area");
        QRect both = next & old;
        if (!both.isEmpty() && !FSurface.isNull()) {
            QPainter p(&image);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.drawImage(both.topLeft() - next.topLeft(), FSurface, both.translated(-old.topLeft()));
        }
        FSurface = std::move(image);
    } else {
        ShiftImage(FSurface, next.left() - old.left(), next.top() - old.top());
    }
    FDirty = (FDirty & next) | (QRegion(next) - QRegion(old));
    FSurfaceRect = want;
}

namespace {

void NoteError(std::string& error, const char* message) {
    if (error.empty()) error = *message ? message : "Unknown error";
}

// Runs one part of a paint. Given somewhere to note it, a failure is noted
// (the first one only) and the paint goes on with the next part.
template <typename F> void PaintPart(std::string* error, F&& paint) {
    if (!error) {
        paint();
        return;
    }
    try {
        paint();
    } catch (const std::exception& e) {
        NoteError(*error, e.what());
    } catch (...) {
        NoteError(*error, "");
    }
}

} // namespace

void TWinControl::RenderSurface(const QRegion& area, std::string& error) {
    const QRegion todo = FDirty & area;
    if (todo.isEmpty()) return;
    if (FView.OneToOne()) {
        TCanvas surface;
        surface.Bind(&FSurface);
        const TPoint origin{-FSurfaceRect.Left, -FSurfaceRect.Top};
        const TRect image{0, 0, FSurface.width(), FSurface.height()};
        for (const QRect& r : todo)
            Render(surface, origin, FromQRect(r).Offset(origin.X, origin.Y).Intersect(image),
                   &error);
    } else {
        for (const QRect& r : todo)
            RenderScaled(r, error);
    }
    // Painted, also where a control failed: it is not tried again until
    // something invalidates it.
    FDirty -= todo;
}

void TWinControl::RenderScaled(const QRect& deviceRect, std::string& error) {
    const QPoint origin(FSurfaceRect.Left, FSurfaceRect.Top);
    QPainter painter(&FSurface);
    painter.setClipRect(deviceRect.translated(-origin));
    // Past the page's last pixel, which may show in part.
    const QRect page = FView.PageToDevice({0, 0, Width(), Height()});
    for (const QRect& r : QRegion(deviceRect) -
                              QRegion(page.left(), page.top(), page.width() - 1, page.height() - 1))
        painter.fillRect(r.translated(-origin), QColor::fromRgb(ColorToRGB(Color)));
    painter.translate(-origin);
    painter.scale(FView.Scale(), FView.Scale());
    const TRect area = FView.DeviceToPage(deviceRect).Intersect({0, 0, Width(), Height()});
    TCanvas canvas;
    canvas.BindView(&painter, {0, 0}, area, FView.Scale(), deviceRect.translated(-origin));
    Render(canvas, {0, 0}, area, &error);
}

void TWinControl::PrepareSurface(const TRect& clientRect) {
    SyncSurface();
    std::string error;
    RenderSurface(QRegion(FView.PageToDevice(clientRect)) & ToQRect(FSurfaceRect), error);
    if (!error.empty()) Application().HandleExceptionLater(error);
}

QImage& TWinControl::Surface() {
    SyncSurface();
    PrepareSurface(FSurfaceRect);
    return FSurface;
}

void TWinControl::SurfaceDrawn(const TRect& clientRect) {
    TRect r = FromQRect(FView.PageToDevice(clientRect)).Intersect(FSurfaceRect);
    if (FHost && !r.IsEmpty()) FHost->update(FView.DeviceToView(ToQRect(r)));
}

void TWinControl::InvalidateClient(const TRect& clientRect) {
    if (clientRect.IsEmpty()) return;
    // Nothing outside the surface can show; what scrolls into view later is
    // repainted then.
    TRect r = FromQRect(FView.PageToDevice(clientRect)).Intersect(FSurfaceRect);
    if (r.IsEmpty()) return;
    // Already waiting to be repainted: nothing to add.
    if (FDirty.rectCount() == 1 && FDirty.boundingRect().contains(ToQRect(r))) return;
    FDirty |= ToQRect(r);
    // Many scattered rectangles cost more to walk than their bounds to paint.
    if (FDirty.rectCount() > 64) {
        FDirty = FDirty.boundingRect();
        if (FHost) FHost->update(FView.DeviceToView(FDirty.boundingRect()));
        return;
    }
    if (FHost) FHost->update(FView.DeviceToView(ToQRect(r)));
}

void TWinControl::PaintHost(const QRegion& region) {
    // Nothing leaves a paint event: a message box opened from inside one
    // would come back at every paint.
    std::string error;
    try {
        SyncSurface();
        QRegion device;
        for (const QRect& r : region)
            device |= FView.ViewToDevice(r);
        RenderSurface(device, error);
        if (!FSurface.isNull()) {
            QPainter p(FHost);
            const QPoint origin(FSurfaceRect.Left, FSurfaceRect.Top);
            for (const QRect& r : region) {
                if (FView.Ratio() == 1) {
                    p.drawImage(r.topLeft(), FSurface, r.translated(-origin));
                    continue;
                }
                // Device pixels onto device pixels: the view rectangle
                // covers them.
                const QRect d = FView.ViewToDevice(r);
                const double ratio = FView.Ratio();
                p.drawImage(QRectF(d.left() / ratio, d.top() / ratio, d.width() / ratio,
                                   d.height() / ratio),
                            FSurface, QRectF(d.translated(-origin)));
            }
        }
    } catch (const std::exception& e) {
        NoteError(error, e.what());
    } catch (...) {
        NoteError(error, "");
    }
    if (!error.empty()) Application().HandleExceptionLater(error);
}

void TWinControl::PaintBackground(TCanvas& canvas, const TRect& clip) {
    canvas.Brush.Color = Color;
    canvas.Brush.Style = bsSolid;
    canvas.FillRect(clip);
}

void TWinControl::RenderInto(QImage& device, TPoint origin, const TRect& clip) {
    TCanvas target;
    target.Bind(&device);
    RenderOn(target, origin, clip.Intersect({0, 0, device.width(), device.height()}));
}

void TWinControl::RenderOn(const TCanvas& device, TPoint origin, const TRect& area,
                           const std::function<void(std::size_t, std::size_t)>& step) {
    Render(device, origin, area, nullptr, step);
}

void TWinControl::Render(const TCanvas& device, TPoint origin, const TRect& area,
                         std::string* error,
                         const std::function<void(std::size_t, std::size_t)>& step) {
    if (area.IsEmpty()) return;
    TCanvas canvas;
    canvas.BindLike(device, origin, area);
    TRect client = area.Offset(-origin.X, -origin.Y);
    PaintPart(error, [&] { PaintBackground(canvas, client); });
    std::vector<TControl*> found;
    FindControls(client, found);
    // A view shows an element smaller than 2 device pixels as a dot.
    const double dot = device.ViewScale() > 0 ? 2 / device.ViewScale() : 0;
    for (std::size_t i = 0; i < found.size(); ++i) {
        TControl* c = found[i];
        if (step) step(i, found.size());
        if ((FWindowedCount && Is<TWinControl>(c)) || !c->Visible()) continue;
        TRect r = c->BoundsRect().Offset(origin.X, origin.Y).Intersect(area);
        if (r.IsEmpty()) continue;
        if (c->Width() < dot && c->Height() < dot) {
            PaintPart(error, [&] {
                canvas.Brush.Color = clGray;
                canvas.Brush.Style = bsSolid;
                canvas.FillRect(c->BoundsRect());
            });
            continue;
        }
        PaintPart(error, [&] {
            c->PaintOn(device, {origin.X + c->Left(), origin.Y + c->Top()}, r);
        });
    }
}

void TWinControl::PaintTo(const TCanvas& canvas, int x, int y,
                          const std::function<void(std::size_t, std::size_t)>& step) {
    const TPoint origin{canvas.Origin().X + x, canvas.Origin().Y + y};
    const TRect clip = canvas.DeviceClip();
    RenderOn(canvas, origin,
             Bounds(origin.X, origin.Y, ClientWidth(), ClientHeight()).Intersect(clip), step);
    if (FWindowedCount == 0) return;
    for (TControl* c : FControls) {
        auto* w = As<TWinControl>(c);
        if (w && w->Visible()) w->PaintTo(canvas, x + w->Left(), y + w->Top());
    }
}

void TWinControl::PaintTo(QImage& device, int x, int y) {
    TCanvas canvas;
    canvas.Bind(&device);
    PaintTo(canvas, x, y);
}

TPoint TWinControl::ClientToScreen(TPoint p) const {
    if (!FHost) return p;
    QPoint g = FHost->mapToGlobal(FView.PageToView(p)).toPoint();
    return {g.x(), g.y()};
}

TPoint TWinControl::ScreenToClient(TPoint p) const {
    if (!FHost) return p;
    return FView.ViewToPage(FHost->mapFromGlobal(QPointF(p.X, p.Y)));
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
    std::vector<TControl*> found;
    FindControls({p.X, p.Y, p.X, p.Y}, found);
    for (auto it = found.rbegin(); it != found.rend() && !hintControl; ++it)
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
    FScrollArea = area;
    FOuterWidget = area;
}

void TScrollingWinControl::BeforeDestruction() {
    static_cast<TScrollArea*>(FScrollArea)->Detach();
    TWinControl::BeforeDestruction();
}

QWidget* TScrollingWinControl::Widget() const {
    return FScrollArea;
}

int TScrollingWinControl::ClientWidth() const {
    return FScrollArea ? FScrollArea->viewport()->width() : Width();
}

int TScrollingWinControl::ClientHeight() const {
    return FScrollArea ? FScrollArea->viewport()->height() : Height();
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
    BoundsChanged();
    Realign();
}

void TScrollingWinControl::Realign() {
    if (FRealigning || !FScrollArea) return;
    FRealigning = true;
    // Reset however the layout ends: a child whose bounds fail must not
    // leave the control never laid out again.
    TScopeExit done([this] { FRealigning = false; });
    // The content holds every unaligned child and at least fills the viewport.
    int w = ClientWidth(), h = ClientHeight();
    for (TControl* c : ControlList()) {
        if (c->Align() != alNone || !c->Visible()) continue;
        const auto* windowed = As<TWinControl>(c);
        const TRect r = windowed ? windowed->ViewBounds() : c->BoundsRect();
        w = std::max(w, r.Right);
        h = std::max(h, r.Bottom);
    }
    if (Host()->size() != QSize(w, h)) Host()->resize(w, h);
    for (TControl* c : ControlList())
        if (c->Align() == alClient) c->SetBounds(0, 0, w, h);
}

} // namespace tsb
