#include "export/SvgDevice.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QIODevice>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPixmap>
#include <QTextItem>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <unordered_map>

namespace tsb {

namespace {

constexpr int UnitsPerInch = 96;
// Entries of each table of styles, figures and clips: past that, styles go
// inline and figures and clips are written out each time.
constexpr std::size_t MaxTable = 4096;
// Text gathered before it goes to the output.
constexpr std::size_t OutputBytes = 1 << 16;
// A figure shorter than this costs less written out than referred to.
constexpr std::size_t MinSharedFigure = 64;

// v to a thousandth, without trailing zeros.
void Number(std::string& s, double v, int decimals = 3) {
    const long long scale = decimals == 3 ? 1000 : 1000000;
    long long t = std::llround(v * double(scale));
    if (t < 0) {
        s += '-';
        t = -t;
    }
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, t / scale).ptr;
    s.append(digits, end);
    long long fraction = t % scale;
    if (fraction == 0) return;
    char tail[6];
    int n = decimals;
    for (int i = n - 1; i >= 0; --i, fraction /= 10)
        tail[i] = char('0' + fraction % 10);
    while (tail[n - 1] == '0')
        --n;
    s += '.';
    s.append(tail, static_cast<std::size_t>(n));
}

void Colour(std::string& s, const QColor& c) {
    static const char hex[] = "0123456789abcdef";
    const QRgb rgb = c.rgb();
    s += '#';
    for (int shift = 20; shift >= 0; shift -= 4)
        s += hex[(rgb >> shift) & 0xF];
}

// Text as XML character data: markup escaped, characters XML cannot hold
// left out.
void Escaped(std::string& s, const QString& text) {
    for (const char c : text.toUtf8()) {
        switch (c) {
        case '&':
            s += "&amp;";
            break;
        case '<':
            s += "&lt;";
            break;
        case '>':
            s += "&gt;";
            break;
        case '"':
            s += "&quot;";
            break;
        default:
            if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r')
                s += c;
        }
    }
}

// The letters of a class name: a to z, then ba, bb and so on.
std::string ClassName(std::size_t n) {
    std::string name;
    do {
        name.insert(name.begin(), char('a' + n % 26));
        n /= 26;
    } while (n > 0);
    return name;
}

bool Translating(const QTransform& t) {
    return t.type() <= QTransform::TxTranslate;
}

} // namespace

class TSvgEngine : public QPaintEngine {
public:
    TSvgEngine(QIODevice& out, QSize size, QString title, QString description)
        : QPaintEngine(AllFeatures), FDevice(out), FSize(size), FTitle(std::move(title)),
          FDescription(std::move(description)) {}

    bool Written() const { return !FFailed; }

    Type type() const override { return SVG; }

    bool begin(QPaintDevice*) override {
        std::string& s = FOut;
        s += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n<svg width=\"";
        Number(s, FSize.width() * 25.4 / UnitsPerInch);
        s += "mm\" height=\"";
        Number(s, FSize.height() * 25.4 / UnitsPerInch);
        s += "mm\"\n viewBox=\"0 0 " + std::to_string(FSize.width()) + ' ' +
             std::to_string(FSize.height()) +
             "\"\n xmlns=\"http://www.w3.org/2000/svg\" "
             "xmlns:xlink=\"http://www.w3.org/1999/xlink\" version=\"1.1\">\n<title>";
        Escaped(s, FTitle);
        s += "</title>\n<desc>";
        Escaped(s, FDescription);
        s += "</desc>\n";
        return Flush(false);
    }

    bool end() override {
        EndRun();
        FOut += "</svg>\n";
        return Flush(true);
    }

    void updateState(const QPaintEngineState& state) override {
        const DirtyFlags dirty = state.state();
        if (dirty & DirtyPen) FPen = state.pen();
        if (dirty & DirtyBrush) FBrush = state.brush();
        if (dirty & DirtyTransform) FTransform = state.transform();
        if (dirty & DirtyClipEnabled) FClipEnabled = state.isClipEnabled();
        if (dirty & DirtyClipRegion) {
            QPainterPath path;
            path.addRegion(state.clipRegion());
            Clip(path, state.clipOperation(), state.clipRegion().rectCount() == 1);
        }
        if (dirty & DirtyClipPath) {
            const QPainterPath& path = state.clipPath();
            Clip(path, state.clipOperation(), path.isEmpty() || IsRectangle(path));
        }
    }

    void drawRects(const QRectF* rects, int count) override {
        for (int i = 0; i < count; ++i) {
            const QRectF& r = rects[i];
            if (Filling() && !Stroking() && Translating(FTransform)) {
                // The run's path goes round each rectangle the same way, so
                // any overlap stays filled.
                const QRectF d = FTransform.mapRect(r);
                if (!Visible(d)) continue;
                if (!NeedsClip(d)) {
                    std::string& p = Run(RunFill, FillStyle(Qt::WindingFill));
                    p += 'M';
                    Number(p, d.x());
                    p += ' ';
                    Number(p, d.y());
                    p += 'h';
                    Number(p, d.width());
                    p += 'v';
                    Number(p, d.height());
                    p += 'h';
                    Number(p, -d.width());
                    p += 'z';
                    continue;
                }
            }
            QPainterPath path;
            path.addRect(r);
            drawPath(path);
        }
    }

    void drawLines(const QLineF* lines, int count) override {
        if (!Stroking()) return;
        const bool run = FPen.style() == Qt::SolidLine && Translating(FTransform);
        for (int i = 0; i < count; ++i) {
            const QLineF line = FTransform.map(lines[i]);
            const QRectF box = StrokeBox(QRectF(line.p1(), line.p2()).normalized());
            if (!Visible(box)) continue;
            if (run && !NeedsClip(box)) {
                std::string& p = Run(RunStroke, Style(false, Qt::WindingFill));
                p += 'M';
                Point(p, line.p1());
                p += 'L';
                Point(p, line.p2());
                continue;
            }
            QPainterPath path(lines[i].p1());
            path.lineTo(lines[i].p2());
            Figure(path, false, false);
        }
    }

    void drawPath(const QPainterPath& path) override { Figure(path, Filling(), false); }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
        if (count <= 0) return;
        QPainterPath path(points[0]);
        for (int i = 1; i < count; ++i)
            path.lineTo(points[i]);
        path.setFillRule(mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
        Figure(path, mode != PolylineMode && Filling(), mode != PolylineMode);
    }

    void drawPixmap(const QRectF& r, const QPixmap& pixmap, const QRectF& source) override {
        drawImage(r, pixmap.toImage(), source, Qt::AutoColor);
    }

    void drawImage(const QRectF& r, const QImage& image, const QRectF& source,
                   Qt::ImageConversionFlags) override {
        const QRectF box = FTransform.mapRect(r);
        if (!Visible(box) || image.isNull()) return;
        const QRect part = source.toAlignedRect();
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        (part == image.rect() ? image : image.copy(part)).save(&buffer, "PNG");
        std::string e = "<image";
        Place(e, r);
        e += " width=\"";
        Number(e, r.width());
        e += "\" height=\"";
        Number(e, r.height());
        e += "\" preserveAspectRatio=\"none\" xlink:href=\"data:image/png;base64,";
        e += png.toBase64().toStdString();
        e += "\"/>\n";
        Element(e, box);
    }

    void drawTextItem(const QPointF& p, const QTextItem& item) override {
        const QFont font = item.font();
        const QRectF box = FTransform.mapRect(Ink(font, item.text()).translated(p));
        if (!Visible(box) || item.text().isEmpty()) return;
        std::string style = "fill:";
        Colour(style, FPen.color());
        style += ";stroke:none;font-family:'";
        for (const char c : font.family().toUtf8())
            if (c != '\'' && c != '\\') style += c;
        style += "';font-size:";
        Number(style,
               font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * UnitsPerInch / 72.0);
        style += "px;font-weight:" + std::to_string(font.weight());
        style += font.italic() ? ";font-style:italic" : ";font-style:normal";
        if (font.underline() || font.strikeOut()) {
            style += ";text-decoration:";
            style += font.underline() && font.strikeOut() ? "underline line-through"
                     : font.underline()                   ? "underline"
                                                          : "line-through";
        }
        const QString text = item.text();
        std::string e = "<text";
        Attribute(e, style);
        if (Translating(FTransform)) {
            const QPointF at = FTransform.map(p);
            e += " x=\"";
            Number(e, at.x());
            e += "\" y=\"";
            Number(e, at.y());
            e += '"';
        } else {
            Matrix(e);
            if (!p.isNull()) {
                e += " x=\"";
                Number(e, p.x());
                e += "\" y=\"";
                Number(e, p.y());
                e += '"';
            }
        }
        if (text.startsWith(' ') || text.endsWith(' ') || text.contains(QLatin1String("  ")))
            e += " xml:space=\"preserve\"";
        e += '>';
        Escaped(e, text);
        e += "</text>\n";
        Element(e, box);
    }

private:
    enum TRun { RunNone, RunFill, RunStroke };

    // Where the glyphs of the text put ink, from the start of its baseline:
    // a caption fills its box, and is cut only when its glyphs reach out.
    QRectF Ink(const QFont& font, const QString& text) {
        const QString key = font.key() + QChar(0) + text;
        auto found = FInk.find(key);
        if (found != FInk.end()) return found->second;
        const QRectF ink = QFontMetricsF(font).tightBoundingRect(text);
        if (FInk.size() >= MaxTable) FInk.clear();
        FInk.emplace(key, ink);
        return ink;
    }

    bool Filling() const { return FBrush.style() != Qt::NoBrush; }
    bool Stroking() const { return FPen.style() != Qt::NoPen; }
    qreal PenWidth() const { return FPen.widthF() > 0 ? FPen.widthF() : 1; }

    // A path of four straight sides along the axes, as QPainterPath::addRect
    // makes.
    static bool IsRectangle(const QPainterPath& path) {
        if (path.elementCount() != 5) return false;
        for (int i = 1; i < 5; ++i) {
            const QPainterPath::Element a = path.elementAt(i - 1), b = path.elementAt(i);
            if (!b.isLineTo() || (a.x != b.x && a.y != b.y)) return false;
        }
        return true;
    }

    // The clip in device units, combined with the one before.
    void Clip(const QPainterPath& path, Qt::ClipOperation op, bool rectangle) {
        if (op == Qt::NoClip) {
            FClip.reset();
            return;
        }
        QPainterPath device = FTransform.map(path);
        rectangle = rectangle && Translating(FTransform);
        if (op == Qt::IntersectClip && FClip) {
            if (rectangle && FClipIsRect) {
                device = QPainterPath();
                device.addRect(
                    FClip->boundingRect().intersected(FTransform.mapRect(path.boundingRect())));
            } else {
                device = FClip->intersected(device);
                rectangle = false;
            }
        }
        FClip = device;
        FClipIsRect = rectangle;
        FClipBounds = device.boundingRect();
    }
    bool Clipping() const { return FClipEnabled && FClip.has_value(); }
    // Whether anything inside the device box can show through the clip.
    bool Visible(const QRectF& box) const {
        if (!Clipping()) return true;
        return box.adjusted(-1, -1, 1, 1).intersects(FClipBounds);
    }
    bool NeedsClip(const QRectF& box) const {
        return Clipping() && !(FClipIsRect && FClipBounds.contains(box));
    }
    QRectF StrokeBox(const QRectF& box) const {
        const qreal w = Stroking() ? PenWidth() : 0;
        return box.adjusted(-w, -w, w, w);
    }

    std::string FillStyle(Qt::FillRule rule) const {
        std::string s = "fill:";
        Colour(s, FBrush.color());
        if (FBrush.color().alpha() != 255) {
            s += ";fill-opacity:";
            Number(s, FBrush.color().alphaF());
        }
        if (rule == Qt::OddEvenFill) s += ";fill-rule:evenodd";
        return s;
    }
    std::string Style(bool fill, Qt::FillRule rule) const {
        std::string s = fill ? FillStyle(rule) : std::string("fill:none");
        if (!Stroking()) {
            s += ";stroke:none";
            return s;
        }
        const qreal w = PenWidth();
        s += ";stroke:";
        Colour(s, FPen.color());
        if (FPen.color().alpha() != 255) {
            s += ";stroke-opacity:";
            Number(s, FPen.color().alphaF());
        }
        s += ";stroke-width:";
        Number(s, w);
        switch (FPen.capStyle()) {
        case Qt::SquareCap:
            s += ";stroke-linecap:square";
            break;
        case Qt::RoundCap:
            s += ";stroke-linecap:round";
            break;
        default:
            s += ";stroke-linecap:butt";
        }
        switch (FPen.joinStyle()) {
        case Qt::BevelJoin:
            s += ";stroke-linejoin:bevel";
            break;
        case Qt::RoundJoin:
            s += ";stroke-linejoin:round";
            break;
        default:
            s += ";stroke-linejoin:miter;stroke-miterlimit:";
            Number(s, std::max<qreal>(1, FPen.miterLimit()));
        }
        if (FPen.style() != Qt::SolidLine) {
            s += ";stroke-dasharray:";
            const QList<qreal> dashes = FPen.dashPattern();
            for (qsizetype i = 0; i < dashes.size(); ++i) {
                if (i > 0) s += ' '; // Qt's reader takes no commas here
                Number(s, dashes[i] * w);
            }
            s += ";stroke-dashoffset:";
            Number(s, FPen.dashOffset() * w);
        }
        return s;
    }

    // A class attribute for the style, or the style itself once the table
    // of classes is full. A new class is written where it is first used.
    void Attribute(std::string& e, const std::string& style) {
        auto found = FClasses.find(style);
        if (found == FClasses.end() && FClasses.size() < MaxTable) {
            found = FClasses.emplace(style, ClassName(FClasses.size())).first;
            FOut += "<style>.";
            FOut += found->second;
            FOut += '{';
            // Character data of the style element: only & and < need care.
            for (const char c : style)
                FOut += c == '&'   ? std::string("&amp;")
                        : c == '<' ? std::string("&lt;")
                                   : std::string(1, c);
            FOut += "}</style>\n";
        }
        if (found != FClasses.end()) {
            e += " class=\"" + found->second + '"';
        } else {
            e += " style=\"";
            Escaped(e, QString::fromStdString(style));
            e += '"';
        }
    }

    void Point(std::string& s, const QPointF& p) {
        Number(s, p.x());
        s += ' ';
        Number(s, p.y());
    }
    void Matrix(std::string& e) const {
        const QTransform& t = FTransform;
        e += " transform=\"matrix(";
        for (const qreal v : {t.m11(), t.m12(), t.m21(), t.m22()}) {
            Number(e, v, 6);
            e += ',';
        }
        Number(e, t.dx());
        e += ',';
        Number(e, t.dy());
        e += ")\"";
    }
    // x and y of a rectangle's corner, on the device or under the transform.
    void Place(std::string& e, const QRectF& r) {
        QPointF at = r.topLeft();
        if (Translating(FTransform))
            at = FTransform.map(at);
        else
            Matrix(e);
        e += " x=\"";
        Number(e, at.x());
        e += "\" y=\"";
        Number(e, at.y());
        e += '"';
    }

    // Path data; with an offset, relative to it.
    static void PathData(std::string& d, const QPainterPath& path, QPointF offset) {
        for (int i = 0; i < path.elementCount(); ++i) {
            const QPainterPath::Element& e = path.elementAt(i);
            switch (e.type) {
            case QPainterPath::MoveToElement:
                d += 'M';
                break;
            case QPainterPath::LineToElement:
                d += 'L';
                break;
            case QPainterPath::CurveToElement:
                d += 'C';
                break;
            case QPainterPath::CurveToDataElement:
                d += ' ';
                break;
            }
            Number(d, e.x - offset.x());
            d += ' ';
            Number(d, e.y - offset.y());
        }
    }

    // A figure filled with the brush and outlined with the pen; closed
    // polygons close their outline.
    void Figure(const QPainterPath& path, bool fill, bool close) {
        if (path.isEmpty() || (!fill && !Stroking())) return;
        const QRectF box = StrokeBox(FTransform.mapRect(path.controlPointRect()));
        if (!Visible(box)) return;
        const std::string style = Style(fill, path.fillRule());
        std::string e;
        if (Translating(FTransform) && !close) {
            const QPainterPath device = FTransform.map(path);
            const QPointF first = device.elementAt(0);
            std::string relative;
            PathData(relative, device, first);
            if (relative.size() >= MinSharedFigure) {
                auto found = FFigures.find(relative);
                if (found == FFigures.end() && FFigures.size() < MaxTable) {
                    const std::string id = 'p' + std::to_string(FFigures.size());
                    EndRun();
                    FOut += "<defs><path id=\"" + id + "\" d=\"" + relative + "\"/></defs>\n";
                    found = FFigures.emplace(std::move(relative), id).first;
                }
                if (found != FFigures.end()) {
                    e = "<use xlink:href=\"#" + found->second + "\" x=\"";
                    Number(e, first.x());
                    e += "\" y=\"";
                    Number(e, first.y());
                    e += '"';
                    Attribute(e, style);
                    e += "/>\n";
                    Element(e, box);
                    return;
                }
            }
            e = "<path";
            Attribute(e, style);
            e += " d=\"";
            PathData(e, device, {});
        } else {
            e = "<path";
            Attribute(e, style);
            if (Translating(FTransform)) {
                e += " d=\"";
                PathData(e, FTransform.map(path), {});
            } else {
                Matrix(e);
                e += " d=\"";
                PathData(e, path, {});
            }
            if (close) e += 'Z';
        }
        e += "\"/>\n";
        Element(e, box);
    }

    // A complete element, cut by the clip where it reaches outside.
    void Element(const std::string& element, const QRectF& box) {
        EndRun();
        if (!NeedsClip(box)) {
            FOut += element;
        } else {
            FOut += "<g clip-path=\"url(#" + ClipId() + ")\">\n";
            FOut += element;
            FOut += "</g>\n";
        }
        Flush(false);
    }

    std::string ClipId() {
        std::string d;
        if (FClipIsRect) {
            d = "<rect x=\"";
            Number(d, FClipBounds.x());
            d += "\" y=\"";
            Number(d, FClipBounds.y());
            d += "\" width=\"";
            Number(d, FClipBounds.width());
            d += "\" height=\"";
            Number(d, FClipBounds.height());
            d += "\"/>";
        } else {
            d = "<path d=\"";
            PathData(d, *FClip, {});
            d += "\"/>";
        }
        auto found = FClips.find(d);
        if (found != FClips.end()) return found->second;
        const std::string id = 'c' + std::to_string(FClipCount++);
        // In <defs>, so that a viewer that knows no clip paths (Qt's) does
        // not draw the clip's shape.
        FOut += "<defs><clipPath id=\"" + id + "\">" + d + "</clipPath></defs>\n";
        if (FClips.size() < MaxTable) FClips.emplace(std::move(d), id);
        return id;
    }

    // The path data of the run of rectangles or lines the next figure joins:
    // the run so far when it has the same kind and style.
    std::string& Run(TRun kind, const std::string& style) {
        if (FRunKind != kind || FRunStyle != style || FRun.size() > OutputBytes / 4) {
            EndRun();
            FRunKind = kind;
            FRunStyle = style;
        }
        return FRun;
    }
    void EndRun() {
        if (FRunKind == RunNone) return;
        std::string e = "<path";
        Attribute(e, FRunStyle);
        e += " d=\"" + FRun + "\"/>\n";
        FOut += e;
        FRun.clear();
        FRunKind = RunNone;
        Flush(false);
    }

    bool Flush(bool all) {
        if (FOut.size() < OutputBytes && !all) return true;
        if (!FFailed) {
            const qint64 n = static_cast<qint64>(FOut.size());
            FFailed = FDevice.write(FOut.data(), n) != n;
        }
        FOut.clear();
        return !FFailed;
    }

    QIODevice& FDevice;
    QSize FSize;
    QString FTitle;
    QString FDescription;
    std::string FOut;
    bool FFailed = false;

    QPen FPen;
    QBrush FBrush;
    QTransform FTransform;
    bool FClipEnabled = false;
    std::optional<QPainterPath> FClip;
    bool FClipIsRect = false;
    QRectF FClipBounds;

    TRun FRunKind = RunNone;
    std::string FRunStyle;
    std::string FRun;

    std::unordered_map<std::string, std::string> FClasses;
    std::unordered_map<std::string, std::string> FFigures;
    std::unordered_map<std::string, std::string> FClips;
    std::unordered_map<QString, QRectF> FInk;
    int FClipCount = 0;
};

TSvgDevice::TSvgDevice(QIODevice& out, QSize size, const QString& title, const QString& description)
    : FSize(size), FEngine(std::make_unique<TSvgEngine>(out, size, title, description)) {}

TSvgDevice::~TSvgDevice() = default;

QPaintEngine* TSvgDevice::paintEngine() const {
    return FEngine.get();
}

bool TSvgDevice::Written() const {
    return FEngine->Written();
}

int TSvgDevice::metric(PaintDeviceMetric metric) const {
    switch (metric) {
    case PdmWidth:
        return FSize.width();
    case PdmHeight:
        return FSize.height();
    case PdmWidthMM:
        return qRound(FSize.width() * 25.4 / UnitsPerInch);
    case PdmHeightMM:
        return qRound(FSize.height() * 25.4 / UnitsPerInch);
    case PdmNumColors:
        return 0xFFFFFF;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return UnitsPerInch;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return static_cast<int>(devicePixelRatioFScale());
    }
    return 0;
}

} // namespace tsb
