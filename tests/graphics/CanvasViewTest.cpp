// The vector back end showing a view on a screen: parts painted apart meet
// without a seam, and below a device pixel a unit nothing thin vanishes,
// text too small to read is a light bar and rows of dots too dense are left
// out.
#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "graphics/Canvas.h"

using namespace tsb;
using tsbtest::Px;

namespace {

constexpr int W = 240, H = 160;

void Scene(TCanvas& c) {
    const TPenStyle styles[] = {psSolid, psDash, psDot, psDashDot};
    for (int i = 0; i < 4; ++i) {
        c.Pen.Style = styles[i];
        c.Pen.Color = i % 2 ? clRed : clBlue;
        c.Brush.Style = i == 1 ? bsSolid : bsClear;
        c.Brush.Color = clYellow;
        c.MoveTo(3, 3 + 7 * i);
        c.LineTo(230, 11 + 40 * i);
        c.MoveTo(5 + 9 * i, 40);
        c.LineTo(60 + 9 * i, 157);
    }
    c.Pen.Style = psSolid;
    c.Pen.Color = clBlack;
    c.Pen.Mode = pmNot;
    c.Brush.Style = bsClear;
    c.Ellipse(100, 20, 190, 90);
    c.RoundRect(120, 95, 230, 150, 25, 25);
    c.Pen.Mode = pmCopy;
    c.Pen.Width = 3;
    c.MoveTo(90, 150);
    c.LineTo(200, 60);
    c.Pen.Width = 1;
    c.Brush.Style = bsSolid;
    c.Brush.Color = clLime;
    c.Polygon({{20, 100}, {70, 90}, {50, 140}});
    for (int y = 0; y < H; y += 10)
        c.DotRow(0, y, W / 10, 10, clGray);
    c.Brush.Style = bsClear;
    c.Font.SetSize(10);
    c.TextOut(70, 60, "Pump 12");
}

// The scene at `scale`, painted whole or in a grid of parts.
QImage Draw(double scale, int parts) {
    const int w = int(std::ceil(W * scale)), h = int(std::ceil(H * scale));
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (int i = 0; i < parts * parts; ++i) {
        const QRect area(w * (i % parts) / parts, h * (i / parts) / parts, w / parts + 1,
                         h / parts + 1);
        QPainter painter(&img);
        painter.setClipRect(area);
        painter.scale(scale, scale);
        TCanvas c;
        const TRect page{int(area.left() / scale), int(area.top() / scale),
                         int(std::ceil((area.right() + 1) / scale)),
                         int(std::ceil((area.bottom() + 1) / scale))};
        c.BindView(&painter, {0, 0}, page, scale, area);
        Scene(c);
    }
    return img;
}

} // namespace

TEST(CanvasView, PartsPaintedApartMeetWithoutASeam) {
    for (double scale : {2.0, 1.5, 0.5, 1.0 / 3}) {
        const QImage whole = Draw(scale, 1);
        for (int parts : {3, 7})
            EXPECT_TRUE(Draw(scale, parts) == whole) << scale << " in " << parts;
    }
}

TEST(CanvasView, NothingThinVanishesWhenZoomedOut) {
    QImage img(100, 100, QImage::Format_RGB32);
    for (int row = 10; row < 14; ++row) {
        img.fill(Qt::white);
        QPainter painter(&img);
        painter.scale(0.25, 0.25);
        TCanvas c;
        c.BindView(&painter, {0, 0}, {0, 0, 400, 400}, 0.25, img.rect());
        c.MoveTo(0, row); // rows 10 to 13 all fall in device row 2 or 3
        c.LineTo(400, row);
        c.SetPixel(201, 301, clRed);
        painter.end();
        const int y = (4 * row + 2) / 16;
        for (int x = 0; x < 100; x += 9)
            EXPECT_EQ(Px(img, x, y), 0u) << row;
        EXPECT_EQ(Px(img, 50, 75), 0xFF0000u);
    }
}

TEST(CanvasView, SmallTextIsABarAndDenseDotsAreLeftOut) {
    // Text 13 pixels high at a tenth: a light bar of the text's extent.
    QImage img(60, 40, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter painter(&img);
    painter.scale(0.1, 0.1);
    TCanvas c;
    c.BindView(&painter, {0, 0}, {0, 0, 600, 400}, 0.1, img.rect());
    c.Font.SetColor(clBlack);
    c.Brush.Style = bsClear;
    const std::string text = "A caption of some length";
    c.TextOut(100, 100, text);
    c.DotRow(0, 300, 30, 20, clBlack); // 2 device pixels apart: left out
    c.DotRow(0, 200, 10, 50, clBlack); // 5 apart: kept
    painter.end();
    const int right = (100 + c.TextWidth(text)) / 10;
    int bar = 0;
    for (int y = 9; y < 12; ++y)
        for (int x = 10; x < right; ++x) {
            ASSERT_NE(Px(img, x, y), 0u) << "no dark pixel of a glyph";
            bar += Px(img, x, y) == 0xAAAAAAu;
        }
    EXPECT_GE(bar, right - 10);
    for (int x = 0; x < 60; ++x)
        EXPECT_EQ(Px(img, x, 30), 0xFFFFFFu);
    for (int x = 0; x < 50; x += 5)
        EXPECT_EQ(Px(img, x, 20), 0u);
    EXPECT_EQ(Px(img, 2, 20), 0xFFFFFFu);
}

TEST(CanvasView, ZoomedOutCurvesLieOnTheirEdgeAndAreFilled) {
    // An ellipse of 300 x 180 and a rounded rectangle at a third: the
    // outline's device pixels lie on the edge pixels' centre line, and no
    // column of its top is left without one; the inside takes the brush.
    for (const bool rounded : {false, true}) {
        QImage img(100, 60, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter painter(&img);
        painter.scale(1.0 / 3, 1.0 / 3);
        TCanvas c;
        c.BindView(&painter, {0, 0}, {0, 0, 300, 180}, 1.0 / 3, img.rect());
        c.Brush.Style = bsSolid;
        c.Brush.Color = clYellow;
        if (rounded)
            c.RoundRect(0, 0, 300, 180, 300, 180); // corners the whole size: an ellipse
        else
            c.Ellipse(0, 0, 300, 180);
        painter.end();
        const double a = 149.5 / 3, b = 89.5 / 3;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 100; ++x) {
                if (Px(img, x, y) != 0u) continue;
                // The pixel's middle, a device pixel at most off the line.
                const double dx = (x + 0.5 - 50) / a, dy = (y + 0.5 - 30) / b;
                const double off = std::abs(std::hypot(dx, dy) - 1) * std::min(a, b);
                EXPECT_LE(off, 1.0) << rounded << " at " << x << "," << y;
            }
        for (int x = 3; x < 97; ++x) {
            bool found = false;
            for (int y = 0; y < 30; ++y)
                found |= Px(img, x, y) == 0u;
            EXPECT_TRUE(found) << rounded << " column " << x;
        }
        EXPECT_EQ(Px(img, 50, 30), 0xFFFF00u);
    }
}
