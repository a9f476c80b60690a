// Figures and lines however they are clipped: rectangles, ellipses and
// rounded rectangles against a pixel-by-pixel reading of their rules, and
// lines and dotted lines drawn through small clips matching the same lines
// drawn whole. Bands and viewports rely on both.
#include <QImage>
#include <gtest/gtest.h>
#include <random>

#include "graphics/Canvas.h"
#include "support/TestSupport.h"

using namespace tsb;

namespace {

// Pixel (x, y) is in the ellipse inscribed in [l, r) x [t, b) when its
// centre is.
bool InEllipse(long long x, long long y, long long l, long long t, long long r, long long b) {
    long long w = r - l, h = b - t;
    if (w <= 0 || h <= 0) return false;
    long long ex = 2 * x + 1 - (l + r), ey = 2 * y + 1 - (t + b);
    return ex * ex * h * h + ey * ey * w * w <= w * w * h * h;
}

// The figure's pixels as 0 (outside), 1 (inside) and 2 (outline: inside
// with a 4-neighbour outside), read one pixel at a time.
template <typename Inside> QImage Expected(int size, Inside inside) {
    QImage img(size, size, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            if (!inside(x, y)) continue;
            bool edge =
                !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
            img.setPixel(x, y, edge ? qRgb(0, 0, 0) : qRgb(0, 0, 255));
        }
    return img;
}

} // namespace

TEST(CanvasClip, FiguresMatchTheirPixelRulesAtEverySize) {
    std::mt19937 rng(7);
    auto between = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(rng); };
    for (int n = 0; n < 300; ++n) {
        const int size = 64;
        int l = between(0, 30), t = between(0, 30);
        TRect fig{l, t, l + between(0, 33), t + between(0, 33)};
        int cw = between(0, 40), ch = between(0, 40);
        int kind = n % 3;
        QImage img(size, size, QImage::Format_RGB32);
        img.fill(Qt::white);
        TCanvas canvas(&img);
        canvas.Brush.Color = clBlue;
        canvas.Pen.Color = clBlack;
        if (kind == 0) canvas.Rectangle(fig);
        if (kind == 1) canvas.Ellipse(fig.Left, fig.Top, fig.Right, fig.Bottom);
        if (kind == 2) canvas.RoundRect(fig.Left, fig.Top, fig.Right, fig.Bottom, cw, ch);
        int w = std::min(cw, fig.Width()), h = std::min(ch, fig.Height());
        bool square = kind == 0 || (kind == 2 && (w < 2 || h < 2));
        QImage want = Expected(size, [&](int x, int y) {
            if (!fig.Contains(x, y)) return false;
            if (square) return true;
            if (kind == 1) return InEllipse(x, y, fig.Left, fig.Top, fig.Right, fig.Bottom);
            bool left = 2 * x + 1 < 2 * fig.Left + w, right = 2 * x + 1 > 2 * fig.Right - w;
            bool top = 2 * y + 1 < 2 * fig.Top + h, bottom = 2 * y + 1 > 2 * fig.Bottom - h;
            int el = left ? fig.Left : fig.Right - w, et = top ? fig.Top : fig.Bottom - h;
            if ((left || right) && (top || bottom)) return InEllipse(x, y, el, et, el + w, et + h);
            return true;
        });
        ASSERT_TRUE(img == want) << "kind " << kind << " " << fig.Left << "," << fig.Top << " "
                                 << fig.Width() << "x" << fig.Height() << " corner " << cw << "x"
                                 << ch;
    }
}

TEST(CanvasClip, ClippedDrawingMatchesWholeDrawing) {
    std::mt19937 rng(11);
    auto between = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(rng); };
    const int size = 80;
    for (int n = 0; n < 200; ++n) {
        std::vector<TPoint> points;
        for (int i = 0; i < 4; ++i)
            points.push_back({between(-20, 100), between(-20, 100)});
        if (n % 4 == 0) points[1].Y = points[0].Y; // horizontal and vertical runs
        if (n % 4 == 1) points[1].X = points[0].X;
        TPenStyle style = n % 2 ? psDot : psDash;
        TRect fig{between(-10, 60), between(-10, 60), between(0, 90), between(0, 90)};
        auto draw = [&](TCanvas& c) {
            c.Pen.Style = style;
            c.Pen.Color = clBlack;
            c.Brush.Color = TColor(0x00FF00);
            c.Brush.Style = n % 3 ? bsSolid : bsClear;
            c.Polyline(points);
            c.Pen.Style = psSolid;
            c.Ellipse(fig.Left, fig.Top, fig.Right, fig.Bottom);
            c.RoundRect(fig.Left + 3, fig.Top + 2, fig.Right - 1, fig.Bottom, 12, 9);
        };
        QImage whole(size, size, QImage::Format_RGB32);
        whole.fill(Qt::white);
        TCanvas all(&whole);
        draw(all);
        // The same picture from strips of 7 rows and of 5 columns.
        for (bool rows : {true, false}) {
            QImage pieces(size, size, QImage::Format_RGB32);
            pieces.fill(Qt::white);
            for (int at = 0; at < size; at += rows ? 7 : 5) {
                TCanvas part;
                part.Bind(&pieces, {0, 0},
                          rows ? TRect{0, at, size, at + 7} : TRect{at, 0, at + 5, size});
                draw(part);
            }
            ASSERT_TRUE(pieces == whole) << "case " << n << (rows ? " rows" : " columns");
        }
    }
}
