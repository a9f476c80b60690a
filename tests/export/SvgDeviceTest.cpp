// The SVG drawing written as it is painted: the canvas's calls on it, read
// back by Qt's renderer and by librsvg, look as on an image; repeated
// figures and styles are written once; the output leaves while painting
// goes on; a failing output is told.
#include <QBuffer>
#include <QPainter>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "VectorCompare.h"
#include "export/SvgDevice.h"
#include "graphics/Canvas.h"

using namespace tsb;

namespace {

constexpr int W = 320, H = 200;

// Figures, lines, a grid of dots, text in two faces, a picture, and a text
// and a figure cut by a clip.
void Scene(TCanvas& c) {
    c.Brush.Color = clAqua;
    c.Pen.Color = clNavy;
    for (int i = 0; i < 4; ++i)
        c.RoundRect(10 + 60 * i, 10, 60 + 60 * i, 40, 12, 12); // one figure, four places
    c.Ellipse(10, 50, 60, 90);
    c.Rectangle(70, 50, 120, 90);
    c.Brush.Style = bsClear;
    c.Pen.Color = clRed;
    c.Polygon({{130, 50}, {170, 55}, {150, 95}});
    c.MoveTo(180, 50);
    c.LineTo(300, 90); // a diagonal
    c.MoveTo(180, 95);
    c.LineTo(300, 95);
    c.Pen.Style = psDot;
    c.MoveTo(180, 100);
    c.LineTo(300, 100);
    c.Pen.Style = psSolid;
    c.Pen.Width = 3;
    c.MoveTo(10, 110);
    c.LineTo(120, 130);
    c.Pen.Width = 1;
    for (int y = 140; y < 200; y += 20)
        c.DotRow(0, y, 16, 20, clGray);
    c.Font.SetHeight(-11);
    c.Font.SetColor(clBlack);
    c.TextOut(130, 110, "Pump station & <valve>");
    c.Font.SetName("Times New Roman");
    c.Font.SetStyle(fsBold);
    c.TextOut(130, 130, "Stage 2");
    QImage picture(12, 8, QImage::Format_RGB32);
    picture.fill(Qt::magenta);
    picture.setPixel(3, 3, qRgb(0, 128, 0));
    c.Draw(250, 120, picture);
}

// The text and the figure reach out of a canvas clipped to 60 x 20.
void Clipped(TCanvas& c) {
    c.Font.SetHeight(-14);
    c.TextOut(0, 0, "Cut off here");
    c.Brush.Color = clYellow;
    c.Ellipse(30, 5, 90, 40);
}

QImage Raster(const std::function<void(TCanvas&)>& draw, const TRect& clip) {
    QImage image(W, H, QImage::Format_RGB32);
    image.fill(Qt::white);
    TCanvas canvas;
    canvas.Bind(&image, {clip.Left, clip.Top}, clip);
    draw(canvas);
    canvas.EndPainter();
    return image;
}

QByteArray Svg(const std::function<void(TCanvas&)>& draw, const TRect& clip) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    TSvgDevice svg(buffer, QSize(W, H), "scene", "test");
    QPainter painter(&svg);
    TCanvas canvas;
    canvas.BindPainter(&painter, {clip.Left, clip.Top}, clip);
    draw(canvas);
    canvas.EndPainter();
    painter.end();
    EXPECT_TRUE(svg.Written());
    return bytes;
}

// Whether the image holds only white outside the rectangle.
bool WhiteOutside(const QImage& image, const TRect& r) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!r.Contains(x, y) && tsbtest::Px(image, x, y) != 0xFFFFFFu) return false;
    return true;
}

// Where the scene has curves, slanted and wide lines, text and a picture.
const tsbtest::TLooseAreas SceneAreas = {{
                                             {9, 9, 232, 32},    // rounded rectangles
                                             {9, 49, 52, 42},    // ellipse
                                             {129, 49, 43, 48},  // polygon
                                             {179, 49, 122, 42}, // diagonal
                                             {6, 106, 118, 28},  // wide line
                                         },
                                         {{125, 105, 125, 45}},
                                         {{250, 120, 12, 8}},
                                         {}};

// A device that counts what reaches it, or takes `room` bytes and fails.
class TCountingDevice : public QIODevice {
public:
    explicit TCountingDevice(qint64 room = -1) : FRoom(room) { open(WriteOnly); }
    qint64 Taken = 0;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 size) override {
        if (FRoom >= 0 && Taken + size > FRoom) return -1;
        Taken += size;
        return size;
    }

private:
    qint64 FRoom;
};

} // namespace

TEST(SvgDevice, LooksAsTheRasterCanvasInQtAndInLibrsvg) {
    const TRect whole{0, 0, W, H};
    const QByteArray svg = Svg(Scene, whole);
    tsbtest::ExpectSvgShows(Raster(Scene, whole), svg, SceneAreas, "svgdevice");
    // Text is text, escaped; the faces are kept.
    EXPECT_TRUE(svg.contains("&amp; &lt;valve&gt;</text>"));
    EXPECT_TRUE(svg.contains("font-family:'Liberation Serif'"));
    EXPECT_TRUE(svg.contains("font-weight:700"));
    EXPECT_TRUE(svg.contains("<image "));
}

TEST(SvgDevice, ClipCutsWhatReachesOutInLibrsvgAndQtDrawsNoClipShape) {
    const TRect clip{100, 100, 160, 120};
    const QByteArray svg = Svg(Clipped, clip);
    EXPECT_TRUE(svg.contains("<clipPath"));
    const QImage raster = Raster(Clipped, clip);
    const QImage rsvg = tsbtest::RasteriseWithRsvg(svg, W, H);
    ASSERT_FALSE(rsvg.isNull());
    EXPECT_TRUE(WhiteOutside(rsvg, clip));
    const tsbtest::TLooseAreas areas = {{{128, 103, 64, 39}}, {{100, 100, 60, 20}}, {}, {}};
    tsbtest::ExpectSameDrawing(raster, rsvg, areas, tsbtest::RsvgTolerance, "svgdevice-clip");
    // Qt's renderer knows no clip paths: inside the clip it draws what the
    // canvas does, not the clip's rectangle.
    const QRect inside(clip.Left, clip.Top, clip.Width(), clip.Height());
    const tsbtest::TLooseAreas shifted = {{{28, 3, 64, 39}}, {{0, 0, 60, 20}}, {}, {}};
    tsbtest::ExpectSameDrawing(raster.copy(inside), tsbtest::RasteriseSvg(svg, W, H).copy(inside),
                               shifted, tsbtest::QtSvgTolerance, "svgdevice-clip");
}

TEST(SvgDevice, RepeatsAreWrittenOnceAndTheOutputLeavesAsItIsPainted) {
    TCountingDevice counting;
    qint64 halfway = 0;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    for (QIODevice* out : {static_cast<QIODevice*>(&counting), static_cast<QIODevice*>(&buffer)}) {
        TSvgDevice svg(*out, QSize(8000, 8000), "many", "test");
        QPainter painter(&svg);
        TCanvas canvas;
        canvas.BindPainter(&painter, {0, 0}, {0, 0, 8000, 8000});
        canvas.Font.SetHeight(-11);
        for (int i = 0; i < 4000; ++i) {
            if (i == 2000 && out == &counting) halfway = counting.Taken;
            const int x = 10 + (i % 60) * 130, y = 10 + (i / 60) * 110;
            canvas.Brush.Style = bsClear;
            canvas.RoundRect(x, y, x + 100, y + 60, 14, 14);
            canvas.TextOut(x + 20, y + 20, "Caption");
            canvas.Brush.Style = bsSolid;
            canvas.FillRect({x + 100, y + 30, x + 130, y + 31});
        }
        canvas.EndPainter();
        painter.end();
    }
    // Half the drawing had left before the second half was painted.
    EXPECT_GT(halfway, counting.Taken * 2 / 5);
    EXPECT_EQ(counting.Taken, bytes.size());
    // One figure and a few styles for 4,000 outlines, captions and lines.
    EXPECT_EQ(bytes.count("<defs>"), 1);
    EXPECT_EQ(bytes.count("<use "), 4000);
    EXPECT_EQ(bytes.count(">Caption</text>"), 4000);
    EXPECT_LE(bytes.count("<style>"), 4);
    EXPECT_LT(bytes.size(), 4000 * 250);
}

TEST(SvgDevice, AFailingOutputIsTold) {
    TCountingDevice full(500);
    TSvgDevice svg(full, QSize(100, 100), "full", "test");
    QPainter painter(&svg);
    for (int i = 0; i < 200; ++i)
        painter.fillRect(QRect(i % 90, i / 3, 5, 5), i % 2 ? Qt::red : Qt::blue);
    painter.end();
    EXPECT_FALSE(svg.Written());
}
