#include "model/MoveableShape.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "widgets/Screen.h"

namespace tsb {

TMoveableShape::TMoveableShape(TComponent* owner) : TCustomShape(owner) {
    SetSelected(false);
}

void TMoveableShape::BeforeDestruction() {
    if (Moving) EndMove();
    TCustomShape::BeforeDestruction();
}

void TMoveableShape::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomShape::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    if (!(shift & ssShift)) UnselectAll(Parent());
    BeginMove(x, y);
}

void TMoveableShape::BeginMove(int x, int y) {
    SetSelected(true);
    Moving = true;
    MoveOrigin = {x, y};
    Screen().SetOverrideCursor(crGrab);
}

void TMoveableShape::EndMove() {
    Moving = false;
    MoveOrigin = {0, 0};
    Screen().SetOverrideCursor(crDefault);
}

void TMoveableShape::MouseMove(TShiftState shift, int x, int y) {
    TCustomShape::MouseMove(shift, x, y);
    SetCursor(Selected() ? crHand : crDefault);
    if (TWinControl* container = Parent()) {
        TPoint p = ClientToParent({x, y});
        container->MouseMove(shift, p.X, p.Y);
    }
    if (!(shift & ssLeft))
        Moving = false;
    else if (Moving)
        MoveSelected(x - MoveOrigin.X, y - MoveOrigin.Y);
}

void TMoveableShape::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomShape::MouseUp(button, shift, x, y);
    if (button != mbLeft) return;
    EndMove();
    TWinControl* container = Parent();
    if (!container) return;
    ReleaseWalk(container);
}

void TMoveableShape::ReleaseWalk(TWinControl* container) {
    // Every element in child order places its caption, and the first other
    // element lying entirely within this one comes to the front, which ends
    // the walk. Placing a caption that is in place changes nothing, so only
    // two kinds of children need a visit: those under this element, and
    // those whose captions may be out of place. A placed caption may come to
    // lie under this element further on; it joins the visits.
    TRect self = Bounds(Left(), Top(), Width(), Height());
    auto later = [](const TControl* a, const TControl* b) {
        return a->ChildOrder() > b->ChildOrder();
    };
    std::vector<TControl*> visits;
    container->FindControls(self, visits);
    for (TCustomShape* shape : DisplacedCaptions(container))
        visits.push_back(shape);
    std::make_heap(visits.begin(), visits.end(), later);
    std::vector<TControl*> moved;
    std::int64_t last = std::numeric_limits<std::int64_t>::min();
    while (!visits.empty()) {
        std::pop_heap(visits.begin(), visits.end(), later);
        TControl* c = visits.back();
        visits.pop_back();
        if (c->ChildOrder() <= last || c->Parent() != container) continue;
        last = c->ChildOrder();
        auto* shape = As<TCustomShape>(c);
        if (!shape) continue;
        if (shape->CaptionDisplaced()) {
            container->LogBoundsChanges(&moved);
            try {
                shape->PlaceCaption();
            } catch (...) {
                container->LogBoundsChanges(nullptr);
                throw;
            }
            container->LogBoundsChanges(nullptr);
            auto visit = [&](TControl* next) {
                if (next->ChildOrder() <= last) return;
                visits.push_back(next);
                std::push_heap(visits.begin(), visits.end(), later);
            };
            // What moved, and the elements whose captions it is (a caption
            // may be shared).
            for (TControl* m : moved) {
                visit(m);
                if (auto* caption = As<TCustomShape>(m))
                    for (TCustomShape* element : caption->CaptionOf())
                        if (element->CaptionDisplaced()) visit(element);
            }
            moved.clear();
        }
        if (shape != this && shape->CanProcessMouseMsg &&
            PointInRect(shape->Left(), shape->Top(), self) &&
            PointInRect(shape->Left() + shape->Width(), shape->Top() + shape->Height(), self)) {
            shape->BringToFront();
            break;
        }
    }
}

void TMoveableShape::LimitMove(int& dx, int& dy) {
    TWinControl* container = Parent();
    if (!container) return;
    int cw = container->ClientWidth(), ch = container->ClientHeight();
    int l = Left(), t = Top(), w = Width(), h = Height();
    if (dx < 0 && l + dx < 0) dx = 0;
    if (dy < 0 && t + dy < 0) dy = 0;
    if (dx > 0 && l + w + dx > cw) dx = 0;
    if (dy > 0 && t + h + dy > ch) dy = 0;
}

void TMoveableShape::MoveBy(int dx, int dy) {
    SetBounds(Left() + dx, Top() + dy, Width(), Height());
}

const std::vector<TMoveableShape*>& TMoveableShape::SelectedInContainer(TWinControl* container) {
    TMoveSet& set = FMoveSet;
    if (set.Container == container && set.ChildVersion == container->ChildListVersion() &&
        set.SelectionEpoch == SelectionEpoch())
        return set.Items;
    set.Items.clear();
    for (TControl* c : container->ControlList())
        if (auto* m = As<TMoveableShape>(c); m && m->Selected()) set.Items.push_back(m);
    set.Container = container;
    set.ChildVersion = container->ChildListVersion();
    set.SelectionEpoch = SelectionEpoch();
    return set.Items;
}

void TMoveableShape::MoveSelected(int dx, int dy) {
    TWinControl* container = Parent();
    if (!container) return;
    // A copy: moving lays out connectors and captions, which may change
    // what the cache holds.
    std::vector<TMoveableShape*> moving = SelectedInContainer(container);
    for (TMoveableShape* m : moving)
        m->LimitMove(dx, dy);
    if (dx == 0 && dy == 0) return;
    for (TMoveableShape* m : moving)
        m->MoveBy(dx, dy);
}

void DrawDottedFrame(TCanvas& canvas, int width, int height, bool shown) {
    canvas.Pen.Mode = shown ? pmNot : pmNop;
    canvas.Pen.Style = psDot;
    canvas.Pen.Width = 1;
    canvas.Brush.Style = bsClear;
    canvas.Polyline({{0, 0}, {width - 1, 0}, {width - 1, height - 1}, {0, height - 1}, {0, 0}});
}

} // namespace tsb
