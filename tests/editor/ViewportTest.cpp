// The work area and the rulers as the window shows them: surfaces no larger
// than what is visible, scrolling that shows what comes into view, repaints
// from the background up that never stack inverting pens, hair-lines drawn
// straight onto the surface that repaint only their strips, and a page of
// 60,000 x 40,000 opened under a memory limit.
#include <QDir>
#include <QImage>
#include <QMainWindow>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include "editor/MainForm.h"
#include "model/Connector.h"
#include "model/DiagramRoot.h"
#include "model/StandardShape.h"
#include "model/TextShape.h"
#include "support/TestSupport.h"
#include "workarea/SnapGrid.h"
#include "workarea/qmRuler.h"

using namespace tsb;
using tsbtest::Px;

namespace {

struct Window {
    explicit Window(int width = 520, int height = 420) : Form(new TMainForm) {
        Form->Window()->resize(width, height);
        Form->Window()->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(Form->Window()));
        tsbtest::ShownErrors().clear();
    }
    ~Window() { delete Form; }
    TStandardShape* Shape(int left, int top, TShapeType type = stRoundRect) {
        auto* s = new TStandardShape(Form);
        s->SetName(Form->MakeElementName(s));
        s->SetBounds(left, top, 100, 60);
        s->SetParent(Form->ScrollBox1);
        s->SetShapeType(type);
        auto* c = new TTextShape(Form);
        c->SetName(s->Name() + "_Caption");
        c->SetText("Caption");
        s->SetCaptionAlign(alClient);
        s->SetCaption(c);
        return s;
    }
    QScrollArea* Area() const { return Form->ContainerPanel->ScrollArea(); }
    void ScrollTo(int x, int y) {
        Area()->horizontalScrollBar()->setValue(x);
        Area()->verticalScrollBar()->setValue(y);
        QTest::qWait(5);
    }
    QImage Shot() const {
        return Area()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    // What the viewport should show: the panel with its rulers and the work
    // area, each painted afresh in one piece at the scrolled place.
    QImage Expected() const {
        QWidget* viewport = Area()->viewport();
        QImage img(viewport->size(), QImage::Format_RGB32);
        QPoint panel = Form->ContainerPanel->Host()->mapTo(viewport, QPoint(0, 0));
        Form->ContainerPanel->RenderInto(img, {panel.x(), panel.y()},
                                         {0, 0, img.width(), img.height()});
        QPoint area = Form->ScrollBox1->Host()->mapTo(viewport, QPoint(0, 0));
        Form->ScrollBox1->PaintTo(img, area.x(), area.y());
        return img;
    }
    TMainForm* Form;
};

// The surface of a windowed control covers at most what the viewport shows.
void ExpectSurfaceWithinViewport(const Window& w, TWinControl* control) {
    TRect r = control->SurfaceRect();
    QSize viewport = w.Area()->viewport()->size();
    EXPECT_LE(r.Width(), viewport.width());
    EXPECT_LE(r.Height(), viewport.height());
}

} // namespace

TEST(Viewport, ScrollingShowsWhatComesIntoView) {
    Window w;
    w.Form->ScrollBox1->SetBounds(w.Form->ScrollBox1->Left(), w.Form->ScrollBox1->Top(), 3000,
                                  2000);
    w.Form->PlaceWorkArea(30);
    TStandardShape* previous = nullptr;
    for (int i = 0; i < 60; ++i) {
        TStandardShape* s =
            w.Shape(20 + (i % 10) * 290, 30 + (i / 10) * 320, static_cast<TShapeType>(i % 3));
        s->SetSelected(i % 7 == 0);
        if (previous) {
            auto* arrow = new TSingleHeadArrow(w.Form);
            arrow->StartConn().Side = csRight;
            arrow->StartConn().SetShape(previous);
            arrow->EndConn().Side = csLeft;
            arrow->EndConn().SetShape(s);
            arrow->UpdateBounds();
            arrow->SetParent(w.Form->ScrollBox1);
        }
        previous = s;
    }
    QTest::qWait(5);
    // Steps of a few pixels, of part of a view, of whole views, and back.
    const QPoint steps[] = {{0, 0},     {3, 0},     {3, 7},       {170, 7},     {170, 260},
                            {900, 260}, {900, 900}, {2400, 1500}, {2380, 1490}, {0, 0}};
    for (QPoint p : steps) {
        w.ScrollTo(p.x(), p.y());
        ASSERT_TRUE(w.Shot() == w.Expected()) << p.x() << "," << p.y();
        ExpectSurfaceWithinViewport(w, w.Form->ScrollBox1);
        ExpectSurfaceWithinViewport(w, w.Form->ContainerPanel);
    }
    EXPECT_TRUE(tsbtest::ShownErrors().empty());
}

TEST(Viewport, InvalidatedAreasRepaintFromTheBackgroundUp) {
    Window w;
    TStandardShape* a = w.Shape(40, 40, stRectangle); // drawn with the inverting pen
    TStandardShape* b = w.Shape(90, 70, stEllipse);
    QTest::qWait(5);
    // Repeated invalidations and repaints never invert twice.
    for (int i = 0; i < 3; ++i) {
        a->Invalidate();
        b->Invalidate();
        w.Form->ScrollBox1->InvalidateRect({60, 60, 120, 90});
        QTest::qWait(5);
    }
    EXPECT_TRUE(w.Shot() == w.Expected());
    // Moving and deleting leave nothing behind.
    QWidget* host = w.Form->ScrollBox1->Host();
    tsbtest::Drag(host, 100, 60, 260, 200);
    QTest::qWait(5);
    EXPECT_EQ(a->Left(), 200);
    EXPECT_TRUE(w.Shot() == w.Expected());
    delete b;
    QTest::qWait(5);
    EXPECT_TRUE(w.Shot() == w.Expected());
}

TEST(Viewport, CanvasOutsidePaintingDrawsAtOnceAndShowsWithTheNextUpdate) {
    Window w;
    TStandardShape* a = w.Shape(40, 40);
    QTest::qWait(5);
    TCanvas* canvas = a->Canvas();
    canvas->Pen.Mode = pmCopy;
    canvas->Pen.Color = clBlue;
    canvas->MoveTo(0, 30);
    canvas->LineTo(100, 30);
    // On the surface at once, on screen with the next update, and not
    // painted over by it.
    QImage& surface = w.Form->ScrollBox1->Surface();
    TRect area = w.Form->ScrollBox1->SurfaceRect();
    EXPECT_EQ(Px(surface, 45 - area.Left, 70 - area.Top), 0x0000FFu);
    QTest::qWait(5);
    QPoint at = w.Form->ScrollBox1->Host()->mapTo(w.Area()->viewport(), QPoint(45, 70));
    EXPECT_EQ(Px(w.Shot(), at.x(), at.y()), 0x0000FFu);
    // Invalidating the element repaints it from the background up.
    a->Invalidate();
    QTest::qWait(5);
    EXPECT_TRUE(w.Shot() == w.Expected());
}

TEST(Viewport, HairLinesMoveOverElementsRepaintingOnlyTheirStrips) {
    Window w;
    w.Shape(60, 60);
    w.Shape(200, 90);
    QTest::qWait(5);
    // A mark on the ruler's surface, away from the strips, that a repaint of
    // the ruler would wipe.
    QImage& panel = w.Form->ContainerPanel->Surface();
    TRect area = w.Form->ContainerPanel->SurfaceRect();
    TRect scale = w.Form->qmRuler1->HorzScale;
    QPoint mark(scale.Left + 300 - area.Left, scale.Top + 2 - area.Top);
    panel.setPixel(mark, qRgb(1, 2, 3));
    QWidget* host = w.Form->ScrollBox1->Host();
    for (int i = 0; i < 40; ++i) // over the elements, their captions and empty page
        QTest::mouseMove(host, QPoint(30 + i * 7, 50 + i * 3));
    QTest::qWait(5);
    EXPECT_EQ(w.Form->qmRuler1->HairPos, (TPoint{30 + 39 * 7, 50 + 39 * 3}));
    EXPECT_EQ(panel.pixel(mark) & 0xFFFFFFu, 0x010203u);
    // Apart from the mark, what shows is the rulers painted afresh with the
    // hair-lines at the pointer: drawn twice, the old lines were erased.
    panel.setPixel(mark, w.Expected().pixel(mark + QPoint(area.Left, area.Top) -
                                            w.Form->ContainerPanel->Host()->mapTo(
                                                w.Area()->viewport(), QPoint(0, 0))));
    w.Form->ContainerPanel->Host()->update();
    QTest::qWait(5);
    EXPECT_TRUE(w.Shot() == w.Expected());
}

TEST(Viewport, PageOfSixtyThousandPixelsOpensUnderAMemoryLimit) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's shadow memory does not fit an address-space limit";
#else
    QTemporaryDir dir;
    std::string file = QDir(dir.path()).filePath("huge.tsb").toStdString();
    {
        TDiagramRoot root;
        root.ScrollBox1->SetBounds(40, 30, 60000, 40000);
        for (TPoint p : {TPoint{59800, 39900}, TPoint{30000, 20000}, TPoint{20, 20}}) {
            auto* s = new TStandardShape(&root);
            s->SetName("StandardShape" + std::to_string(p.X));
            s->SetBounds(p.X, p.Y, 100, 60);
            s->SetParent(root.ScrollBox1);
            s->SetShapeType(stRectangle);
        }
        TCustomShape::SelectAll(root.ScrollBox1);
        TCustomShape::SaveToFile(file, root.ScrollBox1);
    }
    Window w(800, 600);
    // Room for 400 MB more than the process holds now: the old whole-page
    // surfaces alone took 9.6 GB.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_AS, &saved), 0);
    std::ifstream status("/proc/self/statm");
    long pages = 0;
    status >> pages;
    rlimit limited = saved;
    limited.rlim_cur = static_cast<rlim_t>(pages) * 4096 + (rlim_t(400) << 20);
    ASSERT_EQ(setrlimit(RLIMIT_AS, &limited), 0);
    w.Form->OpenFile(file);
    QTest::qWait(10);
    const unsigned grid = ColorToRGB(clGray);
    for (TPoint p : {TPoint{59800, 39900}, TPoint{30000, 20000}}) {
        // Scroll the element into the middle of the view.
        QWidget* viewport = w.Area()->viewport();
        QPoint at =
            w.Form->ScrollBox1->Host()->mapTo(w.Form->ContainerPanel->Host(), QPoint(p.X, p.Y));
        w.ScrollTo(at.x() - viewport->width() / 2, at.y() - viewport->height() / 2);
        QImage shot = w.Shot();
        QPoint e = w.Form->ScrollBox1->Host()->mapTo(viewport, QPoint(p.X, p.Y));
        ASSERT_TRUE(QRect(QPoint(0, 0), shot.size()).contains(e + QPoint(100, 60)));
        // The rectangle's outline inverted on white, a dot on every grid
        // point around it, white between.
        EXPECT_EQ(Px(shot, e.x() + 2, e.y() + 2), 0u);
        EXPECT_EQ(Px(shot, e.x() + 50, e.y() + 2), 0u);
        EXPECT_EQ(Px(shot, e.x() + 50, e.y() + 30), 0xFFFFFFu);
        QPoint g = w.Form->ScrollBox1->Host()->mapTo(viewport, QPoint(p.X - 40, p.Y - 40));
        EXPECT_EQ(Px(shot, g.x(), g.y()), grid);
        EXPECT_EQ(Px(shot, g.x() + 20, g.y()), grid);
        EXPECT_EQ(Px(shot, g.x() + 1, g.y()), 0xFFFFFFu);
        ExpectSurfaceWithinViewport(w, w.Form->ScrollBox1);
    }
    setrlimit(RLIMIT_AS, &saved);
    EXPECT_TRUE(tsbtest::ShownErrors().empty());
#endif
}
