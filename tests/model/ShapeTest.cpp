#include <gtest/gtest.h>

#include "TestSupport.h"
#include "model/TextShape.h"
#include "widgets/Screen.h"
#include "widgets/ScrollBox.h"

using namespace tsb;

namespace {

// A plain sizeable element of a given size.
class Box : public TSizeableShape {
public:
    Box(TComponent* owner, int l, int t, int w, int h) : TSizeableShape(owner) {
        SetBounds(l, t, w, h);
    }
};

class Shapes : public ::testing::Test {
protected:
    void SetUp() override {
        Root = new TComponent(nullptr);
        Area = new TScrollBox(Root);
        Area->SetBounds(0, 0, 400, 300);
        Area->Widget()->show();
    }
    void TearDown() override { delete Root; }
    Box* AddBox(int l, int t, int w = 100, int h = 60) {
        auto* b = new Box(Root, l, t, w, h);
        b->SetParent(Area);
        return b;
    }
    TTextShape* AddText(const std::string& text, int l = 0, int t = 0) {
        auto* s = new TTextShape(Root);
        s->SetBounds(l, t, 0, 0);
        s->SetParent(Area);
        s->SetText(text);
        return s;
    }
    QWidget* W() const { return Area->Widget(); }
    TComponent* Root = nullptr;
    TScrollBox* Area = nullptr;
};

} // namespace

TEST_F(Shapes, SelectionWithAndWithoutShift) {
    Box* a = AddBox(10, 10);
    Box* b = AddBox(200, 10);
    TTextShape* cap = AddText("Cap");
    a->SetCaption(cap);
    tsbtest::MousePress(W(), 20, 30);
    tsbtest::MouseRelease(W(), 20, 30);
    EXPECT_TRUE(a->Selected());
    EXPECT_TRUE(cap->Selected());
    tsbtest::MousePress(W(), 220, 30, Qt::LeftButton, Qt::ShiftModifier);
    tsbtest::MouseRelease(W(), 220, 30, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_TRUE(a->Selected());
    EXPECT_TRUE(b->Selected());
    // Shift on a selected element keeps it selected.
    tsbtest::MousePress(W(), 220, 30, Qt::LeftButton, Qt::ShiftModifier);
    tsbtest::MouseRelease(W(), 220, 30, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_TRUE(b->Selected());
    // Without Shift only the pressed element (and its caption) stays.
    tsbtest::MousePress(W(), 220, 30);
    tsbtest::MouseRelease(W(), 220, 30);
    EXPECT_FALSE(a->Selected());
    EXPECT_FALSE(cap->Selected());
    EXPECT_TRUE(b->Selected());
    // A right press changes neither selection nor order.
    Area->Controls(0);
    int before = Area->IndexOfControl(a);
    tsbtest::MousePress(W(), 20, 50, Qt::RightButton);
    tsbtest::MouseRelease(W(), 20, 50, Qt::RightButton);
    EXPECT_FALSE(a->Selected());
    EXPECT_EQ(Area->IndexOfControl(a), before);
}

TEST_F(Shapes, DraggingMovesTheSelectionAsOneGroup) {
    Box* a = AddBox(10, 10);
    Box* b = AddBox(200, 100);
    a->SetSelected(true);
    tsbtest::MousePress(W(), 220, 120, Qt::LeftButton, Qt::ShiftModifier);
    tsbtest::MouseMove(W(), 230, 125, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(a->BoundsRect(), Bounds(20, 15, 100, 60));
    EXPECT_EQ(b->BoundsRect(), Bounds(210, 105, 100, 60));
    // A step that would take a beyond the left edge stops both horizontally,
    // while the vertical part still applies.
    tsbtest::MouseMove(W(), 200, 130, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(a->Left(), 20);
    EXPECT_EQ(b->Left(), 210);
    EXPECT_EQ(a->Top(), 20);
    tsbtest::MouseRelease(W(), 200, 130);
    EXPECT_FALSE(b->Moving);
}

TEST_F(Shapes, LimitMoveAtEachEdge) {
    Box* b = AddBox(0, 0, 100, 60);
    int dx = -1, dy = -1;
    b->LimitMove(dx, dy);
    EXPECT_EQ(dx, 0);
    EXPECT_EQ(dy, 0);
    b->SetBounds(300, 240, 100, 60);
    dx = 1, dy = 1;
    b->LimitMove(dx, dy);
    EXPECT_EQ(dx, 0);
    EXPECT_EQ(dy, 0);
    dx = -5, dy = -5;
    b->LimitMove(dx, dy);
    EXPECT_EQ(dx, -5);
    EXPECT_EQ(dy, -5);
    // An element partly beyond the right and bottom edges can come back.
    b->SetBounds(350, 280, 100, 60);
    dx = -10, dy = -10;
    b->LimitMove(dx, dy);
    EXPECT_EQ(dx, -10);
    EXPECT_EQ(dy, -10);
    dx = 3, dy = 3;
    b->LimitMove(dx, dy);
    EXPECT_EQ(dx, 0);
    EXPECT_EQ(dy, 0);
}

TEST_F(Shapes, HandleResizeRules) {
    Box* b = AddBox(50, 50, 100, 60);
    b->SetSelected(true);
    auto drag = [&](int handle, int dx, int dy) {
        b->HitTestHandles(b->HandleRect(handle).Left, b->HandleRect(handle).Top);
        ASSERT_EQ(b->ActiveHandle, handle);
        TRect h = b->HandleRect(handle);
        TPoint p = b->ClientToParent({h.Left, h.Top});
        tsbtest::MousePress(W(), p.X, p.Y);
        tsbtest::MouseMove(W(), p.X + dx, p.Y + dy, Qt::LeftButton);
        tsbtest::MouseRelease(W(), p.X + dx, p.Y + dy);
    };
    drag(7, 10, 5);
    EXPECT_EQ(b->BoundsRect(), Bounds(50, 50, 110, 65));
    drag(0, -10, -10);
    EXPECT_EQ(b->BoundsRect(), Bounds(40, 40, 120, 75));
    // Middle-right: a width of 15 or less is refused as a whole, 16 accepted.
    b->SetBounds(40, 40, 20, 75);
    drag(4, -5, 0);
    EXPECT_EQ(b->Width(), 20);
    drag(4, -4, 0);
    EXPECT_EQ(b->Width(), 16);
    // Top-left dragged above the container keeps the top where it was.
    b->SetBounds(40, 5, 100, 60);
    drag(0, -10, -20);
    EXPECT_EQ(b->Top(), 5);
    EXPECT_EQ(b->Left(), 30);
    // Bottom-right refuses the whole step when the width would fall to the
    // minimum; top-left in the same case still applies the height.
    b->SetBounds(40, 40, 20, 60);
    drag(7, -5, 10);
    EXPECT_EQ(b->BoundsRect(), Bounds(40, 40, 20, 60));
    drag(0, 5, -10);
    EXPECT_EQ(b->BoundsRect(), Bounds(40, 30, 20, 70));
    // Shift on a handle starts a move instead.
    b->SetSelected(true);
    TPoint p = b->ClientToParent({0, 0});
    b->HitTestHandles(0, 0);
    tsbtest::MousePress(W(), p.X, p.Y, Qt::LeftButton, Qt::ShiftModifier);
    tsbtest::MouseMove(W(), p.X + 5, p.Y + 5, Qt::LeftButton, Qt::ShiftModifier);
    tsbtest::MouseRelease(W(), p.X + 5, p.Y + 5);
    EXPECT_EQ(b->BoundsRect(), Bounds(45, 35, 20, 70));
}

TEST_F(Shapes, CaptionPlacementForEachAlignment) {
    Box* b = AddBox(100, 100, 60, 40);
    TTextShape* cap = AddText("x");
    cap->SetAutosize(false);
    cap->SetBounds(0, 0, 20, 10);
    b->SetCaption(cap);
    EXPECT_EQ(cap->BoundsRect(), Bounds(100, 100, 20, 10));
    b->SetCaptionAlign(alTop);
    EXPECT_EQ(cap->BoundsRect(), Bounds(120, 88, 20, 10));
    b->SetCaptionAlign(alBottom);
    EXPECT_EQ(cap->BoundsRect(), Bounds(120, 142, 20, 10));
    b->SetCaptionAlign(alLeft);
    EXPECT_EQ(cap->BoundsRect(), Bounds(81, 115, 20, 10));
    b->SetCaptionAlign(alRight);
    EXPECT_EQ(cap->BoundsRect(), Bounds(159, 115, 20, 10));
    b->SetCaptionAlign(alClient);
    EXPECT_EQ(cap->BoundsRect(), Bounds(120, 115, 20, 10));
    // Wider than its element: negative centring truncates toward zero.
    cap->SetBounds(0, 0, 65, 10);
    b->SetCaptionAlign(alTop);
    EXPECT_EQ(cap->Left(), 98);
    // Moving the element takes the caption along.
    b->SetBounds(10, 50, 60, 40);
    EXPECT_EQ(cap->BoundsRect(), Bounds(8, 38, 65, 10));
}

TEST_F(Shapes, TextElementMeasuresItsLines) {
    TTextShape* t = AddText("ab\nabcdefghij");
    TCanvas c;
    int wide = c.TextWidth("abcdefghij");
    int high = c.TextHeight("x");
    EXPECT_EQ(t->Width(), wide);
    EXPECT_EQ(t->Height(), 2 * high);
    EXPECT_EQ(t->MinWidth, wide);
    // It does not shrink when the text gets shorter.
    t->SetText("a");
    EXPECT_EQ(t->Width(), wide);
    // Empty text: at least one line high; autosize off: 5 x 5.
    TTextShape* e = AddText("");
    EXPECT_GE(e->Width(), 5);
    EXPECT_GE(e->Height(), 5);
    e->SetAutosize(false);
    e->SetBounds(0, 0, 1, 1);
    EXPECT_EQ(e->BoundsRect(), Bounds(0, 0, 5, 5));
    // A handle drag cannot go below the widest line plus one pixel.
    t->SetText("ab\nabcdefghij");
    t->SetSelected(true);
    t->SetBounds(0, 0, wide + 3, 2 * high);
    TPoint h{t->HandleRect(4).Left, t->HandleRect(4).Top};
    t->HitTestHandles(h.X, h.Y);
    tsbtest::MousePress(W(), h.X, h.Y);
    tsbtest::MouseMove(W(), h.X - 3, h.Y, Qt::LeftButton);
    tsbtest::MouseRelease(W(), h.X - 3, h.Y);
    EXPECT_EQ(t->Width(), wide + 3);
    // No parent: no measuring, only the 5 x 5 minimum.
    auto* loose = new TTextShape(Root);
    EXPECT_EQ(loose->Width(), 0);
    loose->SetText("Caption");
    EXPECT_EQ(loose->BoundsRect(), Bounds(0, 0, 5, 5));
}

TEST_F(Shapes, PassThroughFromAnElementThatTakesNoPresses) {
    // Like a connector: a plain element that passes presses on.
    struct Passer : TCustomShape {
        explicit Passer(TComponent* owner) : TCustomShape(owner) { CanProcessMouseMsg = false; }
    };
    Box* under = AddBox(50, 50);
    auto* over = new Passer(Root);
    over->SetBounds(40, 40, 50, 50);
    over->SetParent(Area);
    int clicks = 0;
    under->OnClick = TNotifyEvent([&](TComponent*) { ++clicks; });
    tsbtest::MousePress(W(), 60, 60);
    EXPECT_TRUE(under->Selected());
    EXPECT_EQ(Area->IndexOfControl(over), 0); // sent to the back
    EXPECT_TRUE(under->ClickPending);
    tsbtest::MouseRelease(W(), 60, 60);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(under->ClickPending);

    // With nothing beneath, the press reaches the container.
    bool containerPressed = false;
    Area->OnMouseDown = TMouseEvent([&](TComponent*, TMouseButton, TShiftState, int x, int y) {
        containerPressed = x == 45 && y == 45;
    });
    under->SetBounds(200, 200, 10, 10);
    over->BringToFront();
    tsbtest::MousePress(W(), 45, 45);
    tsbtest::MouseRelease(W(), 45, 45);
    EXPECT_TRUE(containerPressed);
}

TEST_F(Shapes, ReleaseBringsACoveredElementToFront) {
    Box* small = AddBox(20, 20, 20, 20);
    Box* big = AddBox(200, 200, 100, 80);
    Box* other = AddBox(30, 30, 20, 20);
    tsbtest::Drag(W(), 210, 210, 20, 20);
    EXPECT_EQ(big->BoundsRect(), Bounds(10, 10, 100, 80));
    // Only the first covered element in child order comes forward.
    EXPECT_EQ(Area->ControlList().back(), small);
    EXPECT_LT(Area->IndexOfControl(other), Area->IndexOfControl(small));
}

TEST_F(Shapes, DestructionFreesTheCaptionAndDropsReferences) {
    Box* b = AddBox(10, 10);
    TTextShape* cap = AddText("Cap");
    cap->SetName("Cap");
    b->SetCaption(cap);
    delete b;
    EXPECT_EQ(Root->FindComponent("Cap"), nullptr);
    EXPECT_EQ(Area->ControlCount(), 0);

    Box* c = AddBox(10, 10);
    TTextShape* cap2 = AddText("Cap2");
    c->SetCaption(cap2);
    delete cap2;
    EXPECT_EQ(c->Caption(), nullptr);
    c->SetBounds(20, 20, 100, 60); // places no caption
    // Selected elements and captions deleted together, in any order.
    TTextShape* cap3 = AddText("Cap3");
    c->SetCaption(cap3);
    TCustomShape::SelectAll(Area);
    TCustomShape::DeleteSelected(Area);
    EXPECT_EQ(Area->ControlCount(), 0);
    EXPECT_FALSE(TCustomShape::AnySelected(Area));
}

TEST_F(Shapes, HandlesArePaintedOnSelectedElements) {
    Box* b = AddBox(10, 10, 30, 20);
    QImage img(100, 60, QImage::Format_RGB32);
    Area->PaintTo(img, 0, 0);
    EXPECT_EQ(tsbtest::Px(img, 10, 10), 0xFFFFFFu);
    b->SetSelected(true);
    Area->PaintTo(img, 0, 0);
    EXPECT_EQ(tsbtest::Px(img, 10, 10), 0x000000u);
    EXPECT_EQ(tsbtest::Px(img, 14, 14), 0x000000u);
    EXPECT_EQ(tsbtest::Px(img, 15, 15), 0xFFFFFFu);
    EXPECT_EQ(tsbtest::Px(img, 39, 29), 0x000000u);
    EXPECT_EQ(tsbtest::Px(img, 23, 10), 0x000000u); // top-middle at 15 - 2
    EXPECT_EQ(tsbtest::Px(img, 22, 10), 0xFFFFFFu);
}

TEST_F(Shapes, EveryHandleMovesItsOwnEdges) {
    struct Case {
        int Handle, DX, DY;
        TRect Expected;
    };
    const Case cases[] = {
        {0, -4, -6, Bounds(46, 44, 104, 66)}, {1, -4, -6, Bounds(50, 44, 100, 66)},
        {2, 4, -6, Bounds(50, 44, 104, 66)},  {3, -4, -6, Bounds(46, 50, 104, 60)},
        {4, 4, 6, Bounds(50, 50, 104, 60)},   {5, -4, 6, Bounds(46, 50, 104, 66)},
        {6, 4, 6, Bounds(50, 50, 100, 66)},   {7, 4, 6, Bounds(50, 50, 104, 66)},
    };
    for (const Case& c : cases) {
        Box* b = AddBox(50, 50, 100, 60);
        b->SetSelected(true);
        TRect h = b->HandleRect(c.Handle);
        TPoint p = b->ClientToParent({h.Left + 1, h.Top + 1});
        tsbtest::MouseMove(W(), p.X, p.Y);
        ASSERT_EQ(b->ActiveHandle, c.Handle);
        tsbtest::MousePress(W(), p.X, p.Y);
        tsbtest::MouseMove(W(), p.X + c.DX, p.Y + c.DY, Qt::LeftButton);
        tsbtest::MouseRelease(W(), p.X + c.DX, p.Y + c.DY);
        EXPECT_EQ(b->BoundsRect(), c.Expected) << "handle " << c.Handle;
        delete b;
    }
}

TEST_F(Shapes, ElementsRegisterTheirHandCursors) {
    AddBox(0, 0);
    ASSERT_TRUE(Screen().HasCursor(crHand));
    ASSERT_TRUE(Screen().HasCursor(crGrab));
    EXPECT_EQ(Screen().Cursor(crHand).pixmap().size(), QSize(32, 32));
    EXPECT_EQ(Screen().Cursor(crGrab).pixmap().size(), QSize(32, 32));
    EXPECT_EQ(Screen().Cursor(crHand).hotSpot(), QPoint(0, 0));
    // Dragging sets the grabbing hand for the whole application.
    tsbtest::MousePress(W(), 10, 10);
    EXPECT_EQ(Screen().OverrideCursor(), crGrab);
    tsbtest::MouseRelease(W(), 10, 10);
    EXPECT_EQ(Screen().OverrideCursor(), crDefault);
}
