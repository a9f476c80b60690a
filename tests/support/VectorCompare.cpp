#include "VectorCompare.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>
#include <QSvgRenderer>
#include <gtest/gtest.h>

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

TDifference Compare(const QImage& expected, const QImage& actual) {
    const int w = expected.width(), h = expected.height();
    auto px = [](const QImage& img, int x, int y) { return img.pixel(x, y) & 0xFFFFFFu; };
    auto edge = [&](int x, int y) {
        const unsigned c = px(expected, x, y);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int nx = x + dx, ny = y + dy;
                if (nx >= 0 && ny >= 0 && nx < w && ny < h && px(expected, nx, ny) != c)
                    return true;
            }
        return false;
    };
    TDifference d;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (px(expected, x, y) == px(actual, x, y)) continue;
            ++d.Pixels;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    near = nx >= 0 && ny >= 0 && nx < w && ny < h && edge(nx, ny);
                }
            if (!near && d.FarFromEdge++ == 0)
                d.FirstFar = std::to_string(x) + "," + std::to_string(y);
        }
    d.Equal = 1.0 - double(d.Pixels) / (double(w) * h);
    return d;
}

void ExpectDrawnAlike(const QImage& raster, const QImage& vector, const std::string& name) {
    ASSERT_EQ(vector.size(), raster.size()) << name;
    const TDifference d = Compare(raster, vector);
    EXPECT_GE(d.Equal, 0.99) << name << ": " << d.Pixels << " pixels differ";
    EXPECT_EQ(d.FarFromEdge, 0) << name << ": first at " << d.FirstFar;
    if (d.Equal < 0.99 || d.FarFromEdge > 0) {
        raster.save(QString::fromStdString("/tmp/" + name + "-raster.png"));
        vector.save(QString::fromStdString("/tmp/" + name + "-vector.png"));
    }
}

} // namespace tsbtest
