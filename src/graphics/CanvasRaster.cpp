// The canvas's raster back end: thin lines and figures plotted pixel by
// pixel on an RGB32 image, so every pixel is touched once and the inverting
// pen modes behave predictably; text, pictures and wide pens through
// QPainter.
#include <QPainter>
#include <algorithm>

#include "graphics/CanvasBackend.h"
#include "graphics/CanvasDetail.h"
#include "graphics/Graphic.h"
#include "graphics/QtConvert.h"

namespace tsb::canvas_detail {

namespace {

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

// A wide pen in the pen's mode; pmNot inverts whatever the colour.
QPen WidePen(const TPen& pen) {
    const QColor c = pen.Mode == pmNot ? QColor(Qt::white) : QColor::fromRgb(ColorToRGB(pen.Color));
    return QPen(c, pen.Width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

} // namespace

TRasterBackend::~TRasterBackend() = default;

void TRasterBackend::Bind(QImage* device, TPoint origin, const TRect& clip, TRasterShadow* shadow) {
    FPainter.reset();
    FDevice = device;
    FOrigin = origin;
    FClip = device ? clip.Intersect({0, 0, device->width(), device->height()}) : TRect{};
    FShadow = shadow;
}

void TRasterBackend::Damage(const TRect& deviceBox) {
    if (FShadow || !FCanvas.OnDamage) return;
    const TRect r = deviceBox.Intersect(FClip);
    if (!r.IsEmpty()) FCanvas.OnDamage(r);
}

void TRasterBackend::Plot(int dx, int dy, std::uint32_t rgb, TPenMode mode) {
    if (!FClip.Contains(dx, dy) || mode == pmNop) return;
    auto* line = reinterpret_cast<std::uint32_t*>(FDevice->scanLine(dy));
    std::uint32_t& p = line[dx];
    if (FShadow && mode != pmCopy && (p & 0xFFFFFFu) != 0xFFFFFFu) {
        FShadow->InvertedDrawing = true;
        if (FShadow->InvertedPixels) FShadow->InvertedPixels->scanLine(dy)[dx] = 0xFF;
    }
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

void TRasterBackend::StyledPixel(int dx, int dy, std::int64_t step) {
    const TCanvas& c = FCanvas;
    if (StyleOn(c.Pen.Style, step))
        Plot(dx, dy, ColorToRGB(c.Pen.Color), c.Pen.Mode);
    else if (c.Brush.Style == bsSolid)
        Plot(dx, dy, ColorToRGB(c.Brush.Color), c.Pen.Mode);
}

std::int64_t TRasterBackend::ThinLine(int x1, int y1, int x2, int y2, std::int64_t step) {
    const int x = x1 + FOrigin.X, y = y1 + FOrigin.Y;
    const int ex = x2 + FOrigin.X, ey = y2 + FOrigin.Y;
    const TRect box{std::min(x, ex), std::min(y, ey), std::max(x, ex) + 1, std::max(y, ey) + 1};
    Damage(box);
    return WalkLine(FClip, x, y, ex, ey,
                    [&](int px, int py, std::int64_t i) { StyledPixel(px, py, step + i); });
}

void TRasterBackend::WideLine(int x1, int y1, int x2, int y2) {
    const TPen& pen = FCanvas.Pen;
    // A wide inverting line is not checked pixel by pixel.
    if (FShadow && pen.Mode != pmCopy && pen.Mode != pmNop) FShadow->InvertedDrawing = true;
    QPainter* p = BeginPainter();
    if (!p) return;
    p->setCompositionMode(RasterOp(pen.Mode));
    p->setPen(WidePen(pen));
    p->setBrush(Qt::NoBrush);
    if (pen.Mode != pmNop) p->drawLine(QPointF(x1 + 0.5, y1 + 0.5), QPointF(x2 + 0.5, y2 + 0.5));
    EndPainter();
}

void TRasterBackend::ApplyMask(const TRect& box, const std::vector<std::uint8_t>& mask,
                               bool outline) {
    Damage(box);
    const TCanvas& c = FCanvas;
    const std::uint32_t brush = ColorToRGB(c.Brush.Color);
    const std::uint32_t pen = ColorToRGB(c.Pen.Color);
    const bool fill = c.Brush.Style == bsSolid;
    const int w = box.Width();
    for (int y = box.Top; y < box.Bottom; ++y) {
        for (int x = box.Left; x < box.Right; ++x) {
            std::uint8_t m = mask[static_cast<std::size_t>((y - box.Top) * w + (x - box.Left))];
            if (m == 2) {
                if (outline) Plot(x, y, pen, c.Pen.Mode);
            } else if (m == 1 && fill)
                Plot(x, y, brush, c.Pen.Mode);
        }
    }
}

// The figures (rectangles, ellipses, rounded rectangles) are symmetric and
// convex: the inside pixels of each row form one run around the middle
// column, whose ends are found by halving. A pixel of the run is outline
// when a 4-neighbour lies outside the figure.
template <typename Inside> void TRasterBackend::DrawFigure(const TRect& fig, const Inside& inside) {
    const TRect box = fig.Intersect(FClip);
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
    const TCanvas& c = FCanvas;
    const bool outline = c.Pen.Style != psClear;
    const bool fill = c.Brush.Style == bsSolid;
    const std::uint32_t pen = ColorToRGB(c.Pen.Color), brush = ColorToRGB(c.Brush.Color);
    auto span = [&](int x0, int x1, int y, std::uint32_t rgb) {
        x0 = std::max(x0, box.Left);
        x1 = std::min(x1, box.Right);
        if (x0 >= x1) return;
        auto* line = reinterpret_cast<std::uint32_t*>(FDevice->scanLine(y));
        if (c.Pen.Mode == pmCopy) {
            std::fill(line + x0, line + x1, 0xFF000000u | rgb);
            return;
        }
        for (int x = x0; x < x1; ++x)
            Plot(x, y, rgb, c.Pen.Mode);
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

void TRasterBackend::Figure(TFigure kind, const TRect& box, int w, int h) {
    const TRect fig = box.Offset(FOrigin.X, FOrigin.Y);
    switch (kind) {
    case fgRectangle:
        DrawFigure(fig, [&](int x, int y) { return fig.Contains(x, y); });
        return;
    case fgEllipse: {
        const TEllipse ellipse(fig.Left, fig.Top, fig.Right, fig.Bottom);
        DrawFigure(fig, [&](int x, int y) { return ellipse.Contains(x, y); });
        return;
    }
    case fgRoundRect: {
        // Corner zones are cut by the quarter of a w x h ellipse.
        const std::int64_t l = fig.Left, t = fig.Top, r = fig.Right, b = fig.Bottom;
        const TEllipse corners[] = {TEllipse(l, t, l + w, t + h), TEllipse(r - w, t, r, t + h),
                                    TEllipse(l, b - h, l + w, b), TEllipse(r - w, b - h, r, b)};
        DrawFigure(fig, [&](int x, int y) {
            if (!fig.Contains(x, y)) return false;
            const std::int64_t cx = 2 * std::int64_t(x) + 1, cy = 2 * std::int64_t(y) + 1;
            const bool left = cx<2 * l + w, right = cx> 2 * r - w;
            const bool top = cy<2 * t + h, bottom = cy> 2 * b - h;
            if ((left || right) && (top || bottom))
                return corners[(left ? 0 : 1) + (top ? 0 : 2)].Contains(x, y);
            return true;
        });
        return;
    }
    }
}

std::int64_t TRasterBackend::Polygon(const std::vector<TPoint>& points) {
    const TCanvas& c = FCanvas;
    int minX = points[0].X, maxX = points[0].X, minY = points[0].Y, maxY = points[0].Y;
    for (const TPoint& p : points) {
        minX = std::min(minX, p.X);
        maxX = std::max(maxX, p.X);
        minY = std::min(minY, p.Y);
        maxY = std::max(maxY, p.Y);
    }
    // A wide pen reaches beyond the vertices.
    const int reach = c.Pen.Width > 1 ? c.Pen.Width : 0;
    const TRect fig = TRect{minX - reach, minY - reach, maxX + 1 + reach, maxY + 1 + reach}.Offset(
        FOrigin.X, FOrigin.Y);
    const TRect box = fig.Intersect(FClip);
    if (box.IsEmpty()) return 0;
    const int w = box.Width();
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
                xs.push_back(a.X + int(rise > 0 ? CeilDiv(num, rise) : CeilDiv(-num, -rise)));
            }
        }
        std::sort(xs.begin(), xs.end());
        auto* row = &mask[static_cast<std::size_t>(y - box.Top) * w];
        for (std::size_t k = 0; k + 1 < xs.size(); k += 2) {
            const int from = int(std::max<std::int64_t>(std::int64_t(xs[k]) + FOrigin.X, box.Left));
            const int to =
                int(std::min<std::int64_t>(std::int64_t(xs[k + 1]) + FOrigin.X, box.Right));
            if (from < to) std::fill(row + (from - box.Left), row + (to - box.Left), 1);
        }
    }
    // Outline: the closed polyline, each vertex once.
    const bool outline = c.Pen.Style != psClear;
    const bool wide = outline && c.Pen.Width > 1;
    if (outline && !wide) {
        for (std::size_t i = 0; i < n; ++i) {
            const int x = points[i].X + FOrigin.X, y = points[i].Y + FOrigin.Y;
            const int ex = points[(i + 1) % n].X + FOrigin.X;
            const int ey = points[(i + 1) % n].Y + FOrigin.Y;
            WalkLine(box, x, y, ex, ey, [&](int px, int py, std::int64_t) {
                mask[static_cast<std::size_t>((py - box.Top) * w + (px - box.Left))] = 2;
            });
        }
        if (n == 1 && box.Contains(points[0].X + FOrigin.X, points[0].Y + FOrigin.Y))
            mask[static_cast<std::size_t>((points[0].Y + FOrigin.Y - box.Top) * w +
                                          (points[0].X + FOrigin.X - box.Left))] = 2;
    }
    const bool styled = outline && !wide && !StylePattern(c.Pen.Style).empty();
    // A styled or wide outline is drawn as lines of its own, in its pen's
    // width and style, like any other line; the fill leaves its pixels to it.
    ApplyMask(box, mask, !styled);
    std::int64_t step = 0;
    if (styled) {
        for (std::size_t i = 0; i < n; ++i)
            step += ThinLine(points[i].X, points[i].Y, points[(i + 1) % n].X, points[(i + 1) % n].Y,
                             step);
    } else if (wide && c.Pen.Mode != pmNop) {
        if (QPainter* p = BeginPainter()) {
            p->setCompositionMode(RasterOp(c.Pen.Mode));
            p->setPen(WidePen(c.Pen));
            p->setBrush(Qt::NoBrush);
            QPolygonF outlinePoints;
            for (const TPoint& pt : points)
                outlinePoints << QPointF(pt.X + 0.5, pt.Y + 0.5);
            p->drawPolygon(outlinePoints);
            EndPainter();
        }
    }
    return step;
}

void TRasterBackend::FillRect(const TRect& r) {
    const TRect box = r.Offset(FOrigin.X, FOrigin.Y).Intersect(FClip);
    const std::uint32_t c = 0xFF000000u | ColorToRGB(FCanvas.Brush.Color);
    Damage(box);
    for (int y = box.Top; y < box.Bottom; ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(FDevice->scanLine(y));
        std::fill(line + box.Left, line + box.Right, c);
    }
}

void TRasterBackend::SetPixel(int x, int y, TColor colour) {
    Plot(x + FOrigin.X, y + FOrigin.Y, ColorToRGB(colour), pmCopy);
    Damage(Bounds(x + FOrigin.X, y + FOrigin.Y, 1, 1));
}

void TRasterBackend::DotRow(int x, int y, int count, int step, TColor colour) {
    int first, last, row;
    if (!DotsInClip(x, y, count, step, FOrigin, FClip, first, last, row)) return;
    const std::uint32_t rgb = ColorToRGB(colour);
    for (int px = first; px <= last; px += step)
        Plot(px, row, rgb, pmCopy);
    Damage({first, row, last + 1, row + 1});
}

void TRasterBackend::Draw(int x, int y, const QImage& image) {
    QPainter* p = BeginPainter();
    if (!p) return;
    p->drawImage(QPoint(x, y), image);
    EndPainter();
}

void TRasterBackend::Draw(int x, int y, const TGraphic& graphic) {
    QPainter* p = BeginPainter();
    if (!p) return;
    graphic.Draw(*p, x, y);
    EndPainter();
}

void TRasterBackend::DrawTransparent(int x, int y, const QImage& image,
                                     std::uint32_t transparentRgb) {
    Damage(Bounds(x + FOrigin.X, y + FOrigin.Y, image.width(), image.height()));
    for (int sy = 0; sy < image.height(); ++sy) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(image.constScanLine(sy));
        for (int sx = 0; sx < image.width(); ++sx) {
            std::uint32_t px = line[sx];
            if ((px & 0xFFFFFFu) == (transparentRgb & 0xFFFFFFu) || (px >> 24) < 0x80) continue;
            Plot(x + sx + FOrigin.X, y + sy + FOrigin.Y, px & 0xFFFFFFu, pmCopy);
        }
    }
}

void TRasterBackend::StretchDraw(const TRect& r, const QImage& image) {
    QPainter* p = BeginPainter();
    if (!p) return;
    p->drawImage(ToQRect(r), image);
    EndPainter();
}

void TRasterBackend::CopyRect(const TRect& dest, const QImage& image) {
    Damage(dest.Offset(FOrigin.X, FOrigin.Y));
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int dx = dest.Left + x + FOrigin.X, dy = dest.Top + y + FOrigin.Y;
            if (!FClip.Contains(dx, dy)) continue;
            auto* d = reinterpret_cast<std::uint32_t*>(FDevice->scanLine(dy)) + dx;
            const std::uint32_t s = line[x] & 0xFFFFFFu;
            switch (FCanvas.CopyMode) {
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

TColor TRasterBackend::Pixel(int x, int y) const {
    const int dx = x + FOrigin.X, dy = y + FOrigin.Y;
    if (!FDevice || !FClip.Contains(dx, dy)) return -1;
    return FromRgb(FDevice->pixel(dx, dy) & 0xFFFFFFu);
}

QPainter* TRasterBackend::BeginPainter() {
    if (!FDevice || FClip.IsEmpty()) return nullptr;
    if (FPainter) return FPainter.get();
    FPainter = std::make_unique<QPainter>(FDevice);
    FPainter->setRenderHint(QPainter::Antialiasing, false);
    FPainter->setRenderHint(QPainter::TextAntialiasing, false);
    FPainter->setClipRect(ToQRect(FClip));
    FPainter->translate(FOrigin.X, FOrigin.Y);
    return FPainter.get();
}

void TRasterBackend::EndPainter() {
    if (!FPainter) return;
    FPainter.reset();
    Damage(FClip);
}

void TRasterBackend::TextRun(QPainter& painter, int x, int baseline, const QString& text,
                             const QFont&) {
    painter.drawText(QPoint(x, baseline), text);
}

} // namespace tsb::canvas_detail
