#include "platform/Canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <functional>

namespace tsb {

namespace {

std::uint32_t ToRgb(TColor c) {
    return ColorToRGB(c);
}

TColor FromRgb(std::uint32_t rgb) {
    return static_cast<TColor>(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
}

// On/off run lengths of the styled thin pens, in pixels.
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

QString ToQ(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<int>(s.size()));
}

// Visits the pixels of a line from (x, y) up to, not including, (ex, ey).
template <typename Visit> void WalkLine(int x, int y, int ex, int ey, Visit visit) {
    int dx = std::abs(ex - x), dy = std::abs(ey - y);
    int sx = x < ex ? 1 : -1, sy = y < ey ? 1 : -1;
    int err = dx - dy;
    while (x != ex || y != ey) {
        visit(x, y);
        int e2 = 2 * err;
        if (e2 > -dy) {
            err -= dy;
            x += sx;
        }
        if (e2 < dx) {
            err += dx;
            y += sy;
        }
    }
}

} // namespace

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
    FDevice = device;
    FOrigin = origin;
    FClip = device ? clip.Intersect({0, 0, device->width(), device->height()}) : TRect{};
}

void TCanvas::Plot(int dx, int dy, std::uint32_t rgb, TPenMode mode) {
    if (!FClip.Contains(dx, dy) || mode == pmNop) return;
    auto* line = reinterpret_cast<std::uint32_t*>(FDevice->scanLine(dy));
    std::uint32_t& p = line[dx];
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
    if (Ready() && Pen.Style != psClear) {
        if (Pen.Width > 1)
            WideLine(PenPos.X, PenPos.Y, x, y);
        else
            ThinLine(PenPos.X, PenPos.Y, x, y);
    }
    PenPos = {x, y};
}

void TCanvas::StyledPixel(int dx, int dy) {
    const auto& pattern = StylePattern(Pen.Style);
    bool on = true;
    if (!pattern.empty()) {
        int period = 0;
        for (int n : pattern)
            period += n;
        int step = FStyleStep % period;
        for (std::size_t i = 0; i < pattern.size(); ++i) {
            if (step < pattern[i]) {
                on = (i % 2) == 0;
                break;
            }
            step -= pattern[i];
        }
        ++FStyleStep;
    }
    if (on)
        Plot(dx, dy, ToRgb(Pen.Color), Pen.Mode);
    else if (Brush.Style == bsSolid)
        Plot(dx, dy, ToRgb(Brush.Color), Pen.Mode);
}

void TCanvas::ThinLine(int x1, int y1, int x2, int y2) {
    int x = x1 + FOrigin.X, y = y1 + FOrigin.Y;
    int ex = x2 + FOrigin.X, ey = y2 + FOrigin.Y;
    WalkLine(x, y, ex, ey, [this](int px, int py) { StyledPixel(px, py); });
}

void TCanvas::WideLine(int x1, int y1, int x2, int y2) {
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
    if (points.empty()) return;
    MoveTo(points[0].X, points[0].Y);
    for (std::size_t i = 1; i < points.size(); ++i)
        LineTo(points[i].X, points[i].Y);
}

void TCanvas::ApplyMask(const TRect& box, const std::vector<std::uint8_t>& mask, bool outline) {
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

// Marks as outline every filled pixel that has a 4-neighbour outside the
// figure. `inside` tests device pixels and may look beyond the box.
template <typename Inside>
static void MarkFigure(const TRect& box, std::vector<std::uint8_t>& mask, Inside inside,
                       bool outline) {
    int w = box.Width();
    for (int y = box.Top; y < box.Bottom; ++y) {
        for (int x = box.Left; x < box.Right; ++x) {
            if (!inside(x, y)) continue;
            bool edge = outline && (!inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) ||
                                    !inside(x, y + 1));
            mask[static_cast<std::size_t>((y - box.Top) * w + (x - box.Left))] = edge ? 2 : 1;
        }
    }
}

// Pixel (x, y) lies in the ellipse inscribed in [l, r) x [t, b) when its
// centre does.
static bool InEllipse(long long x, long long y, long long l, long long t, long long r,
                      long long b) {
    long long w = r - l, h = b - t;
    if (w <= 0 || h <= 0) return false;
    long long ex = 2 * x + 1 - (l + r);
    long long ey = 2 * y + 1 - (t + b);
    return ex * ex * h * h + ey * ey * w * w <= w * w * h * h;
}

// The figure's box in device pixels, corners put in order.
TRect TCanvas::DeviceBox(int x1, int y1, int x2, int y2) const {
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    return TRect{x1, y1, x2, y2}.Offset(FOrigin.X, FOrigin.Y);
}

void TCanvas::DrawFigure(const TRect& fig, const std::function<bool(int, int)>& inside) {
    TRect box = fig.Intersect(FClip);
    if (box.IsEmpty()) return;
    std::vector<std::uint8_t> mask(static_cast<std::size_t>(box.Width()) * box.Height(), 0);
    MarkFigure(box, mask, inside, Pen.Style != psClear);
    ApplyMask(box, mask);
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    if (!Ready()) return;
    TRect fig = DeviceBox(x1, y1, x2, y2);
    DrawFigure(fig, [&](int x, int y) { return fig.Contains(x, y); });
}

void TCanvas::FrameRect(const TRect& r) {
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
    if (!Ready()) return;
    TRect fig = DeviceBox(x1, y1, x2, y2);
    DrawFigure(fig, [&](int x, int y) {
        return InEllipse(x, y, fig.Left, fig.Top, fig.Right, fig.Bottom);
    });
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int w, int h) {
    if (!Ready()) return;
    TRect fig = DeviceBox(x1, y1, x2, y2);
    w = std::min(std::abs(w), fig.Width());
    h = std::min(std::abs(h), fig.Height());
    if (w < 2 || h < 2) {
        Rectangle(x1, y1, x2, y2);
        return;
    }
    auto inside = [&](int x, int y) {
        if (!fig.Contains(x, y)) return false;
        // Corner zones are cut by the quarter of a w x h ellipse.
        bool left = 2 * x + 1 < 2 * fig.Left + w;
        bool right = 2 * x + 1 > 2 * fig.Right - w;
        bool top = 2 * y + 1 < 2 * fig.Top + h;
        bool bottom = 2 * y + 1 > 2 * fig.Bottom - h;
        int el = left ? fig.Left : fig.Right - w;
        int et = top ? fig.Top : fig.Bottom - h;
        if ((left || right) && (top || bottom)) return InEllipse(x, y, el, et, el + w, et + h);
        return true;
    };
    DrawFigure(fig, inside);
}

void TCanvas::Polygon(const std::vector<TPoint>& points) {
    if (!Ready() || points.empty()) return;
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
    // outline without gaps.
    std::size_t n = points.size();
    for (int y = box.Top; y < box.Bottom; ++y) {
        double cy = y - FOrigin.Y;
        std::vector<double> xs;
        for (std::size_t i = 0; i < n; ++i) {
            const TPoint& a = points[i];
            const TPoint& b = points[(i + 1) % n];
            if ((a.Y <= cy && b.Y > cy) || (b.Y <= cy && a.Y > cy)) {
                double t = (cy - a.Y) / double(b.Y - a.Y);
                xs.push_back(a.X + t * (b.X - a.X));
            }
        }
        std::sort(xs.begin(), xs.end());
        for (std::size_t k = 0; k + 1 < xs.size(); k += 2) {
            for (int x = box.Left; x < box.Right; ++x) {
                double cx = x - FOrigin.X;
                if (cx >= xs[k] && cx < xs[k + 1])
                    mask[static_cast<std::size_t>((y - box.Top) * w + (x - box.Left))] = 1;
            }
        }
    }
    // Outline: the closed polyline, each vertex once.
    const bool outline = Pen.Style != psClear;
    const bool wide = outline && Pen.Width > 1;
    if (outline && !wide) {
        for (std::size_t i = 0; i < n; ++i) {
            int x = points[i].X + FOrigin.X, y = points[i].Y + FOrigin.Y;
            int ex = points[(i + 1) % n].X + FOrigin.X, ey = points[(i + 1) % n].Y + FOrigin.Y;
            WalkLine(x, y, ex, ey, [&](int px, int py) {
                if (box.Contains(px, py))
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
    if (!Ready() || Brush.Style == bsClear) return;
    TRect box = r.Offset(FOrigin.X, FOrigin.Y).Intersect(FClip);
    std::uint32_t c = 0xFF000000u | ToRgb(Brush.Color);
    for (int y = box.Top; y < box.Bottom; ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(FDevice->scanLine(y));
        std::fill(line + box.Left, line + box.Right, c);
    }
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    if (Ready()) Plot(x + FOrigin.X, y + FOrigin.Y, ToRgb(color), pmCopy);
}

TColor TCanvas::Pixel(int x, int y) const {
    int dx = x + FOrigin.X, dy = y + FOrigin.Y;
    if (!FDevice || !FClip.Contains(dx, dy)) return -1;
    return FromRgb(FDevice->pixel(dx, dy) & 0xFFFFFFu);
}

QPainter* TCanvas::BeginPainter() {
    if (!Ready()) return nullptr;
    if (FPainter) return FPainter;
    FPainter = new QPainter(FDevice);
    FPainter->setRenderHint(QPainter::Antialiasing, false);
    FPainter->setRenderHint(QPainter::TextAntialiasing, false);
    FPainter->setClipRect(QRect(FClip.Left, FClip.Top, FClip.Width(), FClip.Height()));
    FPainter->translate(FOrigin.X, FOrigin.Y);
    return FPainter;
}

void TCanvas::EndPainter() {
    delete FPainter;
    FPainter = nullptr;
}

int TCanvas::TextWidth(const std::string& text) {
    QFontMetrics fm(Font.ToQFont());
    return fm.horizontalAdvance(ToQ(text));
}

int TCanvas::TextHeight(const std::string&) {
    QFontMetrics fm(Font.ToQFont());
    return fm.height();
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
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
    p->drawText(QPoint(x, y + fm.ascent()), s);
    EndPainter();
    PenPos = {x + fm.horizontalAdvance(s), y};
}

void TCanvas::DrawTextCentered(const TRect& r, const std::string& text) {
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
        p->drawText(QPoint(x, y + fm.ascent()), line);
        y += fm.height();
    }
    EndPainter();
}

void TCanvas::Draw(int x, int y, const QImage& image) {
    QPainter* p = BeginPainter();
    if (!p) return;
    p->drawImage(QPoint(x, y), image);
    EndPainter();
}

void TCanvas::DrawTransparent(int x, int y, const QImage& image, std::uint32_t transparentRgb) {
    if (!Ready()) return;
    QImage src = image.convertToFormat(QImage::Format_ARGB32);
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
    QPainter* p = BeginPainter();
    if (!p) return;
    p->drawImage(QRect(r.Left, r.Top, r.Width(), r.Height()), image);
    EndPainter();
}

void TCanvas::CopyRect(const TRect& dest, const QImage& source, const TRect& sourceRect) {
    if (!Ready() || dest.IsEmpty() || sourceRect.IsEmpty()) return;
    QImage src =
        source.copy(sourceRect.Left, sourceRect.Top, sourceRect.Width(), sourceRect.Height());
    if (src.size() != QSize(dest.Width(), dest.Height()))
        src = src.scaled(dest.Width(), dest.Height());
    src = src.convertToFormat(QImage::Format_RGB32);
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
