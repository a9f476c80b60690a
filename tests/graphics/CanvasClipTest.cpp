// Figures and lines however they are clipped: rectangles, ellipses and
// rounded rectangles against a pixel-by-pixel reading of their rules, also
// where a figure of the largest size a diagram holds crosses the page, and
// lines and dotted lines drawn through small clips matching the same lines
// walked whole. Bands and viewports rely on both.
#include <QImage>
#include <gtest/gtest.h>
#include <random>

#include "graphics/Canvas.h"
#include "graphics/CanvasDetail.h"
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
template <typename Inside> QImage Expected(int size, Inside inside, int height = 0) {
    QImage img(size, height ? height : size, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (int y = 0; y < img.height(); ++y)
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

TEST(CanvasClip, FiguresOfTheLargestSizeFollowTheirExactCurveAcrossThePage) {
    // Ellipses whose width is one or two times their height reduce to
    // ex^2 + (w/h)^2 ey^2 <= w^2 in half pixels from the middle: exact in
    // 64 bits at these sizes, where the general rule's products are not.
    const int big = 1000000;
    struct TCase {
        TRect Fig;
        int Corner; // 0: an ellipse; else a rounded rectangle's corner
    };
    // Each figure's edge runs across the 800 x 600 page: from the upper left,
    // the lower right, through the middle, and a corner's arc.
    const TCase cases[] = {{{-853153, -853253, -853153 + big, -853253 + big}, 0},
                           {{-146047, -146147, -146047 + big, -146147 + big}, 0},
                           {{400 - big, 300 - big / 4, 400, 300 + big / 4}, 0},
                           {{-499500, 100, 500500, 100 + big / 2}, 0},
                           {{-146037, -146154, -146037 + 3 * big, -146154 + 2 * big}, big}};
    for (const TCase& c : cases) {
        QImage img(800, 600, QImage::Format_RGB32);
        img.fill(Qt::white);
        TCanvas canvas(&img);
        canvas.Brush.Color = clBlue;
        canvas.Pen.Color = clBlack;
        const TRect& f = c.Fig;
        if (c.Corner)
            canvas.RoundRect(f.Left, f.Top, f.Right, f.Bottom, c.Corner, c.Corner);
        else
            canvas.Ellipse(f.Left, f.Top, f.Right, f.Bottom);
        auto inEllipse = [](long long x, long long y, long long l, long long t, long long r,
                            long long b) {
            const long long w = r - l, h = b - t, ratio = w / h;
            const long long ex = 2 * x + 1 - (l + r), ey = 2 * y + 1 - (t + b);
            return ex * ex + ratio * ratio * ey * ey <= w * w;
        };
        const QImage want = Expected(
            800,
            [&](int x, int y) {
                if (!f.Contains(x, y)) return false;
                if (!c.Corner) return inEllipse(x, y, f.Left, f.Top, f.Right, f.Bottom);
                // The upper left corner is the one on the page.
                if (x >= f.Left + c.Corner / 2 || y >= f.Top + c.Corner / 2) return true;
                return inEllipse(x, y, f.Left, f.Top, f.Left + c.Corner, f.Top + c.Corner);
            },
            600);
        int inside = 0;
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x)
                inside += tsbtest::Px(want, x, y) != 0xFFFFFFu;
        EXPECT_GT(inside, 1000) << f.Left;             // the edge is on the page,
        EXPECT_LT(inside, 800 * 600 - 1000) << f.Left; // not beside it
        EXPECT_TRUE(img == want) << f.Left << "," << f.Top;
    }
}

namespace {

// The pixels of the line walked whole, step by step, with the pen's pattern
// counted from `step`: the pen's colour where the pattern is on, the brush's
// in its gaps. Returns where the pattern stands after the line.
long long WalkWhole(QImage& img, const TRect& clip, long long x, long long y, long long ex,
                    long long ey, long long step, TPenStyle style, bool gaps) {
    const auto& pattern = canvas_detail::StylePattern(style);
    int period = 0;
    for (int n : pattern)
        period += n;
    const long long dx = std::llabs(ex - x), dy = std::llabs(ey - y);
    const int sx = x < ex ? 1 : -1, sy = y < ey ? 1 : -1;
    long long err = dx - dy;
    while (x != ex || y != ey) {
        bool on = true;
        if (period) {
            long long at = step % period;
            for (std::size_t i = 0; i < pattern.size(); at -= pattern[i++])
                if (at < pattern[i]) {
                    on = i % 2 == 0;
                    break;
                }
            ++step;
        }
        if (clip.Contains(int(x), int(y)) && (on || gaps))
            img.setPixel(int(x), int(y), on ? qRgb(0, 0, 0) : qRgb(0, 255, 0));
        const long long e2 = 2 * err;
        if (e2 > -dy) err -= dy, x += sx;
        if (e2 < dx) err += dx, y += sy;
    }
    return step;
}

} // namespace

TEST(CanvasClip, LinesCutToTheClipAreThePixelsOfTheWholeWalk) {
    std::mt19937 rng(23);
    auto between = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(rng); };
    const TPenStyle styles[] = {psSolid, psDash, psDot, psDashDot, psDashDotDot};
    const int size = 48;
    for (int n = 0; n < 400; ++n) {
        // Near lines, lines from far away through the image, lines far
        // beside it, and ends a million pixels off.
        const int reach = n % 4 == 0 ? 1000000 : n % 4 == 1 ? 3000 : 100;
        std::vector<TPoint> points;
        for (int i = 0; i < 3; ++i)
            points.push_back({between(-reach, reach + size), between(-reach, reach + size)});
        if (n % 8 == 0) points[1].Y = points[0].Y; // runs along a row or a column
        if (n % 8 == 4) points[1].X = points[0].X;
        if (n % 16 == 2) points[2] = {between(-reach, -reach / 2), between(0, size)}; // beside
        // Slopes of one half and two, where the walk meets a half pixel
        // at every other step.
        const int t = between(-reach, reach);
        if (n % 16 == 6) points[1] = {points[0].X + 2 * t, points[0].Y + t};
        if (n % 16 == 10) points[1] = {points[0].X - t, points[0].Y + 2 * t};
        const TRect clip{between(0, 20), between(0, 20), between(20, size), between(20, size)};
        const TPenStyle style = styles[n % 5];
        const bool gaps = n % 3 == 0;
        QImage drawn(size, size, QImage::Format_RGB32), walked = drawn;
        drawn.fill(Qt::white);
        walked.fill(Qt::white);
        TCanvas canvas;
        canvas.Bind(&drawn, {0, 0}, clip);
        canvas.Pen.Style = style;
        canvas.Brush.Style = gaps ? bsSolid : bsClear;
        canvas.Brush.Color = TColor(0x00FF00);
        canvas.Polyline(points);
        long long step = 0;
        for (int i = 0; i + 1 < 3; ++i)
            step = WalkWhole(walked, clip, points[i].X, points[i].Y, points[i + 1].X,
                             points[i + 1].Y, step, style, gaps);
        ASSERT_TRUE(drawn == walked) << "case " << n;
    }
}
