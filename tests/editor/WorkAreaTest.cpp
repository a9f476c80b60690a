// The main window's work area with its rulers: wiring, hair-lines following
// the pointer over elements and connectors, a connector following an element
// dragged with the mouse, scales aligned while the panel scrolls, and a
// picture of every element kind joined by every connector kind.
#include <QDir>
#include <QImage>
#include <QMainWindow>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "SampleDiagrams.h"
#include "editor/MainForm.h"
#include "graphics/ImageList.h"
#include "graphics/Picture.h"
#include "model/BitmapShape.h"
#include "model/Connector.h"
#include "model/GraphicShape.h"
#include "model/HiddenShape.h"
#include "model/RegularPolygonShape.h"
#include "model/StandardShape.h"
#include "model/TextShape.h"
#include "support/TestSupport.h"
#include "widgets/Image.h"
#include "workarea/SnapGrid.h"
#include "workarea/qmRuler.h"

using namespace tsb;
using tsbtest::Px;

using WorkArea = EditorTest;

TEST_F(WorkArea, RulerBehindTheWorkAreaTargetingIt) {
    TqmRuler* r = Form->qmRuler1;
    TScrollingWinControl* panel = Form->ContainerPanel;
    EXPECT_EQ(r->Owner(), Form);
    EXPECT_EQ(r->Hint, "Background");
    EXPECT_LT(panel->IndexOfControl(r), panel->IndexOfControl(Form->ScrollBox1));
    EXPECT_TRUE(r->Target() == Form->ScrollBox1 && r->Flat() && r->Rulers() == ruBoth);
    EXPECT_TRUE(r->HairLineColor() == clRed && r->BackGround() == clWhite);
    EXPECT_EQ(r->RulerWidth(), 25);
    // It fills the scrolling content, margins included.
    EXPECT_EQ(r->BoundsRect(), Bounds(0, 0, panel->Host()->width(), panel->Host()->height()));
}

TEST_F(WorkArea, DraggedElementTakesItsConnectorAlong) {
    auto* a = Add<TStandardShape>(100, 100);
    auto* b = Add<TStandardShape>(300, 100);
    auto* arrow = Join<TSingleHeadArrow>(a, csRight, b, csLeft);
    EXPECT_EQ(arrow->BoundsRect(), Bounds(200, 125, 100, 11));

    QWidget* host = Work();
    QTest::mouseMove(host, QPoint(350, 130));
    QTest::mousePress(host, Qt::LeftButton, {}, QPoint(350, 130));
    EXPECT_TRUE(b->Selected());
    QTest::mouseMove(host, QPoint(360, 150));
    QTest::mouseMove(host, QPoint(370, 170));
    QTest::mouseRelease(host, Qt::LeftButton, {}, QPoint(370, 170));
    EXPECT_EQ(b->BoundsRect(), Bounds(320, 140, 100, 60));
    // Laid out from the new end: attach (320, 170), outer (300, 170).
    EXPECT_EQ(arrow->BoundsRect(), Bounds(200, 125, 120, 51));
    // The pointer's moves over the element reach the status bar and rulers.
    QTest::mouseMove(host, QPoint(380, 180));
    EXPECT_EQ(Form->StatusText(5), "380x180");
    EXPECT_EQ(Form->qmRuler1->HairPos, (TPoint{380, 180}));

    // Over the connector's area the moves pass on to the work area too.
    QTest::mouseMove(host, QPoint(250, 150));
    EXPECT_EQ(Form->StatusText(5), "250x150");
    EXPECT_EQ(Form->qmRuler1->HairPos, (TPoint{250, 150}));

    QImage img(800, 600, QImage::Format_RGB32);
    Form->ScrollBox1->PaintTo(img, 0, 0);
    EXPECT_EQ(Px(img, 230, 130), 0xFFFFFFu); // the old line is gone
    EXPECT_EQ(Px(img, 305, 165), 0u);        // the head at the new place

    // Deleting the element takes the connector with it.
    delete b;
    EXPECT_EQ(Form->ScrollBox1->IndexOfControl(arrow), -1);
    EXPECT_TRUE(a->AttachedConnectors().empty());
}

TEST_F(WorkArea, ScalesStayAlignedWhileThePanelScrolls) {
    Form->Window()->showNormal();
    Form->Window()->resize(500, 400);
    QTest::qWait(20);
    QScrollArea* area = Form->ContainerPanel->ScrollArea();
    ASSERT_GT(area->horizontalScrollBar()->maximum(), 30);
    ASSERT_GT(area->verticalScrollBar()->maximum(), 100);
    int left = Form->ScrollBox1->Left(), top = Form->ScrollBox1->Top();
    const unsigned grid = ColorToRGB(clGray);
    auto shoot = [&](int dx, int dy) {
        area->horizontalScrollBar()->setValue(dx);
        area->verticalScrollBar()->setValue(dy);
        QTest::qWait(10);
        return area->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    // A black run from a to b, white before it.
    auto run = [](const QImage& img, bool column, int at, int a, int b) {
        bool all = Px(img, column ? at : a - 1, column ? a - 1 : at) != 0;
        for (int i = a; i <= b; ++i)
            all = all && Px(img, column ? at : i, column ? i : at) == 0;
        return all;
    };
    {
        // Scrolled 30 to the right: the scale's zero still marks the work
        // area's left edge, and its ticks the work area's columns.
        QImage shot = shoot(30, 0);
        int x0 = left - 30;
        EXPECT_EQ(Px(shot, x0, top + 21), 0xFFFFFFu);
        EXPECT_NE(Px(shot, x0 - 1, top + 21), 0xFFFFFFu);
        EXPECT_TRUE(run(shot, true, x0, 8, 18));
        EXPECT_TRUE(run(shot, true, x0 + 25, 14, 18));
        EXPECT_TRUE(run(shot, true, x0 + 50, 11, 18));
        EXPECT_EQ(Px(shot, x0 + 100, top + 20), grid);
    }
    {
        // Scrolled 100 down: row 100 of the work area carries the label 100.
        QImage shot = shoot(0, 100);
        int y0 = top - 100;
        EXPECT_TRUE(run(shot, false, y0 + 75, 14, 18));
        EXPECT_TRUE(run(shot, false, y0 + 150, 11, 18));
        EXPECT_EQ(Px(shot, left + 20, y0 + 100), grid);
        EXPECT_EQ(Px(shot, left + 21, y0 + 100), 0xFFFFFFu);
    }
}

// Renders /tmp/all-kinds.png (the work area) and all-kinds-window.png (with
// the rulers) to look at.
TEST_F(WorkArea, EveryElementKindJoinedByEveryConnectorKind) {
    std::vector<TConnector*> connectors = tsbtest::AddEveryKind(Form);

    QImage img(800, 600, QImage::Format_RGB32);
    Form->ScrollBox1->PaintTo(img, 0, 0);
    img.save(QDir::temp().filePath("all-kinds.png"));
    QImage window(Form->ContainerPanel->Host()->size(), QImage::Format_RGB32);
    Form->ContainerPanel->RenderInto(window, {0, 0}, {0, 0, window.width(), window.height()});
    Form->ScrollBox1->PaintTo(window, Form->ScrollBox1->Left(), Form->ScrollBox1->Top());
    window.save(QDir::temp().filePath("all-kinds-window.png"));
    // Every connector draws in its own colour inside its bounds; a second
    // paint gives the same picture.
    for (TConnector* c : connectors) {
        int drawn = 0;
        TRect r = c->BoundsRect();
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                drawn += Px(img, x, y) == ColorToRGB(c->LineColor);
        EXPECT_GT(drawn, 20) << c->ClassName();
    }
    QImage again(800, 600, QImage::Format_RGB32);
    Form->ScrollBox1->PaintTo(again, 0, 0);
    EXPECT_TRUE(img == again);
}
