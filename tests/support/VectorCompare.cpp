#include "VectorCompare.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPicture>
#include <QProcess>
#include <QStandardPaths>
#include <QSvgGenerator>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "graphics/Canvas.h"

namespace tsbtest {

QByteArray DrawSvg(int w, int h, const std::function<void(QPainter&)>& draw) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(w, h));
    svg.setViewBox(QRect(0, 0, w, h));
    svg.setResolution(96);
    QPainter painter(&svg);
    draw(painter);
    painter.end();
    return bytes;
}

namespace {

// Paints on an image as the SVG renderer asks, but never smooths: the
// renderer turns antialiasing on for every document, and a comparison of
// pixels needs hard edges.
class THardEdgeEngine : public QPaintEngine {
public:
    explicit THardEdgeEngine(QImage& image) : QPaintEngine(AllFeatures), FImage(image) {}
    bool begin(QPaintDevice*) override {
        FPainter.begin(&FImage);
        return true;
    }
    bool end() override { return FPainter.end(); }
    Type type() const override { return User; }
    void updateState(const QPaintEngineState& state) override {
        const DirtyFlags dirty = state.state();
        if (dirty & DirtyPen) FPainter.setPen(state.pen());
        if (dirty & DirtyBrush) FPainter.setBrush(state.brush());
        if (dirty & DirtyBrushOrigin) FPainter.setBrushOrigin(state.brushOrigin());
        if (dirty & DirtyFont) FPainter.setFont(state.font());
        if (dirty & DirtyTransform) FPainter.setTransform(state.transform());
        if (dirty & DirtyCompositionMode) FPainter.setCompositionMode(state.compositionMode());
        if (dirty & DirtyOpacity) FPainter.setOpacity(state.opacity());
        if (dirty & DirtyClipEnabled) FPainter.setClipping(state.isClipEnabled());
        if (dirty & DirtyClipRegion)
            FPainter.setClipRegion(state.clipRegion(), state.clipOperation());
        if (dirty & DirtyClipPath) FPainter.setClipPath(state.clipPath(), state.clipOperation());
        FPainter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                                    QPainter::SmoothPixmapTransform,
                                false);
    }
    void drawPath(const QPainterPath& path) override { FPainter.drawPath(path); }
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
        if (mode == PolylineMode)
            FPainter.drawPolyline(points, count);
        else
            FPainter.drawPolygon(points, count,
                                 mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
    }
    void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) override {
        FPainter.drawPixmap(r, pm, sr);
    }
    void drawImage(const QRectF& r, const QImage& image, const QRectF& sr,
                   Qt::ImageConversionFlags) override {
        FPainter.drawImage(r, image, sr);
    }
    void drawTextItem(const QPointF& p, const QTextItem& item) override {
        FPainter.drawTextItem(p, item);
    }

private:
    QImage& FImage;
    QPainter FPainter;
};

class THardEdgeDevice : public QPaintDevice {
public:
    explicit THardEdgeDevice(QImage& image) : FImage(image), FEngine(image) {}
    QPaintEngine* paintEngine() const override { return &FEngine; }

protected:
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
        case PdmWidth:
            return FImage.width();
        case PdmHeight:
            return FImage.height();
        case PdmWidthMM:
            return FImage.widthMM();
        case PdmHeightMM:
            return FImage.heightMM();
        case PdmDpiX:
        case PdmPhysicalDpiX:
            return FImage.logicalDpiX();
        case PdmDpiY:
        case PdmPhysicalDpiY:
            return FImage.logicalDpiY();
        case PdmDepth:
            return FImage.depth();
        case PdmNumColors:
            return FImage.colorCount();
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        }
        return 0;
    }

private:
    QImage& FImage;
    mutable THardEdgeEngine FEngine;
};

} // namespace

QImage RasteriseSvg(const QByteArray& svg, int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    // Text is laid out with the program's own font rendering: whole-pixel
    // hinting, no kerning. The document names only face, size and style.
    const QFont saved = QGuiApplication::font();
    QFont rendering = saved;
    rendering.setHintingPreference(QFont::PreferFullHinting);
    rendering.setKerning(false);
    rendering.setStyleStrategy(QFont::NoAntialias);
    QGuiApplication::setFont(rendering);
    QSvgRenderer renderer(svg);
    THardEdgeDevice device(image);
    QPainter painter(&device);
    renderer.render(&painter, QRectF(0, 0, w, h));
    painter.end();
    QGuiApplication::setFont(saved);
    return image;
}

QByteArray DrawPdf(int w, int h, const std::function<void(QPainter&)>& draw) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(96);
        const QPageSize size(QSizeF(w * 72.0 / 96, h * 72.0 / 96), QPageSize::Point, QString(),
                             QPageSize::ExactMatch);
        pdf.setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF()));
        QPainter painter(&pdf);
        painter.setRenderHint(QPainter::LosslessImageRendering);
        draw(painter);
    }
    return bytes;
}

namespace {

// Runs a renderer on `input` written to a file and reads the PNG it writes.
QImage Render(const char* tool, const QByteArray& input, const char* suffix,
              const std::function<QStringList(const QString& in, const QString& out)>& arguments) {
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty()) {
        ADD_FAILURE() << tool << " is not installed (scripts/setup.sh)";
        return {};
    }
    QTemporaryDir dir;
    const QString in = dir.filePath(QString("drawing.") + suffix), out = dir.filePath("drawing");
    QFile file(in);
    if (!file.open(QIODevice::WriteOnly) || file.write(input) != input.size()) {
        ADD_FAILURE() << "cannot write " << in.toStdString();
        return {};
    }
    file.close();
    QProcess process;
    process.start(program, arguments(in, out));
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        ADD_FAILURE() << tool << " failed: " << process.readAllStandardError().toStdString();
        return {};
    }
    return QImage(out + ".png").convertToFormat(QImage::Format_RGB32);
}

} // namespace

QImage RasteriseWithRsvg(const QByteArray& svg, int w, int h) {
    // A user style sheet turns smoothing off without touching the document:
    // crisp edges fill the pixels whose centres a shape covers.
    QTemporaryDir dir;
    const QString css = dir.filePath("crisp.css");
    QFile sheet(css);
    if (!sheet.open(QIODevice::WriteOnly)) return {};
    sheet.write("* { shape-rendering: crispEdges; text-rendering: optimizeSpeed; }\n");
    sheet.close();
    // The page's size in millimetres comes out a fraction of a pixel over,
    // which rounds up to one more column and row of background.
    const QImage image =
        Render("rsvg-convert", svg, "svg", [&](const QString& in, const QString& out) {
            return QStringList{"--background-color", "white", "--stylesheet", css, "--output",
                               out + ".png",         in};
        });
    return image.isNull() ? image : image.copy(0, 0, w, h);
}

QImage RasteriseWithPoppler(const QByteArray& pdf) {
    return Render("pdftoppm", pdf, "pdf", [](const QString& in, const QString& out) {
        return QStringList{"-r", "96",   "-aa",         "no", "-aaVector",
                           "no", "-png", "-singlefile", in,   out};
    });
}

namespace {

std::string At(int x, int y) {
    return std::to_string(x) + "," + std::to_string(y);
}

} // namespace

const TTolerance QtSvgTolerance{"qt-svg", 0.12, 0.45, 0, 1, 3, true, false};
const TTolerance RsvgTolerance{"rsvg", 0.10, 0.45, 0, 1, 3, true, false};
const TTolerance PopplerTolerance{"poppler", 0.60, 0.30, 0, 2, 2, true, true};

QImage InvertedPixels(int w, int h, const std::function<void(tsb::TCanvas&)>& paint) {
    QImage inverted(w, h, QImage::Format_Grayscale8);
    inverted.fill(0);
    tsb::TRasterShadow shadow;
    shadow.Image = QImage(w, h, QImage::Format_RGB32);
    shadow.Image.fill(Qt::white);
    shadow.InvertedPixels = &inverted;
    QPicture picture;
    QPainter painter(&picture);
    tsb::TCanvas canvas;
    canvas.BindPainter(&painter, {0, 0}, {0, 0, w, h}, &shadow);
    paint(canvas);
    canvas.Unbind();
    painter.end();
    return inverted;
}

TDrawingDifference CompareDrawings(const QImage& raster, const QImage& vector,
                                   const TLooseAreas& loose, const TTolerance& tolerance) {
    TDrawingDifference d;
    const int w = raster.width(), h = raster.height();
    if (vector.size() != raster.size()) {
        d.Exact = d.Uncovered = w * h;
        d.FirstExact = d.FirstUncovered = "size";
        return d;
    }
    auto px = [](const QImage& img, int x, int y) { return img.pixel(x, y) & 0xFFFFFFu; };
    constexpr unsigned page = 0xFFFFFFu;
    // Whether `img` has, within `reach` pixels of (x, y), colour c or, where
    // any colour will do, any drawn pixel. The page needs nothing.
    auto covered = [&](const QImage& img, int x, int y, unsigned c, int reach) {
        if (c == page) return true;
        for (int ny = std::max(0, y - reach); ny <= std::min(h - 1, y + reach); ++ny)
            for (int nx = std::max(0, x - reach); nx <= std::min(w - 1, x + reach); ++nx) {
                const unsigned n = px(img, nx, ny);
                if (tolerance.SameColour ? n == c : n != page) return true;
            }
        return false;
    };
    // Whether each channel of c lies within the range of the raster's pixels
    // around (x, y).
    auto inRange = [&](int x, int y, unsigned c) {
        for (int shift : {0, 8, 16}) {
            int lo = 255, hi = 0;
            for (int ny = std::max(0, y - 1); ny <= std::min(h - 1, y + 1); ++ny)
                for (int nx = std::max(0, x - 1); nx <= std::min(w - 1, x + 1); ++nx) {
                    const int v = int(px(raster, nx, ny) >> shift) & 0xFF;
                    lo = std::min(lo, v);
                    hi = std::max(hi, v);
                }
            const int v = int(c >> shift) & 0xFF;
            if (v < lo || v > hi) return false;
        }
        return true;
    };
    enum : uchar { Exact, Curve, Text, Picture, Inverted };
    QImage kind(w, h, QImage::Format_Grayscale8);
    kind.fill(Exact);
    auto mark = [&](const std::vector<QRect>& areas, uchar k, int grow) {
        for (QRect r : areas) {
            r.adjust(-grow, -grow, grow, grow);
            for (int y = std::max(0, r.top()); y <= std::min(h - 1, r.bottom()); ++y)
                for (int x = std::max(0, r.left()); x <= std::min(w - 1, r.right()); ++x)
                    kind.scanLine(y)[x] = k;
        }
    };
    mark(loose.Curves, Curve, 0);
    if (tolerance.ResampledPictures) mark(loose.Pictures, Picture, 1);
    mark(loose.Text, Text, 0);
    if (!loose.Inverted.isNull())
        for (int y = 0; y < std::min(h, loose.Inverted.height()); ++y)
            for (int x = 0; x < std::min(w, loose.Inverted.width()); ++x)
                if (loose.Inverted.constScanLine(y)[x]) kind.scanLine(y)[x] = Inverted;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const unsigned r = px(raster, x, y), v = px(vector, x, y);
            const uchar k = kind.constScanLine(y)[x];
            if (k == Inverted) continue;
            if (k == Picture) {
                if (!inRange(x, y, v) && d.Picture++ == 0) d.FirstPicture = At(x, y);
                continue;
            }
            if (r != page || v != page)
                ++(k == Text ? d.TextDrawn : k ? d.LooseDrawn : d.ExactDrawn);
            if (r == v) continue;
            if (k == Text) {
                ++d.Text;
            } else if (k == Curve) {
                ++d.Loose;
            } else if (d.Exact++ == 0) {
                d.FirstExact = At(x, y);
            }
            const int reach = k == Text ? tolerance.TextReach : k ? tolerance.CurveReach : 1;
            const bool rFound = covered(vector, x, y, r, reach);
            const bool vFound = covered(raster, x, y, v, reach);
            // Where both drew, one colour may lie under the other's pixel (a
            // grid dot under a line drawn a pixel along) as long as the
            // other's is found nearby.
            const bool found = r != page && v != page ? rFound || vFound : rFound && vFound;
            if (!found && d.Uncovered++ == 0) d.FirstUncovered = At(x, y);
        }
    return d;
}

void ExpectSameDrawing(const QImage& raster, const QImage& vector, const TLooseAreas& loose,
                       const TTolerance& tolerance, const std::string& name) {
    const std::string what = name + " (" + tolerance.Renderer + ")";
    const TDrawingDifference d = CompareDrawings(raster, vector, loose, tolerance);
    EXPECT_LE(d.Exact, tolerance.ExactShare * d.ExactDrawn)
        << what << ": " << d.Exact << " of " << d.ExactDrawn
        << " drawn pixels of straight drawing differ, first at " << d.FirstExact;
    EXPECT_EQ(d.Uncovered, 0) << what << ": drawing missing nearby, first at " << d.FirstUncovered;
    EXPECT_LE(d.Loose, tolerance.Share * d.LooseDrawn)
        << what << ": " << d.Loose << " of " << d.LooseDrawn << " drawn pixels of curves differ";
    EXPECT_LE(d.Text, tolerance.TextShare * d.TextDrawn)
        << what << ": " << d.Text << " of " << d.TextDrawn << " drawn pixels of text differ";
    EXPECT_EQ(d.Picture, 0) << what << ": " << d.Picture
                            << " pixels of resampled pictures out of range, first at "
                            << d.FirstPicture;
    if (!d.Alike(tolerance)) {
        const std::string file = "/tmp/" + name + "-" + tolerance.Renderer;
        raster.save(QString::fromStdString(file + "-raster.png"));
        vector.save(QString::fromStdString(file + "-vector.png"));
    }
}

void ExpectSvgShows(const QImage& raster, const QByteArray& svg, const TLooseAreas& loose,
                    const std::string& name) {
    const int w = raster.width(), h = raster.height();
    ExpectSameDrawing(raster, RasteriseSvg(svg, w, h), loose, QtSvgTolerance, name);
    ExpectSameDrawing(raster, RasteriseWithRsvg(svg, w, h), loose, RsvgTolerance, name);
}

void ExpectPdfShows(const QImage& raster, const QByteArray& pdf, const TLooseAreas& loose,
                    const std::string& name, const TTolerance& tolerance) {
    ExpectSameDrawing(raster, RasteriseWithPoppler(pdf), loose, tolerance, name);
}

} // namespace tsbtest
