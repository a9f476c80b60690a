// Connector geometry for every side of ordinary and junction elements, the
// layout of a connector's bounds, caption following, and the lists of
// attached connectors through moves, re-attachment and deletion.
#include <algorithm>
#include <gtest/gtest.h>
#include <set>

#include "core/Exception.h"
#include "model/Connector.h"
#include "model/HiddenShape.h"
#include "model/TextShape.h"
#include "support/TestSupport.h"

using namespace tsb;

namespace {

// Records which components were destroyed.
struct TDeathWatch : TComponent {
    TDeathWatch() : TComponent(nullptr) {}
    void Notification(TComponent* c, TOperation op) override {
        if (op == opRemove) Dead.insert(c);
    }
    bool IsDead(TComponent* c) const { return Dead.count(c) > 0; }
    std::set<TComponent*> Dead;
};

struct Board {
    Board() : Owner(new TComponent(nullptr)), Area(new TWinControl(Owner)) {
        Area->SetBounds(0, 0, 400, 300);
    }
    ~Board() { delete Owner; }
    template <typename T = TMoveableShape> T* Shape(int l, int t, int w, int h) {
        auto* s = new T(Owner);
        s->SetBounds(l, t, w, h);
        s->SetParent(Area);
        return s;
    }
    template <typename T = TLineConnector>
    T* Connect(TCustomShape* a, TConnectionSide sa, TCustomShape* b, TConnectionSide sb) {
        auto* c = new T(Owner);
        c->StartConn().Side = sa;
        c->StartConn().SetShape(a);
        c->EndConn().Side = sb;
        c->EndConn().SetShape(b);
        c->UpdateBounds();
        c->SetParent(Area);
        return c;
    }
    TComponent* Owner;
    TWinControl* Area;
};

} // namespace

TEST(ConnectionGeometry, EverySideOfOrdinaryAndJunctionElements) {
    Board board;
    const TRect terminal{0, 0, 20, 10};
    // Attach, outer, and the X of left/right and Y of top/bottom extents.
    const struct {
        TConnectionSide Side;
        TPoint Attach, Outer;
        int Left, Right, Top, Bottom;
    } ordinary[] = {{csLeft, {100, 65}, {80, 65}, 80, 99, 60, 70},
                    {csRight, {139, 65}, {159, 65}, 140, 160, 60, 70},
                    {csTop, {120, 50}, {120, 30}, 115, 125, 30, 50},
                    {csBottom, {120, 79}, {120, 99}, 115, 125, 79, 100}},
      hidden[] = {{csLeft, {110, 65}, {89, 65}, 90, 110, 60, 70},
                  {csRight, {110, 65}, {129, 65}, 110, 130, 60, 70},
                  {csTop, {110, 65}, {110, 44}, 105, 115, 44, 65},
                  {csBottom, {110, 65}, {110, 84}, 105, 115, 65, 85}};
    TConnection end;
    EXPECT_EQ(end.AttachPoint(), (TPoint{0, 0})); // unattached
    EXPECT_EQ(end.OuterPoint(terminal), (TPoint{0, 0}));
    for (bool junction : {false, true}) {
        // Junction 20 x 30: a point at its centre (110, 65).
        end.SetShape(junction
                         ? static_cast<TCustomShape*>(board.Shape<THiddenShape>(100, 50, 20, 30))
                         : board.Shape(100, 50, 40, 30));
        for (const auto& g : junction ? hidden : ordinary) {
            SCOPED_TRACE(testing::Message() << junction << " side " << int(g.Side));
            end.Side = g.Side;
            EXPECT_EQ(end.AttachPoint(), g.Attach);
            EXPECT_EQ(end.OuterPoint(terminal), g.Outer);
            EXPECT_EQ(end.Extent(terminal), (TRect{g.Left, g.Top, g.Right, g.Bottom}));
        }
    }
}

TEST(ConnectionGeometry, OffsetIsAlwaysMidSideAndAssignTakesOnlyConnections) {
    Board board;
    TConnection end;
    end.SetShape(board.Shape(0, 0, 41, 31));
    end.SetOffset(3); // stored, never used
    EXPECT_EQ(end.Offset(), 15);
    end.Side = csBottom;
    end.Shape()->SetBounds(0, 0, 61, 31);
    EXPECT_EQ(end.Offset(), 30);
    TConnection copy;
    copy.Assign(end);
    EXPECT_EQ(copy.Shape(), end.Shape());
    EXPECT_EQ(copy.Side, csBottom);
    EXPECT_EQ(copy.StoredOffset(), 3);
    struct TOther : TPersistent {
        const char* ClassName() const override { return "TOther"; }
    } other;
    try {
        copy.Assign(other);
        ADD_FAILURE() << "assigning another kind of object must fail";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TOther to a TConnection");
    }
}

TEST(ConnectorLayout, BoundsFromBothEnds) {
    Board board;
    TMoveableShape* a = board.Shape(10, 20, 50, 40);
    TMoveableShape* b = board.Shape(110, 20, 50, 40);
    // Right to left: a's right edge, 10 out, across, into b's left edge.
    auto* line = board.Connect(a, csRight, b, csLeft);
    EXPECT_EQ(line->BoundsRect(), Bounds(60, 35, 50, 11));
    EXPECT_EQ(line->MidPoint(), (TPoint{84, 40}));
    // Both on top: the middle segment runs 10 above each.
    EXPECT_EQ(board.Connect(a, csTop, b, csTop)->BoundsRect(), Bounds(30, 10, 111, 11));
    // Resizing moves the attach point to the new middle of the side.
    b->SetBounds(150, 60, 50, 80);
    EXPECT_EQ(line->EndConn().AttachPoint(), (TPoint{150, 100}));
    EXPECT_EQ(line->BoundsRect(), Bounds(60, 35, 90, 71));
    line->SetLineWidth(0); // ignored
    EXPECT_EQ(line->LineWidth(), 1);
    line->SetTerminal(2, {5, 5, 4, 9}); // negative length: ignored
    line->SetTerminal(3, {0, 0, 1, 1});
    EXPECT_EQ(line->GetTerminal(2), (TRect{0, 0, 10, 10}));
    EXPECT_EQ(line->GetTerminal(3), TRect{});

    // A vertical arrow: extents give 10 + 2, raised to the terminal's 20,
    // less 1; through the bounds setter it keeps at least 20.
    TMoveableShape* top = board.Shape(100, 100, 60, 40);
    TMoveableShape* bottom = board.Shape(100, 210, 60, 40);
    auto* arrow = board.Connect<TSingleHeadArrow>(top, csBottom, bottom, csTop);
    EXPECT_EQ(arrow->BoundsRect(), Bounds(125, 139, 19, 72));
    arrow->SetBounds(125, 139, 5, 5);
    EXPECT_EQ(arrow->Width(), 20);
    EXPECT_EQ(arrow->Height(), 10);
}

TEST(ConnectorLayout, CaptionKeepsItsOffsetFromTheMidpoint) {
    Board board;
    TMoveableShape* a = board.Shape(10, 20, 50, 40);
    TMoveableShape* b = board.Shape(110, 20, 50, 40);
    // As a diagram reader resolves it: the caption first, then the ends.
    auto* line = new TLineConnector(board.Owner);
    line->SetParent(board.Area);
    line->SetCaptionAlign(alClient);
    auto* caption = new TTextShape(board.Owner);
    caption->SetText("x");
    line->SetCaption(caption);
    int cw = caption->Width(), ch = caption->Height();
    EXPECT_EQ(caption->BoundsRect(), Bounds(-(cw / 2), -(ch / 2), cw, ch));
    line->StartConn().SetShape(a);
    line->EndConn().Side = csLeft;
    line->EndConn().SetShape(b);
    b->SetBounds(110, 22, 50, 40); // midpoint (84, 41): it rejoins the line
    EXPECT_EQ(caption->BoundsRect(), Bounds(84 - cw / 2, 41 - ch / 2, cw, ch));
    caption->SetBounds(200, 200, cw, ch); // dragged away by the user
    b->SetBounds(120, 22, 50, 40);        // midpoint (89, 41)
    EXPECT_EQ(caption->Left(), 205);
    line->PlaceCaption(); // centred, one height lower on a wide line
    EXPECT_EQ(caption->BoundsRect(), Bounds(89 - cw / 2, 41 - ch / 2 + ch, cw, ch));
}

TEST(ConnectorLifecycle, DeletedElementsTakeTheirConnectorsOrDropTheirEnds) {
    Board board;
    TDeathWatch watch;
    TMoveableShape* a = board.Shape(10, 20, 50, 40);
    TMoveableShape* b = board.Shape(110, 20, 50, 40);
    TMoveableShape* c = board.Shape(210, 20, 50, 40);
    auto* ab = board.Connect<TSingleHeadArrow>(a, csRight, b, csLeft);
    auto* bc = board.Connect<TDoubleHeadArrow>(b, csRight, c, csLeft);
    auto* ca = board.Connect(c, csBottom, a, csBottom);
    auto* caption = new TTextShape(board.Owner);
    ab->SetCaption(caption);
    for (TComponent* x : std::initializer_list<TComponent*>{ab, bc, ca, caption})
        watch.FreeNotification(x);
    delete b;
    EXPECT_TRUE(watch.IsDead(ab) && watch.IsDead(bc) && watch.IsDead(caption));
    EXPECT_FALSE(watch.IsDead(ca));
    EXPECT_EQ(a->AttachedConnectors(), std::vector<TCustomShape*>{ca});

    // Removing the start element leaves the connector in place, invisible.
    TRect bounds = ca->BoundsRect();
    ca->Notification(c, opRemove);
    EXPECT_EQ(ca->StartConn().Shape(), nullptr);
    EXPECT_EQ(ca->BoundsRect(), bounds);
    EXPECT_EQ(ca->Parent(), board.Area);
    EXPECT_TRUE(c->AttachedConnectors().empty());
    QImage img(400, 300, QImage::Format_RGB32);
    board.Area->RenderInto(img, {0, 0}, {0, 0, 400, 300});
    EXPECT_EQ(tsbtest::Px(img, 110, 70), tsbtest::Px(img, 110, 10));

    // A connector on no container loses only its end when its element goes.
    auto* loose = new TLineConnector(board.Owner);
    loose->StartConn().SetShape(c);
    loose->EndConn().SetShape(a);
    delete c;
    EXPECT_EQ(loose->StartConn().Shape(), nullptr);
    EXPECT_EQ(loose->EndConn().Shape(), a);
}

TEST(ConnectorLifecycle, CaptionsAndConnectorsDeletedInAnyOrder) {
    for (int order = 0; order < 6; ++order) {
        Board board;
        TMoveableShape* a = board.Shape(10, 20, 50, 40);
        auto* aCaption = new TTextShape(board.Owner);
        a->SetCaption(aCaption);
        TMoveableShape* b = board.Shape(110, 20, 50, 40);
        // A line from a caption, an arrow from the line's caption to its own.
        auto* line = board.Connect(aCaption, csRight, b, csLeft);
        auto* lineCaption = new TTextShape(board.Owner);
        line->SetCaption(lineCaption);
        auto* self = board.Connect<TSingleHeadArrow>(lineCaption, csTop, a, csBottom);
        auto* selfCaption = new TTextShape(board.Owner);
        self->SetCaption(selfCaption);
        self->EndConn().SetShape(selfCaption);
        std::vector<TComponent*> victims{a, b, line, lineCaption, self, selfCaption};
        std::rotate(victims.begin(), victims.begin() + order, victims.end());
        TDeathWatch watch;
        for (TComponent* v : victims)
            watch.FreeNotification(v);
        for (TComponent* v : victims)
            if (!watch.IsDead(v)) delete v;
        EXPECT_EQ(board.Area->ControlCount(), 0);
    }
}

// The elements' lists replace a scan of the container: after any sequence of
// moves, re-attachments and deletions the result must be the scan's.
TEST(ConnectorLifecycle, ListsAgreeWithAScanUnderRandomEdits) {
    Board board;
    auto* other = new TWinControl(board.Owner);
    TWinControl* parents[3] = {board.Area, other, nullptr};
    unsigned seed = 12345;
    auto next = [&](unsigned n) { return ((seed = seed * 1103515245u + 12345u) >> 16) % n; };
    TDeathWatch watch;
    std::vector<TCustomShape*> shapes, connectors;
    auto pick = [&](std::vector<TCustomShape*>& v) -> TCustomShape* {
        std::vector<TCustomShape*> alive;
        for (TCustomShape* s : v)
            if (!watch.IsDead(s)) alive.push_back(s);
        return alive.empty() ? nullptr : alive[next(unsigned(alive.size()))];
    };
    auto place = [&](TCustomShape* s) {
        s->SetBounds(int(next(300)), int(next(200)), 10 + int(next(40)), 10 + int(next(40)));
    };
    for (int i = 0; i < 24; ++i) {
        TCustomShape* s = i % 5 ? static_cast<TCustomShape*>(new TMoveableShape(board.Owner))
                                : new THiddenShape(board.Owner);
        place(s);
        s->SetParent(parents[i % 7 == 6]);
        shapes.push_back(s);
        watch.FreeNotification(s);
    }
    for (int i = 0; i < 40; ++i) {
        auto* c = i % 3 ? new TLineConnector(board.Owner) : new TSingleHeadArrow(board.Owner);
        c->StartConn().Side = TConnectionSide(next(4));
        c->StartConn().SetShape(pick(shapes));
        c->EndConn().Side = TConnectionSide(next(4));
        c->EndConn().SetShape(pick(shapes));
        c->UpdateBounds();
        c->SetParent(parents[next(10) < 8 ? 0 : next(3)]);
        connectors.push_back(c);
        watch.FreeNotification(c);
    }
    for (int step = 0; step < 200; ++step) {
        TCustomShape* s = pick(shapes);
        ASSERT_NE(s, nullptr);
        std::vector<TCustomShape*> attached, followers;
        for (TCustomShape* c : connectors)
            if (!watch.IsDead(c) && c->IsAttachedTo(s)) {
                attached.push_back(c);
                if (s->Parent() && c->Parent() == s->Parent()) followers.push_back(c);
            }
        std::set<TCustomShape*> listed(s->AttachedConnectors().begin(),
                                       s->AttachedConnectors().end());
        ASSERT_EQ(listed, std::set<TCustomShape*>(attached.begin(), attached.end()));
        ASSERT_EQ(listed.size(), s->AttachedConnectors().size());
        switch (next(16)) {
        case 0: // delete: its followers go, the others lose the end
            delete s;
            for (TCustomShape* c : attached)
                EXPECT_EQ(watch.IsDead(c), std::count(followers.begin(), followers.end(), c) > 0);
            break;
        case 1:
            if (TCustomShape* c = pick(connectors)) delete c;
            break;
        case 2:
        case 3:
            if (auto* c = static_cast<TConnector*>(pick(connectors)))
                (next(2) ? c->StartConn() : c->EndConn()).SetShape(pick(shapes));
            break;
        default: { // move: every other connector keeps its bounds
            std::vector<TRect> before;
            for (TCustomShape* c : connectors)
                before.push_back(watch.IsDead(c) ? TRect{} : c->BoundsRect());
            place(s);
            for (std::size_t i = 0; i < connectors.size(); ++i) {
                if (watch.IsDead(connectors[i])) continue;
                auto* c = static_cast<TConnector*>(connectors[i]);
                bool moved = std::count(followers.begin(), followers.end(), c) &&
                             c->StartConn().Shape() && c->EndConn().Shape();
                TRect now = c->BoundsRect();
                if (moved) c->UpdateBounds(); // laid out afresh already
                EXPECT_EQ(c->BoundsRect(), moved ? now : before[i]);
            }
        }
        }
    }
}
