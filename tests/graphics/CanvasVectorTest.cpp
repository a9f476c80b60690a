// The canvas's vector back end against its raster one: the same calls on an
// image and on an SVG document, the document rasterised at one pixel per unit.
#include <QPainter>
#include <gtest/gtest.h>

#include "VectorCompare.h"
#include "graphics/Canvas.h"

using namespace tsb;

namespace {

constexpr int W = 320, H = 240;

// Every primitive with the pens, brushes and modes the program uses.
void Scene(TCanvas& c) {
    // Lines of every slope and style, thin and wide.
    const TPenStyle styles[] = {psSolid, psDash, psDot, psDashDot, psDashDotDot};
    for (int i = 0; i < 5; ++i) {
        c.Pen.Style = styles[i];
        c.Pen.Color = i % 2 ? clRed : clBlue;
        c.Brush.Style = i == 1 ? bsSolid : bsClear;
        c.Brush.Color = clYellow;
        c.MoveTo(5, 5 + 8 * i);
        c.LineTo(120, 5 + 8 * i);
        c.MoveTo(5 + 8 * i, 50);
        c.LineTo(40 + 8 * i, 150);
        c.Polyline({{60, 50 + 10 * i}, {110, 60 + 10 * i}, {115, 100 + 10 * i}});
    }
    c.Brush.Style = bsClear;
    c.Pen.Style = psSolid;
    for (int width : {2, 3, 5}) {
        c.Pen.Width = width;
        c.MoveTo(130, 10 * width);
        c.LineTo(200, 10 * width + 20);
    }
    c.Pen.Width = 1;
    // Figures, filled and outlined, with copy and inverting pens.
    c.Brush.Style = bsSolid;
    c.Brush.Color = clAqua;
    c.Pen.Color = clNavy;
    c.Rectangle(210, 10, 260, 40);
    c.Ellipse(265, 10, 315, 50);
    c.RoundRect(210, 50, 270, 90, 14, 14);
    c.Brush.Style = bsClear;
    c.Rectangle(275, 60, 276, 90); // one pixel wide
    c.Ellipse(280, 60, 310, 100);
    c.Pen.Mode = pmNot;
    c.Rectangle(130, 100, 180, 130);
    c.RoundRect(185, 100, 240, 140, 12, 12);
    c.Pen.Mode = pmNotXor;
    c.Pen.Color = clRed;
    c.MoveTo(245, 100);
    c.LineTo(245, 160);
    c.Pen.Mode = pmCopy;
    // Polygons: filled, outlined, dashed and wide.
    c.Pen.Color = clBlack;
    c.Brush.Style = bsSolid;
    c.Brush.Color = clLime;
    c.Polygon({{20, 170}, {60, 160}, {50, 220}});
    c.Brush.Style = bsClear;
    c.Polygon({{70, 170}, {110, 160}, {100, 220}, {80, 200}});
    c.Pen.Style = psDash;
    c.Polygon({{120, 170}, {170, 165}, {150, 230}});
    c.Pen.Style = psSolid;
    c.Pen.Width = 3;
    c.Polygon({{180, 170}, {220, 165}, {210, 225}});
    c.Pen.Width = 1;
    // Fills, pixels, bevels, text and pictures.
    c.Brush.Style = bsSolid;
    c.Brush.Color = clSilver;
    c.FillRect({250, 170, 315, 235});
    c.SetPixel(255, 175, clRed);
    TRect r{260, 180, 310, 200};
    c.Frame3D(r, clWhite, clGray, 2);
    c.Font.SetHeight(-11);
    c.Brush.Style = bsClear;
    c.Font.SetColor(clBlack);
    c.TextOut(132, 140, "Pump station");
    QImage picture(12, 8, QImage::Format_RGB32);
    picture.fill(Qt::magenta);
    picture.setPixel(3, 3, qRgb(0, 128, 0));
    c.Draw(262, 205, picture);
    c.DrawTransparent(280, 205, picture, 0xFF00FF);
    c.StretchDraw({295, 205, 315, 225}, picture);
}

QImage Raster(const std::function<void(TCanvas&)>& draw, const TRect& clip) {
    QImage image(W, H, QImage::Format_RGB32);
    image.fill(Qt::white);
    TCanvas canvas;
    canvas.Bind(&image, {0, 0}, clip);
    draw(canvas);
    canvas.EndPainter();
    return image;
}

QImage Vector(const std::function<void(TCanvas&)>& draw, const TRect& clip) {
    QByteArray svg = tsbtest::DrawSvg(W, H, [&](QPainter& painter) {
        TCanvas canvas;
        canvas.BindPainter(&painter, {0, 0}, clip);
        draw(canvas);
        canvas.EndPainter();
    });
    return tsbtest::RasteriseSvg(svg, W, H);
}

} // namespace

TEST(CanvasVector, DrawsWhatTheRasterCanvasDraws) {
    const TRect whole{0, 0, W, H};
    QImage raster = Raster(Scene, whole);
    QImage vector = Vector(Scene, whole);
    tsbtest::TDifference d = tsbtest::Compare(raster, vector);
    EXPECT_GE(d.Equal, 0.99) << d.Pixels << " pixels differ";
    EXPECT_EQ(d.FarFromEdge, 0) << "first at " << d.FirstFar;
    if (d.Pixels > 0) {
        raster.save("/tmp/canvas-raster.png");
        vector.save("/tmp/canvas-vector.png");
    }
}

TEST(CanvasVector, CutsEverythingToTheClipItself) {
    // SVG documents do not clip: the canvas cuts its figures itself.
    const TRect clip{40, 30, 280, 200};
    QImage raster = Raster(Scene, clip);
    QImage vector = Vector(Scene, clip);
    tsbtest::TDifference d = tsbtest::Compare(raster, vector);
    EXPECT_GE(d.Equal, 0.99);
    EXPECT_EQ(d.FarFromEdge, 0) << "first at " << d.FirstFar;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (!clip.Contains(x, y)) {
                ASSERT_EQ(vector.pixel(x, y) & 0xFFFFFFu, 0xFFFFFFu) << x << "," << y;
            }
}

TEST(CanvasVector, InvertingPensDrawWhatTheyGiveOverAWhitePage) {
    auto draw = [](TCanvas& c) {
        c.Brush.Style = bsClear;
        c.Pen.Mode = pmNot;
        c.Rectangle(10, 10, 30, 30);
        c.Pen.Mode = pmNotXor;
        c.Pen.Color = clRed;
        c.MoveTo(40, 10);
        c.LineTo(40, 30);
        c.Pen.Mode = pmNop;
        c.Rectangle(50, 10, 70, 30);
    };
    QImage vector = Vector(draw, {0, 0, W, H});
    EXPECT_EQ(vector.pixel(10, 10) & 0xFFFFFFu, 0u);
    EXPECT_EQ(vector.pixel(40, 20) & 0xFFFFFFu, 0xFF0000u);
    EXPECT_EQ(vector.pixel(50, 10) & 0xFFFFFFu, 0xFFFFFFu);
    EXPECT_TRUE(tsbtest::Compare(Raster(draw, {0, 0, W, H}), vector).Pixels == 0);
}

TEST(CanvasVector, RowsOfDotsAreTheSamePixelsAndOneLineEach) {
    // Rows of every spacing, some cut by the clip on either side.
    auto rows = [](TCanvas& c) {
        c.DotRow(-7, 10, 40, 20, clGray); // starts left of the clip
        c.DotRow(3, 20, 100, 7, clRed);   // runs past the right of the clip
        c.DotRow(10, 30, 50, 1, clBlue);  // a solid run
        c.DotRow(100, 40, 1, 20, clBlack);
        c.DotRow(100, 50, 0, 20, clBlack);  // nothing
        c.DotRow(10, 5, 10, 20, clBlack);   // above the clip
        c.DotRow(290, 60, 10, 20, clBlack); // wholly right of the clip
    };
    const TRect clip{5, 8, 280, 200};
    QImage raster = Raster(rows, clip);
    QImage expected(W, H, QImage::Format_RGB32);
    expected.fill(Qt::white);
    auto plot = [&](int x, int y, int count, int step, QRgb colour) {
        for (int i = 0; i < count; ++i)
            if (clip.Contains(x + i * step, y)) expected.setPixel(x + i * step, y, colour);
    };
    plot(-7, 10, 40, 20, 0x808080);
    plot(3, 20, 100, 7, 0xFF0000);
    plot(10, 30, 50, 1, 0x0000FF);
    plot(100, 40, 1, 20, 0);
    EXPECT_TRUE(raster == expected);
    QByteArray svg = tsbtest::DrawSvg(W, H, [&](QPainter& painter) {
        TCanvas canvas;
        canvas.BindPainter(&painter, {0, 0}, clip);
        rows(canvas);
    });
    EXPECT_EQ(tsbtest::Compare(raster, tsbtest::RasteriseSvg(svg, W, H)).Pixels, 0);
    // Two dashed lines, a filled run and a single dot, however many dots.
    EXPECT_EQ(svg.count("stroke-dasharray=\"1,"), 2);
    EXPECT_LT(svg.size(), 6000);
}
