#include "graphics/Canvas.h"

#include "graphics/CanvasBackend.h"
#include "graphics/CanvasDetail.h"
#include "graphics/Graphic.h"
#include "graphics/QtConvert.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <unordered_map>

namespace tsb {

using canvas_detail::TRasterBackend;
using canvas_detail::TVectorBackend;

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

TCanvas::TCanvas() = default;

TCanvas::TCanvas(QImage* device) {
    Bind(device);
}

TCanvas::~TCanvas() {
    // The surface may be going too: nothing is reported.
    OnDamage = nullptr;
    EndPainter();
}

void TCanvas::Bind(QImage* device) {
    Bind(device, {0, 0}, device ? TRect{0, 0, device->width(), device->height()} : TRect{});
}

void TCanvas::Bind(QImage* device, TPoint origin, const TRect& clip) {
    EndPainter();
    OnDamage = nullptr;
    FOrigin = origin;
    FClip = device ? clip.Intersect({0, 0, device->width(), device->height()}) : TRect{};
    FBackend = nullptr;
    if (!device) return;
    if (!FRaster) FRaster = std::make_unique<TRasterBackend>(*this);
    FRaster->Bind(device, origin, FClip);
    FBackend = FRaster.get();
}

void TCanvas::BindPainter(QPainter* painter, TPoint origin, const TRect& clip,
                          TRasterShadow* shadow) {
    EndPainter();
    FOrigin = origin;
    FClip = painter ? clip : TRect{};
    FBackend = nullptr;
    if (!painter) return;
    if (!FVector) FVector = std::make_unique<TVectorBackend>(*this);
    FVector->Bind(painter, origin, clip, shadow);
    FBackend = FVector.get();
}

void TCanvas::BindView(QPainter* painter, TPoint origin, const TRect& clip, double scale,
                       const QRect& area) {
    BindPainter(painter, origin, clip);
    if (FBackend) FVector->SetView(scale, area);
}

double TCanvas::ViewScale() const {
    return IsVector() ? FVector->ViewScale() : 0;
}

void TCanvas::BindLike(const TCanvas& target, TPoint origin, const TRect& clip) {
    if (target.IsVector()) {
        BindPainter(target.FVector->Painter(), origin, clip, target.FVector->ShadowImage());
        if (FBackend && target.FVector->ViewScale() > 0)
            FVector->SetView(target.FVector->ViewScale(), target.FVector->ViewArea());
    } else {
        Bind(target.Device(), origin, clip);
    }
}

void TCanvas::Unbind() {
    EndPainter();
    FBackend = nullptr;
    OnDamage = nullptr;
}

bool TCanvas::IsVector() const {
    return FBackend && FBackend == FVector.get();
}

QImage* TCanvas::Device() const {
    return FBackend && FBackend == FRaster.get() ? FRaster->Device() : nullptr;
}

void TCanvas::MoveTo(int x, int y) {
    PenPos = {x, y};
    FStyleStep = 0;
}

void TCanvas::LineTo(int x, int y) {
    if (Ready() && Pen.Style != psClear) {
        if (Pen.Width > 1) {
            FBackend->WideLine(PenPos.X, PenPos.Y, x, y);
        } else {
            // A styled pen's pattern runs on from line to line.
            const std::int64_t n = FBackend->ThinLine(PenPos.X, PenPos.Y, x, y, FStyleStep);
            if (!canvas_detail::StylePattern(Pen.Style).empty()) FStyleStep += n;
        }
    }
    PenPos = {x, y};
}

void TCanvas::Polyline(const std::vector<TPoint>& points) {
    if (points.empty()) return;
    MoveTo(points[0].X, points[0].Y);
    for (std::size_t i = 1; i < points.size(); ++i)
        LineTo(points[i].X, points[i].Y);
}

void TCanvas::Polygon(const std::vector<TPoint>& points) {
    if (!Ready() || points.empty()) return;
    const std::int64_t walked = FBackend->Polygon(points);
    if (Pen.Style != psClear && Pen.Width <= 1 && !canvas_detail::StylePattern(Pen.Style).empty())
        FStyleStep = walked;
    PenPos = points[0];
}

namespace {

// The box with its corners in order.
TRect Ordered(int x1, int y1, int x2, int y2) {
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

} // namespace

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    if (Ready()) FBackend->Figure(canvas_detail::fgRectangle, Ordered(x1, y1, x2, y2), 0, 0);
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
    if (Ready()) FBackend->Figure(canvas_detail::fgEllipse, Ordered(x1, y1, x2, y2), 0, 0);
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int w, int h) {
    if (!Ready()) return;
    const TRect box = Ordered(x1, y1, x2, y2);
    const int cw = int(std::min<std::int64_t>(std::llabs(w), box.Width()));
    const int ch = int(std::min<std::int64_t>(std::llabs(h), box.Height()));
    if (cw < 2 || ch < 2)
        FBackend->Figure(canvas_detail::fgRectangle, box, 0, 0);
    else
        FBackend->Figure(canvas_detail::fgRoundRect, box, cw, ch);
}

void TCanvas::FillRect(const TRect& r) {
    if (Ready() && Brush.Style != bsClear) FBackend->FillRect(r);
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    if (Ready()) FBackend->SetPixel(x, y, color);
}

void TCanvas::DotRow(int x, int y, int count, int step, TColor color) {
    if (Ready() && count > 0 && step > 0) FBackend->DotRow(x, y, count, step, color);
}

TColor TCanvas::Pixel(int x, int y) const {
    return FBackend ? FBackend->Pixel(x, y) : -1;
}

QPainter* TCanvas::BeginPainter() {
    return Ready() ? FBackend->BeginPainter() : nullptr;
}

void TCanvas::EndPainter() {
    if (FBackend) FBackend->EndPainter();
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

bool TCanvas::SmallText(int& height) {
    const double scale = ViewScale();
    if (scale <= 0) return false;
    // Characters under 3 device pixels high.
    if (Font.ToQFont().pixelSize() * scale >= 3) return false;
    height = TextHeight({});
    return true;
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    if (!Ready()) return;
    if (int height; SmallText(height)) {
        // Too small to read: only its measured extent counts.
        const int width = TextWidth(text);
        FBackend->TextBars({{x, y, width, {}}}, height, nullptr);
        PenPos = {x + width, y};
        return;
    }
    const QFont f = Font.ToQFont();
    const QString s = ToQ(text);
    const int width = QFontMetrics(f).horizontalAdvance(s);
    FBackend->Text({{x, y, width, s}}, f, nullptr);
    PenPos = {x + width, y};
}

void TCanvas::DrawTextCentered(const TRect& r, const std::string& text) {
    if (!Ready()) return;
    if (int height; SmallText(height)) {
        // Too small to read: each paragraph's measured width, broken into
        // lines of the rectangle's width, without laying out the words.
        std::vector<canvas_detail::TTextLine> placed;
        const int across = std::max(1, r.Width());
        int y = r.Top;
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find_first_of("\r\n", start);
            if (end == std::string::npos) end = text.size();
            for (int left = TextWidth(text.substr(start, end - start));; left -= across) {
                const int width = std::min(left, across);
                placed.push_back({r.Left + (r.Width() - width) / 2, y, width, {}});
                y += height;
                if (left <= across) break;
            }
            if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++end;
            start = end + 1;
        }
        FBackend->TextBars(placed, height, &r);
        return;
    }
    const QFont f = Font.ToQFont();
    // Measured through the canvas's store: the same captions are measured
    // at every paint.
    auto Measured = [this](const QString& s) { return TextWidth(s.toStdString()); };
    const int height = TextHeight({});
    const int width = r.Width();
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
            if (!started || Measured(candidate) <= width) {
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
    std::vector<canvas_detail::TTextLine> placed;
    int y = r.Top;
    for (const QString& line : lines) {
        const int lw = Measured(line);
        placed.push_back({r.Left + (width - lw) / 2, y, lw, line});
        y += height;
    }
    FBackend->Text(placed, f, &r);
}

void TCanvas::Draw(int x, int y, const QImage& image) {
    if (Ready()) FBackend->Draw(x, y, image);
}

void TCanvas::Draw(int x, int y, const TGraphic& graphic) {
    if (!graphic.Empty() && Ready()) FBackend->Draw(x, y, graphic);
}

void TCanvas::DrawTransparent(int x, int y, const QImage& image, std::uint32_t transparentRgb) {
    if (Ready())
        FBackend->DrawTransparent(x, y, image.convertToFormat(QImage::Format_ARGB32),
                                  transparentRgb);
}

void TCanvas::StretchDraw(const TRect& r, const QImage& image) {
    if (Ready()) FBackend->StretchDraw(r, image);
}

void TCanvas::CopyRect(const TRect& dest, const QImage& source, const TRect& sourceRect) {
    if (!Ready() || dest.IsEmpty() || sourceRect.IsEmpty()) return;
    QImage src =
        source.copy(sourceRect.Left, sourceRect.Top, sourceRect.Width(), sourceRect.Height());
    if (src.size() != QSize(dest.Width(), dest.Height()))
        src = src.scaled(dest.Width(), dest.Height());
    FBackend->CopyRect(dest, src.convertToFormat(QImage::Format_RGB32));
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

namespace canvas_detail {

void TCanvasBackend::Text(const std::vector<TTextLine>& lines, const QFont& font,
                          const TRect* cut) {
    QPainter* p = BeginPainter();
    if (!p) return;
    const QFontMetrics fm(font);
    if (cut)
        p->setClipRect(QRect(cut->Left, cut->Top, cut->Width(), cut->Height()), Qt::IntersectClip);
    p->setFont(font);
    p->setPen(QtColor(FCanvas.Font.Color()));
    for (const TTextLine& line : lines) {
        if (FCanvas.Brush.Style == bsSolid)
            p->fillRect(QRect(line.X, line.Y, line.Width, fm.height()),
                        QtColor(FCanvas.Brush.Color));
        TextRun(*p, line.X, line.Y + fm.ascent(), line.Text, font);
    }
    EndPainter();
}

} // namespace canvas_detail

} // namespace tsb
