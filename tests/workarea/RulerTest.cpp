// The rulers on pixels: strips, sunken scales, ticks every 25 target pixels,
// centred labels, and hair-lines drawn straight onto the parent's surface.
#include <QImage>
#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "widgets/WinControl.h"
#include "workarea/qmRuler.h"

using namespace tsb;
using tsbtest::Px;

namespace {

const unsigned kShadow = ColorToRGB(clBtnShadow);
const unsigned kHighlight = ColorToRGB(clBtnHighlight);
const unsigned kFace = ColorToRGB(clBtnFace);
const unsigned kPanel = 0x123456;

// A panel filled by a ruler whose target lies at (56, 35).
struct Board {
    explicit Board(int w = 400, int targetW = 200) : Owner(new TComponent(nullptr)) {
        Panel = new TWinControl(Owner);
        Panel->Color = TColor(0x563412);
        Panel->SetBounds(0, 0, w, 300);
        Ruler = new TqmRuler(Owner);
        Ruler->SetParent(Panel);
        Target = new TControl(Owner);
        Target->SetBounds(56, 35, targetW, 150);
        Target->SetParent(Panel);
        Ruler->SetTarget(Target);
    }
    ~Board() { delete Owner; }
    QImage Render() {
        QImage img(Panel->Width(), 300, QImage::Format_RGB32);
        Panel->RenderInto(img, {0, 0}, {0, 0, img.width(), 300});
        return img;
    }
    // The black run of a column (or of a row) within the ruler's width.
    static std::pair<int, int> Run(const QImage& img, int at, bool column) {
        int first = -1, last = -1;
        for (int i = 0; i < 25; ++i)
            if (Px(img, column ? at : i, column ? i : at) == 0) {
                if (first < 0) first = i;
                last = i;
            }
        return {first, last};
    }
    TComponent* Owner;
    TWinControl* Panel;
    TqmRuler* Ruler;
    TControl* Target;
};

} // namespace

TEST(Ruler, TicksAndLabelsCountTargetPixels) {
    Board board;
    EXPECT_EQ(board.Ruler->BoundsRect(), Bounds(0, 0, 400, 300)); // fills the parent
    EXPECT_FALSE(board.Ruler->Enabled());
    QImage img = board.Render();
    EXPECT_EQ(board.Ruler->HorzScale, (TRect{56, 5, 255, 19}));
    EXPECT_EQ(board.Ruler->VertScale, (TRect{5, 35, 19, 184}));
    // Short ticks 5 long, middle 8, long 11, ending just before the bottom.
    using Run = std::pair<int, int>;
    EXPECT_EQ(Board::Run(img, 81, true), Run(14, 18));
    EXPECT_EQ(Board::Run(img, 106, true), Run(11, 18));
    EXPECT_EQ(Board::Run(img, 56, true), Run(8, 18));
    EXPECT_EQ(Board::Run(img, 231, true), Run(14, 18));
    EXPECT_EQ(Board::Run(img, 60, false), Run(14, 18)); // the vertical scale
    EXPECT_EQ(Board::Run(img, 85, false), Run(11, 18));
    EXPECT_EQ(Board::Run(img, 35, false), Run(8, 18));
    EXPECT_EQ(Board::Run(img, 185, false), Run(-1, -1)); // past the last row
    // The label 100 on the scale's top edge, centred on its tick: the same
    // pixels as the text drawn there by hand.
    QImage expected = img.copy();
    TCanvas canvas(&expected);
    canvas.Font.SetName("Small Fonts");
    canvas.Font.SetSize(6);
    EXPECT_EQ(canvas.Font.ToQFont().pixelSize(), 8);
    canvas.Brush.Color = clWhite;
    canvas.FillRect({132, 5, 181, 19});
    canvas.Pen.Color = clBlack;
    canvas.Polyline({{156, 8}, {156, 19}});
    canvas.TextOut(156 - canvas.TextWidth("100") / 2, 5, "100");
    EXPECT_TRUE(img.copy(132, 5, 49, 14) == expected.copy(132, 5, 49, 14));
    EXPECT_GT(Board::Run(img, 152, true).first, -1);
    // Left-aligned on the vertical scale, centred on y = 135.
    int th = canvas.TextHeight("100"), top = 300, bottom = -1;
    for (int y = 120; y < 150; ++y)
        for (int x = 5; x < 14; ++x)
            if (Px(img, x, y) == 0) top = std::min(top, y), bottom = std::max(bottom, y);
    EXPECT_GE(top, 135 - th / 2);
    EXPECT_LT(bottom, 135 - th / 2 + th);
}

TEST(Ruler, EightHundredPixelTargetEndsWithTick775AndLabel700) {
    Board board(900, 800);
    QImage img = board.Render();
    EXPECT_EQ(Board::Run(img, 56 + 775, true), (std::pair<int, int>(14, 18)));
    EXPECT_EQ(Board::Run(img, 56 + 800, true), (std::pair<int, int>(-1, -1)));
    int label700 = 0, beyond = 0;
    for (int y = 5; y < 11; ++y) // above the middle ticks
        for (int x = 56 + 690; x < 900; ++x)
            (x < 56 + 711 ? label700 : beyond) += Px(img, x, y) == 0 && x != 56 + 700;
    EXPECT_GT(label700, 5);
    EXPECT_EQ(beyond, 0);
}

TEST(Ruler, StripsRulersAndALostTarget) {
    Board board;
    QImage img = board.Render();
    EXPECT_EQ(Px(img, 0, 0), kHighlight); // raised corner box
    EXPECT_EQ(Px(img, 2, 2), kFace);
    EXPECT_EQ(Px(img, 300, 23), kShadow);
    EXPECT_EQ(Px(img, 60, 3), kShadow); // sunken scale
    EXPECT_EQ(Px(img, 60, 20), kHighlight);
    EXPECT_EQ(Px(img, 30, 30), kPanel);
    EXPECT_TRUE(board.Render() == img); // whatever pen the hair-lines left
    board.Ruler->SetFlat(true);
    img = board.Render();
    EXPECT_EQ(Px(img, 0, 0), kShadow);
    EXPECT_EQ(Px(img, 1, 1), kFace);
    EXPECT_EQ(Px(img, 60, 3), kShadow); // the scale stays sunken

    board.Ruler->SetRulers(ruHorz); // the strip from x = 0, no vertical ruler
    img = board.Render();
    EXPECT_EQ(Px(img, 10, 24), kShadow);
    EXPECT_EQ(Px(img, 10, 100), kPanel);
    board.Ruler->MoveHairLine({10, 20});
    EXPECT_EQ(board.Ruler->HairPos, (TPoint{10, -100}));
    board.Ruler->SetRulers(ruVert);
    board.Ruler->MoveHairLine({30, 40});
    EXPECT_EQ(board.Ruler->HairPos, (TPoint{10, 40}));
    board.Ruler->SetRulers(ruNone);
    board.Ruler->MoveHairLine({50, 50});
    EXPECT_EQ(board.Ruler->HairPos, (TPoint{10, 40}));
    EXPECT_EQ(Px(board.Render(), 0, 0), kPanel);

    // Without a target the scale runs from RW, its zero at RW + 2.
    board.Ruler->SetRulers(ruBoth);
    delete board.Target;
    EXPECT_EQ(board.Ruler->Target(), nullptr);
    img = board.Render();
    EXPECT_EQ(board.Ruler->HorzScale, (TRect{27, 5, 398, 19}));
    EXPECT_EQ(Board::Run(img, 27, true), (std::pair<int, int>(8, 18)));
}

TEST(Ruler, HairLinesDrawnTwiceLeaveTheScaleAsItWas) {
    Board board;
    QImage& surface = board.Panel->Surface();
    board.Panel->RenderInto(surface, {0, 0}, {0, 0, 400, 300});
    const QImage before = surface.copy();
    board.Ruler->MoveHairLine({60, 40});
    // Red on white, from one pixel inside the scale to one before its end.
    for (int i = 6; i <= 17; ++i) {
        EXPECT_EQ(Px(surface, 116, i), 0xFF0000u) << i;
        EXPECT_EQ(Px(surface, i, 75), 0xFF0000u) << i;
    }
    EXPECT_EQ(Px(surface, 116, 18), 0xFFFFFFu);
    EXPECT_TRUE(board.Render() == surface); // what a repaint shows
    board.Ruler->MoveHairLine({60, 45});    // only the vertical ruler's line moves
    EXPECT_EQ(Px(surface, 116, 10), 0xFF0000u);
    EXPECT_EQ(Px(surface, 10, 75), 0xFFFFFFu);
    board.Ruler->MoveHairLine({50, 45}); // over a tick
    board.Ruler->MoveHairLine({-100, -100});
    EXPECT_TRUE(surface == before);
}
