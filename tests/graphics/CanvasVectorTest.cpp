// The canvas's vector back end against its raster one: the same calls on an
// image and on SVG and PDF documents, the documents rasterised at one pixel
// per unit by Qt's renderer, librsvg and poppler.
#include <QPainter>
#include <QPicture>
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

// Where the scene has curves, slanted lines, text and pictures.
const tsbtest::TLooseAreas SceneAreas = {{
                                             {4, 49, 78, 103},   // slanted lines
                                             {59, 49, 58, 93},   // polylines
                                             {126, 12, 80, 64},  // wide lines
                                             {264, 9, 52, 42},   // ellipse
                                             {209, 49, 62, 42},  // rounded rectangle
                                             {279, 59, 32, 42},  // ellipse
                                             {184, 99, 57, 42},  // rounded rectangle
                                             {10, 150, 214, 82}, // polygons
                                         },
                                         {{130, 137, 80, 18}},
                                         {{262, 205, 12, 8}, {280, 205, 12, 8}, {295, 205, 20, 20}},
                                         {}};

QImage Raster(const std::function<void(TCanvas&)>& draw, const TRect& clip) {
    QImage image(W, H, QImage::Format_RGB32);
    image.fill(Qt::white);
    TCanvas canvas;
    canvas.Bind(&image, {0, 0}, clip);
    draw(canvas);
    canvas.EndPainter();
    return image;
}

std::function<void(QPainter&)> OnPainter(const std::function<void(TCanvas&)>& draw,
                                         const TRect& clip) {
    return [=](QPainter& painter) {
        TCanvas canvas;
        canvas.BindPainter(&painter, {0, 0}, clip);
        draw(canvas);
    };
}

// The drawing on a vector device, rasterised by each renderer.
struct TRenderer {
    const tsbtest::TTolerance& Tolerance;
    QImage (*Render)(const std::function<void(TCanvas&)>& draw, const TRect& clip);
};
const TRenderer Renderers[] = {
    {tsbtest::QtSvgTolerance,
     [](const std::function<void(TCanvas&)>& draw, const TRect& clip) {
         return tsbtest::RasteriseSvg(tsbtest::DrawSvg(W, H, OnPainter(draw, clip)), W, H);
     }},
    {tsbtest::RsvgTolerance,
     [](const std::function<void(TCanvas&)>& draw, const TRect& clip) {
         return tsbtest::RasteriseWithRsvg(tsbtest::DrawSvg(W, H, OnPainter(draw, clip)), W, H);
     }},
    {tsbtest::PopplerTolerance,
     [](const std::function<void(TCanvas&)>& draw, const TRect& clip) {
         return tsbtest::RasteriseWithPoppler(tsbtest::DrawPdf(W, H, OnPainter(draw, clip)));
     }},
};

QImage Vector(const std::function<void(TCanvas&)>& draw, const TRect& clip) {
    return Renderers[0].Render(draw, clip);
}

} // namespace

TEST(CanvasVector, DrawsWhatTheRasterCanvasDraws) {
    const TRect whole{0, 0, W, H};
    const QImage raster = Raster(Scene, whole);
    for (const TRenderer& renderer : Renderers)
        tsbtest::ExpectSameDrawing(raster, renderer.Render(Scene, whole), SceneAreas,
                                   renderer.Tolerance, "canvas");
}

TEST(CanvasVector, CutsEverythingToTheClipItself) {
    // SVG documents do not clip: the canvas cuts its figures itself.
    const TRect clip{40, 30, 280, 200};
    const QImage raster = Raster(Scene, clip);
    for (const TRenderer& renderer : Renderers) {
        const QImage vector = renderer.Render(Scene, clip);
        // Inside the clip, the same drawing; outside it, nothing.
        const QRect inside(clip.Left, clip.Top, clip.Width(), clip.Height());
        tsbtest::TLooseAreas shifted = SceneAreas;
        for (auto* areas : {&shifted.Curves, &shifted.Text, &shifted.Pictures})
            for (QRect& r : *areas)
                r.translate(-inside.topLeft());
        tsbtest::ExpectSameDrawing(raster.copy(inside), vector.copy(inside), shifted,
                                   renderer.Tolerance, "canvas-clip");
        // Poppler may touch the row or column beside the clip.
        const int m = &renderer.Tolerance == &tsbtest::PopplerTolerance ? 1 : 0;
        const TRect reach{clip.Left - m, clip.Top - m, clip.Right + m, clip.Bottom + m};
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                if (!reach.Contains(x, y)) {
                    ASSERT_EQ(vector.pixel(x, y) & 0xFFFFFFu, 0xFFFFFFu)
                        << renderer.Tolerance.Renderer << " " << x << "," << y;
                }
    }
}

TEST(CanvasVector, TheComparisonFailsOnAMissingLineSlantedLineOrRowOfDots) {
    // The raster drawing has one thing more than the vector one.
    const std::function<void(TCanvas&)> extras[] = {
        [](TCanvas& c) { // 310 pixels along the bottom
            c.MoveTo(5, 237);
            c.LineTo(315, 237);
        },
        [](TCanvas& c) { // through the area of slanted lines
            c.MoveTo(8, 150);
            c.LineTo(78, 52);
        },
        [](TCanvas& c) { c.DotRow(130, 1, 18, 10, clBlack); },
    };
    const TRect whole{0, 0, W, H};
    for (const TRenderer& renderer : Renderers) {
        const QImage vector = renderer.Render(Scene, whole);
        for (const auto& extra : extras) {
            const QImage raster = Raster(
                [&](TCanvas& c) {
                    Scene(c);
                    c.Pen = TPen();
                    extra(c);
                },
                whole);
            const auto d = tsbtest::CompareDrawings(raster, vector, SceneAreas, renderer.Tolerance);
            EXPECT_FALSE(d.Alike(renderer.Tolerance)) << renderer.Tolerance.Renderer;
            EXPECT_GT(d.Uncovered, 0) << renderer.Tolerance.Renderer;
        }
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
    EXPECT_TRUE(Raster(draw, {0, 0, W, H}) == vector);
}

TEST(CanvasVector, TheShadowMarksWhereInvertingPensMeetDrawing) {
    // The vector drawing differs from the screen exactly there.
    QImage marks(W, H, QImage::Format_Grayscale8);
    marks.fill(0);
    TRasterShadow shadow{QImage(W, H, QImage::Format_RGB32), false, &marks};
    shadow.Image.fill(Qt::white);
    QPicture picture;
    QPainter painter(&picture);
    TCanvas c;
    c.BindPainter(&painter, {0, 0}, {0, 0, W, H}, &shadow);
    c.Brush.Color = clGray;
    c.FillRect({10, 10, 20, 20});
    c.Pen.Mode = pmNot;
    c.MoveTo(5, 15); // across the fill
    c.LineTo(30, 15);
    c.Pen.Mode = pmNotXor;
    c.MoveTo(5, 40); // over the white page only
    c.LineTo(30, 40);
    c.Unbind();
    EXPECT_TRUE(shadow.InvertedDrawing);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            ASSERT_EQ(marks.constScanLine(y)[x] != 0, y == 15 && x >= 10 && x < 20)
                << x << "," << y;
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
    EXPECT_TRUE(raster == tsbtest::RasteriseSvg(svg, W, H));
    // Two dashed lines, a filled run and a single dot, however many dots.
    EXPECT_EQ(svg.count("stroke-dasharray=\"1,"), 2);
    EXPECT_LT(svg.size(), 6000);
}
