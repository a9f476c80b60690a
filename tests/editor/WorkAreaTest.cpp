// The main window's work area with its rulers: wiring, hair-lines following
// the pointer over elements and connectors, a connector following an element
// dragged with the mouse, scales aligned while the panel scrolls, and a
// picture of every element kind joined by every connector kind.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMainWindow>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include "editor/MainForm.h"
#include "model/BitmapShape.h"
#include "model/Connector.h"
#include "model/GraphicShape.h"
#include "model/HiddenShape.h"
#include "model/RegularPolygonShape.h"
#include "model/StandardShape.h"
#include "model/TextShape.h"
#include "platform/ImageList.h"
#include "platform/JPEGImage.h"
#include "platform/Picture.h"
#include "support/TestSupport.h"
#include "workarea/SnapGrid.h"
#include "workarea/qmRuler.h"

using namespace tsb;
using tsbtest::Px;

namespace {

struct Window {
    Window() : Form(new TMainForm) {
        Form->Show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(Form->Window()));
    }
    ~Window() { delete Form; }
    template <typename T> T* Add(int left, int top) {
        auto* e = new T(Form);
        e->SetName(Form->MakeElementName(e));
        e->SetBounds(left, top, e->Width(), e->Height());
        e->SetParent(Form->ScrollBox1);
        return e;
    }
    template <typename T>
    T* Connect(TCustomShape* a, TConnectionSide sa, TCustomShape* b, TConnectionSide sb) {
        auto* c = new T(Form);
        c->StartConn().Side = sa;
        c->StartConn().SetShape(a);
        c->EndConn().Side = sb;
        c->EndConn().SetShape(b);
        c->UpdateBounds();
        c->SetParent(Form->ScrollBox1);
        return c;
    }
    QWidget* Host() const { return Form->ScrollBox1->Host(); }
    TMainForm* Form;
};

} // namespace

TEST(WorkArea, RulerBehindTheWorkAreaTargetingIt) {
    Window w;
    TqmRuler* ruler = w.Form->qmRuler1;
    ASSERT_NE(ruler, nullptr);
    EXPECT_EQ(ruler->Name(), "qmRuler1");
    EXPECT_EQ(ruler->Owner(), w.Form);
    EXPECT_EQ(ruler->Parent(), w.Form->ContainerPanel);
    EXPECT_LT(w.Form->ContainerPanel->IndexOfControl(ruler),
              w.Form->ContainerPanel->IndexOfControl(w.Form->ScrollBox1));
    EXPECT_EQ(ruler->Hint, "Background");
    EXPECT_EQ(ruler->Target(), w.Form->ScrollBox1);
    EXPECT_TRUE(ruler->Flat());
    EXPECT_EQ(ruler->HairLineColor(), clRed);
    EXPECT_EQ(ruler->Rulers(), ruBoth);
    EXPECT_EQ(ruler->BackGround(), clWhite);
    EXPECT_EQ(ruler->RulerWidth(), 25);
    EXPECT_EQ(ruler->Align(), alClient);
    // It fills the scrolling content, margins included.
    QWidget* content = w.Form->ContainerPanel->Host();
    EXPECT_EQ(ruler->BoundsRect(), Bounds(0, 0, content->width(), content->height()));
    EXPECT_GE(ruler->Width(), w.Form->ScrollBox1->Left() + 800);
}

TEST(WorkArea, DraggedElementTakesItsConnectorAlong) {
    Window w;
    auto* a = w.Add<TStandardShape>(100, 100);
    auto* b = w.Add<TStandardShape>(300, 100);
    auto* arrow = w.Connect<TSingleHeadArrow>(a, csRight, b, csLeft);
    EXPECT_EQ(arrow->BoundsRect(), Bounds(200, 125, 100, 11));

    QWidget* host = w.Host();
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
    EXPECT_EQ(w.Form->StatusText(5), "380x180");
    EXPECT_EQ(w.Form->qmRuler1->HairPos, (TPoint{380, 180}));

    // Over the connector's area the moves pass on to the work area too.
    QTest::mouseMove(host, QPoint(250, 150));
    EXPECT_EQ(w.Form->StatusText(5), "250x150");
    EXPECT_EQ(w.Form->qmRuler1->HairPos, (TPoint{250, 150}));

    QImage img(800, 600, QImage::Format_RGB32);
    w.Form->ScrollBox1->PaintTo(img, 0, 0);
    for (int x = 200; x < 300; x += 7) // the old middle segment's start
        EXPECT_EQ(Px(img, x, 130), x < 220 ? 0u : 0xFFFFFFu) << x;
    EXPECT_EQ(Px(img, 318, 170), 0u); // the head, just left of the tip
    EXPECT_EQ(Px(img, 305, 165), 0u);
    EXPECT_EQ(Px(img, 305, 175), 0u);

    // Deleting the element takes the connector with it.
    delete b;
    EXPECT_EQ(w.Form->ScrollBox1->IndexOfControl(arrow), -1);
    EXPECT_TRUE(a->AttachedConnectors().empty());
}

TEST(WorkArea, ScalesStayAlignedWhileThePanelScrolls) {
    Window w;
    w.Form->Window()->showNormal();
    w.Form->Window()->resize(500, 400);
    QTest::qWait(20);
    QScrollArea* area = w.Form->ContainerPanel->ScrollArea();
    ASSERT_GT(area->horizontalScrollBar()->maximum(), 30);
    ASSERT_GT(area->verticalScrollBar()->maximum(), 100);
    int left = w.Form->ScrollBox1->Left(), top = w.Form->ScrollBox1->Top();
    const unsigned grid = ColorToRGB(clGray);
    auto shoot = [&](int dx, int dy) {
        area->horizontalScrollBar()->setValue(dx);
        area->verticalScrollBar()->setValue(dy);
        QTest::qWait(10);
        return area->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    auto blackRows = [](const QImage& img, int x, int y1, int y2) {
        bool all = true;
        for (int y = y1; y <= y2; ++y)
            all = all && Px(img, x, y) == 0;
        return all && Px(img, x, y1 - 1) != 0;
    };
    auto blackCols = [](const QImage& img, int y, int x1, int x2) {
        bool all = true;
        for (int x = x1; x <= x2; ++x)
            all = all && Px(img, x, y) == 0;
        return all && Px(img, x1 - 1, y) != 0;
    };
    {
        // Scrolled 30 to the right: the scale's zero still marks the work
        // area's left edge, and its ticks the work area's columns.
        QImage shot = shoot(30, 0);
        int x0 = left - 30;
        EXPECT_EQ(Px(shot, x0, top + 21), 0xFFFFFFu);
        EXPECT_NE(Px(shot, x0 - 1, top + 21), 0xFFFFFFu);
        EXPECT_TRUE(blackRows(shot, x0, 8, 18));
        EXPECT_TRUE(blackRows(shot, x0 + 25, 14, 18));
        EXPECT_TRUE(blackRows(shot, x0 + 50, 11, 18));
        EXPECT_EQ(Px(shot, x0 + 100, top + 20), grid);
    }
    {
        // Scrolled 100 down: row 100 of the work area carries the label 100.
        QImage shot = shoot(0, 100);
        int y0 = top - 100;
        EXPECT_TRUE(blackCols(shot, y0 + 75, 14, 18));
        EXPECT_TRUE(blackCols(shot, y0 + 150, 11, 18));
        EXPECT_EQ(Px(shot, left + 20, y0 + 100), grid);
        EXPECT_EQ(Px(shot, left + 21, y0 + 100), 0xFFFFFFu);
    }
}

TEST(WorkArea, EveryElementKindJoinedByEveryConnectorKind) {
    Window w;
    auto* rect = w.Add<TStandardShape>(40, 40);
    rect->SetShapeType(stRectangle);
    auto* round = w.Add<TStandardShape>(260, 40);
    round->SetShapeType(stRoundRect);
    auto* caption = new TTextShape(w.Form);
    caption->SetName(round->Name() + "_Caption");
    caption->SetText("Caption");
    round->SetCaptionAlign(alClient);
    round->SetCaption(caption);
    auto* ellipse = w.Add<TStandardShape>(480, 40);
    ellipse->SetShapeType(stEllipse);
    auto* circle = w.Add<TStandardShape>(40, 240);
    circle->SetShapeType(stCircle);
    auto* polygon = w.Add<TRegularPolygonShape>(260, 240);
    polygon->SetSides(5);
    auto* hidden = w.Add<THiddenShape>(520, 260);
    hidden->SetSelected(true);
    auto* text = w.Add<TTextShape>(480, 420);
    text->SetText("Free text");
    auto* list = new TImageList(w.Form);
    QImage icon(16, 16, QImage::Format_RGB32);
    icon.fill(QColor(255, 0, 255));
    for (int i = 2; i < 14; ++i) {
        icon.setPixel(i, i, qRgb(0, 128, 0));
        icon.setPixel(15 - i, i, qRgb(0, 128, 0));
    }
    list->AddMasked(icon, clFuchsia);
    auto* bitmap = w.Add<TBitmapShape>(60, 440);
    bitmap->SetImages(list);
    auto* square = w.Add<TStandardShape>(260, 420);
    square->SetShapeType(stSquare);
    square->SetSelected(true);
    auto* graphic = w.Add<TGraphicShape>(640, 120);
    QFile file(":/images/DefaultPicture.jpg");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    TJPEGImage jpeg;
    jpeg.LoadFromBytes(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                       static_cast<std::size_t>(bytes.size()));
    graphic->Image().SetGraphic(&jpeg);
    auto* graphicCaption = new TTextShape(w.Form);
    graphicCaption->SetText("New Graphic");
    graphic->SetCaptionAlign(alBottom);
    graphic->SetCaption(graphicCaption);
    graphic->SetSelected(true);
    auto* thumb = w.Add<TThumbNailShape>(640, 400);
    thumb->SetImage(graphic->Image());
    auto* thumbCaption = new TTextShape(w.Form);
    thumb->SetCaptionAlign(alTop);
    thumb->SetCaption(thumbCaption);
    thumb->SetImageName("Images/DefaultPicture.jpg");
    thumb->PlaceCaption(); // as the end of a drag does once the text is longer

    std::vector<TConnector*> connectors;
    connectors.push_back(w.Connect<TLineConnector>(rect, csRight, round, csLeft));
    auto* half = w.Connect<TSingleHeadArrow>(round, csRight, ellipse, csLeft);
    half->SetArrowStyle(asHalf);
    connectors.push_back(half);
    auto* open = w.Connect<TSingleHeadArrow>(rect, csBottom, circle, csTop);
    open->SetArrowStyle(asOpen);
    connectors.push_back(open);
    auto* closed = w.Connect<TSingleHeadArrow>(circle, csRight, polygon, csLeft);
    closed->SetArrowStyle(asClosed);
    connectors.push_back(closed);
    connectors.push_back(w.Connect<TSingleHeadArrow>(polygon, csRight, hidden, csLeft));
    connectors.push_back(w.Connect<TBluntSingleHeadArrow>(ellipse, csBottom, hidden, csTop));
    auto* both = w.Connect<TDoubleHeadArrow>(polygon, csBottom, square, csTop);
    both->LineColor = clBlue;
    both->SetLineWidth(2);
    connectors.push_back(both);
    auto* dotted = w.Connect<TLineConnector>(circle, csBottom, bitmap, csTop);
    dotted->LineStyle = psDot;
    connectors.push_back(dotted);
    connectors.push_back(w.Connect<TDoubleHeadArrow>(hidden, csBottom, text, csTop));
    connectors.push_back(w.Connect<TLineConnector>(square, csRight, text, csLeft));
    connectors.push_back(w.Connect<TSingleHeadArrow>(ellipse, csRight, graphic, csLeft));
    connectors.push_back(w.Connect<TDoubleHeadArrow>(graphic, csBottom, thumb, csTop));

    QImage img(800, 600, QImage::Format_RGB32);
    w.Form->ScrollBox1->PaintTo(img, 0, 0);
    img.save(QDir::temp().filePath("all-kinds.png"));
    QImage window(w.Form->ContainerPanel->Host()->size(), QImage::Format_RGB32);
    w.Form->ContainerPanel->PaintTo(window, 0, 0);
    window.save(QDir::temp().filePath("all-kinds-window.png"));

    // Every connector draws inside its bounds, in its own colour.
    for (TConnector* c : connectors) {
        unsigned colour = ColorToRGB(c->LineColor);
        int drawn = 0;
        TRect r = c->BoundsRect();
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (Px(img, x, y) == colour) ++drawn;
        EXPECT_GT(drawn, 20) << c->ClassName();
    }
    // Two paints give the same picture.
    QImage again(800, 600, QImage::Format_RGB32);
    w.Form->ScrollBox1->PaintTo(again, 0, 0);
    EXPECT_TRUE(img == again);
}
