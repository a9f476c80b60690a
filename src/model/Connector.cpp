#include "model/Connector.h"

#include <algorithm>
#include <cstdlib>

#include "model/HiddenShape.h"
#include "model/TextShape.h"

namespace tsb {

// ---------------------------------------------------------------------------
// TConnection

TConnection::TConnection(TConnector* connector) : FConnector(connector) {}

void TConnection::SetShape(TCustomShape* shape) {
    if (shape == FShape) return;
    TCustomShape* old = FShape;
    FShape = shape;
    if (FConnector) FConnector->ShapeChanged(old, shape);
}

int TConnection::Offset() const {
    if (!FShape) return 0;
    if (Side == csLeft || Side == csRight) return FShape->Height() / 2;
    return FShape->Width() / 2;
}

void TConnection::Assign(const TPersistent& source) {
    if (auto* other = dynamic_cast<const TConnection*>(&source)) {
        SetShape(other->FShape);
        Side = other->Side;
        FOffset = other->FOffset;
        return;
    }
    TPersistent::Assign(source);
}

bool TConnection::Hidden() const {
    return Is<THiddenShape>(FShape);
}

TPoint TConnection::AttachPoint() const {
    if (!FShape) return {0, 0};
    int l = FShape->Left(), t = FShape->Top(), w = FShape->Width(), h = FShape->Height();
    // A junction is a point at its centre.
    if (Hidden()) return {l + w / 2, t + h / 2};
    int off = Offset();
    switch (Side) {
    case csLeft:
        return {l, t + off};
    case csRight:
        return {l + w - 1, t + off};
    case csTop:
        return {l + off, t};
    case csBottom:
        return {l + off, t + h - 1};
    }
    return {0, 0};
}

TPoint TConnection::OuterPoint(const TRect& terminal) const {
    if (!FShape) return {0, 0};
    int l = FShape->Left(), t = FShape->Top(), w = FShape->Width(), h = FShape->Height();
    int off = Offset(), len = terminal.Right - terminal.Left;
    bool hidden = Hidden();
    switch (Side) {
    case csLeft:
        return {hidden ? l + w / 2 - 1 - len : l - len, t + off};
    case csRight:
        return {hidden ? l + w / 2 - 1 + len : l + w - 1 + len, t + off};
    case csTop:
        return {l + off, hidden ? t + h / 2 - 1 - len : t - len};
    case csBottom:
        return {l + off, hidden ? t + h / 2 - 1 + len : t + h - 1 + len};
    }
    return {0, 0};
}

TRect TConnection::Extent(const TRect& terminal) const {
    if (!FShape) {
        TPoint p = AttachPoint();
        return {p.X, p.Y, p.X, p.Y};
    }
    const int l = FShape->Left(), t = FShape->Top(), w = FShape->Width(), h = FShape->Height();
    const int off = Offset(), len = terminal.Right - terminal.Left;
    const int half = (terminal.Bottom - terminal.Top) / 2;
    // A junction is a point at its centre (cx, cy).
    const int cx = l + w / 2, cy = t + h / 2;
    const bool hidden = Hidden();
    // clang-format off
    //                        left            top             right           bottom
    switch (Side) {
    case csLeft:
        return hidden ? TRect{cx - len,       t + off - half, cx,             t + off + half}
                      : TRect{l - len,        t + off - half, l - 1,          t + off + half};
    case csRight:
        return hidden ? TRect{cx,             t + off - half, cx + len,       t + off + half}
                      : TRect{l + w,          t + off - half, l + w + len,    t + off + half};
    case csTop:
        return hidden ? TRect{l + off - half, cy - len - 1,   l + off + half, cy}
                      : TRect{l + off - half, t - len,        l + off + half, t};
    case csBottom:
        return hidden ? TRect{l + off - half, cy,             l + off + half, cy + len}
                      : TRect{l + off - half, t + h - 1,      l + off + half, t + h + len};
    }
    // clang-format on
    return {};
}

// ---------------------------------------------------------------------------
// TConnector

TConnector::TConnector(TComponent* owner)
    : TCustomShape(owner), FStartConn(std::make_unique<TConnection>(this)),
      FEndConn(std::make_unique<TConnection>(this)) {
    CanProcessMouseMsg = false;
}

TConnector::~TConnector() = default;

void TConnector::BeforeDestruction() {
    // Leave the elements' lists first, so nothing freed below reaches back.
    FStartConn->SetShape(nullptr);
    FEndConn->SetShape(nullptr);
    TCustomShape::BeforeDestruction();
}

void TConnector::ShapeChanged(TCustomShape* oldShape, TCustomShape* newShape) {
    if (oldShape && !IsAttachedTo(oldShape)) oldShape->RemoveConnector(this);
    if (newShape) newShape->AddConnector(this);
}

void TConnector::SetLineWidth(int width) {
    if (width < 1) return;
    FLineWidth = width;
}

void TConnector::SetStartConn(const TConnection& value) {
    FStartConn->Assign(value);
    UpdateBounds();
}

void TConnector::SetEndConn(const TConnection& value) {
    FEndConn->Assign(value);
    UpdateBounds();
}

TRect TConnector::GetTerminal(int index) const {
    if (index == 1) return FStartTerminal;
    if (index == 2) return FEndTerminal;
    return {};
}

void TConnector::SetTerminal(int index, const TRect& terminal) {
    if (terminal.Right - terminal.Left < 0 || terminal.Bottom - terminal.Top < 0) return;
    if (index == 1)
        FStartTerminal = terminal;
    else if (index == 2)
        FEndTerminal = terminal;
}

bool TConnector::IsAttachedTo(const TCustomShape* shape) const {
    return shape && (FStartConn->Shape() == shape || FEndConn->Shape() == shape);
}

void TConnector::ApplyMinimumSize(int& width, int& height) const {
    width = std::max({width, FLineWidth, RectWidth(FStartTerminal), RectWidth(FEndTerminal)});
    height = std::max({height, FLineWidth, RectHeight(FStartTerminal), RectHeight(FEndTerminal)});
}

void TConnector::UpdateBounds() {
    const TConnection& s = *FStartConn;
    const TConnection& e = *FEndConn;
    if (!s.Shape() || !e.Shape()) return;
    const TRect a = s.Extent(FStartTerminal), b = e.Extent(FEndTerminal);
    int left = std::min(a.Left, b.Left);
    int top = std::min(a.Top, b.Top);
    int w = std::max(a.Right, b.Right) - left + 2;
    int h = std::max(a.Bottom, b.Bottom) - top + 2;
    ApplyMinimumSize(w, h);
    Invalidate();
    // Stored as they are, so the elements attached to this connector and
    // its caption are left alone; the new area is repainted too.
    UpdateBoundsRect(Bounds(left, top, w - 1, h - 1));
    Invalidate();
    FollowCaption();
}

void TConnector::SetBounds(int left, int top, int width, int height) {
    ApplyMinimumSize(width, height);
    TCustomShape::SetBounds(left, top, width, height);
    FollowCaption();
}

TPoint TConnector::MidPoint() const {
    TPoint a = FStartConn->OuterPoint(FStartTerminal);
    TPoint b = FEndConn->OuterPoint(FEndTerminal);
    return {std::min(a.X, b.X) + std::abs(a.X - b.X) / 2,
            std::min(a.Y, b.Y) + std::abs(a.Y - b.Y) / 2};
}

void TConnector::FollowCaption() {
    if (!FCaption) return;
    TPoint m = MidPoint();
    FCaption->Invalidate();
    FCaption->UpdateBoundsRect(
        FCaption->BoundsRect().Offset(m.X - LastMidPoint.X, m.Y - LastMidPoint.Y));
    FCaption->Invalidate();
    LastMidPoint = m;
}

void TConnector::PlaceCaption() {
    TCustomShape::PlaceCaption();
    if (!FCaption) return;
    int cw = FCaption->Width(), ch = FCaption->Height();
    TPoint p = LastMidPoint;
    if (CaptionAlign() == alClient) {
        int y = p.Y - ch / 2;
        if (Width() > Height()) y += ch;
        FCaption->SetBounds(p.X - cw / 2, y, cw, ch);
    } else {
        FCaption->SetBounds(p.X, p.Y, cw, ch);
    }
}

void TConnector::SetCaption(TTextShape* value) {
    TCustomShape::SetCaption(value);
    FollowCaption();
}

void TConnector::SetParent(TWinControl* parent) {
    TCustomShape::SetParent(parent);
    PlaceCaption();
}

void TConnector::Notification(TComponent* component, TOperation operation) {
    TCustomShape::Notification(component, operation);
    if (operation != opRemove || !component) return;
    bool dropped = false;
    if (component == static_cast<TComponent*>(FStartConn->Shape())) {
        FStartConn->SetShape(nullptr);
        dropped = true;
    }
    if (component == static_cast<TComponent*>(FEndConn->Shape())) {
        FEndConn->SetShape(nullptr);
        dropped = true;
    }
    // The line disappears; clear it from the screen.
    if (dropped) Invalidate();
}

void TConnector::Paint() {
    TCustomShape::Paint();
    if (!Parent() || !FStartConn->Shape() || !FEndConn->Shape()) return;
    TCanvas* canvas = Canvas();
    // Terminals and heads use the same pen as the middle segment, so the
    // connector looks the same on every paint.
    canvas->Pen.Width = FLineWidth;
    canvas->Pen.Style = LineStyle;
    canvas->Pen.Color = LineColor;
    canvas->Pen.Mode = pmCopy;
    // Set afresh on every paint: the gaps of a styled terminal stay clear.
    canvas->Brush.Style = bsClear;
    DrawStartTerminal();
    DrawEndTerminal();
    canvas->Brush.Style = bsClear;
    canvas->Pen.Width = FLineWidth;
    canvas->Pen.Style = LineStyle;
    canvas->Pen.Color = LineColor;
    TPoint a = ToClient(FStartConn->OuterPoint(FStartTerminal));
    TPoint b = ToClient(FEndConn->OuterPoint(FEndTerminal));
    canvas->MoveTo(a.X, a.Y);
    canvas->LineTo(b.X, b.Y);
}

void TConnector::MouseMove(TShiftState shift, int x, int y) {
    TCustomShape::MouseMove(shift, x, y);
    if (TWinControl* container = Parent()) {
        TPoint p = ClientToParent({x, y});
        container->MouseMove(shift, p.X, p.Y);
    }
}

// ---------------------------------------------------------------------------
// TLineConnector

TLineConnector::TLineConnector(TComponent* owner) : TConnector(owner) {
    FStartTerminal = {0, 0, 10, 10};
    FEndTerminal = {0, 0, 10, 10};
}

void TLineConnector::DrawStraightTerminal(const TConnection& end, const TRect& terminal) {
    if (!end.Shape()) return;
    TCanvas* canvas = Canvas();
    canvas->Pen.Color = LineColor;
    TPoint outer = ToClient(end.OuterPoint(terminal));
    TPoint attach = ToClient(end.AttachPoint());
    canvas->MoveTo(outer.X, outer.Y);
    canvas->LineTo(attach.X, attach.Y);
}

void TLineConnector::DrawStartTerminal() {
    DrawStraightTerminal(StartConn(), FStartTerminal);
}

void TLineConnector::DrawEndTerminal() {
    DrawStraightTerminal(EndConn(), FEndTerminal);
}

// ---------------------------------------------------------------------------
// TSingleHeadArrow

TSingleHeadArrow::TSingleHeadArrow(TComponent* owner) : TLineConnector(owner) {
    FStartTerminal = {0, 0, 20, 10};
    FEndTerminal = {0, 0, 20, 10};
}

void TSingleHeadArrow::SetArrowStyle(TArrowStyle style) {
    if (style == FArrowStyle) return;
    FArrowStyle = style;
    Invalidate();
}

void TSingleHeadArrow::DrawArrowHead(TPoint base, TPoint tip) {
    TCanvas* canvas = Canvas();
    canvas->Brush.Style = bsSolid;
    canvas->Brush.Color = LineColor;
    canvas->Pen.Color = LineColor;
    canvas->MoveTo(base.X, base.Y);
    canvas->LineTo(tip.X, tip.Y);
    // Both ends take the width of the end terminal.
    int d = RectHeight(FEndTerminal) / 2;
    TPoint p1 = base, p2 = base;
    if (tip.X > base.X) {
        p1.X += 5;
        p2.X += 5;
        p1.Y -= d;
        p2.Y += d;
    } else if (tip.X < base.X) {
        p1.X -= 5;
        p2.X -= 5;
        p1.Y -= d;
        p2.Y += d;
    } else if (base.Y < tip.Y) {
        p1.Y += 5;
        p2.Y += 5;
        p1.X -= d;
        p2.X += d;
    } else {
        p1.Y -= 5;
        p2.Y -= 5;
        p1.X -= d;
        p2.X += d;
    }
    switch (FArrowStyle) {
    case asHalf:
        canvas->Polyline({tip, p1});
        break;
    case asOpen:
        canvas->Polyline({tip, p1});
        canvas->Polyline({tip, p2});
        break;
    case asClosed:
        canvas->Brush.Style = bsClear;
        canvas->Polygon({tip, p1, p2});
        break;
    case asFilled:
        canvas->Polygon({tip, p1, p2});
        break;
    }
}

void TSingleHeadArrow::DrawEndTerminal() {
    TLineConnector::DrawEndTerminal();
    if (!EndConn().Shape()) return;
    DrawArrowHead(ToClient(EndConn().OuterPoint(FEndTerminal)), ToClient(EndConn().AttachPoint()));
}

// ---------------------------------------------------------------------------

TBluntSingleHeadArrow::TBluntSingleHeadArrow(TComponent* owner) : TSingleHeadArrow(owner) {
    FStartTerminal = {0, 0, 15, 10};
    FEndTerminal = {0, 0, 15, 10};
}

TDoubleHeadArrow::TDoubleHeadArrow(TComponent* owner) : TSingleHeadArrow(owner) {
    FStartTerminal = FEndTerminal;
}

void TDoubleHeadArrow::DrawStartTerminal() {
    TLineConnector::DrawStartTerminal();
    if (!StartConn().Shape()) return;
    DrawArrowHead(ToClient(StartConn().OuterPoint(FStartTerminal)),
                  ToClient(StartConn().AttachPoint()));
}

} // namespace tsb
