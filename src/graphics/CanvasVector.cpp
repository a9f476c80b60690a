// The canvas's vector back end: the same calls as QPainter primitives on a
// vector device, with the pixel rules turned into exact geometry.
#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <algorithm>
#include <cmath>
#include <vector>

#include "graphics/CanvasBackend.h"
#include "graphics/CanvasDetail.h"
#include "graphics/Graphic.h"
#include "graphics/QtConvert.h"

namespace tsb::canvas_detail {

namespace {

QColor Rgb(std::uint32_t rgb) {
    return QColor::fromRgb(0xFF000000u | rgb);
}

QRectF ClipRectF(const TRect& clip) {
    return QRectF(clip.Left, clip.Top, clip.Width(), clip.Height());
}

// An outline as the area it covers. Lines are so many units wide, not
// device pixels: a page printed or a drawing zoomed keeps the proportions of
// the screen.
QPainterPath StrokeArea(const QPainterPath& path, qreal width, Qt::PenCapStyle cap,
                        Qt::PenJoinStyle join) {
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(cap);
    stroker.setJoinStyle(join);
    return stroker.createStroke(path);
}

// Gives each left-out pixel of an ARGB32 picture beside a shown one that
// one's colour, still left out. A viewer that resamples the picture (poppler
// does at any scale, others when zooming) blends a shown pixel with its
// neighbours' colours and masks separately: without this it would blend in
// black, a dark fringe the screen does not have.
void BleedIntoTransparent(QImage& image) {
    const QImage shown = image;
    const int w = image.width(), h = image.height();
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            if (line[x] >> 24) continue;
            for (int n = 0; n < 9 && !line[x]; ++n) {
                const int nx = x + n % 3 - 1, ny = y + n / 3 - 1;
                if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                const std::uint32_t p =
                    reinterpret_cast<const std::uint32_t*>(shown.constScanLine(ny))[nx];
                if (p >> 24) line[x] = p & 0xFFFFFFu;
            }
        }
    }
}

} // namespace

TVectorBackend::TVectorBackend(const TCanvas& canvas) : TCanvasBackend(canvas) {}

TVectorBackend::~TVectorBackend() {
    if (ViewClipOwner == this) ViewClipOwner = nullptr;
}

void TVectorBackend::Bind(QPainter* painter, TPoint origin, const TRect& clip,
                          TRasterShadow* shadow) {
    FPainter = painter;
    FBegun = false;
    FViewScale = 0;
    if (ViewClipOwner == this) ViewClipOwner = nullptr;
    FOrigin = origin;
    FClip = clip;
    FShadowImage = shadow;
    if (shadow) {
        if (!FShadow) FShadow = std::make_unique<TRasterBackend>(FCanvas);
        FShadow->Bind(&shadow->Image, origin, clip, shadow);
    }
}

TRasterBackend* TVectorBackend::Shadow() {
    return FShadowImage && !FShadow->Clip().IsEmpty() ? FShadow.get() : nullptr;
}

// What a pen or brush of this colour leaves on a white page under the pen
// mode; invalid where it leaves nothing.
QColor TVectorBackend::Colour(TColor colour, TPenMode mode) const {
    const std::uint32_t rgb = ColorToRGB(colour) & 0xFFFFFFu;
    switch (mode) {
    case pmCopy:
        return Rgb(rgb);
    case pmNot:
        return Rgb(0);
    case pmNotXor:
        return Rgb(rgb);
    case pmXor:
        return Rgb(~rgb & 0xFFFFFFu);
    case pmNop:
        break;
    }
    return {};
}

std::int64_t TVectorBackend::ThinLine(int x1, int y1, int x2, int y2, std::int64_t step) {
    if (auto* shadow = Shadow()) shadow->ThinLine(x1, y1, x2, y2, step);
    return Line(x1, y1, x2, y2, step);
}

bool TVectorBackend::Uncut(const QRectF& box) const {
    if (FViewScale > 0) {
        EnsureViewClip();
        return true;
    }
    return ClipRectF(FClip).contains(box);
}

void TVectorBackend::SetView(double scale, const QRect& area) {
    FViewScale = scale;
    FViewArea = area;
    if (ViewClipOwner == this) ViewClipOwner = nullptr;
}

// The painter's clip is the clip of the canvas drawing on it last: this
// canvas's clip in device pixels (every pixel it touches), within the area
// of the view being painted.
void TVectorBackend::EnsureViewClip() const {
    if (ViewClipOwner == this) return;
    ViewClipOwner = this;
    const QTransform toDevice = FPainter->worldTransform();
    const QRect clip = toDevice.mapRect(ClipRectF(FClip)).toAlignedRect() & FViewArea;
    FPainter->resetTransform();
    FPainter->setClipRect(clip);
    FPainter->setWorldTransform(toDevice);
}

// Each run of the pen's pattern that shows in the clip, drawn whole from its
// first to its last pixel: the same geometry whichever part of a view is
// being painted, so parts painted apart meet without a seam.
std::int64_t TVectorBackend::ViewLine(int x1, int y1, int x2, int y2, std::int64_t step,
                                      const QColor& on, const QColor& off) {
    using I = std::int64_t;
    const TPenStyle style = FCanvas.Pen.Style;
    const std::vector<int>& pattern = StylePattern(style);
    I period = 0;
    for (int length : pattern)
        period += length;
    const I x = I(x1) + FOrigin.X, y = I(y1) + FOrigin.Y;
    const I dx = std::abs(I(x2) - x1), dy = std::abs(I(y2) - y1);
    const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    const I n = std::max(dx, dy), m = std::min(dx, dy);
    // Pixel i of the walk, in closed form (CanvasDetail.h).
    auto pixel = [&](I i) {
        const I minor = n == 0 ? 0 : I(FloorDiv(Int128(2 * i) * m + n - 1, Int128(2 * n)));
        return dx >= dy ? QPointF(qreal(x + sx * i), qreal(y + sy * minor))
                        : QPointF(qreal(x + sx * minor), qreal(y + sy * i));
    };
    // The run of one colour that pixel i belongs to.
    auto run = [&](I i, I& first, I& last) {
        first = 0;
        last = n - 1;
        if (pattern.empty() || on == off) return;
        I at = (step + i) % period;
        if (at < 0) at += period;
        for (int length : pattern) {
            if (at < length) {
                first = std::max<I>(0, i - at);
                last = std::min<I>(n - 1, i + (length - 1 - at));
                return;
            }
            at -= length;
        }
    };
    EnsureViewClip();
    FPainter->setRenderHint(QPainter::Antialiasing, false);
    auto draw = [&](I first, I last, const QColor& colour) {
        if (!colour.isValid()) return;
        const QPointF a = pixel(first), b = pixel(last);
        if (m == 0 || first == last) {
            const QPointF low(std::min(a.x(), b.x()), std::min(a.y(), b.y()));
            const QPointF high(std::max(a.x(), b.x()), std::max(a.y(), b.y()));
            FPainter->fillRect(Visible(QRectF(low, high + QPointF(1, 1))), colour);
        } else if (Thin()) {
            // A device pixel wide, whatever the clip.
            FPainter->setPen(QPen(colour, 0));
            FPainter->drawLine(a + QPointF(0.5, 0.5), b + QPointF(0.5, 0.5));
        } else {
            // The one-unit line with square ends as the area it covers: a
            // line cut by the clip would be cut with rounding of its own.
            const QPointF from = a + QPointF(0.5, 0.5), to = b + QPointF(0.5, 0.5);
            const QPointF d = to - from;
            const qreal length = std::hypot(d.x(), d.y());
            const QPointF along = d * (0.5 / length), across(-along.y(), along.x());
            const QPointF corners[4] = {from - along + across, to + along + across,
                                        to + along - across, from - along - across};
            FPainter->setPen(Qt::NoPen);
            FPainter->setBrush(colour);
            FPainter->drawPolygon(corners, 4);
        }
    };
    if (n > 0 && (pattern.empty() || on == off)) {
        // One run, drawn whole where the line's box meets the clip.
        const QPointF a = pixel(0), b = pixel(n - 1);
        const TRect box{int(std::min(a.x(), b.x())), int(std::min(a.y(), b.y())),
                        int(std::max(a.x(), b.x())) + 1, int(std::max(a.y(), b.y())) + 1};
        if (!box.Intersect(FClip).IsEmpty()) draw(0, n - 1, on);
        return n;
    }
    I drawn = -1;
    return WalkLine(FClip, int(x), int(y), x2 + FOrigin.X, y2 + FOrigin.Y, [&](int, int, I i) {
        if (i <= drawn) return;
        I first, last;
        run(i, first, last);
        drawn = last;
        draw(first, last, StyleOn(style, step + i) ? on : off);
    });
}

// The pixels the raster walk plots, inside the clip, as runs of the pen's
// colour and (with a solid brush) of the brush's colour in the gaps. A run
// of a line along a row or column is a rectangle; a run of any other line is
// the one-unit line's piece from its first to its last pixel. The piece lies
// on the whole line, from the first pixel's centre towards the end point's,
// as the walk does: a renderer that takes the pixel nearest the line at each
// step then draws the walk's pixels. (A line between the run's own end
// pixels would lean off the whole line and take other pixels in between.)
std::int64_t TVectorBackend::Line(int x1, int y1, int x2, int y2, std::int64_t step) {
    const TCanvas& c = FCanvas;
    const QColor on = Colour(c.Pen.Color, c.Pen.Mode);
    const QColor off = c.Brush.Style == bsSolid ? Colour(c.Brush.Color, c.Pen.Mode) : QColor();
    if (FViewScale > 0) return ViewLine(x1, y1, x2, y2, step, on, off);
    const bool straight = x1 == x2 || y1 == y2;
    QColor colour;
    QPoint first, last;
    std::int64_t firstStep = 0, lastStep = 0;
    bool open = false;
    FPainter->setRenderHint(QPainter::Antialiasing, false);
    // Whether a pixel lies a pixel or more inside the clip.
    const TRect within{FClip.Left + 1, FClip.Top + 1, FClip.Right - 1, FClip.Bottom - 1};
    auto inside = [&](const QPoint& p) { return within.Contains(p.x(), p.y()); };
    // The point of the whole line at step i. Where the line runs exactly
    // halfway between two pixels the walk takes the one nearer its start;
    // the line's far end is drawn in towards its start by 1/(4 n) for n
    // steps, which moves each halfway point that way, and every other point
    // by less than it misses halfway, so that every renderer takes the
    // walk's pixels. The pieces stay within their end pixels' middles.
    const bool xMajor = std::abs(x2 - x1) >= std::abs(y2 - y1);
    const qreal steps = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
    const qreal tie = steps > 0 ? 1 / (4 * steps) : 0;
    const QPointF start(x1 + FOrigin.X + 0.5, y1 + FOrigin.Y + 0.5);
    const QPointF whole(x2 - x1 - (xMajor ? 0 : std::copysign(tie, x2 - x1)),
                        y2 - y1 - (xMajor ? std::copysign(tie, y2 - y1) : 0));
    auto along = [&](std::int64_t i) { return start + whole * (qreal(i) / steps); };
    auto flush = [&] {
        if (!open) return;
        open = false;
        if (!colour.isValid()) return;
        if (straight || first == last) {
            // Corner to corner whichever way the line runs (QRect::normalized
            // would drop a backward run's end pixels).
            FPainter->fillRect(
                QRect(QPoint(std::min(first.x(), last.x()), std::min(first.y(), last.y())),
                      QPoint(std::max(first.x(), last.x()), std::max(first.y(), last.y()))),
                colour);
        } else {
            const QPointF from = along(firstStep), to = along(lastStep);
            if (inside(first) && inside(last)) {
                FPainter->setPen(QPen(colour, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
                FPainter->drawLine(from, to);
            } else {
                // At the clip's edge the line's square ends, which reach
                // past its end pixels' corners, are cut to the clip.
                QPainterPath run(from);
                run.lineTo(to);
                Outline(run, colour);
            }
        }
    };
    const std::int64_t n = WalkLine(FClip, x1 + FOrigin.X, y1 + FOrigin.Y, x2 + FOrigin.X,
                                    y2 + FOrigin.Y, [&](int px, int py, std::int64_t i) {
                                        const QColor& now =
                                            StyleOn(c.Pen.Style, step + i) ? on : off;
                                        if (open && now == colour) {
                                            last = QPoint(px, py);
                                            lastStep = i;
                                            return;
                                        }
                                        flush();
                                        colour = now;
                                        first = last = QPoint(px, py);
                                        firstStep = lastStep = i;
                                        open = true;
                                    });
    flush();
    return n;
}

void TVectorBackend::WideLine(int x1, int y1, int x2, int y2) {
    if (auto* shadow = Shadow()) shadow->WideLine(x1, y1, x2, y2);
    QPainterPath path(QPointF(x1 + FOrigin.X + 0.5, y1 + FOrigin.Y + 0.5));
    path.lineTo(x2 + FOrigin.X + 0.5, y2 + FOrigin.Y + 0.5);
    Stroke(path);
}

// A path in the wide pen, round at its ends and corners.
void TVectorBackend::Stroke(const QPainterPath& path) {
    const TPen& pen = FCanvas.Pen;
    const QColor colour = Colour(pen.Color, pen.Mode);
    if (!colour.isValid()) return;
    FPainter->setRenderHint(QPainter::Antialiasing, false);
    const qreal reach = pen.Width;
    if (Uncut(path.boundingRect().adjusted(-reach, -reach, reach, reach))) {
        FPainter->setPen(QPen(colour, pen.Width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        FPainter->setBrush(Qt::NoBrush);
        FPainter->drawPath(path);
    } else {
        FillCut(StrokeArea(path, pen.Width, Qt::RoundCap, Qt::RoundJoin), colour);
    }
}

void TVectorBackend::Fill(const QPainterPath& path, const QColor& colour) {
    if (!colour.isValid()) return;
    FPainter->setRenderHint(QPainter::Antialiasing, false);
    if (Uncut(path.boundingRect()))
        FPainter->fillPath(path, colour);
    else
        FillCut(path, colour);
}

// An area cut to the clip, filled.
void TVectorBackend::FillCut(const QPainterPath& area, const QColor& colour) {
    QPainterPath clip;
    clip.addRect(ClipRectF(FClip));
    FPainter->fillPath(area.intersected(clip), colour);
}

// A one-unit line through the edge pixels' centres.
void TVectorBackend::Outline(const QPainterPath& path, const QColor& colour) {
    if (!colour.isValid()) return;
    FPainter->setRenderHint(QPainter::Antialiasing, false);
    if (Uncut(path.boundingRect().adjusted(-0.5, -0.5, 0.5, 0.5))) {
        FPainter->setPen(QPen(colour, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        FPainter->setBrush(Qt::NoBrush);
        if (!Thin()) {
            FPainter->drawPath(path);
            return;
        }
        // Below a device pixel a unit, a line a device pixel wide along the
        // curve flattened here: flattened by the painter, a curve comes out
        // differently in parts of a view painted apart.
        // Flattened to device pixels, not to units, which are finer.
        FPainter->setPen(QPen(colour, 0));
        const QTransform toDevice = FPainter->worldTransform();
        FPainter->resetTransform();
        for (const QPolygonF& polygon : path.toSubpathPolygons(toDevice))
            FPainter->drawPolyline(polygon);
        FPainter->setWorldTransform(toDevice);
    } else {
        FillCut(StrokeArea(path, 1, Qt::SquareCap, Qt::MiterJoin), colour);
    }
}

// A figure's inside in the brush and its edge pixels in the pen. Figure
// outlines are one pixel whatever the pen's width and style, as on images.
void TVectorBackend::Figure(TFigure kind, const TRect& box, int w, int h) {
    if (auto* shadow = Shadow()) shadow->Figure(kind, box, w, h);
    const TCanvas& c = FCanvas;
    const TRect fig = box.Offset(FOrigin.X, FOrigin.Y);
    if (Speck(fig)) return;
    // Corners rounded by less than a device pixel do not show.
    if (kind == fgRoundRect && FViewScale > 0 && std::min(w, h) * FViewScale < 2)
        kind = fgRectangle;
    const qreal l = fig.Left, t = fig.Top, fw = fig.Width(), fh = fig.Height();
    // One pixel across, every pixel is an edge pixel.
    const bool thin = fig.Width() < 2 || fig.Height() < 2;
    if (kind == fgRectangle && ((FViewScale == 0 && fig.Intersect(FClip) != fig) || Thin())) {
        // Cut to the clip, and in a view below a device pixel a unit, the
        // inside and the edges as rectangles of device pixels.
        CutRectangle(fig, thin);
        return;
    }
    if (Thin()) {
        ThinFigure(kind, fig, w, h, thin);
        return;
    }
    // The figure's area, or its edge pixels' centre line, made only where
    // drawn: a clear brush or pen costs nothing.
    auto path = [&](bool edge) {
        const qreal in = edge ? 0.5 : 0, less = edge ? 1 : 0;
        QPainterPath p;
        switch (kind) {
        case fgRectangle:
            p.addRect(l + in, t + in, fw - less, fh - less);
            break;
        case fgEllipse:
            p.addEllipse(l + in, t + in, fw - less, fh - less);
            break;
        case fgRoundRect:
            p.addRoundedRect(l + in, t + in, fw - less, fh - less, (w - less) / 2.0,
                             (h - less) / 2.0);
            break;
        }
        return p;
    };
    if (c.Brush.Style == bsSolid) Fill(path(false), Colour(c.Brush.Color, c.Pen.Mode));
    if (c.Pen.Style == psClear) return;
    const QColor pen = Colour(c.Pen.Color, c.Pen.Mode);
    if (thin)
        Fill(path(false), pen);
    else
        Outline(path(true), pen);
}

// Below a device pixel a unit, an ellipse or rounded rectangle as a polygon
// of device pixels made here, its arcs cut into chords that stray less than
// a third of a device pixel: cheaper than a path the painter flattens, and
// the same whichever part of the view is being painted.
void TVectorBackend::ThinFigure(TFigure kind, const TRect& fig, int w, int h, bool thin) {
    const TCanvas& c = FCanvas;
    const QColor brush = c.Brush.Style == bsSolid ? Colour(c.Brush.Color, c.Pen.Mode) : QColor();
    const QColor pen = c.Pen.Style != psClear ? Colour(c.Pen.Color, c.Pen.Mode) : QColor();
    if (!brush.isValid() && !pen.isValid()) return;
    EnsureViewClip();
    const QTransform toDevice = FPainter->worldTransform();
    const qreal scale = toDevice.m11(), dx = toDevice.dx(), dy = toDevice.dy();
    // The figure through the given box, in device pixels.
    auto polygon = [&](qreal l, qreal t, qreal fw, qreal fh, qreal rx, qreal ry) {
        if (kind == fgEllipse) {
            rx = fw / 2;
            ry = fh / 2;
        }
        rx = std::clamp(rx, qreal(0), fw / 2) * scale;
        ry = std::clamp(ry, qreal(0), fh / 2) * scale;
        const qreal left = l * scale + dx, top = t * scale + dy;
        const qreal right = (l + fw) * scale + dx, bottom = (t + fh) * scale + dy;
        const int chords = std::clamp(int(std::ceil(std::sqrt(std::max(rx, ry)))) + 1, 1, 256);
        // A quarter of the unit circle in that many chords, made once.
        thread_local std::vector<QPointF> quarters[257];
        std::vector<QPointF>& quarter = quarters[chords];
        if (quarter.empty())
            for (int i = 0; i <= chords; ++i) {
                const qreal a = (M_PI / 2) * i / chords;
                quarter.emplace_back(std::cos(a), std::sin(a));
            }
        QPolygonF points;
        points.reserve(4 * (chords + 1));
        // Clockwise on the screen from the bottom right: each corner's
        // quarter turned a right angle further.
        const qreal cx[2] = {right - rx, left + rx}, cy[2] = {bottom - ry, top + ry};
        for (const QPointF& q : quarter)
            points << QPointF(cx[0] + rx * q.x(), cy[0] + ry * q.y());
        for (const QPointF& q : quarter)
            points << QPointF(cx[1] - rx * q.y(), cy[0] + ry * q.x());
        for (const QPointF& q : quarter)
            points << QPointF(cx[1] - rx * q.x(), cy[1] - ry * q.y());
        for (const QPointF& q : quarter)
            points << QPointF(cx[0] + rx * q.y(), cy[1] - ry * q.x());
        return points;
    };
    FPainter->resetTransform();
    FPainter->setRenderHint(QPainter::Antialiasing, false);
    const qreal l = fig.Left, t = fig.Top, fw = fig.Width(), fh = fig.Height();
    if (brush.isValid() || (thin && pen.isValid())) {
        FPainter->setPen(Qt::NoPen);
        FPainter->setBrush(thin && pen.isValid() ? pen : brush);
        FPainter->drawPolygon(polygon(l, t, fw, fh, w / 2.0, h / 2.0));
    }
    if (!thin && pen.isValid()) {
        FPainter->setPen(QPen(pen, 0));
        FPainter->setBrush(Qt::NoBrush);
        FPainter->drawPolygon(
            polygon(l + 0.5, t + 0.5, fw - 1, fh - 1, (w - 1) / 2.0, (h - 1) / 2.0));
    }
    FPainter->setWorldTransform(toDevice);
}

// A rectangle the clip cuts: its inside and its edges as whole pixels cut to
// the clip, so that no renderer meets a sliver where the cut leaves nothing.
// Each is a rectangle of its own: poppler fits a lone rectangle to whole
// pixels, but fills each pixel that a path of several merely touches, which
// would widen every edge by a pixel.
void TVectorBackend::CutRectangle(const TRect& fig, bool thin) {
    const TCanvas& c = FCanvas;
    auto fill = [&](const TRect& r, const QColor& colour) {
        // Below a device pixel a unit, rectangles of device pixels.
        if (Thin()) {
            FillBox(r, colour);
            return;
        }
        const TRect cut = r.Intersect(FClip);
        if (cut.IsEmpty() || !colour.isValid()) return;
        FPainter->setRenderHint(QPainter::Antialiasing, false);
        FPainter->fillRect(ToQRect(cut), colour);
    };
    if (c.Brush.Style == bsSolid) fill(fig, Colour(c.Brush.Color, c.Pen.Mode));
    if (c.Pen.Style == psClear) return;
    const QColor pen = Colour(c.Pen.Color, c.Pen.Mode);
    if (thin) {
        fill(fig, pen);
        return;
    }
    fill({fig.Left, fig.Top, fig.Right, fig.Top + 1}, pen);
    fill({fig.Left, fig.Bottom - 1, fig.Right, fig.Bottom}, pen);
    fill({fig.Left, fig.Top + 1, fig.Left + 1, fig.Bottom - 1}, pen);
    fill({fig.Right - 1, fig.Top + 1, fig.Right, fig.Bottom - 1}, pen);
}

std::int64_t TVectorBackend::Polygon(const std::vector<TPoint>& points) {
    if (auto* shadow = Shadow()) shadow->Polygon(points);
    const TCanvas& c = FCanvas;
    const std::size_t n = points.size();
    if (FViewScale > 0) {
        TRect bounds{points[0].X, points[0].Y, points[0].X + 1, points[0].Y + 1};
        for (const TPoint& p : points)
            bounds = bounds.Union({p.X, p.Y, p.X + 1, p.Y + 1});
        if (Speck(bounds.Offset(FOrigin.X, FOrigin.Y))) return 0;
    }
    if (Thin() && n > 2 && c.Pen.Width <= 1 && (c.Pen.Style == psSolid || c.Pen.Style == psClear))
        return ThinPolygon(points);
    QPainterPath fill;
    fill.setFillRule(Qt::OddEvenFill);
    fill.moveTo(points[0].X + FOrigin.X + 0.5, points[0].Y + FOrigin.Y + 0.5);
    for (std::size_t i = 1; i < n; ++i)
        fill.lineTo(points[i].X + FOrigin.X + 0.5, points[i].Y + FOrigin.Y + 0.5);
    fill.closeSubpath();
    if (c.Brush.Style == bsSolid) Fill(fill, Colour(c.Brush.Color, c.Pen.Mode));
    std::int64_t step = 0;
    if (c.Pen.Style == psClear) return step;
    if (c.Pen.Width > 1) {
        Stroke(fill);
        return step;
    }
    // The closed polyline, each vertex once, the style running on.
    for (std::size_t i = 0; i < n; ++i)
        step += Line(points[i].X, points[i].Y, points[(i + 1) % n].X, points[(i + 1) % n].Y, step);
    if (n == 1) // a single vertex is a single pixel
        Line(points[0].X, points[0].Y, points[0].X + 1, points[0].Y, 0);
    return step;
}

// Below a device pixel a unit, a polygon with a solid pen one unit wide in
// one call: its inside and its edges a device pixel wide through the edge
// pixels' centres.
std::int64_t TVectorBackend::ThinPolygon(const std::vector<TPoint>& points) {
    const TCanvas& c = FCanvas;
    const QColor brush = c.Brush.Style == bsSolid ? Colour(c.Brush.Color, c.Pen.Mode) : QColor();
    const QColor pen = c.Pen.Style != psClear ? Colour(c.Pen.Color, c.Pen.Mode) : QColor();
    QPolygonF polygon;
    polygon.reserve(qsizetype(points.size()));
    std::int64_t step = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const TPoint& p = points[i];
        const TPoint& next = points[(i + 1) % points.size()];
        polygon << QPointF(p.X + FOrigin.X + 0.5, p.Y + FOrigin.Y + 0.5);
        step +=
            std::max(std::abs(std::int64_t(next.X) - p.X), std::abs(std::int64_t(next.Y) - p.Y));
    }
    if (c.Pen.Style == psClear) step = 0;
    if (!brush.isValid() && !pen.isValid()) return step;
    EnsureViewClip();
    FPainter->setRenderHint(QPainter::Antialiasing, false);
    FPainter->setPen(pen.isValid() ? QPen(pen, 0) : QPen(Qt::NoPen));
    FPainter->setBrush(brush.isValid() ? QBrush(brush) : QBrush(Qt::NoBrush));
    FPainter->drawPolygon(polygon, Qt::OddEvenFill);
    return step;
}

QRectF TVectorBackend::Visible(const QRectF& r) const {
    if (!Thin()) return r;
    // A view's painter only scales and moves.
    const QTransform& toDevice = FPainter->worldTransform();
    auto span = [](qreal from, qreal to, qreal scale, qreal shift, qreal& a, qreal& b) {
        from = from * scale + shift;
        to = to * scale + shift;
        if (to - from < 1) {
            a = std::floor((from + to) / 2);
            b = a + 1;
        } else {
            a = std::round(from);
            b = std::round(to);
        }
        a = (a - shift) / scale;
        b = (b - shift) / scale;
    };
    qreal l, t, rr, b;
    span(r.left(), r.right(), toDevice.m11(), toDevice.dx(), l, rr);
    span(r.top(), r.bottom(), toDevice.m22(), toDevice.dy(), t, b);
    return QRectF(l, t, rr - l, b - t);
}

// A figure smaller than 2 device pixels each way, as the device pixels under
// its box in the pen's colour (the brush's where the pen draws nothing).
bool TVectorBackend::Speck(const TRect& box) {
    if (FViewScale <= 0 || box.Width() * FViewScale >= 2 || box.Height() * FViewScale >= 2)
        return false;
    const TCanvas& c = FCanvas;
    QColor colour;
    if (c.Pen.Style != psClear) colour = Colour(c.Pen.Color, c.Pen.Mode);
    if (!colour.isValid() && c.Brush.Style == bsSolid) colour = Colour(c.Brush.Color, c.Pen.Mode);
    FillBox(box, colour);
    return true;
}

void TVectorBackend::FillBox(const TRect& box, const QColor& colour) {
    const TRect cut = box.Intersect(FClip);
    if (cut.IsEmpty() || !colour.isValid()) return;
    if (Thin()) {
        EnsureViewClip();
        FPainter->setRenderHint(QPainter::Antialiasing, false);
        FPainter->fillRect(Visible(QRectF(cut.Left, cut.Top, cut.Width(), cut.Height())), colour);
        return;
    }
    QPainterPath path;
    path.addRect(cut.Left, cut.Top, cut.Width(), cut.Height());
    Fill(path, colour);
}

void TVectorBackend::FillRect(const TRect& r) {
    if (auto* shadow = Shadow()) shadow->FillRect(r);
    // A plain fill, whatever the pen.
    FillBox(r.Offset(FOrigin.X, FOrigin.Y), Colour(FCanvas.Brush.Color, pmCopy));
}

void TVectorBackend::SetPixel(int x, int y, TColor colour) {
    if (auto* shadow = Shadow()) shadow->SetPixel(x, y, colour);
    FillBox(Bounds(x + FOrigin.X, y + FOrigin.Y, 1, 1), Colour(colour, pmCopy));
}

// The dots inside the clip: a line through the row's middle whose dashes are
// one unit long and `step` apart.
void TVectorBackend::DotRow(int x, int y, int count, int step, TColor colour) {
    if (auto* shadow = Shadow()) shadow->DotRow(x, y, count, step, colour);
    // A view leaves out dots too close to tell apart.
    if (FViewScale > 0 && step * FViewScale < 3 && step > 1) return;
    int first, last, row;
    if (!DotsInClip(x, y, count, step, FOrigin, FClip, first, last, row)) return;
    const QColor c = Rgb(ColorToRGB(colour) & 0xFFFFFFu);
    FPainter->setRenderHint(QPainter::Antialiasing, false);
    if (FViewScale > 0) EnsureViewClip();
    if (Thin()) {
        // Each dot the device pixel under the middle of its unit square.
        const QTransform toDevice = FPainter->worldTransform();
        // A view's painter only scales and moves.
        const int py = int(std::floor((row + 0.5) * toDevice.m22() + toDevice.dy()));
        const qreal scale = toDevice.m11(), shift = toDevice.dx();
        std::vector<QPoint> dots;
        dots.reserve(std::size_t((last - first) / step + 1));
        for (int dx = first; dx <= last; dx += step)
            dots.emplace_back(int(std::floor((dx + 0.5) * scale + shift)), py);
        FPainter->setPen(QPen(c, 0));
        FPainter->resetTransform();
        FPainter->drawPoints(dots.data(), int(dots.size()));
        FPainter->setWorldTransform(toDevice);
    } else if (first == last || step == 1) {
        FPainter->fillRect(QRect(first, row, last + 1 - first, 1), c);
    } else {
        QPen pen(c, 1, Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
        pen.setDashPattern({1.0, qreal(step - 1)});
        FPainter->setPen(pen);
        FPainter->drawLine(QPointF(first, row + 0.5), QPointF(last + 1, row + 0.5));
    }
}

void TVectorBackend::Text(const std::vector<TTextLine>& lines, const QFont& font,
                          const TRect* cut) {
    // Text too small to read never comes here: the canvas draws it as bars.
    if (auto* shadow = Shadow()) shadow->Text(lines, font, cut);
    TCanvasBackend::Text(lines, font, cut);
}

// The middle half of each line's height across its width, in the font's
// colour lightened two thirds towards white.
bool TVectorBackend::TextBars(const std::vector<TTextLine>& lines, int height, const TRect* cut) {
    if (FViewScale <= 0) return false;
    const std::uint32_t rgb = ColorToRGB(FCanvas.Font.Color());
    auto light = [](std::uint32_t c) { return int(255 - (255 - (c & 0xFF)) / 3); };
    const QColor colour(light(rgb >> 16), light(rgb >> 8), light(rgb));
    for (const TTextLine& line : lines) {
        TRect bar = Bounds(line.X, line.Y + height / 4, line.Width, std::max(1, height / 2));
        if (cut) bar = bar.Intersect(*cut);
        FillBox(bar.Offset(FOrigin.X, FOrigin.Y), colour);
    }
    return true;
}

// Text with its left end at x on the baseline, glyphs where the screen puts
// them. Images, PDF pages and page recordings place the glyphs themselves as
// the screen does (a recording plays text back at the width it was drawn
// with), so the text goes out whole. An SVG document leaves the layout to its
// viewer, which uses the face's own advances rather than the screen's
// whole-pixel ones; there the text goes out in pieces of whole words, each
// placed where the screen puts its first glyph and scaled across to the width
// the screen gives it. A piece takes in further words while each of their
// first glyphs stays within half a pixel of its place on the screen; a word
// is never split, so it stays one piece of text.
void TVectorBackend::TextRun(QPainter& painter, int x, int baseline, const QString& text,
                             const QFont& font) {
    const QPaintEngine* engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::SVG) {
        painter.drawText(QPoint(x, baseline), text);
        return;
    }
    const QFontMetrics screen(font);
    QFont linearFont = font;
    linearFont.setHintingPreference(QFont::PreferNoHinting);
    const QFontMetricsF linear(linearFont);
    const int n = static_cast<int>(text.size());
    auto skip = [&](int i, bool spaces) {
        while (i < n && (text[i] == ' ') == spaces)
            ++i;
        return i;
    };
    // Where the screen puts character i, and how much a viewer's layout of
    // [start, end) is scaled across to take the screen's width.
    auto place = [&](int i) { return screen.horizontalAdvance(text.left(i)); };
    auto scale = [&](int start, int end) {
        const qreal width = linear.horizontalAdvance(text.mid(start, end - start));
        return width > 0 ? (place(end) - place(start)) / width : 1.0;
    };
    auto fits = [&](int start, int end) {
        const qreal s = scale(start, end);
        for (int word = skip(skip(start, false), true); word < end;
             word = skip(skip(word, false), true)) {
            const qreal at =
                place(start) + s * linear.horizontalAdvance(text.mid(start, word - start));
            if (std::abs(at - place(word)) > 0.5) return false;
        }
        return true;
    };
    const QTransform around = painter.worldTransform();
    for (int start = skip(0, true); start < n;) {
        int end = skip(start, false);
        for (int next = skip(end, true); next < n && fits(start, skip(next, false));
             next = skip(end, true))
            end = skip(next, false);
        QTransform piece = around;
        piece.translate(x + place(start), baseline);
        piece.scale(scale(start, end), 1);
        painter.setWorldTransform(piece);
        painter.drawText(QPointF(0, 0), text.mid(start, end - start));
        start = skip(end, true);
    }
    painter.setWorldTransform(around);
}

// A picture at its own size in dest, cut to the clip.
void TVectorBackend::Image(const TRect& dest, const QImage& image) {
    if (image.isNull()) return;
    const TRect device = dest.Offset(FOrigin.X, FOrigin.Y);
    const TRect shown = device.Intersect(FClip);
    if (shown.IsEmpty()) return;
    if (FViewScale > 0) {
        // Whole, so that parts painted apart sample it alike.
        EnsureViewClip();
        FPainter->drawImage(ToQRect(device), image);
        return;
    }
    const QRect source(shown.Left - device.Left, shown.Top - device.Top, shown.Width(),
                       shown.Height());
    FPainter->drawImage(ToQRect(shown), image, source);
}

void TVectorBackend::Draw(int x, int y, const QImage& image) {
    if (auto* shadow = Shadow()) shadow->Draw(x, y, image);
    Image(Bounds(x, y, image.width(), image.height()), image);
}

void TVectorBackend::Draw(int x, int y, const TGraphic& graphic) {
    if (auto* shadow = Shadow()) shadow->Draw(x, y, graphic);
    Image(Bounds(x, y, graphic.Width(), graphic.Height()), graphic.DrawnImage());
}

void TVectorBackend::DrawTransparent(int x, int y, const QImage& image,
                                     std::uint32_t transparentRgb) {
    if (auto* shadow = Shadow()) shadow->DrawTransparent(x, y, image, transparentRgb);
    // The same pixels left out, as a picture with an alpha mask.
    QImage masked = image;
    for (int sy = 0; sy < masked.height(); ++sy) {
        auto* line = reinterpret_cast<std::uint32_t*>(masked.scanLine(sy));
        for (int sx = 0; sx < masked.width(); ++sx) {
            const std::uint32_t px = line[sx];
            const bool out = (px & 0xFFFFFFu) == (transparentRgb & 0xFFFFFFu) || (px >> 24) < 0x80;
            line[sx] = out ? 0u : (0xFF000000u | px);
        }
    }
    BleedIntoTransparent(masked);
    Image(Bounds(x, y, masked.width(), masked.height()), masked);
}

void TVectorBackend::StretchDraw(const TRect& r, const QImage& image) {
    if (auto* shadow = Shadow()) shadow->StretchDraw(r, image);
    if (!r.IsEmpty() && !image.isNull()) Image(r, image.scaled(r.Width(), r.Height()));
}

// Over a white page an AND gives the source and an OR gives white.
void TVectorBackend::CopyRect(const TRect& dest, const QImage& image) {
    if (auto* shadow = Shadow()) shadow->CopyRect(dest, image);
    if (FCanvas.CopyMode != cmSrcPaint) Image(dest, image);
}

QPainter* TVectorBackend::BeginPainter() {
    if (!FPainter || FClip.IsEmpty()) return nullptr;
    if (FBegun) return FPainter;
    if (FViewScale > 0) EnsureViewClip();
    FPainter->save();
    FPainter->setRenderHint(QPainter::Antialiasing, false);
    FPainter->setRenderHint(QPainter::TextAntialiasing, false);
    FPainter->setClipRect(ToQRect(FClip),
                          FPainter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    FPainter->translate(FOrigin.X, FOrigin.Y);
    FBegun = true;
    return FPainter;
}

void TVectorBackend::EndPainter() {
    if (!FBegun) return;
    FPainter->restore();
    FBegun = false;
}

} // namespace tsb::canvas_detail
