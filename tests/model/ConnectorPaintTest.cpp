// Connector painting on pixels: terminals, middle segment, and arrow heads of
// every style in all four directions.
#include <QImage>
#include <gtest/gtest.h>

#include "model/Connector.h"
#include "model/MoveableShape.h"
#include "support/TestSupport.h"

using namespace tsb;
using tsbtest::Px;

namespace {

// Elements, sides and the expected end head (terminals 20 x 10).
const struct Direction {
    TRect Start, End;
    TConnectionSide StartSide, EndSide;
    TPoint Tip, Base, P1, P2;
} kDirections[] = {
    {Bounds(10, 80, 30, 40),
     Bounds(150, 80, 30, 40),
     csRight,
     csLeft,
     {150, 100},
     {130, 100},
     {135, 95},
     {135, 105}}, // right
    {Bounds(150, 80, 30, 40),
     Bounds(10, 80, 30, 40),
     csLeft,
     csRight,
     {39, 100},
     {59, 100},
     {54, 95},
     {54, 105}}, // left
    {Bounds(80, 10, 40, 30),
     Bounds(80, 150, 40, 30),
     csBottom,
     csTop,
     {100, 150},
     {100, 130},
     {95, 135},
     {105, 135}}, // down
    {Bounds(80, 150, 40, 30),
     Bounds(80, 10, 40, 30),
     csTop,
     csBottom,
     {100, 39},
     {100, 59},
     {95, 54},
     {105, 54}}, // up
};

struct Scene {
    template <typename T> Scene(const Direction& d, T* connector) : Owner(connector->Owner()) {
        Area = new TWinControl(Owner);
        Area->Color = clWhite;
        Area->SetBounds(0, 0, 200, 200);
        TConnection* ends[2] = {&connector->StartConn(), &connector->EndConn()};
        for (int i = 0; i < 2; ++i) {
            auto* s = new TMoveableShape(Owner);
            const TRect& r = i ? d.End : d.Start;
            s->SetBounds(r.Left, r.Top, r.Width(), r.Height());
            s->SetParent(Area);
            ends[i]->Side = i ? d.EndSide : d.StartSide;
            ends[i]->SetShape(s);
        }
        connector->UpdateBounds();
        connector->SetParent(Area);
    }
    ~Scene() { delete Owner; }
    QImage Render() {
        QImage img(200, 200, QImage::Format_RGB32);
        Area->RenderInto(img, {0, 0}, {0, 0, 200, 200});
        return img;
    }
    static int Dark(const QImage& img, int x1, int y1, int x2, int y2) { // black pixels
        int n = 0;
        for (int y = y1; y <= y2; ++y)
            for (int x = x1; x <= x2; ++x)
                n += Px(img, x, y) == 0;
        return n;
    }
    TComponent* Owner;
    TWinControl* Area;
};

} // namespace

TEST(ConnectorPaint, ArrowHeadsOfEveryStyleAndDirection) {
    for (const Direction& d : kDirections) {
        for (TArrowStyle style : {asHalf, asOpen, asClosed, asFilled}) {
            SCOPED_TRACE(testing::Message() << d.Tip.X << "," << d.Tip.Y << " " << int(style));
            auto* arrow = new TSingleHeadArrow(new TComponent(nullptr));
            Scene scene(d, arrow);
            arrow->SetArrowStyle(style);
            // Expected: straight terminals, the middle segment and the head
            // from plain canvas figures, clipped to the connector.
            QImage expected(200, 200, QImage::Format_RGB32);
            expected.fill(Qt::white);
            TCanvas canvas;
            canvas.Bind(&expected, {0, 0}, arrow->BoundsRect());
            canvas.Brush.Color = clBlack;
            TPoint startOuter = arrow->StartConn().OuterPoint(arrow->StartTerminal());
            canvas.Polyline({startOuter, arrow->StartConn().AttachPoint()});
            canvas.Polyline({startOuter, d.Base, d.Tip});
            if (style == asHalf || style == asOpen) canvas.Polyline({d.Tip, d.P1});
            if (style == asOpen) canvas.Polyline({d.Tip, d.P2});
            if (style == asClosed) canvas.Brush.Style = bsClear;
            if (style >= asClosed) canvas.Polygon({d.Tip, d.P1, d.P2});
            EXPECT_TRUE(scene.Render() == expected);
        }
    }
}

TEST(ConnectorPaint, KindsAndTheSameLookOnEveryPaint) {
    auto* line = new TLineConnector(new TComponent(nullptr));
    Scene plain(kDirections[0], line);
    QImage img = plain.Render();
    EXPECT_EQ(Scene::Dark(img, 0, 0, 199, 199), 110); // x 40 to 149 on row 100
    EXPECT_EQ(Scene::Dark(img, 40, 100, 149, 100), 110);

    auto* blunt = new TBluntSingleHeadArrow(new TComponent(nullptr));
    Scene b(kDirections[0], blunt);
    img = b.Render();
    EXPECT_EQ(Px(img, 140, 95), 0u); // a head 10 long
    EXPECT_EQ(Scene::Dark(img, 130, 94, 139, 99), 0);

    auto* both = new TDoubleHeadArrow(new TComponent(nullptr));
    Scene d(kDirections[0], both);
    both->SetLineWidth(3);
    both->LineColor = clBlue;
    img = d.Render();
    EXPECT_TRUE(d.Render() == img);
    EXPECT_EQ(Px(img, 54, 95), 0x0000FFu); // the start head
    EXPECT_EQ(Px(img, 135, 105), 0x0000FFu);
    EXPECT_EQ(Px(img, 45, 101), 0x0000FFu); // terminals as wide as the line
    EXPECT_EQ(Px(img, 80, 101), 0x0000FFu);
    both->EndConn().SetShape(nullptr); // an unattached end: nothing at all
    EXPECT_EQ(Scene::Dark(d.Render(), 0, 0, 199, 199), 0);
}

TEST(ConnectorPaint, HeadsTakeTheLinesWidthAndStyleOnEveryPaint) {
    // A head pointing right: tip (150, 100), barbs' ends (135, 95) and (135, 105).
    const Direction& d = kDirections[0];
    auto* wide = new TSingleHeadArrow(new TComponent(nullptr));
    Scene w(d, wide);
    wide->SetArrowStyle(asClosed);
    wide->SetLineWidth(3);
    QImage img = w.Render();
    // The closed outline is three pixels wide, like the barbs and terminals:
    // its back edge at x 135 covers x 134 to 136, inside and out.
    for (int x : {134, 135, 136})
        EXPECT_EQ(Px(img, x, 97), 0u) << x;
    EXPECT_EQ(Px(img, 137, 98), 0xFFFFFFu); // the inside stays clear
    EXPECT_TRUE(w.Render() == img);

    auto* dashed = new TSingleHeadArrow(new TComponent(nullptr));
    Scene s(d, dashed);
    s.Area->Color = clSilver;
    dashed->SetArrowStyle(asClosed);
    dashed->LineStyle = psDash;
    for (int paint = 0; paint < 3; ++paint) {
        SCOPED_TRACE(paint);
        img = s.Render();
        // The outline runs tip, (135, 95), (135, 105) in dashes of 18 on and
        // 6 off: after 15 pixels to the first corner, 3 more are on, then 6 off.
        for (int y = 95; y <= 97; ++y)
            EXPECT_EQ(Px(img, 135, y), 0u) << y;
        EXPECT_EQ(Px(img, 135, 99), 0xC0C0C0u);
        EXPECT_EQ(Px(img, 135, 102), 0xC0C0C0u);
        EXPECT_EQ(Px(img, 135, 104), 0u);
        // The start terminal runs 20 pixels from (59, 100) towards its
        // shape at (39, 100): its last two are a gap, which stays clear.
        EXPECT_EQ(Px(img, 42, 100), 0u);
        EXPECT_EQ(Px(img, 41, 100), 0xC0C0C0u);
        EXPECT_EQ(Px(img, 40, 100), 0xC0C0C0u);
    }
}
