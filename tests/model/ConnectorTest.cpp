// Connector geometry for every side of ordinary and junction elements, the
// layout of the line's bounds, caption following, and the lists of attached
// connectors that elements keep through moves, re-attachment and deletion.
#include <algorithm>
#include <gtest/gtest.h>
#include <set>

#include "model/Connector.h"
#include "model/HiddenShape.h"
#include "model/MoveableShape.h"
#include "model/TextShape.h"
#include "platform/Application.h"
#include "platform/WinControl.h"
#include "support/TestSupport.h"

using namespace tsb;

namespace {

// Records which components were destroyed.
class TDeathWatch : public TComponent {
public:
    TDeathWatch() : TComponent(nullptr) {}
    void Watch(TComponent* c) { FreeNotification(c); }
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
    TMoveableShape* Shape(int l, int t, int w, int h, TWinControl* parent = nullptr) {
        auto* s = new TMoveableShape(Owner);
        s->SetBounds(l, t, w, h);
        s->SetParent(parent ? parent : Area);
        return s;
    }
    template <typename T>
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

struct EndGeometry {
    TConnectionSide Side;
    TPoint Attach, Outer;
    int Left, Right, Top, Bottom;
};

void CheckEnd(const TConnection& end, const EndGeometry& g, const TRect& terminal) {
    SCOPED_TRACE(testing::Message() << "side " << int(g.Side));
    EXPECT_EQ(end.AttachPoint(), g.Attach);
    EXPECT_EQ(end.OuterPoint(terminal), g.Outer);
    EXPECT_EQ(end.ExtentLeft(terminal), (TPoint{g.Left, g.Attach.Y}));
    EXPECT_EQ(end.ExtentRight(terminal), (TPoint{g.Right, g.Attach.Y}));
    EXPECT_EQ(end.ExtentTop(terminal), (TPoint{g.Attach.X, g.Top}));
    EXPECT_EQ(end.ExtentBottom(terminal), (TPoint{g.Attach.X, g.Bottom}));
}

} // namespace

TEST(ConnectionGeometry, OrdinaryElementOnEverySide) {
    Board board;
    TMoveableShape* s = board.Shape(100, 50, 40, 30);
    TConnection end;
    end.SetShape(s);
    const TRect terminal{0, 0, 20, 10};
    const EndGeometry table[] = {
        {csLeft, {100, 65}, {80, 65}, 80, 99, 60, 70},
        {csRight, {139, 65}, {159, 65}, 140, 160, 60, 70},
        {csTop, {120, 50}, {120, 30}, 115, 125, 30, 50},
        {csBottom, {120, 79}, {120, 99}, 115, 125, 79, 100},
    };
    for (const EndGeometry& g : table) {
        end.Side = g.Side;
        CheckEnd(end, g, terminal);
    }
}

TEST(ConnectionGeometry, JunctionIsAPointAtItsCentre) {
    Board board;
    auto* hidden = new THiddenShape(board.Owner);
    hidden->SetBounds(100, 50, 20, 30); // centre (110, 65)
    hidden->SetParent(board.Area);
    TConnection end;
    end.SetShape(hidden);
    const TRect terminal{0, 0, 20, 10};
    const EndGeometry table[] = {
        {csLeft, {110, 65}, {89, 65}, 90, 110, 60, 70},
        {csRight, {110, 65}, {129, 65}, 110, 130, 60, 70},
        {csTop, {110, 65}, {110, 44}, 105, 115, 44, 65},
        {csBottom, {110, 65}, {110, 84}, 105, 115, 65, 85},
    };
    for (const EndGeometry& g : table) {
        end.Side = g.Side;
        CheckEnd(end, g, terminal);
    }
}

TEST(ConnectionGeometry, UnattachedEndAndOffset) {
    Board board;
    TConnection end;
    const TRect terminal{0, 0, 20, 10};
    EXPECT_EQ(end.Side, csRight);
    EXPECT_EQ(end.Offset(), 0);
    EXPECT_EQ(end.AttachPoint(), (TPoint{0, 0}));
    EXPECT_EQ(end.OuterPoint(terminal), (TPoint{0, 0}));
    EXPECT_EQ(end.ExtentRight(terminal), (TPoint{0, 0}));

    // The stored offset takes no part: the end is always mid-side, also
    // after the element is resized.
    TMoveableShape* s = board.Shape(0, 0, 41, 31);
    end.SetShape(s);
    end.SetOffset(3);
    EXPECT_EQ(end.Offset(), 15);
    end.Side = csBottom;
    EXPECT_EQ(end.Offset(), 20);
    s->SetBounds(0, 0, 61, 31);
    EXPECT_EQ(end.Offset(), 30);
    EXPECT_EQ(end.StoredOffset(), 3);
}

TEST(ConnectionGeometry, AssignCopiesOnlyFromAConnection) {
    Board board;
    TMoveableShape* s = board.Shape(0, 0, 10, 10);
    TConnection source;
    source.SetShape(s);
    source.Side = csTop;
    source.SetOffset(7);
    TConnection target;
    target.Assign(source);
    EXPECT_EQ(target.Shape(), s);
    EXPECT_EQ(target.Side, csTop);
    EXPECT_EQ(target.StoredOffset(), 7);

    struct TOther : TPersistent {
        const char* ClassName() const override { return "TOther"; }
    } other;
    try {
        target.Assign(other);
        FAIL() << "assigning another kind of object must fail";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TOther to a TConnection");
    }
}

TEST(ConnectorLayout, PlainLineSideBySide) {
    Board board;
    TMoveableShape* a = board.Shape(10, 20, 50, 40);
    TMoveableShape* b = board.Shape(110, 20, 50, 40);
    auto* line = board.Connect<TLineConnector>(a, csRight, b, csLeft);
    // From a's right edge 10 pixels out, across, into b's left edge.
    EXPECT_EQ(line->BoundsRect(), Bounds(60, 35, 50, 11));
    EXPECT_EQ(line->StartConn().OuterPoint(line->StartTerminal()), (TPoint{69, 40}));
    EXPECT_EQ(line->EndConn().OuterPoint(line->EndTerminal()), (TPoint{100, 40}));
    EXPECT_EQ(line->MidPoint(), (TPoint{84, 40}));

    // Both on the top side: the middle segment runs 10 above each.
    auto* top = board.Connect<TLineConnector>(a, csTop, b, csTop);
    EXPECT_EQ(top->BoundsRect(), Bounds(30, 10, 111, 11));
}

TEST(ConnectorLayout, VerticalArrowIsAtLeastItsTerminalWide) {
    Board board;
    TMoveableShape* a = board.Shape(100, 10, 60, 40);
    TMoveableShape* b = board.Shape(100, 120, 60, 40);
    auto* arrow = board.Connect<TSingleHeadArrow>(a, csBottom, b, csTop);
    // Extents give 10 + 2 = 12, raised to the terminal length 20, less 1.
    EXPECT_EQ(arrow->Width(), 19);
    EXPECT_EQ(arrow->BoundsRect(), Bounds(125, 49, 19, 72));
    // Through the bounds setter the same connector keeps at least 20.
    arrow->SetBounds(125, 49, 5, 5);
    EXPECT_EQ(arrow->Width(), 20);
    EXPECT_EQ(arrow->Height(), 10);
}

TEST(ConnectorLayout, FollowsItsElementsAndIgnoresBadSettings) {
    Board board;
    TMoveableShape* a = board.Shape(10, 20, 50, 40);
    TMoveableShape* b = board.Shape(110, 20, 50, 40);
    auto* line = board.Connect<TLineConnector>(a, csRight, b, csLeft);
    b->SetBounds(150, 60, 50, 80); // mid-height moves with the new size
    EXPECT_EQ(line->BoundsRect(), Bounds(60, 35, 90, 71));
    EXPECT_EQ(line->EndConn().AttachPoint(), (TPoint{150, 100}));

    line->SetLineWidth(0);
    line->SetLineWidth(-3);
    EXPECT_EQ(line->LineWidth(), 1);
    line->SetLineWidth(30); // now the minimum height, but the line is taller
    line->UpdateBounds();
    EXPECT_EQ(line->Height(), 71);
    a->SetBounds(10, 100, 50, 2);
    EXPECT_EQ(line->Height(), 30 - 1);

    EXPECT_EQ(line->GetTerminal(1), (TRect{0, 0, 10, 10}));
    line->SetTerminal(2, {5, 5, 4, 9}); // negative length: ignored
    line->SetTerminal(3, {0, 0, 1, 1});
    EXPECT_EQ(line->GetTerminal(2), (TRect{0, 0, 10, 10}));
    EXPECT_EQ(line->GetTerminal(0), TRect{});
    line->SetTerminal(1, {0, 0, 30, 4});
    EXPECT_EQ(line->GetTerminal(1), (TRect{0, 0, 30, 4}));

    // Whole-end assignment copies and lays out again.
    TConnection end;
    end.SetShape(b);
    end.Side = csTop;
    line->SetEndConn(end);
    EXPECT_EQ(line->EndConn().Side, csTop);
    EXPECT_EQ(line->Top(), 50);
}

TEST(ConnectorLayout, TerminalsOfTheKinds) {
    TComponent owner(nullptr);
    EXPECT_EQ(TConnector(&owner).GetTerminal(1), TRect{});
    EXPECT_EQ(TLineConnector(&owner).GetTerminal(2), (TRect{0, 0, 10, 10}));
    TSingleHeadArrow single(&owner);
    EXPECT_EQ(single.GetTerminal(1), (TRect{0, 0, 20, 10}));
    EXPECT_EQ(single.ArrowStyle(), asFilled);
    EXPECT_EQ(TBluntSingleHeadArrow(&owner).GetTerminal(2), (TRect{0, 0, 15, 10}));
    EXPECT_EQ(TDoubleHeadArrow(&owner).GetTerminal(1), (TRect{0, 0, 20, 10}));
    EXPECT_FALSE(single.CanProcessMouseMsg);
}

TEST(ConnectorCaption, KeepsItsOffsetFromTheMidpoint) {
    Board board;
    TMoveableShape* a = board.Shape(10, 20, 50, 40);
    TMoveableShape* b = board.Shape(110, 20, 50, 40);
    auto* line = board.Connect<TLineConnector>(a, csRight, b, csLeft);
    auto* caption = new TTextShape(board.Owner);
    caption->SetText("x");
    line->SetCaption(caption);
    EXPECT_EQ(caption->Parent(), board.Area);
    EXPECT_EQ(line->LastMidPoint, (TPoint{84, 40}));
    EXPECT_EQ(caption->Left(), 84);
    EXPECT_EQ(caption->Top(), 40);

    // Dragged away by the user, it keeps its offset as the line moves.
    caption->SetBounds(200, 200, caption->Width(), caption->Height());
    b->SetBounds(120, 20, 50, 40); // midpoint (89, 40)
    EXPECT_EQ(caption->Left(), 205);
    EXPECT_EQ(caption->Top(), 200);

    // Centred on the midpoint, one caption height lower on a wide line.
    line->SetCaptionAlign(alClient);
    int cw = caption->Width(), ch = caption->Height();
    EXPECT_EQ(caption->Left(), 89 - cw / 2);
    EXPECT_EQ(caption->Top(), 40 - ch / 2 + ch);
}

TEST(ConnectorCaption, AttachedBeforeTheEndsRejoinsTheLineLater) {
    // As a diagram reader resolves it: caption first, ends set directly.
    Board board;
    TMoveableShape* a = board.Shape(10, 20, 50, 40);
    TMoveableShape* b = board.Shape(110, 20, 50, 40);
    auto* line = new TLineConnector(board.Owner);
    line->SetParent(board.Area);
    line->SetCaptionAlign(alClient);
    auto* caption = new TTextShape(board.Owner);
    caption->SetText("x");
    line->SetCaption(caption);
    int cw = caption->Width(), ch = caption->Height();
    EXPECT_EQ(caption->Left(), -(cw / 2));
    EXPECT_EQ(caption->Top(), -(ch / 2));
    line->StartConn().Side = csRight;
    line->StartConn().SetShape(a);
    line->EndConn().Side = csLeft;
    line->EndConn().SetShape(b);
    EXPECT_EQ(caption->Left(), -(cw / 2));
    b->SetBounds(110, 22, 50, 40); // midpoint (84, 41)
    EXPECT_EQ(caption->Left(), 84 - cw / 2);
    EXPECT_EQ(caption->Top(), 41 - ch / 2);
}

TEST(ConnectorLifecycle, ElementsKeepTheirAttachedConnectors) {
    Board board;
    TMoveableShape* a = board.Shape(10, 20, 50, 40);
    TMoveableShape* b = board.Shape(110, 20, 50, 40);
    auto* c = new TLineConnector(board.Owner);
    using List = std::vector<TCustomShape*>;
    c->StartConn().SetShape(a);
    EXPECT_EQ(a->AttachedConnectors(), List{c});
    c->EndConn().SetShape(a); // both ends on one element: listed once
    EXPECT_EQ(a->AttachedConnectors(), List{c});
    c->StartConn().SetShape(b);
    EXPECT_EQ(a->AttachedConnectors(), List{c});
    EXPECT_EQ(b->AttachedConnectors(), List{c});
    c->EndConn().SetShape(nullptr);
    EXPECT_TRUE(a->AttachedConnectors().empty());
    // Whole-end assignment goes through the same bookkeeping.
    TConnection end;
    end.SetShape(a);
    c->SetEndConn(end);
    EXPECT_EQ(a->AttachedConnectors(), List{c});
    delete c;
    EXPECT_TRUE(a->AttachedConnectors().empty());
    EXPECT_TRUE(b->AttachedConnectors().empty());
}

TEST(ConnectorLifecycle, DeletingAnElementDeletesItsConnectors) {
    Board board;
    TDeathWatch watch;
    TMoveableShape* a = board.Shape(10, 20, 50, 40);
    TMoveableShape* b = board.Shape(110, 20, 50, 40);
    TMoveableShape* c = board.Shape(210, 20, 50, 40);
    auto* ab = board.Connect<TSingleHeadArrow>(a, csRight, b, csLeft);
    auto* bc = board.Connect<TDoubleHeadArrow>(b, csRight, c, csLeft);
    auto* ca = board.Connect<TLineConnector>(c, csBottom, a, csBottom);
    auto* caption = new TTextShape(board.Owner);
    ab->SetCaption(caption);
    for (TComponent* x : {static_cast<TComponent*>(ab), static_cast<TComponent*>(bc),
                          static_cast<TComponent*>(ca), static_cast<TComponent*>(caption)})
        watch.Watch(x);
    delete b;
    EXPECT_TRUE(watch.IsDead(ab));
    EXPECT_TRUE(watch.IsDead(bc));
    EXPECT_TRUE(watch.IsDead(caption));
    EXPECT_FALSE(watch.IsDead(ca));
    EXPECT_EQ(a->AttachedConnectors(), std::vector<TCustomShape*>{ca});
    EXPECT_EQ(board.Area->ControlCount(), 3);
    TCustomShape::DeleteAll(board.Area);
    EXPECT_EQ(board.Area->ControlCount(), 0);
}

TEST(ConnectorLifecycle, RemovedStartElementLeavesTheConnectorInvisible) {
    Board board;
    TMoveableShape* a = board.Shape(10, 20, 50, 40);
    TMoveableShape* b = board.Shape(110, 20, 50, 40);
    auto* line = board.Connect<TLineConnector>(a, csRight, b, csLeft);
    TRect bounds = line->BoundsRect();
    line->Notification(a, opRemove);
    EXPECT_EQ(line->StartConn().Shape(), nullptr);
    EXPECT_EQ(line->EndConn().Shape(), b);
    EXPECT_EQ(line->BoundsRect(), bounds);
    EXPECT_EQ(line->Parent(), board.Area);
    EXPECT_TRUE(a->AttachedConnectors().empty());
    b->SetBounds(200, 100, 50, 40); // no longer laid out
    EXPECT_EQ(line->BoundsRect(), bounds);
    QImage img(400, 300, QImage::Format_RGB32);
    board.Area->Color = clWhite;
    board.Area->RenderInto(img, {0, 0}, {0, 0, 400, 300});
    EXPECT_EQ(tsbtest::Px(img, 80, 40), 0xFFFFFFu);

    // An element destroyed while its connector lives elsewhere: the end is
    // dropped, nothing dangles.
    TMoveableShape* c = board.Shape(10, 200, 50, 40);
    auto* loose = new TLineConnector(board.Owner);
    loose->StartConn().SetShape(c);
    loose->EndConn().SetShape(b);
    loose->UpdateBounds();
    delete c;
    EXPECT_EQ(loose->StartConn().Shape(), nullptr);
    EXPECT_EQ(loose->EndConn().Shape(), b);
    delete b;
    EXPECT_EQ(loose->EndConn().Shape(), nullptr);
}

TEST(ConnectorLifecycle, CaptionsAndConnectorsInAnyOrder) {
    // Connectors between captions, connectors with captions, a connector
    // attached to its own caption: every deletion order stays clean.
    for (int order = 0; order < 6; ++order) {
        Board board;
        TMoveableShape* a = board.Shape(10, 20, 50, 40);
        auto* aCaption = new TTextShape(board.Owner);
        a->SetCaption(aCaption);
        TMoveableShape* b = board.Shape(110, 20, 50, 40);
        auto* line = board.Connect<TLineConnector>(aCaption, csRight, b, csLeft);
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
            watch.Watch(v);
        for (TComponent* v : victims)
            if (!watch.IsDead(v)) delete v;
        TCustomShape::DeleteAll(board.Area);
        EXPECT_EQ(board.Area->ControlCount(), 0);
    }
}

// The elements' lists replace a scan of the container; after any sequence
// of moves, re-attachments and deletions the result must be the scan's.
TEST(ConnectorLifecycle, ListsAgreeWithAScanUnderRandomEdits) {
    Board board;
    auto* other = new TWinControl(board.Owner);
    other->SetBounds(0, 0, 400, 300);
    TWinControl* parents[3] = {board.Area, other, nullptr};
    unsigned seed = 12345;
    auto next = [&](unsigned n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    std::vector<TCustomShape*> shapes, connectors;
    TDeathWatch watch;
    for (int i = 0; i < 24; ++i) {
        TCustomShape* s = (i % 5 == 0) ? static_cast<TCustomShape*>(new THiddenShape(board.Owner))
                                       : new TMoveableShape(board.Owner);
        s->SetBounds(int(next(300)), int(next(200)), 10 + int(next(40)), 10 + int(next(40)));
        s->SetParent(parents[i % 7 == 6 ? 1 : 0]);
        shapes.push_back(s);
        watch.Watch(s);
    }
    auto live = [&](TCustomShape* s) { return !watch.IsDead(s); };
    auto pick = [&](std::vector<TCustomShape*>& v) -> TCustomShape* {
        std::vector<TCustomShape*> alive;
        std::copy_if(v.begin(), v.end(), std::back_inserter(alive), live);
        return alive.empty() ? nullptr : alive[next(unsigned(alive.size()))];
    };
    for (int i = 0; i < 40; ++i) {
        TConnector* c = i % 3 == 0 ? static_cast<TConnector*>(new TSingleHeadArrow(board.Owner))
                                   : new TLineConnector(board.Owner);
        c->StartConn().Side = TConnectionSide(next(4));
        c->StartConn().SetShape(pick(shapes));
        c->EndConn().Side = TConnectionSide(next(4));
        c->EndConn().SetShape(pick(shapes));
        c->UpdateBounds();
        c->SetParent(parents[next(10) < 8 ? 0 : next(3)]);
        connectors.push_back(c);
        watch.Watch(c);
    }
    auto check = [&] {
        for (TCustomShape* s : shapes) {
            if (!live(s)) continue;
            std::set<TCustomShape*> listed(s->AttachedConnectors().begin(),
                                           s->AttachedConnectors().end());
            std::set<TCustomShape*> scanned;
            for (TCustomShape* c : connectors)
                if (live(c) && c->IsAttachedTo(s)) scanned.insert(c);
            ASSERT_EQ(listed, scanned);
            EXPECT_EQ(listed.size(), s->AttachedConnectors().size());
        }
    };
    for (int step = 0; step < 300; ++step) {
        unsigned op = next(10);
        if (op < 6) {
            TCustomShape* s = pick(shapes);
            if (!s) break;
            // Connectors sharing the element's container follow it; their
            // bounds equal a fresh layout afterwards.
            std::vector<std::pair<TCustomShape*, TRect>> before;
            for (TCustomShape* c : connectors)
                if (live(c)) before.push_back({c, c->BoundsRect()});
            s->SetBounds(int(next(300)), int(next(200)), 10 + int(next(40)), 10 + int(next(40)));
            for (auto& [c, r] : before) {
                bool follows = c->IsAttachedTo(s) && s->Parent() && c->Parent() == s->Parent();
                auto* conn = static_cast<TConnector*>(c);
                bool attached = conn->StartConn().Shape() && conn->EndConn().Shape();
                if (!follows || !attached) {
                    EXPECT_EQ(c->BoundsRect(), r);
                    continue;
                }
                TRect laidOut = c->BoundsRect();
                c->UpdateBounds();
                EXPECT_EQ(c->BoundsRect(), laidOut);
            }
        } else if (op < 8) {
            TCustomShape* s = pick(shapes);
            if (!s) break;
            std::vector<TCustomShape*> goes, stays;
            for (TCustomShape* c : connectors)
                if (live(c) && c->IsAttachedTo(s))
                    (s->Parent() && c->Parent() == s->Parent() ? goes : stays).push_back(c);
            delete s;
            for (TCustomShape* c : goes)
                EXPECT_TRUE(watch.IsDead(c));
            for (TCustomShape* c : stays) {
                ASSERT_FALSE(watch.IsDead(c));
                EXPECT_FALSE(c->IsAttachedTo(s));
            }
        } else if (op < 9) {
            if (TCustomShape* c = pick(connectors)) delete c;
        } else {
            auto* c = static_cast<TConnector*>(pick(connectors));
            if (!c) continue;
            (next(2) ? c->StartConn() : c->EndConn()).SetShape(pick(shapes));
        }
        check();
        if (HasFatalFailure()) return;
    }
}
