// The editor on a screen of twice the density (QT_SCALE_FACTOR=2 on an X
// server, high-density-xvfb.sh): what the X server shows, pixel for pixel,
// and clicks of the server's own pointer, moved by xdotool.
#include <QGuiApplication>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <cmath>

#include "EditorFixture.h"
#include "editor/ZoomController.h"
#include "model/StandardShape.h"
#include "workarea/qmRuler.h"

using namespace tsb;
using tsbtest::Px;

namespace {

struct HighDensity : EditorTest {
    bool Shown() const override { return false; }
    void SetUp() override {
        if (QGuiApplication::platformName() != "xcb" || qApp->devicePixelRatio() != 2)
            GTEST_SKIP() << "runs on an X server with QT_SCALE_FACTOR=2";
        EditorTest::SetUp();
        Form->Window()->setGeometry(20, 20, 600, 460);
        Form->Window()->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form->Window()));
        Viewport()->setFocus();
    }
    QWidget* Viewport() const { return Form->ContainerPanel->ScrollArea()->viewport(); }
    // What the X server shows, in device pixels.
    QImage Screen() const {
        QTest::qWait(100);
        return Form->Window()->screen()->grabWindow(0).toImage().convertToFormat(
            QImage::Format_RGB32);
    }
    // The device pixel of the screen where a page point's pixel starts.
    QPoint Device(int x, int y) const {
        const double zoom = Form->Zoom().Zoom();
        return Work()->mapToGlobal(QPoint(0, 0)) * 2 +
               QPoint(int(std::floor(x * zoom * 2)), int(std::floor(y * zoom * 2)));
    }
    // The server's pointer: moved, pressed or released at a device pixel.
    void Pointer(const QStringList& args) {
        ASSERT_EQ(QProcess::execute("xdotool", args), 0) << args.join(' ').toStdString();
        QTest::qWait(50);
    }
    void ClickAt(QPoint device) {
        Pointer({"mousemove", QString::number(device.x()), QString::number(device.y())});
        Pointer({"click", "1"});
    }
};

} // namespace

TEST_F(HighDensity, LinesAreSharpAtDevicePixels) {
    auto* box = Add<TStandardShape>(100, 100);
    box->SetShapeType(stRectangle);
    // Text and curves, which a picture of half the resolution doubled
    // would not show alike.
    tsbtest::AddCaption(Form, box, "Caption", alClient);
    Add<TStandardShape>(260, 180)->SetShapeType(stEllipse);
    EXPECT_EQ(Work()->devicePixelRatioF(), 2);
    for (double zoom : {1.0, 2.0}) {
        Form->Zoom().SetZoom(zoom);
        Form->ContainerPanel->ScrollArea()->horizontalScrollBar()->setValue(0);
        Form->ContainerPanel->ScrollArea()->verticalScrollBar()->setValue(0);
        const QImage screen = Screen();
        // The rectangle's top edge, page row 102: a unit of zoom x 2 device
        // rows, black between white.
        const int width = int(zoom * 2);
        const QPoint edge = Device(150, 102);
        EXPECT_EQ(Px(screen, edge.x(), edge.y() - 1), 0xFFFFFFu) << zoom;
        for (int i = 0; i < width; ++i)
            EXPECT_EQ(Px(screen, edge.x(), edge.y() + i), 0u) << zoom;
        EXPECT_EQ(Px(screen, edge.x(), edge.y() + width), 0xFFFFFFu) << zoom;
        // A grid dot is a square of the same size.
        const QPoint dot = Device(60, 60);
        EXPECT_EQ(Px(screen, dot.x() + width - 1, dot.y() + width - 1), 0x808080u) << zoom;
        EXPECT_EQ(Px(screen, dot.x() + width, dot.y()), 0xFFFFFFu) << zoom;
        EXPECT_EQ(Px(screen, dot.x(), dot.y() - 1), 0xFFFFFFu) << zoom;
        // The whole work area as the page drawn at device resolution.
        const double scale = zoom * 2;
        QImage page(int(800 * scale), int(600 * scale), QImage::Format_RGB32);
        page.fill(Qt::white);
        {
            QPainter painter(&page);
            painter.scale(scale, scale);
            TCanvas canvas;
            canvas.BindView(&painter, {0, 0}, {0, 0, 800, 600}, scale, page.rect());
            Form->ScrollBox1->PaintTo(canvas, 0, 0);
        }
        const QRect shown(Viewport()->mapToGlobal(QPoint(0, 0)) * 2, Viewport()->size() * 2);
        const QRect area = QRect(Device(0, 0), page.size()) & shown;
        EXPECT_TRUE(screen.copy(area) == page.copy(area.translated(-Device(0, 0)))) << zoom;
    }
    // A ruler's tick is two device pixels wide.
    const TRect s = Form->qmRuler1->HorzScale;
    const QPoint tick =
        Form->ContainerPanel->Host()->mapToGlobal(QPoint(s.Left + 100, s.Bottom - 1)) * 2;
    Form->Zoom().ActualSize();
    const QImage screen = Screen();
    EXPECT_EQ(Px(screen, tick.x(), tick.y()), 0u);
    EXPECT_EQ(Px(screen, tick.x() + 1, tick.y()), 0u);
    EXPECT_EQ(Px(screen, tick.x() + 2, tick.y()), 0xFFFFFFu);
    EXPECT_EQ(Px(screen, tick.x() - 1, tick.y()), 0xFFFFFFu);
}

TEST_F(HighDensity, ToolBarIconsShowTheirDenseImages) {
    const QImage screen = Screen();
    const QImage icon = QImage(":/icons/12-shape@2x.png").convertToFormat(QImage::Format_ARGB32);
    const QRect button(Form->ShapeBtn->mapToGlobal(QPoint(0, 0)) * 2, Form->ShapeBtn->size() * 2);
    // Somewhere on the button every opaque pixel of the image shows as it is.
    bool found = false;
    for (int dy = 0; dy + 32 <= button.height() && !found; ++dy)
        for (int dx = 0; dx + 32 <= button.width() && !found; ++dx) {
            bool all = true;
            for (int y = 0; y < 32 && all; ++y)
                for (int x = 0; x < 32 && all; ++x)
                    if (qAlpha(icon.pixel(x, y)) == 255)
                        all = Px(screen, button.x() + dx + x, button.y() + dy + y) ==
                              (icon.pixel(x, y) & 0xFFFFFFu);
            found = all;
        }
    EXPECT_TRUE(found);
}

TEST_F(HighDensity, ClicksOfTheServersPointerLandOnTheirPagePixel) {
    auto* box = Add<TStandardShape>(300, 200);
    box->SetShapeType(stRectangle);
    for (double zoom : {1.0, 0.5}) {
        Form->Zoom().SetZoom(zoom);
        Form->ContainerPanel->ScrollArea()->horizontalScrollBar()->setValue(0);
        Form->ContainerPanel->ScrollArea()->verticalScrollBar()->setValue(0);
        QTest::qWait(50);
        // Page pixel (238, 156): the status bar and the snapped text element
        // both see it. (The toolkit hands on the server's pointer in whole
        // view pixels, so the point is one at both zooms.)
        Form->TextBtn->click();
        ClickAt(Device(238, 156));
        EXPECT_EQ(Form->StatusText(5), "238x156") << zoom;
        TTextShape* text = Last<TTextShape>();
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->BoundsRect().Left, 220) << zoom;
        EXPECT_EQ(text->BoundsRect().Top, 140) << zoom;
        delete text;
        // A drag of the rectangle by 40 x 20 page pixels.
        const QPoint from = Device(310, 210);
        Pointer({"mousemove", QString::number(from.x()), QString::number(from.y())});
        Pointer({"mousedown", "1"});
        for (int step = 1; step <= 4; ++step) {
            const QPoint to = Device(310 + 10 * step, 210 + 5 * step);
            Pointer({"mousemove", QString::number(to.x()), QString::number(to.y())});
        }
        Pointer({"mouseup", "1"});
        EXPECT_EQ(box->BoundsRect(), Bounds(340, 220, 100, 60)) << zoom;
        box->SetBounds(300, 200, 100, 60);
    }
    EXPECT_TRUE(tsbtest::ShownErrors().empty());
}
