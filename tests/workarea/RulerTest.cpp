// The rulers on pixels: strips, sunken scales, ticks every 25 target pixels,
// centred labels, and hair-lines drawn straight onto the surface.
#include <QImage>
#include <gtest/gtest.h>

#include "platform/Canvas.h"
#include "platform/WinControl.h"
#include "support/TestSupport.h"
#include "workarea/qmRuler.h"

using namespace tsb;
using tsbtest::Px;

namespace {

const unsigned kShadow = ColorToRGB(clBtnShadow);
const unsigned kHighlight = ColorToRGB(clBtnHighlight);
const unsigned kFace = ColorToRGB(clBtnFace);
const unsigned kPanel = 0x123456;

// A panel with a ruler filling it and a windowless target at (56, 35).
struct RulerBoard {
    explicit RulerBoard(int w = 400, int h = 300, int targetW = 200, int targetH = 150)
        : Owner(new TComponent(nullptr)), Panel(new TWinControl(Owner)) {
        Panel->Color = TColor(0x563412); // kPanel in 0x00BBGGRR
        Panel->SetBounds(0, 0, w, h);
        Ruler = new TqmRuler(Owner);
        Ruler->SetParent(Panel);
        Target = new TControl(Owner);
        Target->SetBounds(56, 35, targetW, targetH);
        Target->SetParent(Panel);
        Ruler->SetTarget(Target);
    }
    ~RulerBoard() { delete Owner; }
    QImage Render() {
        QImage img(Panel->Width(), Panel->Height(), QImage::Format_RGB32);
        Panel->RenderInto(img, {0, 0}, {0, 0, img.width(), img.height()});
        return img;
    }
    // Rows of column x, from y1 to y2, that are black.
    static std::vector<int> BlackRows(const QImage& img, int x, int y1, int y2) {
        std::vector<int> rows;
        for (int y = y1; y <= y2; ++y)
            if (Px(img, x, y) == 0) rows.push_back(y);
        return rows;
    }
    static std::vector<int> Range(int a, int b) {
        std::vector<int> v;
        for (int i = a; i <= b; ++i)
            v.push_back(i);
        return v;
    }
    TComponent* Owner;
    TWinControl* Panel;
    TqmRuler* Ruler;
    TControl* Target;
};

} // namespace

TEST(Ruler, DefaultsFillTheParentAndTakeNoInput) {
    RulerBoard board;
    TqmRuler* r = board.Ruler;
    EXPECT_EQ(r->BoundsRect(), Bounds(0, 0, 400, 300));
    EXPECT_FALSE(r->Enabled());
    EXPECT_FALSE(r->Flat());
    EXPECT_EQ(r->HairLineColor(), clRed);
    EXPECT_EQ(r->Rulers(), ruBoth);
    EXPECT_EQ(r->BackGround(), clWhite);
    EXPECT_EQ(r->RulerWidth(), 25);
    EXPECT_EQ(r->HairPos, (TPoint{-100, -100}));
    EXPECT_EQ(board.Panel->ControlAtPos({5, 5}), nullptr);

    // Labels use "Small Fonts" at 6 points: 8 pixels of a small sans face.
    TFont font;
    font.SetName("Small Fonts");
    font.SetSize(6);
    EXPECT_EQ(font.Height(), -8);
    EXPECT_EQ(font.ToQFont().pixelSize(), 8);
    EXPECT_EQ(font.ToQFont().family(), QString("Liberation Sans"));
}

TEST(Ruler, HorizontalScaleTicksAndLabels) {
    RulerBoard board;
    QImage img = board.Render();
    EXPECT_EQ(board.Ruler->HorzScale, (TRect{56, 5, 255, 19}));
    // Sunken scale bevel round a white scale of rows 5 to 18.
    EXPECT_EQ(Px(img, 60, 3), kShadow);
    EXPECT_EQ(Px(img, 60, 4), kShadow);
    EXPECT_EQ(Px(img, 60, 19), kHighlight);
    EXPECT_EQ(Px(img, 60, 20), kHighlight);
    EXPECT_EQ(Px(img, 60, 5), 0xFFFFFFu);
    EXPECT_EQ(Px(img, 60, 18), 0xFFFFFFu);
    // Ticks end just before the scale's bottom: short 5, middle 8, long 11.
    EXPECT_EQ(RulerBoard::BlackRows(img, 81, 0, 24), RulerBoard::Range(14, 18));
    EXPECT_EQ(RulerBoard::BlackRows(img, 106, 0, 24), RulerBoard::Range(11, 18));
    EXPECT_EQ(RulerBoard::BlackRows(img, 56, 0, 24), RulerBoard::Range(8, 18));
    EXPECT_EQ(RulerBoard::BlackRows(img, 231, 0, 24), RulerBoard::Range(14, 18));
    EXPECT_TRUE(RulerBoard::BlackRows(img, 80, 0, 24).empty());

    // The label 100 sits on the scale's top, centred on its tick.
    TCanvas measure;
    measure.Font.SetName("Small Fonts");
    measure.Font.SetSize(6);
    int tw = measure.TextWidth("100"), th = measure.TextHeight("100");
    QImage expected = img.copy();
    TCanvas canvas(&expected);
    canvas.Font = measure.Font;
    canvas.Brush.Color = clWhite;
    canvas.FillRect({132, 5, 181, 19});
    canvas.Pen.Color = clBlack;
    canvas.MoveTo(156, 8);
    canvas.LineTo(156, 19);
    canvas.TextOut(156 - tw / 2, 5, "100");
    EXPECT_TRUE(img.copy(132, 5, 49, 14) == expected.copy(132, 5, 49, 14));
    int minX = 1000, maxX = -1;
    for (int y = 5; y < 5 + th && y < 19; ++y)
        for (int x = 140; x < 172; ++x)
            if (Px(img, x, y) == 0 && x != 156) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
            }
    ASSERT_GE(maxX, minX);
    EXPECT_NEAR((minX + maxX) / 2.0, 156, 2.0);
}

TEST(Ruler, VerticalScaleTicksAndLabels) {
    RulerBoard board;
    QImage img = board.Render();
    EXPECT_EQ(board.Ruler->VertScale, (TRect{5, 35, 19, 184}));
    auto blackCols = [&](int y) {
        std::vector<int> cols;
        for (int x = 0; x <= 24; ++x)
            if (Px(img, x, y) == 0) cols.push_back(x);
        return cols;
    };
    EXPECT_EQ(blackCols(60), RulerBoard::Range(14, 18));
    EXPECT_EQ(blackCols(85), RulerBoard::Range(11, 18));
    EXPECT_EQ(blackCols(35), RulerBoard::Range(8, 18));
    EXPECT_TRUE(blackCols(185).empty()); // beyond the target's last row
    // Label 100 left-aligned on the scale, vertically centred on y = 135.
    TCanvas measure;
    measure.Font.SetName("Small Fonts");
    measure.Font.SetSize(6);
    int th = measure.TextHeight("100");
    int top = 1000, bottom = -1;
    for (int y = 120; y < 150; ++y)
        for (int x = 5; x < 14; ++x)
            if (Px(img, x, y) == 0) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    ASSERT_GE(bottom, top);
    EXPECT_GE(top, 135 - th / 2);
    EXPECT_LT(bottom, 135 - th / 2 + th);
}

TEST(Ruler, LastTickOfAnEightHundredPixelTarget) {
    RulerBoard board(900, 100, 800, 40);
    QImage img = board.Render();
    // 775 past the zero at 56 is the last tick; 700 the last label.
    EXPECT_EQ(RulerBoard::BlackRows(img, 56 + 775, 0, 24), RulerBoard::Range(14, 18));
    EXPECT_TRUE(RulerBoard::BlackRows(img, 56 + 800, 0, 24).empty());
    int labelPixels = 0;
    for (int y = 5; y < 19; ++y)
        for (int x = 56 + 780; x < 900; ++x)
            if (Px(img, x, y) == 0) ++labelPixels;
    EXPECT_EQ(labelPixels, 0);
    int seven = 0;
    for (int y = 5; y < 12; ++y)
        for (int x = 56 + 690; x < 56 + 711; ++x)
            if (Px(img, x, y) == 0 && x != 56 + 700) ++seven;
    EXPECT_GT(seven, 5);
}

TEST(Ruler, StripsFlatOrRaisedAndWithoutTarget) {
    RulerBoard board;
    QImage img = board.Render();
    EXPECT_EQ(Px(img, 0, 0), kHighlight);
    EXPECT_EQ(Px(img, 1, 1), kHighlight);
    EXPECT_EQ(Px(img, 2, 2), kFace);
    EXPECT_EQ(Px(img, 10, 24), kHighlight); // the vertical strip's top
    EXPECT_EQ(Px(img, 24, 10), kHighlight); // the horizontal strip's left
    EXPECT_EQ(Px(img, 300, 24), kShadow);
    EXPECT_EQ(Px(img, 300, 23), kShadow);
    EXPECT_EQ(Px(img, 300, 22), kFace);
    EXPECT_EQ(Px(img, 30, 30), kPanel); // beyond the rulers
    // A second paint looks the same, whatever pen the hair-lines left.
    EXPECT_TRUE(board.Render() == img);

    board.Ruler->SetFlat(true);
    img = board.Render();
    EXPECT_EQ(Px(img, 0, 0), kShadow);
    EXPECT_EQ(Px(img, 1, 1), kFace);
    EXPECT_EQ(Px(img, 300, 23), kFace);
    EXPECT_EQ(Px(img, 60, 3), kShadow); // the scale stays sunken
    EXPECT_EQ(Px(img, 60, 20), kHighlight);
    EXPECT_EQ(Px(img, 0, 100), kShadow);
    EXPECT_EQ(Px(img, 24, 100), kShadow);

    // Without a target the scale runs from RW to the ruler's right edge;
    // its zero is at RW + 2. A destroyed target is forgotten.
    delete board.Target;
    EXPECT_EQ(board.Ruler->Target(), nullptr);
    img = board.Render();
    EXPECT_EQ(board.Ruler->HorzScale, (TRect{27, 5, 398, 19}));
    EXPECT_EQ(board.Ruler->VertScale, (TRect{5, 27, 19, 298}));
    EXPECT_EQ(RulerBoard::BlackRows(img, 27, 0, 24), RulerBoard::Range(8, 18));
    EXPECT_EQ(RulerBoard::BlackRows(img, 52, 0, 24), RulerBoard::Range(14, 18));
}

TEST(Ruler, WhichRulersAreDrawn) {
    RulerBoard board;
    board.Ruler->SetRulers(ruHorz);
    QImage img = board.Render();
    EXPECT_EQ(Px(img, 0, 0), kHighlight);
    EXPECT_EQ(Px(img, 10, 24), kShadow);
    EXPECT_EQ(Px(img, 10, 100), kPanel);
    board.Ruler->MoveHairLine({10, 20});
    EXPECT_EQ(board.Ruler->HairPos, (TPoint{10, -100}));

    board.Ruler->SetRulers(ruVert);
    img = board.Render();
    EXPECT_EQ(Px(img, 100, 10), kPanel);
    EXPECT_EQ(Px(img, 2, 100), kFace);
    EXPECT_EQ(Px(img, 10, 1), kHighlight); // no corner box: the strip from 0
    board.Ruler->MoveHairLine({30, 40});
    EXPECT_EQ(board.Ruler->HairPos, (TPoint{10, 40}));

    board.Ruler->SetRulers(ruNone);
    img = board.Render();
    for (TPoint p : {TPoint{0, 0}, TPoint{10, 100}, TPoint{100, 10}})
        EXPECT_EQ(Px(img, p.X, p.Y), kPanel);
    board.Ruler->MoveHairLine({50, 50});
    EXPECT_EQ(board.Ruler->HairPos, (TPoint{10, 40}));
}

TEST(Ruler, HairLinesDrawnTwiceLeaveTheScaleAsItWas) {
    RulerBoard board;
    QImage& surface = board.Panel->Surface();
    board.Panel->RenderInto(surface, {0, 0}, {0, 0, 400, 300});
    const QImage before = surface.copy();

    board.Ruler->MoveHairLine({60, 40});
    EXPECT_EQ(board.Ruler->HairPos, (TPoint{60, 40}));
    // Red on the white scales, from one pixel inside to one before the end.
    for (int y = 6; y <= 17; ++y)
        EXPECT_EQ(Px(surface, 116, y), 0xFF0000u) << y;
    EXPECT_EQ(Px(surface, 116, 5), 0xFFFFFFu);
    EXPECT_EQ(Px(surface, 116, 18), 0xFFFFFFu);
    for (int x = 6; x <= 17; ++x)
        EXPECT_EQ(Px(surface, x, 75), 0xFF0000u) << x;
    // What was drawn straight on the surface is what a repaint shows.
    EXPECT_TRUE(board.Render() == surface);

    // Moving only vertically leaves the horizontal ruler's line alone.
    board.Ruler->MoveHairLine({60, 45});
    EXPECT_EQ(Px(surface, 116, 10), 0xFF0000u);
    EXPECT_EQ(Px(surface, 10, 75), 0xFFFFFFu);
    EXPECT_EQ(Px(surface, 10, 80), 0xFF0000u);

    // Over a tick the line is the not-xor of both; back where it started,
    // every pixel is restored.
    board.Ruler->MoveHairLine({50, 45});
    board.Ruler->MoveHairLine({-100, -100});
    EXPECT_TRUE(surface == before);
}
