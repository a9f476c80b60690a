#include "graphics/Canvas.h"

#include "graphics/CanvasDetail.h"
#include "graphics/Graphic.h"
#include "graphics/QtConvert.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <unordered_map>

namespace tsb {

namespace {

std::uint32_t ToRgb(TColor c) {
    return ColorToRGB(c);
}

TColor FromRgb(std::uint32_t rgb) {
    return static_cast<TColor>(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
}

QPainter::CompositionMode RasterOp(TPenMode mode) {
    switch (mode) {
    case pmNot:
        return QPainter::RasterOp_NotDestination;
    case pmNotXor:
        return QPainter::RasterOp_NotSourceXorDestination;
    case pmXor:
        return QPainter::RasterOp_SourceXorDestination;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

} // namespace

namespace canvas_detail {

const std::vector<int>& StylePattern(TPenStyle style) {
    static const std::vector<int> dash{18, 6};
    static const std::vector<int> dot{3, 3};
    static const std::vector<int> dashDot{9, 6, 3, 6};
    static const std::vector<int> dashDotDot{9, 3, 3, 3, 3, 3};
    static const std::vector<int> none;
    switch (style) {
    case psDash:
        return dash;
    case psDot:
        return dot;
    case psDashDot:
        return dashDot;
    case psDashDotDot:
        return dashDotDot;
    default:
        return none;
    }
}

bool StyleOn(TPenStyle style, std::int64_t step) {
    const auto& pattern = StylePattern(style);
    if (pattern.empty()) return true;
    int period = 0;
    for (int n : pattern)
        period += n;
    std::int64_t at = step % period;
    if (at < 0) at += period;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (at < pattern[i]) return i % 2 == 0;
        at -= pattern[i];
    }
    return true;
}

bool InEllipse(std::int64_t x, std::int64_t y, std::int64_t l, std::int64_t t, std::int64_t r,
               std::int64_t b) {
    const std::int64_t w = r - l, h = b - t;
    if (w <= 0 || h <= 0) return false;
    // The centre's offsets from the middle, in half pixels.
    const std::int64_t ex = std::abs(2 * x + 1 - (l + r)), ey = std::abs(2 * y + 1 - (t + b));
    if (ex > w || ey > h) return false;
    // ex^2 h^2 + ey^2 w^2 <= w^2 h^2, with no term above w^2 h^2 < 2^128.
    __extension__ typedef unsigned __int128 U;
    const U uw = U(w), uh = U(h), ux = U(ex), uy = U(ey);
    return ux * ux * uh * uh <= uw * uw * (uh * uh - uy * uy);
}

} // namespace canvas_detail

using canvas_detail::InEllipse;
using canvas_detail::Int128;
using canvas_detail::StyleOn;
using canvas_detail::StylePattern;
using canvas_detail::WalkLine;

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string current;
    for (char c : text) {
        if (c == '\n') {
            lines.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    lines.push_back(current);
    return lines;
}

TCanvas::TCanvas(QImage* device) {
    Bind(device);
}

void TCanvas::Bind(QImage* device) {
    Bind(device, {0, 0}, device ? TRect{0, 0, device->width(), device->height()} : TRect{});
}

void TCanvas::Bind(QImage* device, TPoint origin, const TRect& clip) {
    EndPainter();
    FVector = nullptr;
    OnDamage = nullptr;
    FDevice = device;
    FOrigin = origin;
    FClip = device ? clip.Intersect({0, 0, device->width(), device->height()}) : TRect{};
}

void TCanvas::Plot(int dx, int dy, std::uint32_t rgb, TPenMode mode) {
    if (!FClip.Contains(dx, dy) || mode == pmNop) return;
    auto* line = reinterpret_cast<std::uint32_t*>(FDevice->scanLine(dy));
    std::uint32_t& p = line[dx];
    if (FShadow && mode != pmCopy && (p & 0xFFFFFFu) != 0xFFFFFFu) FShadow->InvertedDrawing = true;
    switch (mode) {
    case pmCopy:
        p = 0xFF000000u | rgb;
        break;
    case pmNot:
        p = 0xFF000000u | (~p & 0xFFFFFFu);
        break;
    case pmNotXor:
        p = 0xFF000000u | (~(rgb ^ p) & 0xFFFFFFu);
        break;
    case pmXor:
        p = 0xFF000000u | ((rgb ^ p) & 0xFFFFFFu);
        break;
    case pmNop:
        break;
    }
}

void TCanvas::MoveTo(int x, int y) {
    PenPos = {x, y};
    FStyleStep = 0;
}

void TCanvas::LineTo(int x, int y) {
    TShadowScope shadow(*this, [&] { LineTo(x, y); });
    if (Ready() && Pen.Style != psClear) {
        if (FVector && Pen.Width <= 1)
            VectorThinLine(PenPos.X, PenPos.Y, x, y);
        else if (Pen.Width > 1)
            WideLine(PenPos.X, PenPos.Y, x, y);
        else
            ThinLine(PenPos.X, PenPos.Y, x, y);
    }
    PenPos = {x, y};
}

void TCanvas::StyledPixel(int dx, int dy, std::int64_t step) {
    if (StyleOn(Pen.Style, step))
        Plot(dx, dy, ToRgb(Pen.Color), Pen.Mode);
    else if (Brush.Style == bsSolid)
        Plot(dx, dy, ToRgb(Brush.Color), Pen.Mode);
}

void TCanvas::ThinLine(int x1, int y1, int x2, int y2) {
    const int x = x1 + FOrigin.X, y = y1 + FOrigin.Y;
    const int ex = x2 + FOrigin.X, ey = y2 + FOrigin.Y;
    const std::int64_t start = FStyleStep;
    TRect box{std::min(x, ex), std::min(y, ey), std::max(x, ex) + 1, std::max(y, ey) + 1};
    if (!box.Intersect(FClip).IsEmpty()) Damage(box);
    // A styled pen's pattern runs on over the pixels clipped away, so a line
    // looks the same however it is clipped.
    const std::int64_t n = WalkLine(FClip, x, y, ex, ey, [&](int px, int py, std::int64_t i) {
        StyledPixel(px, py, start + i);
    });
    if (!StylePattern(Pen.Style).empty()) FStyleStep = start + n;
}

void TCanvas::WideLine(int x1, int y1, int x2, int y2) {
    // A wide inverting line is not checked pixel by pixel.
    if (FShadow && !FVector && Pen.Mode != pmCopy && Pen.Mode != pmNop)
        FShadow->InvertedDrawing = true;
    if (FVector) {
        QPainterPath path(QPointF(x1 + FOrigin.X + 0.5, y1 + FOrigin.Y + 0.5));
        path.lineTo(x2 + FOrigin.X + 0.5, y2 + FOrigin.Y + 0.5);
        VectorWideLine(path);
        return;
    }
    QPainter* p = BeginPainter();
    if (!p) return;
    QColor c = QColor::fromRgb(ToRgb(Pen.Color));
    p->setCompositionMode(RasterOp(Pen.Mode));
    if (Pen.Mode == pmNot) c = Qt::white;
    QPen pen(c, Pen.Width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p->setPen(pen);
    p->setBrush(Qt::NoBrush);
    if (Pen.Mode != pmNop) p->drawLine(QPointF(x1 + 0.5, y1 + 0.5), QPointF(x2 + 0.5, y2 + 0.5));
    EndPainter();
}

void TCanvas::Polyline(const std::vector<TPoint>& points) {
    TShadowScope shadow(*this, [&] { Polyline(points); });
    if (points.empty()) return;
    MoveTo(points[0].X, points[0].Y);
    for (std::size_t i = 1; i < points.size(); ++i)
        LineTo(points[i].X, points[i].Y);
}

void TCanvas::ApplyMask(const TRect& box, const std::vector<std::uint8_t>& mask, bool outline) {
    Damage(box);
    std::uint32_t brush = ToRgb(Brush.Color);
    std::uint32_t pen = ToRgb(Pen.Color);
    bool fill = Brush.Style == bsSolid;
    int w = box.Width();
    for (int y = box.Top; y < box.Bottom; ++y) {
        for (int x = box.Left; x < box.Right; ++x) {
            std::uint8_t m = mask[static_cast<std::size_t>((y - box.Top) * w + (x - box.Left))];
            if (m == 2) {
                if (outline) Plot(x, y, pen, Pen.Mode);
            } else if (m == 1 && fill)
                Plot(x, y, brush, Pen.Mode);
        }
    }
}

// The figure's box in device pixels, corners put in order.
TRect TCanvas::DeviceBox(int x1, int y1, int x2, int y2) const {
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    return TRect{x1, y1, x2, y2}.Offset(FOrigin.X, FOrigin.Y);
}

// The figures (rectangles, ellipses, rounded rectangles) are symmetric and
// convex: the inside pixels of each row form one run around the middle
// column, whose ends are found by halving. A pixel of the run is outline
// when a 4-neighbour lies outside the figure.
void TCanvas::DrawFigure(const TRect& fig, const std::function<bool(int, int)>& inside) {
    TRect box = fig.Intersect(FClip);
    if (box.IsEmpty()) return;
    const int middle = fig.Left + (fig.Width() - 1) / 2;
    auto run = [&](int y, int& left, int& right) {
        left = right = middle;
        if (y < fig.Top || y >= fig.Bottom || !inside(middle, y)) return;
        int lo = fig.Left, hi = middle; // first inside column
        while (lo < hi) {
            int mid = lo + (hi - lo) / 2;
            if (inside(mid, y))
                hi = mid;
            else
                lo = mid + 1;
        }
        left = lo;
        lo = middle + 1, hi = fig.Right; // first outside column after the middle
        while (lo < hi) {
            int mid = lo + (hi - lo) / 2;
            if (inside(mid, y))
                lo = mid + 1;
            else
                hi = mid;
        }
        right = lo;
    };
    // Each pixel is touched once: the run's outline parts with the pen, the
    // part between them with the brush.
    Damage(box);
    const bool outline = Pen.Style != psClear;
    const bool fill = Brush.Style == bsSolid;
    const std::uint32_t pen = ToRgb(Pen.Color), brush = ToRgb(Brush.Color);
    auto span = [&](int x0, int x1, int y, std::uint32_t rgb) {
        x0 = std::max(x0, box.Left);
        x1 = std::min(x1, box.Right);
        if (x0 >= x1) return;
        auto* line = reinterpret_cast<std::uint32_t*>(FDevice->scanLine(y));
        if (Pen.Mode == pmCopy) {
            std::fill(line + x0, line + x1, 0xFF000000u | rgb);
            return;
        }
        for (int x = x0; x < x1; ++x)
            Plot(x, y, rgb, Pen.Mode);
    };
    int aboveL, aboveR, rowL, rowR, belowL, belowR;
    run(box.Top - 1, aboveL, aboveR);
    run(box.Top, rowL, rowR);
    for (int y = box.Top; y < box.Bottom; ++y) {
        run(y + 1, belowL, belowR);
        if (rowL < rowR) {
            // Inside pixels with all four neighbours inside.
            int innerL = rowL, innerR = rowR;
            if (outline) {
                innerL = std::max({rowL + 1, aboveL, belowL});
                innerR = std::min({rowR - 1, aboveR, belowR});
                if (innerL >= innerR) innerL = innerR = rowR;
                span(rowL, innerL, y, pen);
                span(innerR, rowR, y, pen);
            }
            if (fill) span(innerL, innerR, y, brush);
        }
        aboveL = rowL, aboveR = rowR;
        rowL = belowL, rowR = belowR;
    }
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    TShadowScope shadow(*this, [&] { Rectangle(x1, y1, x2, y2); });
    if (!Ready()) return;
    TRect fig = DeviceBox(x1, y1, x2, y2);
    if (FVector) {
        QPainterPath fill, outline;
        fill.addRect(fig.Left, fig.Top, fig.Width(), fig.Height());
        if (fig.Width() >= 2 && fig.Height() >= 2)
            outline.addRect(fig.Left + 0.5, fig.Top + 0.5, fig.Width() - 1, fig.Height() - 1);
        else
            outline = fill; // every pixel is an edge pixel
        VectorFigure(fill, outline);
        return;
    }
    DrawFigure(fig, [&](int x, int y) { return fig.Contains(x, y); });
}

void TCanvas::FrameRect(const TRect& r) {
    TShadowScope shadow(*this, [&] { FrameRect(r); });
    TPen saved = Pen;
    TBrushStyle bs = Brush.Style;
    Pen.Color = Brush.Color;
    Pen.Style = psSolid;
    Pen.Width = 1;
    Pen.Mode = pmCopy;
    Brush.Style = bsClear;
    Rectangle(r);
    Pen = saved;
    Brush.Style = bs;
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    TShadowScope shadow(*this, [&] { Ellipse(x1, y1, x2, y2); });
    if (!Ready()) return;
    TRect fig = DeviceBox(x1, y1, x2, y2);
    if (FVector) {
        QPainterPath fill, outline;
        fill.addEllipse(fig.Left, fig.Top, fig.Width(), fig.Height());
        if (fig.Width() >= 2 && fig.Height() >= 2)
            outline.addEllipse(fig.Left + 0.5, fig.Top + 0.5, fig.Width() - 1, fig.Height() - 1);
        else
            outline = fill;
        VectorFigure(fill, outline);
        return;
    }
    DrawFigure(fig, [&](int x, int y) {
        return InEllipse(x, y, fig.Left, fig.Top, fig.Right, fig.Bottom);
    });
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int w, int h) {
    TShadowScope shadow(*this, [&] { RoundRect(x1, y1, x2, y2, w, h); });
    if (!Ready()) return;
    TRect fig = DeviceBox(x1, y1, x2, y2);
    w = std::min(std::abs(w), fig.Width());
    h = std::min(std::abs(h), fig.Height());
    if (w < 2 || h < 2) {
        Rectangle(x1, y1, x2, y2);
        return;
    }
    if (FVector) {
        QPainterPath fill, outline;
        fill.addRoundedRect(fig.Left, fig.Top, fig.Width(), fig.Height(), w / 2.0, h / 2.0);
        outline.addRoundedRect(fig.Left + 0.5, fig.Top + 0.5, fig.Width() - 1, fig.Height() - 1,
                               (w - 1) / 2.0, (h - 1) / 2.0);
        VectorFigure(fill, outline);
        return;
    }
    auto inside = [&](int x, int y) {
        if (!fig.Contains(x, y)) return false;
        // Corner zones are cut by the quarter of a w x h ellipse.
        const std::int64_t cx = 2 * std::int64_t(x) + 1, cy = 2 * std::int64_t(y) + 1;
        const bool left = cx < 2 * std::int64_t(fig.Left) + w;
        const bool right = cx > 2 * std::int64_t(fig.Right) - w;
        const bool top = cy < 2 * std::int64_t(fig.Top) + h;
        const bool bottom = cy > 2 * std::int64_t(fig.Bottom) - h;
        const std::int64_t el = left ? fig.Left : std::int64_t(fig.Right) - w;
        const std::int64_t et = top ? fig.Top : std::int64_t(fig.Bottom) - h;
        if ((left || right) && (top || bottom)) return InEllipse(x, y, el, et, el + w, et + h);
        return true;
    };
    DrawFigure(fig, inside);
}

void TCanvas::Polygon(const std::vector<TPoint>& points) {
    TShadowScope shadow(*this, [&] { Polygon(points); });
    if (!Ready() || points.empty()) return;
    if (FVector) {
        VectorPolygon(points);
        return;
    }
    int minX = points[0].X, maxX = points[0].X, minY = points[0].Y, maxY = points[0].Y;
    for (const TPoint& p : points) {
        minX = std::min(minX, p.X);
        maxX = std::max(maxX, p.X);
        minY = std::min(minY, p.Y);
        maxY = std::max(maxY, p.Y);
    }
    // A wide pen reaches beyond the vertices.
    const int reach = Pen.Width > 1 ? Pen.Width : 0;
    TRect fig = TRect{minX - reach, minY - reach, maxX + 1 + reach, maxY + 1 + reach}.Offset(
        FOrigin.X, FOrigin.Y);
    TRect box = fig.Intersect(FClip);
    if (box.IsEmpty()) return;
    int w = box.Width();
    std::vector<std::uint8_t> mask(static_cast<std::size_t>(w) * box.Height(), 0);
    // Interior: pixels inside by the alternate (even-odd) rule. Vertices are
    // pixel centres, as for the outline's lines, so the fill meets the
    // outline without gaps. An edge crossing row cy at X takes in the pixels
    // from ceil(X) on, found exactly.
    const std::size_t n = points.size();
    std::vector<int> xs;
    for (int y = box.Top; y < box.Bottom; ++y) {
        const std::int64_t cy = std::int64_t(y) - FOrigin.Y;
        xs.clear();
        for (std::size_t i = 0; i < n; ++i) {
            const TPoint& a = points[i];
            const TPoint& b = points[(i + 1) % n];
            if ((a.Y <= cy && b.Y > cy) || (b.Y <= cy && a.Y > cy)) {
                const std::int64_t rise = std::int64_t(b.Y) - a.Y;
                const Int128 num = Int128(cy - a.Y) * (std::int64_t(b.X) - a.X);
                const Int128 den = rise < 0 ? -rise : rise;
                xs.push_back(a.X + int(canvas_detail::CeilDiv(rise < 0 ? -num : num, den)));
            }
        }
        std::sort(xs.begin(), xs.end());
        auto* row = &mask[static_cast<std::size_t>(y - box.Top) * w];
        for (std::size_t k = 0; k + 1 < xs.size(); k += 2) {
            const int from = std::max<std::int64_t>(std::int64_t(xs[k]) + FOrigin.X, box.Left);
            const int to = std::min<std::int64_t>(std::int64_t(xs[k + 1]) + FOrigin.X, box.Right);
            if (from < to) std::fill(row + (from - box.Left), row + (to - box.Left), 1);
        }
    }
    // Outline: the closed polyline, each vertex once.
    const bool outline = Pen.Style != psClear;
    const bool wide = outline && Pen.Width > 1;
    if (outline && !wide) {
        for (std::size_t i = 0; i < n; ++i) {
            int x = points[i].X + FOrigin.X, y = points[i].Y + FOrigin.Y;
            int ex = points[(i + 1) % n].X + FOrigin.X, ey = points[(i + 1) % n].Y + FOrigin.Y;
            WalkLine(box, x, y, ex, ey, [&](int px, int py, std::int64_t) {
                mask[static_cast<std::size_t>((py - box.Top) * w + (px - box.Left))] = 2;
            });
        }
        if (n == 1 && box.Contains(points[0].X + FOrigin.X, points[0].Y + FOrigin.Y))
            mask[static_cast<std::size_t>((points[0].Y + FOrigin.Y - box.Top) * w +
                                          (points[0].X + FOrigin.X - box.Left))] = 2;
    }
    const bool styled = outline && !wide && !StylePattern(Pen.Style).empty();
    // A styled or wide outline is drawn as lines of its own, in its pen's
    // width and style, like any other line; the fill leaves its pixels to it.
    ApplyMask(box, mask, !styled);
    if (styled) {
        MoveTo(points[0].X, points[0].Y);
        for (std::size_t i = 1; i <= n; ++i)
            LineTo(points[i % n].X, points[i % n].Y);
    } else if (wide && Pen.Mode != pmNop) {
        if (QPainter* p = BeginPainter()) {
            QColor c = Pen.Mode == pmNot ? QColor(Qt::white) : QColor::fromRgb(ToRgb(Pen.Color));
            p->setCompositionMode(RasterOp(Pen.Mode));
            p->setPen(QPen(c, Pen.Width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p->setBrush(Qt::NoBrush);
            QPolygonF outlinePoints;
            for (const TPoint& pt : points)
                outlinePoints << QPointF(pt.X + 0.5, pt.Y + 0.5);
            p->drawPolygon(outlinePoints);
            EndPainter();
        }
    }
    PenPos = points[0];
}

void TCanvas::FillRect(const TRect& r) {
    TShadowScope shadow(*this, [&] { FillRect(r); });
    if (!Ready() || Brush.Style == bsClear) return;
    if (FVector) {
        TRect box = r.Offset(FOrigin.X, FOrigin.Y).Intersect(FClip);
        if (box.IsEmpty()) return;
        QPainterPath path;
        path.addRect(box.Left, box.Top, box.Width(), box.Height());
        const TPenMode mode = Pen.Mode;
        Pen.Mode = pmCopy; // a plain fill, whatever the pen
        VectorFill(path, Brush.Color);
        Pen.Mode = mode;
        return;
    }
    TRect box = r.Offset(FOrigin.X, FOrigin.Y).Intersect(FClip);
    std::uint32_t c = 0xFF000000u | ToRgb(Brush.Color);
    Damage(box);
    for (int y = box.Top; y < box.Bottom; ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(FDevice->scanLine(y));
        std::fill(line + box.Left, line + box.Right, c);
    }
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    TShadowScope shadow(*this, [&] { SetPixel(x, y, color); });
    if (!Ready()) return;
    if (FVector) {
        const int dx = x + FOrigin.X, dy = y + FOrigin.Y;
        if (!FClip.Contains(dx, dy)) return;
        QPainterPath path;
        path.addRect(dx, dy, 1, 1);
        const TPenMode mode = Pen.Mode;
        Pen.Mode = pmCopy;
        VectorFill(path, color);
        Pen.Mode = mode;
        return;
    }
    Plot(x + FOrigin.X, y + FOrigin.Y, ToRgb(color), pmCopy);
    Damage(Bounds(x + FOrigin.X, y + FOrigin.Y, 1, 1));
}

void TCanvas::DotRow(int x, int y, int count, int step, TColor color) {
    TShadowScope shadow(*this, [&] { DotRow(x, y, count, step, color); });
    if (!Ready() || count <= 0 || step <= 0) return;
    const std::int64_t dx = std::int64_t(x) + FOrigin.X, dy = std::int64_t(y) + FOrigin.Y;
    if (dy < FClip.Top || dy >= FClip.Bottom) return;
    // The dots inside the clip: the first at or after its left edge, the
    // last before its right edge.
    const std::int64_t from = std::max<std::int64_t>(0, (FClip.Left - dx + step - 1) / step);
    const std::int64_t to = std::min<std::int64_t>(count - 1, (FClip.Right - 1 - dx) / step);
    if (FClip.Right - 1 - dx < 0 || from > to) return;
    const int first = static_cast<int>(dx + from * step), last = static_cast<int>(dx + to * step);
    if (FVector) {
        VectorDotRow(first, last, static_cast<int>(dy), step, color);
        return;
    }
    const std::uint32_t rgb = ToRgb(color);
    for (int px = first; px <= last; px += step)
        Plot(px, static_cast<int>(dy), rgb, pmCopy);
    Damage({first, static_cast<int>(dy), last + 1, static_cast<int>(dy) + 1});
}

TColor TCanvas::Pixel(int x, int y) const {
    int dx = x + FOrigin.X, dy = y + FOrigin.Y;
    if (!FDevice || !FClip.Contains(dx, dy)) return -1;
    return FromRgb(FDevice->pixel(dx, dy) & 0xFFFFFFu);
}

QPainter* TCanvas::BeginPainter() {
    if (!Ready()) return nullptr;
    if (FPainter) return FPainter;
    if (FVector) {
        FVector->save();
        FVector->setRenderHint(QPainter::Antialiasing, false);
        FVector->setRenderHint(QPainter::TextAntialiasing, false);
        FVector->setClipRect(QRect(FClip.Left, FClip.Top, FClip.Width(), FClip.Height()),
                             FVector->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
        FVector->translate(FOrigin.X, FOrigin.Y);
        FPainter = FVector;
        return FPainter;
    }
    FPainter = new QPainter(FDevice);
    FPainter->setRenderHint(QPainter::Antialiasing, false);
    FPainter->setRenderHint(QPainter::TextAntialiasing, false);
    FPainter->setClipRect(QRect(FClip.Left, FClip.Top, FClip.Width(), FClip.Height()));
    FPainter->translate(FOrigin.X, FOrigin.Y);
    return FPainter;
}

void TCanvas::EndPainter() {
    if (!FPainter) return;
    if (FPainter == FVector) {
        FVector->restore();
        FPainter = nullptr;
        return;
    }
    delete FPainter;
    FPainter = nullptr;
    Damage(FClip);
}

namespace {

// Measurements by font and text: a diagram measures the same captions in the
// same font over and over, and shaping text is slow. Bounded; emptied when
// full.
int Measured(const TFont& font, const std::string* text) {
    static std::unordered_map<std::string, int> cache;
    std::string key = font.Name();
    key += '\x01' + std::to_string(font.Height()) + ',' + std::to_string(font.Style()) + ',' +
           std::to_string(int(font.Pitch())) + (text ? "w" : "h");
    if (text) key += *text;
    auto it = cache.find(key);
    if (it != cache.end()) return it->second;
    QFontMetrics fm(font.ToQFont());
    int value = text ? fm.horizontalAdvance(ToQ(*text)) : fm.height();
    if (cache.size() >= 4096) cache.clear();
    cache.emplace(std::move(key), value);
    return value;
}

} // namespace

int TCanvas::TextWidth(const std::string& text) {
    return Measured(Font, &text);
}

int TCanvas::TextHeight(const std::string&) {
    return Measured(Font, nullptr);
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    TShadowScope shadow(*this, [&] { TextOut(x, y, text); });
    QPainter* p = BeginPainter();
    if (!p) return;
    QFont f = Font.ToQFont();
    QFontMetrics fm(f);
    QString s = ToQ(text);
    if (Brush.Style == bsSolid)
        p->fillRect(QRect(x, y, fm.horizontalAdvance(s), fm.height()),
                    QColor::fromRgb(ToRgb(Brush.Color)));
    p->setFont(f);
    p->setPen(QColor::fromRgb(ToRgb(Font.Color())));
    TextRun(*p, x, y + fm.ascent(), s, f);
    EndPainter();
    PenPos = {x + fm.horizontalAdvance(s), y};
}

void TCanvas::DrawTextCentered(const TRect& r, const std::string& text) {
    TShadowScope shadow(*this, [&] { DrawTextCentered(r, text); });
    QPainter* p = BeginPainter();
    if (!p) return;
    QFont f = Font.ToQFont();
    QFontMetrics fm(f);
    int width = r.Width();
    // Break at CR LF, LF or CR, then wrap words to the width.
    std::vector<QString> lines;
    QString all = ToQ(text);
    QString para;
    auto wrap = [&](const QString& paragraph) {
        QStringList words = paragraph.split(' ');
        QString current;
        bool started = false;
        for (const QString& word : words) {
            QString candidate = started ? current + ' ' + word : word;
            if (!started || fm.horizontalAdvance(candidate) <= width) {
                current = candidate;
                started = true;
            } else {
                lines.push_back(current);
                current = word;
            }
        }
        lines.push_back(current);
    };
    for (int i = 0; i < all.size(); ++i) {
        QChar c = all[i];
        if (c == '\r' || c == '\n') {
            wrap(para);
            para.clear();
            if (c == '\r' && i + 1 < all.size() && all[i + 1] == '\n') ++i;
        } else {
            para += c;
        }
    }
    wrap(para);
    p->setClipRect(QRect(r.Left, r.Top, r.Width(), r.Height()), Qt::IntersectClip);
    p->setFont(f);
    p->setPen(QColor::fromRgb(ToRgb(Font.Color())));
    int y = r.Top;
    for (const QString& line : lines) {
        int lw = fm.horizontalAdvance(line);
        int x = r.Left + (width - lw) / 2;
        if (Brush.Style == bsSolid)
            p->fillRect(QRect(x, y, lw, fm.height()), QColor::fromRgb(ToRgb(Brush.Color)));
        TextRun(*p, x, y + fm.ascent(), line, f);
        y += fm.height();
    }
    EndPainter();
}

void TCanvas::Draw(int x, int y, const QImage& image) {
    TShadowScope shadow(*this, [&] { Draw(x, y, image); });
    if (FVector) {
        if (Ready()) VectorImage(Bounds(x, y, image.width(), image.height()), image);
        return;
    }
    QPainter* p = BeginPainter();
    if (!p) return;
    p->drawImage(QPoint(x, y), image);
    EndPainter();
}

void TCanvas::Draw(int x, int y, const TGraphic& graphic) {
    if (graphic.Empty()) return;
    TShadowScope shadow(*this, [&] { Draw(x, y, graphic); });
    if (FVector) {
        if (Ready())
            VectorImage(Bounds(x, y, graphic.Width(), graphic.Height()), graphic.DrawnImage());
        return;
    }
    QPainter* p = BeginPainter();
    if (!p) return;
    graphic.Draw(*p, x, y);
    EndPainter();
}

void TCanvas::DrawTransparent(int x, int y, const QImage& image, std::uint32_t transparentRgb) {
    TShadowScope shadow(*this, [&] { DrawTransparent(x, y, image, transparentRgb); });
    if (!Ready()) return;
    QImage src = image.convertToFormat(QImage::Format_ARGB32);
    if (FVector) {
        // The same pixels left out, as a picture with an alpha mask.
        for (int sy = 0; sy < src.height(); ++sy) {
            auto* line = reinterpret_cast<std::uint32_t*>(src.scanLine(sy));
            for (int sx = 0; sx < src.width(); ++sx) {
                const std::uint32_t px = line[sx];
                const bool out =
                    (px & 0xFFFFFFu) == (transparentRgb & 0xFFFFFFu) || (px >> 24) < 0x80;
                line[sx] = out ? 0u : (0xFF000000u | px);
            }
        }
        VectorImage(Bounds(x, y, src.width(), src.height()), src);
        return;
    }
    Damage(Bounds(x + FOrigin.X, y + FOrigin.Y, src.width(), src.height()));
    for (int sy = 0; sy < src.height(); ++sy) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(src.constScanLine(sy));
        for (int sx = 0; sx < src.width(); ++sx) {
            std::uint32_t px = line[sx];
            if ((px & 0xFFFFFFu) == (transparentRgb & 0xFFFFFFu) || (px >> 24) < 0x80) continue;
            Plot(x + sx + FOrigin.X, y + sy + FOrigin.Y, px & 0xFFFFFFu, pmCopy);
        }
    }
}

void TCanvas::StretchDraw(const TRect& r, const QImage& image) {
    TShadowScope shadow(*this, [&] { StretchDraw(r, image); });
    if (FVector) {
        if (Ready() && !r.IsEmpty() && !image.isNull())
            VectorImage(r, image.scaled(r.Width(), r.Height()));
        return;
    }
    QPainter* p = BeginPainter();
    if (!p) return;
    p->drawImage(QRect(r.Left, r.Top, r.Width(), r.Height()), image);
    EndPainter();
}

void TCanvas::CopyRect(const TRect& dest, const QImage& source, const TRect& sourceRect) {
    TShadowScope shadow(*this, [&] { CopyRect(dest, source, sourceRect); });
    if (!Ready() || dest.IsEmpty() || sourceRect.IsEmpty()) return;
    QImage src =
        source.copy(sourceRect.Left, sourceRect.Top, sourceRect.Width(), sourceRect.Height());
    if (src.size() != QSize(dest.Width(), dest.Height()))
        src = src.scaled(dest.Width(), dest.Height());
    src = src.convertToFormat(QImage::Format_RGB32);
    if (FVector) {
        // Over a white page an AND gives the source and an OR gives white.
        if (CopyMode != cmSrcPaint) VectorImage(dest, src);
        return;
    }
    Damage(dest.Offset(FOrigin.X, FOrigin.Y));
    for (int y = 0; y < src.height(); ++y) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(src.constScanLine(y));
        for (int x = 0; x < src.width(); ++x) {
            int dx = dest.Left + x + FOrigin.X, dy = dest.Top + y + FOrigin.Y;
            if (!FClip.Contains(dx, dy)) continue;
            auto* d = reinterpret_cast<std::uint32_t*>(FDevice->scanLine(dy)) + dx;
            std::uint32_t s = line[x] & 0xFFFFFFu;
            switch (CopyMode) {
            case cmSrcCopy:
                *d = 0xFF000000u | s;
                break;
            case cmSrcAnd:
                *d = 0xFF000000u | (*d & s);
                break;
            case cmSrcPaint:
                *d = 0xFF000000u | (*d | s);
                break;
            }
        }
    }
}

void TCanvas::Frame3D(TRect& r, TColor topColor, TColor bottomColor, int width) {
    TShadowScope shadow(*this, [&] {
        TRect copy = r;
        Frame3D(copy, topColor, bottomColor, width);
    });
    Pen.Width = 1;
    r.Bottom -= 1;
    r.Right -= 1;
    while (width > 0) {
        --width;
        TPoint topRight{r.Right, r.Top};
        TPoint bottomLeft{r.Left, r.Bottom};
        Pen.Color = topColor;
        Polyline({bottomLeft, {r.Left, r.Top}, topRight});
        Pen.Color = bottomColor;
        bottomLeft.X -= 1;
        Polyline({topRight, {r.Right, r.Bottom}, bottomLeft});
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    }
    r.Bottom += 1;
    r.Right += 1;
}

} // namespace tsb
