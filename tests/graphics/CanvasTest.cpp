#include <QPainter>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "graphics/Canvas.h"

using namespace tsb;
using tsbtest::Px;

namespace {

QImage White(int w = 20, int h = 20) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

// Pixels of the image that are not white, as "x,y" strings.
std::vector<std::string> Marked(const QImage& img) {
    std::vector<std::string> out;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (Px(img, x, y) != 0xFFFFFF)
                out.push_back(std::to_string(x) + "," + std::to_string(y));
    return out;
}

} // namespace

TEST(Canvas, LinesLeaveOutTheirEndPoint) {
    QImage img = White();
    TCanvas c(&img);
    c.MoveTo(2, 3);
    c.LineTo(6, 3);
    EXPECT_EQ(Marked(img), (std::vector<std::string>{"2,3", "3,3", "4,3", "5,3"}));
    EXPECT_EQ(c.PenPos, (TPoint{6, 3}));

    img = White();
    c.Bind(&img);
    c.MoveTo(5, 5);
    c.LineTo(5, 2); // upwards
    EXPECT_EQ(Marked(img), (std::vector<std::string>{"5,3", "5,4", "5,5"}));

    img = White();
    c.Bind(&img);
    c.MoveTo(0, 0);
    c.LineTo(3, 3);
    EXPECT_EQ(Marked(img), (std::vector<std::string>{"0,0", "1,1", "2,2"}));

    img = White();
    c.Bind(&img);
    c.MoveTo(4, 4);
    c.LineTo(4, 4);
    EXPECT_TRUE(Marked(img).empty());
}

TEST(Canvas, PolylineTouchesEveryPixelOnce) {
    // With an inverting pen a pixel drawn twice would come back white.
    QImage img = White();
    TCanvas c(&img);
    c.Pen.Mode = pmNot;
    c.Polyline({{1, 1}, {6, 1}, {6, 5}, {1, 5}, {1, 1}});
    EXPECT_EQ(Marked(img).size(), 18u);
    EXPECT_EQ(Px(img, 1, 1), 0x000000u);
    EXPECT_EQ(Px(img, 6, 5), 0x000000u);
}

TEST(Canvas, BoxesLeaveOutRightAndBottomEdges) {
    QImage img = White();
    TCanvas c(&img);
    c.Pen.Color = clBlack;
    c.Brush.Color = clRed;
    c.Rectangle(2, 2, 6, 5);
    EXPECT_EQ(Px(img, 2, 2), 0x000000u);
    EXPECT_EQ(Px(img, 5, 4), 0x000000u);
    EXPECT_EQ(Px(img, 6, 4), 0xFFFFFFu);
    EXPECT_EQ(Px(img, 5, 5), 0xFFFFFFu);
    EXPECT_EQ(Px(img, 3, 3), 0xFF0000u);
    EXPECT_EQ(Px(img, 4, 3), 0xFF0000u);
    EXPECT_EQ(Marked(img).size(), 12u);

    img = White();
    c.Bind(&img);
    c.Brush.Color = clBlue;
    c.FillRect({1, 1, 4, 3});
    EXPECT_EQ(Marked(img).size(), 6u);
    EXPECT_EQ(Px(img, 3, 2), 0x0000FFu);
    EXPECT_EQ(Px(img, 4, 2), 0xFFFFFFu);

    // A clear brush fills nothing.
    img = White();
    c.Bind(&img);
    c.Brush.Style = bsClear;
    c.FillRect({1, 1, 4, 3});
    c.Rectangle(1, 1, 5, 5);
    EXPECT_EQ(Px(img, 2, 2), 0xFFFFFFu);
    EXPECT_EQ(Marked(img).size(), 12u);
}

TEST(Canvas, EllipseAndRoundRectStayInTheirBox) {
    QImage img = White(30, 30);
    TCanvas c(&img);
    c.Brush.Style = bsClear;
    c.Ellipse(2, 3, 22, 13);
    int minX = 99, maxX = -1, minY = 99, maxY = -1;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            if (Px(img, x, y) != 0xFFFFFF) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    EXPECT_EQ(minX, 2);
    EXPECT_EQ(maxX, 21);
    EXPECT_EQ(minY, 3);
    EXPECT_EQ(maxY, 12);
    EXPECT_EQ(Px(img, 12, 8), 0xFFFFFFu); // hollow

    img = White(30, 30);
    c.Bind(&img);
    c.RoundRect(0, 0, 20, 10, 6, 6);
    EXPECT_EQ(Px(img, 0, 0), 0xFFFFFFu); // corner cut
    EXPECT_EQ(Px(img, 10, 0), 0x000000u);
    EXPECT_EQ(Px(img, 0, 5), 0x000000u);
    EXPECT_EQ(Px(img, 19, 5), 0x000000u);
    EXPECT_EQ(Px(img, 10, 9), 0x000000u);
    EXPECT_EQ(Px(img, 20, 5), 0xFFFFFFu);
}

TEST(Canvas, PenModes) {
    QImage img = White();
    img.setPixel(3, 0, qRgb(0x12, 0x34, 0x56));
    TCanvas c(&img);
    c.Pen.Mode = pmNot;
    c.Pen.Color = clRed; // ignored
    c.MoveTo(0, 0);
    c.LineTo(5, 0);
    EXPECT_EQ(Px(img, 0, 0), 0x000000u);
    EXPECT_EQ(Px(img, 3, 0), 0xEDCBA9u);
    c.MoveTo(0, 0);
    c.LineTo(5, 0);
    EXPECT_EQ(Px(img, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(Px(img, 3, 0), 0x123456u);

    c.Pen.Mode = pmNop;
    c.MoveTo(0, 1);
    c.LineTo(5, 1);
    EXPECT_EQ(Px(img, 2, 1), 0xFFFFFFu);

    // Not-xor shows the pen colour on white and restores on a second draw.
    c.Pen.Mode = pmNotXor;
    c.Pen.Color = clRed;
    c.MoveTo(0, 2);
    c.LineTo(5, 2);
    EXPECT_EQ(Px(img, 2, 2), 0xFF0000u);
    c.MoveTo(0, 2);
    c.LineTo(5, 2);
    EXPECT_EQ(Px(img, 2, 2), 0xFFFFFFu);
}

TEST(Canvas, DottedPenAndClearPen) {
    QImage img = White(20, 2);
    TCanvas c(&img);
    c.Brush.Style = bsClear;
    c.Pen.Style = psDot;
    c.MoveTo(0, 0);
    c.LineTo(12, 0);
    std::string row;
    for (int x = 0; x < 12; ++x)
        row += Px(img, x, 0) == 0 ? '#' : '.';
    EXPECT_EQ(row, "###...###...");

    c.Pen.Style = psClear;
    c.MoveTo(0, 1);
    c.LineTo(12, 1);
    EXPECT_EQ(Px(img, 3, 1), 0xFFFFFFu);
    EXPECT_EQ(c.PenPos, (TPoint{12, 1}));
}

TEST(Canvas, OriginAndClip) {
    QImage img = White();
    TCanvas c;
    c.Bind(&img, {5, 5}, {5, 5, 8, 8});
    c.Brush.Color = clBlack;
    c.FillRect({-10, -10, 100, 100});
    EXPECT_EQ(Marked(img).size(), 9u);
    EXPECT_EQ(Px(img, 5, 5), 0x000000u);
    EXPECT_EQ(Px(img, 8, 8), 0xFFFFFFu);
    EXPECT_EQ(c.Pixel(0, 0), clBlack);
    EXPECT_EQ(c.Pixel(10, 10), -1);
}

TEST(Canvas, PolygonFillAndOutline) {
    QImage img = White();
    TCanvas c(&img);
    c.Brush.Color = clRed;
    c.Pen.Color = clBlack;
    c.Polygon({{2, 2}, {10, 2}, {10, 10}, {2, 10}});
    EXPECT_EQ(Px(img, 2, 2), 0x000000u);
    EXPECT_EQ(Px(img, 10, 10), 0x000000u);
    EXPECT_EQ(Px(img, 6, 6), 0xFF0000u);
    EXPECT_EQ(Px(img, 11, 6), 0xFFFFFFu);
}

TEST(Canvas, Bevel) {
    QImage img = White(10, 10);
    TCanvas c(&img);
    TRect r{0, 0, 6, 5};
    c.Frame3D(r, clRed, clBlue, 1);
    EXPECT_EQ(r, (TRect{1, 1, 5, 4}));
    EXPECT_EQ(Px(img, 0, 0), 0xFF0000u);
    EXPECT_EQ(Px(img, 4, 0), 0xFF0000u);
    EXPECT_EQ(Px(img, 0, 3), 0xFF0000u);
    EXPECT_EQ(Px(img, 5, 0), 0x0000FFu); // top-right corner
    EXPECT_EQ(Px(img, 0, 4), 0x0000FFu); // bottom-left corner
    EXPECT_EQ(Px(img, 5, 4), 0x0000FFu);
    EXPECT_EQ(Px(img, 6, 0), 0xFFFFFFu);
    EXPECT_EQ(Px(img, 2, 2), 0xFFFFFFu);
}

TEST(Canvas, TextMetricsAndLines) {
    TCanvas c;
    int one = c.TextWidth("Caption");
    EXPECT_GT(one, 20);
    EXPECT_LE(one, 41);
    EXPECT_GT(c.TextHeight("Caption"), 8);
    EXPECT_LE(c.TextHeight("Caption"), 15);
    EXPECT_EQ(SplitLines("a\r\nbc\nd"), (std::vector<std::string>{"a\r", "bc", "d"}));

    // Centred text is drawn, with an ampersand like any other character.
    QImage img = White(80, 20);
    c.Bind(&img);
    c.Brush.Style = bsClear;
    c.DrawTextCentered({0, 0, 80, 20}, "&&");
    int minX = 99, maxX = -1;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 80; ++x)
            if (Px(img, x, y) != 0xFFFFFF) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
            }
    ASSERT_GE(maxX, 0);
    int w = c.TextWidth("&&");
    EXPECT_NEAR((minX + maxX) / 2.0, 40.0, 2.0);
    EXPECT_GE(maxX - minX + 3, w);
}

TEST(Canvas, MulDivRoundsToNearest) {
    EXPECT_EQ(MulDiv(1, 1, 2), 1);
    EXPECT_EQ(MulDiv(-1, 1, 2), -1);
    EXPECT_EQ(MulDiv(5, 3, 2), 8);
    EXPECT_EQ(MulDiv(10, 72, 96), 8);
    EXPECT_EQ(MulDiv(2000000000, 2, 4), 1000000000);
    EXPECT_EQ(MulDiv(7, 7, 0), -1);
}

TEST(Canvas, PainterEndsWithTheCanvasOrARebind) {
    // An image takes one painter at a time: a painter left open would keep
    // every later one out.
    QImage img = White();
    {
        TCanvas c(&img);
        c.BeginPainter()->fillRect(QRect(1, 1, 2, 2), Qt::black);
    }
    QPainter after;
    EXPECT_TRUE(after.begin(&img));
    after.end();
    EXPECT_EQ(Px(img, 2, 2), 0x000000u);
    TCanvas c(&img);
    ASSERT_NE(c.BeginPainter(), nullptr);
    QImage other = White();
    c.Bind(&other);
    EXPECT_TRUE(after.begin(&img));
}
