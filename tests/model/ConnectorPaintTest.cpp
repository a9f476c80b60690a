// Connector painting on pixels: terminals, the middle segment and the arrow
// heads of every style in all four directions.
#include <QImage>
#include <gtest/gtest.h>

#include "model/Connector.h"
#include "model/MoveableShape.h"
#include "platform/WinControl.h"
#include "support/TestSupport.h"

using namespace tsb;
using tsbtest::Px;

namespace {

struct Direction {
    const char* Name;
    TRect Start, End; // element bounds (left, top, width, height as a rect)
    TConnectionSide StartSide, EndSide;
    TPoint EndAttach, EndOuter, P1, P2;
};

// The end head points right, left, down and up; terminals 20 x 10.
const Direction kDirections[] = {
    {"right",
     Bounds(10, 80, 30, 40),
     Bounds(150, 80, 30, 40),
     csRight,
     csLeft,
     {150, 100},
     {130, 100},
     {135, 95},
     {135, 105}},
    {"left",
     Bounds(150, 80, 30, 40),
     Bounds(10, 80, 30, 40),
     csLeft,
     csRight,
     {39, 100},
     {59, 100},
     {54, 95},
     {54, 105}},
    {"down",
     Bounds(80, 10, 40, 30),
     Bounds(80, 150, 40, 30),
     csBottom,
     csTop,
     {100, 150},
     {100, 130},
     {95, 135},
     {105, 135}},
    {"up",
     Bounds(80, 150, 40, 30),
     Bounds(80, 10, 40, 30),
     csTop,
     csBottom,
     {100, 39},
     {100, 59},
     {95, 54},
     {105, 54}},
};

struct Scene {
    template <typename T> explicit Scene(const Direction& d, T* = nullptr) {
        Owner = new TComponent(nullptr);
        Area = new TWinControl(Owner);
        Area->Color = clWhite;
        Area->SetBounds(0, 0, 200, 200);
        for (const TRect& r : {d.Start, d.End}) {
            auto* s = new TMoveableShape(Owner);
            s->SetBounds(r.Left, r.Top, r.Width(), r.Height());
            s->SetParent(Area);
            (Start ? End : Start) = s;
        }
        auto* c = new T(Owner);
        c->StartConn().Side = d.StartSide;
        c->StartConn().SetShape(Start);
        c->EndConn().Side = d.EndSide;
        c->EndConn().SetShape(End);
        c->UpdateBounds();
        c->SetParent(Area);
        Connector = c;
    }
    ~Scene() { delete Owner; }
    QImage Render() {
        QImage img(200, 200, QImage::Format_RGB32);
        Area->RenderInto(img, {0, 0}, {0, 0, 200, 200});
        return img;
    }
    // Black pixels inside [x1, x2] x [y1, y2].
    static int Dark(const QImage& img, int x1, int y1, int x2, int y2) {
        int n = 0;
        for (int y = y1; y <= y2; ++y)
            for (int x = x1; x <= x2; ++x)
                if (Px(img, x, y) == 0) ++n;
        return n;
    }
    TComponent* Owner;
    TWinControl* Area;
    TCustomShape* Start = nullptr;
    TCustomShape* End = nullptr;
    TConnector* Connector;
};

// What the arrow should look like, drawn with plain canvas figures clipped
// to the connector's bounds.
QImage ExpectedArrow(const Direction& d, TConnector* c, TArrowStyle style) {
    QImage img(200, 200, QImage::Format_RGB32);
    img.fill(Qt::white);
    TCanvas canvas;
    canvas.Bind(&img, {0, 0}, c->BoundsRect());
    canvas.Pen.Color = clBlack;
    canvas.Brush.Color = clBlack;
    TPoint so = c->StartConn().OuterPoint(c->StartTerminal());
    TPoint sa = c->StartConn().AttachPoint();
    canvas.Polyline({so, sa});
    canvas.Polyline({so, d.EndOuter});
    canvas.Polyline({d.EndOuter, d.EndAttach});
    switch (style) {
    case asHalf:
        canvas.Polyline({d.EndAttach, d.P1});
        break;
    case asOpen:
        canvas.Polyline({d.EndAttach, d.P1});
        canvas.Polyline({d.EndAttach, d.P2});
        break;
    case asClosed:
        canvas.Brush.Style = bsClear;
        canvas.Polygon({d.EndAttach, d.P1, d.P2});
        break;
    case asFilled:
        canvas.Polygon({d.EndAttach, d.P1, d.P2});
        break;
    }
    return img;
}

} // namespace

TEST(ConnectorPaint, PlainLineRunsFromEdgeToEdge) {
    Scene scene(kDirections[0], static_cast<TLineConnector*>(nullptr));
    QImage img = scene.Render();
    // From the first element's right edge (excluded) to the second's left.
    for (int x = 40; x <= 149; ++x)
        EXPECT_EQ(Px(img, x, 100), 0x000000u) << x;
    EXPECT_EQ(Px(img, 39, 100), 0xFFFFFFu);
    EXPECT_EQ(Px(img, 150, 100), 0xFFFFFFu);
    EXPECT_EQ(Scene::Dark(img, 0, 0, 199, 199), 110);
}

TEST(ConnectorPaint, ArrowHeadsOfEveryStyleAndDirection) {
    for (const Direction& d : kDirections) {
        for (TArrowStyle style : {asHalf, asOpen, asClosed, asFilled}) {
            SCOPED_TRACE(testing::Message() << d.Name << " style " << int(style));
            Scene scene(d, static_cast<TSingleHeadArrow*>(nullptr));
            auto* arrow = static_cast<TSingleHeadArrow*>(scene.Connector);
            arrow->SetArrowStyle(style);
            ASSERT_EQ(arrow->EndConn().AttachPoint(), d.EndAttach);
            ASSERT_EQ(arrow->EndConn().OuterPoint(arrow->EndTerminal()), d.EndOuter);
            QImage img = scene.Render();
            EXPECT_TRUE(img == ExpectedArrow(d, arrow, style));
        }
    }
}

TEST(ConnectorPaint, HeadShapesOnPixels) {
    // Pointing right: a half head is only the upper barb.
    {
        Scene scene(kDirections[0], static_cast<TSingleHeadArrow*>(nullptr));
        static_cast<TSingleHeadArrow*>(scene.Connector)->SetArrowStyle(asHalf);
        QImage img = scene.Render();
        EXPECT_GT(Scene::Dark(img, 135, 95, 149, 99), 10);
        EXPECT_EQ(Scene::Dark(img, 135, 101, 149, 105), 0);
    }
    // Pointing down: only the left barb.
    {
        Scene scene(kDirections[2], static_cast<TSingleHeadArrow*>(nullptr));
        static_cast<TSingleHeadArrow*>(scene.Connector)->SetArrowStyle(asHalf);
        QImage img = scene.Render();
        EXPECT_GT(Scene::Dark(img, 95, 135, 99, 149), 10);
        EXPECT_EQ(Scene::Dark(img, 101, 135, 105, 149), 0);
    }
    // Filled: 15 long, 10 wide; closed: hollow beside the shaft.
    {
        Scene scene(kDirections[0], static_cast<TSingleHeadArrow*>(nullptr));
        QImage img = scene.Render();
        EXPECT_EQ(Px(img, 135, 95), 0x000000u);
        EXPECT_EQ(Px(img, 135, 105), 0x000000u);
        EXPECT_EQ(Px(img, 136, 97), 0x000000u);
        EXPECT_EQ(Px(img, 134, 96), 0xFFFFFFu);
        EXPECT_EQ(Px(img, 135, 94), 0xFFFFFFu);
        static_cast<TSingleHeadArrow*>(scene.Connector)->SetArrowStyle(asClosed);
        img = scene.Render();
        EXPECT_EQ(Px(img, 137, 98), 0xFFFFFFu);
        EXPECT_EQ(Px(img, 137, 100), 0x000000u);
        EXPECT_EQ(Px(img, 135, 98), 0x000000u);
    }
    // A blunt arrow's head is 10 long; its base is 5 from the outer point.
    {
        Scene scene(kDirections[0], static_cast<TBluntSingleHeadArrow*>(nullptr));
        QImage img = scene.Render();
        EXPECT_EQ(Px(img, 140, 95), 0x000000u);
        EXPECT_EQ(Px(img, 140, 105), 0x000000u);
        EXPECT_EQ(Px(img, 139, 96), 0xFFFFFFu);
        EXPECT_EQ(Scene::Dark(img, 130, 94, 139, 99), 0);
    }
}

TEST(ConnectorPaint, DoubleHeadArrowHasHeadsAtBothEnds) {
    Scene scene(kDirections[0], static_cast<TDoubleHeadArrow*>(nullptr));
    QImage img = scene.Render();
    // End head near x 135..149, start head pointing left to x 40.
    EXPECT_EQ(Px(img, 135, 95), 0x000000u);
    EXPECT_EQ(Px(img, 54, 95), 0x000000u);
    EXPECT_EQ(Px(img, 54, 105), 0x000000u);
    EXPECT_EQ(Px(img, 45, 100), 0x000000u);
    EXPECT_EQ(Px(img, 55, 94), 0xFFFFFFu);
}

TEST(ConnectorPaint, SameLookOnEveryPaint) {
    Scene scene(kDirections[0], static_cast<TSingleHeadArrow*>(nullptr));
    scene.Connector->SetLineWidth(3);
    scene.Connector->LineStyle = psSolid;
    scene.Connector->LineColor = clBlue;
    QImage first = scene.Render();
    QImage second = scene.Render();
    EXPECT_TRUE(first == second);
    // The terminals are as wide as the middle segment from the first paint.
    EXPECT_EQ(Px(first, 45, 99), 0x0000FFu);
    EXPECT_EQ(Px(first, 45, 101), 0x0000FFu);
    EXPECT_EQ(Px(first, 80, 101), 0x0000FFu);
    EXPECT_EQ(Px(first, 45, 103), 0xFFFFFFu);

    // Unattached ends paint nothing.
    scene.Connector->EndConn().SetShape(nullptr);
    EXPECT_EQ(Scene::Dark(scene.Render(), 0, 0, 199, 199), 0);
}
