// The canvas's vector back end: the same calls as QPainter primitives on a
// vector device, with the pixel rules turned into exact geometry. Each call
// sets the pen, brush and hints it needs and leaves them so, without a save
// and restore: an SVG document writes a group for every change of state, and
// a restore is a change of its own.
#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <cmath>

#include "graphics/Canvas.h"
#include "graphics/CanvasDetail.h"

namespace tsb {

namespace {

QColor Rgb(std::uint32_t rgb) {
    return QColor::fromRgb(0xFF000000u | rgb);
}

QRectF ClipRectF(const TRect& clip) {
    return QRectF(clip.Left, clip.Top, clip.Width(), clip.Height());
}

// An outline one unit wide as the area it covers. Lines are one unit wide,
// not one device pixel: a page printed or a drawing zoomed keeps the
// proportions of the screen.
QPainterPath StrokeArea(const QPainterPath& path, qreal width, Qt::PenCapStyle cap,
                        Qt::PenJoinStyle join) {
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(cap);
    stroker.setJoinStyle(join);
    return stroker.createStroke(path);
}

} // namespace

void TCanvas::BindPainter(QPainter* painter, TPoint origin, const TRect& clip,
                          TRasterShadow* shadow) {
    EndPainter();
    FDevice = nullptr;
    FVector = painter;
    FShadow = painter ? shadow : nullptr;
    FOrigin = origin;
    FClip = painter ? clip : TRect{};
}

void TCanvas::BindLike(const TCanvas& target, TPoint origin, const TRect& clip) {
    if (target.FVector)
        BindPainter(target.FVector, origin, clip, target.FShadow);
    else
        Bind(target.FDevice, origin, clip);
}

void TCanvas::ShadowRun(const std::function<void()>& call) {
    // The same call on the image, with the pen's position and pattern as
    // they were, which the vector call then takes up.
    const TPoint pen = PenPos;
    const std::int64_t step = FStyleStep;
    QPainter* vector = FVector;
    const TRect clip = FClip;
    FVector = nullptr;
    FDevice = &FShadow->Image;
    FClip = clip.Intersect({0, 0, FDevice->width(), FDevice->height()});
    try {
        call();
    } catch (...) {
        EndPainter();
        FDevice = nullptr;
        FVector = vector;
        FClip = clip;
        throw;
    }
    EndPainter();
    FDevice = nullptr;
    FVector = vector;
    FClip = clip;
    PenPos = pen;
    FStyleStep = step;
}

// What a pen or brush of this colour leaves on a white page under the pen
// mode; invalid where it leaves nothing.
QColor TCanvas::VectorColour(TColor colour) const {
    const std::uint32_t rgb = ColorToRGB(colour) & 0xFFFFFFu;
    switch (Pen.Mode) {
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

// The pixels the raster walk plots, inside the clip, as runs of the pen's
// colour and (with a solid brush) of the brush's colour in the gaps. A run
// of a line along a row or column is a rectangle; a run of any other line is
// a one-unit line from its first to its last pixel.
void TCanvas::VectorThinLine(int x1, int y1, int x2, int y2) {
    const QColor on = VectorColour(Pen.Color);
    const QColor off = Brush.Style == bsSolid ? VectorColour(Brush.Color) : QColor();
    const bool straight = x1 == x2 || y1 == y2;
    QColor colour;
    QPoint first, last;
    bool open = false;
    FVector->setRenderHint(QPainter::Antialiasing, false);
    auto flush = [&] {
        if (!open) return;
        open = false;
        if (!colour.isValid()) return;
        if (straight || first == last) {
            FVector->fillRect(QRect(first, last).normalized(), colour);
        } else {
            FVector->setPen(QPen(colour, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            FVector->drawLine(QPointF(first) + QPointF(0.5, 0.5),
                              QPointF(last) + QPointF(0.5, 0.5));
        }
    };
    const std::int64_t start = FStyleStep;
    const std::int64_t n =
        canvas_detail::WalkLine(FClip, x1 + FOrigin.X, y1 + FOrigin.Y, x2 + FOrigin.X,
                                y2 + FOrigin.Y, [&](int px, int py, std::int64_t i) {
                                    const QColor& c =
                                        canvas_detail::StyleOn(Pen.Style, start + i) ? on : off;
                                    if (open && c == colour) {
                                        last = QPoint(px, py);
                                        return;
                                    }
                                    flush();
                                    colour = c;
                                    first = last = QPoint(px, py);
                                    open = true;
                                });
    if (!canvas_detail::StylePattern(Pen.Style).empty()) FStyleStep = start + n;
    flush();
}

void TCanvas::VectorWideLine(const QPainterPath& path) {
    const QColor colour = VectorColour(Pen.Color);
    if (!colour.isValid()) return;
    FVector->setRenderHint(QPainter::Antialiasing, false);
    const QRectF clip = ClipRectF(FClip);
    const qreal reach = Pen.Width;
    if (clip.contains(path.boundingRect().adjusted(-reach, -reach, reach, reach))) {
        FVector->setPen(QPen(colour, Pen.Width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        FVector->setBrush(Qt::NoBrush);
        FVector->drawPath(path);
    } else {
        QPainterPath clipPath;
        clipPath.addRect(clip);
        QPainterPath area = StrokeArea(path, Pen.Width, Qt::RoundCap, Qt::RoundJoin);
        FVector->fillPath(area.intersected(clipPath), colour);
    }
}

void TCanvas::VectorFill(const QPainterPath& path, TColor colour) {
    const QColor c = VectorColour(colour);
    if (!c.isValid()) return;
    FVector->setRenderHint(QPainter::Antialiasing, false);
    const QRectF clip = ClipRectF(FClip);
    if (clip.contains(path.boundingRect())) {
        FVector->fillPath(path, c);
    } else {
        QPainterPath clipPath;
        clipPath.addRect(clip);
        FVector->fillPath(path.intersected(clipPath), c);
    }
}

void TCanvas::VectorOutline(const QPainterPath& path) {
    const QColor colour = VectorColour(Pen.Color);
    if (!colour.isValid()) return;
    FVector->setRenderHint(QPainter::Antialiasing, false);
    const QRectF clip = ClipRectF(FClip);
    if (clip.contains(path.boundingRect().adjusted(-0.5, -0.5, 0.5, 0.5))) {
        FVector->setPen(QPen(colour, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        FVector->setBrush(Qt::NoBrush);
        FVector->drawPath(path);
    } else {
        QPainterPath clipPath;
        clipPath.addRect(clip);
        QPainterPath area = StrokeArea(path, 1, Qt::SquareCap, Qt::MiterJoin);
        FVector->fillPath(area.intersected(clipPath), colour);
    }
}

// A figure's inside in the brush and its edge pixels in the pen. Figure
// outlines are one pixel whatever the pen's width and style, as on images.
void TCanvas::VectorFigure(const QPainterPath& fill, const QPainterPath& outline) {
    if (Brush.Style == bsSolid) VectorFill(fill, Brush.Color);
    if (Pen.Style == psClear) return;
    if (outline == fill) {
        // One pixel across: every pixel is an edge pixel.
        VectorFill(fill, Pen.Color);
        return;
    }
    VectorOutline(outline);
}

void TCanvas::VectorPolygon(const std::vector<TPoint>& points) {
    const std::size_t n = points.size();
    QPainterPath fill;
    fill.setFillRule(Qt::OddEvenFill);
    fill.moveTo(points[0].X + FOrigin.X + 0.5, points[0].Y + FOrigin.Y + 0.5);
    for (std::size_t i = 1; i < n; ++i)
        fill.lineTo(points[i].X + FOrigin.X + 0.5, points[i].Y + FOrigin.Y + 0.5);
    fill.closeSubpath();
    if (Brush.Style == bsSolid) VectorFill(fill, Brush.Color);
    if (Pen.Style != psClear) {
        if (Pen.Width > 1) {
            VectorWideLine(fill);
        } else {
            // The closed polyline, each vertex once, the style running on.
            FStyleStep = 0;
            for (std::size_t i = 0; i < n; ++i)
                VectorThinLine(points[i].X, points[i].Y, points[(i + 1) % n].X,
                               points[(i + 1) % n].Y);
            if (n == 1) // a single vertex is a single pixel
                VectorThinLine(points[0].X, points[0].Y, points[0].X + 1, points[0].Y);
        }
    }
    PenPos = points[0];
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
void TCanvas::TextRun(QPainter& painter, int x, int baseline, const QString& text,
                      const QFont& font) {
    const QPaintEngine* engine = painter.paintEngine();
    if (!FVector || !engine || engine->type() != QPaintEngine::SVG) {
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

// Dots from first to last on row y, device pixels inside the clip: a line
// through the row's middle whose dashes are one unit long and `step` apart.
void TCanvas::VectorDotRow(int first, int last, int y, int step, TColor color) {
    const QColor colour = Rgb(ColorToRGB(color) & 0xFFFFFFu);
    FVector->setRenderHint(QPainter::Antialiasing, false);
    if (first == last || step == 1) {
        FVector->fillRect(QRect(first, y, last + 1 - first, 1), colour);
    } else {
        QPen pen(colour, 1, Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
        pen.setDashPattern({1.0, qreal(step - 1)});
        FVector->setPen(pen);
        FVector->drawLine(QPointF(first, y + 0.5), QPointF(last + 1, y + 0.5));
    }
}

// A picture at its own size in dest, cut to the clip.
void TCanvas::VectorImage(const TRect& dest, const QImage& image) {
    if (image.isNull()) return;
    const TRect device = dest.Offset(FOrigin.X, FOrigin.Y);
    const TRect shown = device.Intersect(FClip);
    if (shown.IsEmpty()) return;
    const QRect source(shown.Left - device.Left, shown.Top - device.Top, shown.Width(),
                       shown.Height());
    FVector->drawImage(QRect(shown.Left, shown.Top, shown.Width(), shown.Height()), image, source);
}

} // namespace tsb
