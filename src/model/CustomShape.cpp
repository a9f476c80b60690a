#include "model/CustomShape.h"

#include <algorithm>

#include "core/FileStream.h"
#include "model/DiagramStream.h"
#include "model/TextShape.h"
#include "widgets/Screen.h"

namespace tsb {

namespace {
// The element cursors are loaded once and registered again by every
// element, which replaces the entries with the same images.
void RegisterElementCursors() {
    static const QCursor hand = TScreen::LoadCursorResource("HAND");
    static const QCursor grab = TScreen::LoadCursorResource("GRAB");
    Screen().SetCursorImage(crHand, hand);
    Screen().SetCursorImage(crGrab, grab);
}
} // namespace

TCustomShape::TCustomShape(TComponent* owner) : TControl(owner) {
    RegisterElementCursors();
}

void TCustomShape::BeforeDestruction() {
    if (FCaption) {
        TTextShape* caption = FCaption;
        FCaption = nullptr;
        RemoveFreeNotification(caption);
        delete caption;
    }
    // Connectors on the same container go with the element; any other one
    // only loses its end. Either way it leaves the list, so this ends even
    // when freeing one connector frees others (through their captions).
    TWinControl* container = Parent();
    while (!FConnectors.empty()) {
        TCustomShape* connector = FConnectors.back();
        // A caption going away never takes its own element with it.
        bool ownCaption = static_cast<TCustomShape*>(connector->Caption()) == this;
        if (container && connector != this && !ownCaption && connector->Parent() == container)
            delete connector;
        else
            connector->Notification(this, opRemove);
    }
    TControl::BeforeDestruction();
    CaptionPlaced();
}

namespace {
void Forget(std::vector<TCustomShape*>& list, TCustomShape* shape) {
    auto it = std::find(list.begin(), list.end(), shape);
    if (it != list.end()) list.erase(it);
}
} // namespace

void TCustomShape::SetCaption(TTextShape* value) {
    if (!value) {
        if (FCaption) {
            TTextShape* caption = FCaption;
            FCaption = nullptr;
            Forget(caption->FCaptionOf, this);
            RemoveFreeNotification(caption);
            delete caption;
        }
        return;
    }
    if (value == FCaption) return;
    if (FCaption) {
        Forget(FCaption->FCaptionOf, this);
        RemoveFreeNotification(FCaption);
    }
    FCaption = value;
    value->FCaptionOf.push_back(this);
    FreeNotification(value);
    value->SetParent(Parent());
    PlaceCaption();
}

void TCustomShape::SetCaptionAlign(TAlign value) {
    if (value == FCaptionAlign) return;
    FCaptionAlign = value;
    PlaceCaption();
}

void TCustomShape::SetSelected(bool value) {
    SetSelectedFlag(value);
    if (FCaption) FCaption->SetSelected(value);
}

void TCustomShape::SetSelectedState(bool value) {
    if (value == FSelected) return;
    SetSelectedFlag(value);
    Invalidate();
}

void TCustomShape::MarkCaptionDisplaced() {
    if (FCaptionDisplaced) return;
    FCaptionDisplaced = true;
    FDisplaced.insert(this);
}

void TCustomShape::CaptionPlaced() {
    if (!FCaptionDisplaced) return;
    FCaptionDisplaced = false;
    FDisplaced.erase(this);
}

std::vector<TCustomShape*> TCustomShape::DisplacedCaptions(const TWinControl* container) {
    std::vector<TCustomShape*> out;
    for (TCustomShape* shape : FDisplaced)
        if (shape->Parent() == container) out.push_back(shape);
    std::sort(out.begin(), out.end(), [](const TCustomShape* a, const TCustomShape* b) {
        return a->ChildOrder() < b->ChildOrder();
    });
    return out;
}

void TCustomShape::PlaceCaption() {
    if (!FCaption) {
        CaptionPlaced();
        return;
    }
    int l = Left(), t = Top(), w = Width(), h = Height();
    int cw = FCaption->Width(), ch = FCaption->Height();
    int x = l, y = t;
    switch (FCaptionAlign) {
    case alNone:
        break;
    case alTop:
        x = l + (w - cw) / 2;
        y = t - ch - 2;
        break;
    case alBottom:
        x = l + (w - cw) / 2;
        y = t + h + 2;
        break;
    case alLeft:
        x = l - cw + 1;
        y = t + (h - ch) / 2;
        break;
    case alRight:
        x = l + w - 1;
        y = t + (h - ch) / 2;
        break;
    case alClient:
        x = l + (w - cw) / 2;
        y = t + (h - ch) / 2;
        break;
    }
    FCaption->SetBounds(x, y, cw, ch);
    CaptionPlaced();
}

void TCustomShape::AddConnector(TCustomShape* connector) {
    if (std::find(FConnectors.begin(), FConnectors.end(), connector) == FConnectors.end())
        FConnectors.push_back(connector);
}

void TCustomShape::RemoveConnector(TCustomShape* connector) {
    auto it = std::find(FConnectors.begin(), FConnectors.end(), connector);
    if (it != FConnectors.end()) FConnectors.erase(it);
}

void TCustomShape::UpdateConnectors() {
    TWinControl* container = Parent();
    // The list does not change while connectors lay themselves out; the
    // index guards against it all the same.
    for (std::size_t i = 0; i < FConnectors.size(); ++i) {
        TCustomShape* connector = FConnectors[i];
        if (connector->Parent() == container) connector->UpdateBounds();
    }
}

void TCustomShape::SetBounds(int left, int top, int width, int height) {
    TRect before = BoundsRect();
    TControl::SetBounds(left, top, width, height);
    bool moved = BoundsRect() != before;
    // A caption that moves by itself is out of its element's place.
    if (moved)
        for (TCustomShape* element : FCaptionOf)
            element->MarkCaptionDisplaced();
    if (!Parent()) {
        if (moved && FCaption) MarkCaptionDisplaced();
        return;
    }
    UpdateConnectors();
    PlaceCaption();
}

void TCustomShape::SetParent(TWinControl* parent) {
    TControl::SetParent(parent);
    if (FCaption) FCaption->SetParent(parent);
}

void TCustomShape::Notification(TComponent* component, TOperation operation) {
    TControl::Notification(component, operation);
    if (operation == opRemove && FCaption && component == static_cast<TComponent*>(FCaption))
        FCaption = nullptr;
}

TCustomShape* TCustomShape::ShapeAtPoint(int x, int y) const {
    TWinControl* container = Parent();
    if (!container) return nullptr;
    TPoint p = ClientToParent({x, y});
    std::vector<TControl*> found;
    container->FindControls({p.X, p.Y, p.X, p.Y}, found);
    for (TControl* c : found) {
        if (c == this) continue;
        auto* shape = As<TCustomShape>(c);
        if (shape && shape->CanProcessMouseMsg &&
            PointInRect(p.X, p.Y, Bounds(c->Left(), c->Top(), c->Width(), c->Height())))
            return shape;
    }
    return nullptr;
}

void TCustomShape::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbRight) return;
    if (CanProcessMouseMsg) {
        BringToFront();
        SetMouseCapture(true);
        TControl::MouseDown(button, shift, x, y);
        return;
    }
    TCustomShape* target = ShapeAtPoint(x, y);
    SetMouseCapture(false);
    if (target) {
        SendToBack();
        TPoint p = target->ParentToClient(ClientToParent({x, y}));
        target->MouseDown(button, shift, p.X, p.Y);
        target->ClickPending = true;
    } else if (TWinControl* container = Parent()) {
        TPoint p = ClientToParent({x, y});
        container->MouseDown(button, shift, p.X, p.Y);
    }
}

void TCustomShape::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TControl::MouseUp(button, shift, x, y);
    if (ClickPending) {
        ClickPending = false;
        Click();
    }
}

void TCustomShape::DeleteAll(TWinControl* container) {
    if (!container) return;
    int i = 0;
    while (i < container->ControlCount()) {
        if (auto* shape = As<TCustomShape>(container->Controls(i)))
            delete shape;
        else
            ++i;
    }
}

void TCustomShape::DeleteSelected(TWinControl* container) {
    if (!container) return;
    int i = 0;
    while (i < container->ControlCount()) {
        auto* shape = As<TCustomShape>(container->Controls(i));
        if (shape && shape->Selected())
            delete shape;
        else
            ++i;
    }
}

void TCustomShape::DeleteElements(TWinControl* container,
                                  const std::vector<TCustomShape*>& elements) {
    if (!container) return;
    // Each is looked for at its place in the child list before it goes, so
    // one that went with an element deleted earlier is not deleted again.
    // Front first: children leave the list cheaply from the front.
    std::vector<std::pair<std::int64_t, TCustomShape*>> places;
    places.reserve(elements.size());
    for (TCustomShape* e : elements)
        if (e && e->Parent() == container) places.emplace_back(e->ChildOrder(), e);
    std::sort(places.begin(), places.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& [order, element] : places) {
        const std::vector<TControl*>& list = container->ControlList();
        auto it =
            std::lower_bound(list.begin(), list.end(), order,
                             [](const TControl* c, std::int64_t z) { return c->ChildOrder() < z; });
        if (it != list.end() && *it == element) delete element;
    }
}

void TCustomShape::UnselectAll(TWinControl* container) {
    if (!container) return;
    for (int i = 0; i < container->ControlCount(); ++i)
        if (auto* shape = As<TCustomShape>(container->Controls(i))) shape->SetSelected(false);
}

void TCustomShape::SelectAll(TWinControl* container) {
    if (!container) return;
    for (int i = 0; i < container->ControlCount(); ++i)
        if (auto* shape = As<TCustomShape>(container->Controls(i))) shape->SetSelected(true);
}

bool TCustomShape::AnySelected(TWinControl* container) {
    if (!container) return false;
    for (TControl* c : container->ControlList())
        if (auto* shape = As<TCustomShape>(c); shape && shape->Selected()) return true;
    return false;
}

void TCustomShape::SaveToFile(const std::string& fileName, TWinControl* container,
                              TProgress* progress) {
    WriteFileBytes(fileName, TDiagramStream::Write(container, false, progress));
}

void TCustomShape::LoadFromFile(const std::string& fileName, TWinControl* container,
                                TProgress* progress) {
    TBytes data = ReadFileBytes(fileName);
    TDiagramStream::TReadOptions options;
    options.Progress = progress;
    TDiagramStream::Read(data, container, options);
}

} // namespace tsb
