// The work area zoomed: what it shows against the page drawn whole, every
// tool driven by the mouse at 50 % and 200 % writing the file it writes at
// 100 %, the wheel zooming about the pointer, and 100 % coming back pixel for
// pixel.
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <cmath>

#include "EditorFixture.h"
#include "VectorCompare.h"
#include "core/FileStream.h"
#include "editor/CaptionEditForm.h"
#include "editor/CaptionPosForm.h"
#include "editor/ZoomController.h"
#include "model/GraphicShape.h"
#include "model/HiddenShape.h"
#include "model/StandardShape.h"
#include "workarea/qmRuler.h"

using namespace tsb;
using tsbtest::Px;

namespace {

struct Zoomed : EditorTest {
    bool Shown() const override { return false; }
    void SetUp() override {
        EditorTest::SetUp();
        Form->Window()->resize(900, 700);
        Form->Window()->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(Form->Window()));
    }
    TZoomController& Zoom() const { return Form->Zoom(); }
    QWidget* Viewport() const { return Form->ContainerPanel->ScrollArea()->viewport(); }
    QImage Shot() const {
        QTest::qWait(5);
        return Viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    // The part of the viewport the work area covers, as a viewport rectangle.
    QRect WorkRect() const {
        const QRect r(Work()->mapTo(Viewport(), QPoint(0, 0)), Work()->size());
        return r & Viewport()->rect();
    }
    // The page drawn whole through the vector back end at `scale`.
    QImage PageAt(double scale) const {
        const int w = Form->ScrollBox1->Width(), h = Form->ScrollBox1->Height();
        QImage img(int(std::ceil(w * scale)), int(std::ceil(h * scale)), QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter painter(&img);
        painter.scale(scale, scale);
        TCanvas canvas;
        canvas.BindView(&painter, {0, 0}, {0, 0, w, h}, scale, img.rect());
        Form->ScrollBox1->PaintTo(canvas, 0, 0);
        return img;
    }
    // What shows of the work area against the same part of the page drawn
    // whole.
    void ExpectShownAsDrawnWhole(double scale) {
        const QImage shot = Shot();
        const QRect r = WorkRect();
        const QPoint page = r.topLeft() - Work()->mapTo(Viewport(), QPoint(0, 0));
        const QImage whole = PageAt(scale).copy(QRect(page, r.size()));
        const bool same = shot.copy(r) == whole;
        EXPECT_TRUE(same) << "saved as /tmp/zoom-shown.png and /tmp/zoom-whole.png";
        if (!same) {
            shot.copy(r).save("/tmp/zoom-shown.png");
            whole.save("/tmp/zoom-whole.png");
        }
    }
};

// Turns the wheel by `notches` with Ctrl held at a point of the work area.
void CtrlWheel(QWidget* w, QPoint at, int notches) {
    QWheelEvent e(QPointF(at), QPointF(w->mapToGlobal(at)), QPoint(), QPoint(0, 120 * notches),
                  Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

} // namespace

TEST_F(Zoomed, PixelsAtTwiceTheSizeAreTheVectorDrawingOfThePage) {
    auto* box = Add<TStandardShape>(100, 100);
    box->SetShapeType(stRectangle);
    tsbtest::AddCaption(Form, box, "Caption", alClient);
    auto* hidden = Add<THiddenShape>(300, 120);
    Join<TLineConnector>(box, csRight, hidden, csLeft);
    auto* ellipse = Add<TStandardShape>(100, 240);
    ellipse->SetShapeType(stEllipse);
    auto* slanted = Join<TLineConnector>(hidden, csBottom, ellipse, csRight);
    Zoom().SetZoom(2);
    EXPECT_EQ(Work()->size(), QSize(1600, 1200));
    Form->ContainerPanel->ScrollArea()->horizontalScrollBar()->setValue(0);
    Form->ContainerPanel->ScrollArea()->verticalScrollBar()->setValue(0);
    ExpectShownAsDrawnWhole(2);

    // Against the page at 100 % with every pixel doubled: straight drawing
    // exactly (a line one unit wide is two device pixels wide); the ellipse,
    // the slanted connector and the caption, drawn from their own outlines
    // at the larger size, within a stated share.
    const QImage shot = Shot();
    const QPoint at = Work()->mapTo(Viewport(), QPoint(0, 0));
    const QRect shown = WorkRect().translated(-at);
    QImage page(800, 600, QImage::Format_RGB32);
    Form->ScrollBox1->PaintTo(page, 0, 0);
    const QImage doubled = page.scaled(1600, 1200).copy(shown);
    auto twice = [&](const TControl* c) {
        const TRect r = c->BoundsRect();
        return QRect(2 * r.Left - 2, 2 * r.Top - 2, 2 * r.Width() + 4, 2 * r.Height() + 4)
            .translated(-shown.topLeft());
    };
    tsbtest::TLooseAreas loose;
    loose.Curves = {twice(ellipse), twice(slanted)};
    loose.Text = {twice(box->Caption())};
    const tsbtest::TTolerance zoomed{"the view at 200 %", 0.4, 1.0, 0.0, 2, 3, true, false};
    const QImage shown200 = shot.copy(WorkRect());
    tsbtest::ExpectSameDrawing(doubled, shown200, loose, zoomed, "zoom-200");
    // The slanted line on its own: as much ink as the doubled line, more by
    // the slant (a line two device pixels wide across its own direction,
    // where the doubled steps are two pixels wide across the major axis).
    const QRect box2 = twice(slanted);
    const QRect line =
        box2.adjusted(box2.width() / 3, box2.height() / 3, -box2.width() / 3, -box2.height() / 3);
    auto ink = [&](const QImage& img) {
        int n = 0;
        for (int y = line.top(); y <= line.bottom(); ++y)
            for (int x = line.left(); x <= line.right(); ++x)
                n += Px(img, x, y) == 0;
        return n;
    };
    const double slant = std::hypot(110.0, 130.0) / 130,
                 ratio = ink(shown200) / double(ink(doubled));
    EXPECT_NEAR(ratio, slant, 0.15);
    // The rectangle's top edge (row 102): two black rows, white under them.
    EXPECT_EQ(Px(shot, at.x() + 300, at.y() + 204), 0u);
    EXPECT_EQ(Px(shot, at.x() + 300, at.y() + 205), 0u);
    EXPECT_EQ(Px(shot, at.x() + 300, at.y() + 206), 0xFFFFFFu);
    // A grid dot is two by two.
    EXPECT_EQ(Px(shot, at.x() + 40, at.y() + 40), 0x808080u);
    EXPECT_EQ(Px(shot, at.x() + 41, at.y() + 41), 0x808080u);
    EXPECT_EQ(Px(shot, at.x() + 42, at.y() + 40), 0xFFFFFFu);

    // Repaints of moved parts leave nothing behind, at 200 % and at a zoom
    // whose pixels fall between page pixels.
    tsbtest::Drag(Work(), 2 * 150, 2 * 110, 2 * 190, 2 * 150);
    EXPECT_EQ(box->Left(), 140);
    ExpectShownAsDrawnWhole(2);
    Zoom().SetZoom(2.0 / 3);
    tsbtest::Drag(Work(), 100, 100, 140, 120);
    EXPECT_EQ(box->Left(), 200);
    ExpectShownAsDrawnWhole(2.0 / 3);
    EXPECT_TRUE(tsbtest::ShownErrors().empty());
}

TEST_F(Zoomed, ComingBackToActualSizeShowsTheSamePixels) {
    Add<TStandardShape>(100, 100)->SetSelected(true);
    Add<TStandardShape>(500, 400)->SetShapeType(stEllipse);
    auto* text = Add<TTextShape>(300, 50);
    text->SetText("Words at 100 %");
    QTest::mouseMove(Work(), QPoint(210, 130));
    const QImage before = Shot();
    const QPoint at = Work()->mapTo(Viewport(), QPoint(210, 130));
    for (int notches : {1, 1, 2, -1, -3})
        CtrlWheel(Viewport(), at, notches);
    EXPECT_EQ(Zoom().Zoom(), 1);
    EXPECT_EQ(Zoom().Panel()->text(), "100 %");
    EXPECT_TRUE(Shot() == before);
    // By the menu and its keys, about the viewport's middle.
    QTest::keyClick(Form->Window(), Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(Zoom().Zoom(), 1.25);
    QTest::keyClick(Form->Window(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(Zoom().Zoom(), 1.5);
    QTest::keyClick(Form->Window(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(Zoom().Zoom(), 1.25);
    Form->MenuItem("FitPage1")->trigger();
    EXPECT_NE(Zoom().Zoom(), 1);
    QTest::keyClick(Form->Window(), Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(Zoom().Zoom(), 1);
    Form->ContainerPanel->ScrollArea()->horizontalScrollBar()->setValue(0);
    Form->ContainerPanel->ScrollArea()->verticalScrollBar()->setValue(0);
    EXPECT_TRUE(Shot() == before);
}

namespace {

// A session with every tool, driven by the mouse at a zoom at page points
// that are whole view pixels at 50 % too, then saved; returns the file.
struct ToolSession : Zoomed {
    QPoint At(int x, int y) const { return QPoint(int(x * Scale), int(y * Scale)); }
    void ClickAt(int x, int y, int button = Qt::LeftButton) {
        const QPoint p = At(x, y);
        tsbtest::MousePress(Work(), p.x(), p.y(), button);
        tsbtest::MouseRelease(Work(), p.x(), p.y(), button);
    }
    void DoubleClickAt(int x, int y) {
        const QPoint p = At(x, y);
        tsbtest::MouseDoubleClick(Work(), p.x(), p.y());
    }
    void DragAt(int x1, int y1, int x2, int y2) {
        const QPoint a = At(x1, y1), b = At(x2, y2);
        tsbtest::MouseMove(Work(), a.x(), a.y());
        tsbtest::Drag(Work(), a.x(), a.y(), b.x(), b.y());
    }
    void ConnectAt(QToolButton* tool, QPoint a, QPoint b,
                   std::function<void(TConnDialog*)> answer) {
        tool->click();
        ClickAt(a.x(), a.y());
        tsbtest::AnswerModal<TConnDialog>(answer);
        ClickAt(b.x(), b.y());
    }
    QByteArray Run(double zoom) {
        Scale = zoom;
        Zoom().SetZoom(zoom);
        Form->TextBtn->click();
        ClickAt(64, 48);
        Form->ShapeBtn->click();
        ClickAt(200, 100);
        Form->GraphicBtn->click();
        ClickAt(400, 100);
        Form->HiddenBtn->click();
        ClickAt(200, 300);
        ConnectAt(Form->ToolButton4, {210, 110}, {210, 310},
                  [](TConnDialog* d) { tsbtest::Click(d->OKBtn); });
        ConnectAt(Form->DHArrowBtn, {420, 120}, {210, 110}, [](TConnDialog* d) {
            d->RadioGroup1->SetItemIndex(3);
            d->RadioGroup2->SetItemIndex(2);
            d->RadioGroup3->SetItemIndex(1);
            tsbtest::Click(d->OKBtn);
        });
        ConnectAt(Form->SHArrowBtn, {64, 44}, {210, 310},
                  [](TConnDialog* d) { tsbtest::Click(d->CancelBtn); });
        // Dragged by (40, 20), then its bottom-right handle by (40, 20).
        DragAt(250, 140, 290, 160);
        DragAt(338, 178, 378, 198);
        DoubleClickAt(250, 130);
        tsbtest::AnswerModal<TCaptionPosDlg>([](TCaptionPosDlg* d) {
            tsbtest::Click(d->RadioButton1);
            tsbtest::Click(d->BitBtn1);
        });
        ClickAt(420, 120, Qt::RightButton);
        tsbtest::AnswerModal<TCaptionEditDlg>([](TCaptionEditDlg* d) {
            d->CaptionEdit->setPlainText("Zoomed");
            tsbtest::Click(d->OkBtn);
        });
        DoubleClickAt(64, 44);
        ClickAt(700, 500);
        const QString file = Dir.filePath(QString("zoom-%1.tsb").arg(zoom));
        tsbtest::AnswerModal<QFileDialog>([file](QFileDialog* d) {
            d->findChild<QLineEdit*>("fileNameEdit")->setText(file);
            static_cast<QDialog*>(d)->done(QDialog::Accepted);
        });
        Form->SaveBtn->click();
        QFile saved(file);
        EXPECT_TRUE(saved.open(QIODevice::ReadOnly));
        return saved.readAll();
    }
    double Scale = 1;
    QTemporaryDir Dir;
};

} // namespace

TEST_F(ToolSession, EveryToolWritesTheSameFileAtAnyZoom) {
    const QByteArray actual = Run(1);
    // What the tools did, in page pixels.
    auto* shape = As<TStandardShape>(Form->FindComponent("StandardShape1"));
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(shape->BoundsRect(), Bounds(240, 120, 140, 80));
    EXPECT_EQ(shape->ShapeType(), stEllipse);
    EXPECT_EQ(As<TTextShape>(Form->FindComponent("TextShape1"))->Text(), "Zoomed");
    EXPECT_EQ(As<TGraphicShape>(Form->FindComponent("GraphicShape1"))->CaptionAlign(), alTop);
    EXPECT_EQ(Form->FindComponent("HiddenShape1")->Name(), "HiddenShape1");
    ASSERT_EQ(Connectors().size(), 3u);
    ASSERT_EQ(All<TDoubleHeadArrow>().size(), 1u);
    EXPECT_EQ(All<TDoubleHeadArrow>()[0]->LineColor, clRed);
    EXPECT_EQ(All<TDoubleHeadArrow>()[0]->StartConn().Side, csRight);
    EXPECT_TRUE(tsbtest::ShownErrors().empty());
    for (double zoom : {0.5, 2.0}) {
        delete Form;
        SetUp();
        EXPECT_EQ(Run(zoom), actual) << zoom;
        EXPECT_TRUE(tsbtest::ShownErrors().empty());
    }
}

TEST_F(Zoomed, CtrlWheelKeepsThePagePointUnderThePointer) {
    Form->ScrollBox1->SetBounds(0, 0, 3000, 2000);
    Form->PlaceWorkArea(30);
    QScrollArea* area = Form->ContainerPanel->ScrollArea();
    area->horizontalScrollBar()->setValue(1000);
    area->verticalScrollBar()->setValue(800);
    const QPoint at(400, 300);
    auto pageAt = [&] {
        return QPointF(at - Work()->mapTo(Viewport(), QPoint(0, 0))) / Zoom().Zoom();
    };
    const QPointF page = pageAt();
    // 125, 150, 200, then back down to 50 %.
    for (int notches : {1, 1, 1, -1, -1, -1, -1, -1, -1}) {
        CtrlWheel(Work(), Work()->mapFrom(Viewport(), at), notches);
        const QPointF moved = (pageAt() - page) * Zoom().Zoom();
        EXPECT_LE(std::abs(moved.x()), 1) << Zoom().Zoom();
        EXPECT_LE(std::abs(moved.y()), 1) << Zoom().Zoom();
    }
    EXPECT_DOUBLE_EQ(Zoom().Zoom(), 0.5);
    EXPECT_EQ(Zoom().Panel()->text(), "50 %");
    // Without Ctrl the wheel scrolls and leaves the zoom.
    QWheelEvent plain(QPointF(at), QPointF(Viewport()->mapToGlobal(at)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    const int before = area->verticalScrollBar()->value();
    QApplication::sendEvent(Viewport(), &plain);
    EXPECT_GT(area->verticalScrollBar()->value(), before);
    EXPECT_DOUBLE_EQ(Zoom().Zoom(), 0.5);
}

TEST_F(Zoomed, ViewMenuFitsThePageAndTheSelection) {
    QMenuBar* bar = Form->Window()->menuBar();
    QStringList menus;
    for (QAction* a : bar->actions())
        menus << a->text();
    EXPECT_EQ(menus, (QStringList{"File", "&Edit", "View", "Insert", "Help"}));
    struct Item {
        const char* Name;
        const char* Caption;
        QList<QKeySequence> Keys;
    };
    for (const Item& item :
         {Item{"ZoomIn1", "Zoom In", {QKeySequence("Ctrl++"), QKeySequence("Ctrl+=")}},
          Item{"ZoomOut1", "Zoom Out", {QKeySequence("Ctrl+-")}},
          Item{"ActualSize1", "Actual Size", {QKeySequence("Ctrl+0")}},
          Item{"FitPage1", "Fit Page", {}}, Item{"FitSelection1", "Fit Selection", {}}}) {
        QAction* a = Form->MenuItem(item.Name);
        ASSERT_NE(a, nullptr) << item.Name;
        EXPECT_EQ(a->text(), item.Caption);
        EXPECT_EQ(a->shortcuts(), item.Keys) << item.Name;
    }
    // The steps, and no step past the ends.
    std::vector<double> steps;
    for (double z = 0.1; steps.size() < 20; z = TZoomController::NextStep(z, true)) {
        steps.push_back(z);
        if (z == 8) break;
    }
    EXPECT_EQ(steps.size(), 16u);
    EXPECT_DOUBLE_EQ(steps[4], 1.0 / 3);
    EXPECT_EQ(TZoomController::NextStep(0.1, false), 0.1);
    EXPECT_EQ(TZoomController::ZoomText(1.0 / 3), "33 %");
    EXPECT_EQ(TZoomController::ZoomText(2.0 / 3), "67 %");

    // A page larger than the window shows whole.
    Form->ScrollBox1->SetBounds(0, 0, 4000, 3000);
    Form->PlaceWorkArea(30);
    Form->MenuItem("FitPage1")->trigger();
    const QRect page(Work()->mapTo(Viewport(), QPoint(0, 0)), Work()->size());
    EXPECT_TRUE(Viewport()->rect().contains(page)) << page.width() << "x" << page.height();
    EXPECT_LT(Zoom().Zoom(), 0.25);
    // Two elements far apart fill the viewport, their middle in its middle.
    auto* a = Add<TStandardShape>(1000, 1000);
    auto* b = Add<TStandardShape>(1500, 1300);
    a->SetSelected(true);
    b->SetSelected(true);
    Form->MenuItem("FitSelection1")->trigger();
    EXPECT_GT(Zoom().Zoom(), 1);
    const QPoint middle =
        Work()->mapTo(Viewport(), QPoint(int(1300 * Zoom().Zoom()), int(1180 * Zoom().Zoom())));
    EXPECT_LE((middle - Viewport()->rect().center()).manhattanLength(), 2);
    // Nothing selected: nothing to fit, and the menu says so.
    TCustomShape::UnselectAll(Form->ScrollBox1);
    const double zoom = Zoom().Zoom();
    Form->MenuItem("FitSelection1")->trigger();
    EXPECT_EQ(Zoom().Zoom(), zoom);
}

TEST_F(Zoomed, StatusBarAndRulerFollowThePointerInPagePixels) {
    Zoom().SetZoom(2);
    Form->ContainerPanel->ScrollArea()->horizontalScrollBar()->setValue(0);
    Form->ContainerPanel->ScrollArea()->verticalScrollBar()->setValue(0);
    QTest::mouseMove(Work(), QPoint(247, 91));
    EXPECT_EQ(Form->StatusText(5), "123x45");
    EXPECT_EQ(Form->qmRuler1->HairPos, (TPoint{123, 45}));
}

TEST_F(Zoomed, ToolBarIconsHaveTwiceTheirSizeForDenseScreens) {
    const std::pair<QToolButton*, QString> buttons[] = {
        {Form->SelectBtn, "09-select"}, {Form->ShapeBtn, "12-shape"}, {Form->SnapBtn, "16-snap"}};
    for (const auto& [button, name] : buttons) {
        const QIcon icon = button->icon();
        auto image = [](const QImage& i) { return i.convertToFormat(QImage::Format_ARGB32); };
        const QImage small = image(icon.pixmap(QSize(16, 16), 1.0).toImage());
        const QImage dense = image(icon.pixmap(QSize(16, 16), 2.0).toImage());
        EXPECT_EQ(small, image(QImage(":/icons/" + name + ".png"))) << name.toStdString();
        EXPECT_EQ(dense, image(QImage(":/icons/" + name + "@2x.png"))) << name.toStdString();
        EXPECT_EQ(dense.size(), QSize(32, 32));
        // Drawn, not the small image stretched.
        EXPECT_NE(dense, small.scaled(32, 32)) << name.toStdString();
    }
}

TEST_F(Zoomed, RulersCountPagePixelsAtTheZoomedScale) {
    Zoom().SetZoom(0.5);
    QImage panel(Form->ContainerPanel->Host()->size(), QImage::Format_RGB32);
    Form->ContainerPanel->RenderInto(panel, {0, 0}, {0, 0, panel.width(), panel.height()});
    const TRect s = Form->qmRuler1->HorzScale, v = Form->qmRuler1->VertScale;
    EXPECT_EQ(s.Left, Work()->mapTo(Form->ContainerPanel->Host(), QPoint(0, 0)).x());
    const int u = s.Height() / 4;
    // A label's pixels: the number in the label font on the scale's white.
    auto label = [&](const std::string& text, QRect& where, bool vert, int along) {
        TCanvas c;
        c.Font.SetName("Small Fonts");
        c.Font.SetSize(6);
        const int w = c.TextWidth(text), h = c.TextHeight(text);
        where = vert ? QRect(v.Left, along - h / 2, w, h) : QRect(along - w / 2, s.Top, w, h);
        QImage img(w, h, QImage::Format_RGB32);
        c.Bind(&img);
        c.Brush.Color = clWhite;
        c.FillRect({0, 0, w, h});
        c.TextOut(0, 0, text);
        return img;
    };
    // Every 50 page pixels a tick, 25 pixels apart; long with its number
    // every 200, of middle length half way.
    for (int page : {200, 400, 600}) {
        const int along = s.Left + page / 2;
        QRect where;
        const QImage number = label(std::to_string(page), where, false, along);
        EXPECT_TRUE(panel.copy(where) == number) << page;
        EXPECT_EQ(Px(panel, along, s.Bottom - 1), 0u);
        EXPECT_EQ(Px(panel, along - 50, s.Top + 2 * u), 0u);
        EXPECT_EQ(Px(panel, along - 50, s.Top + 2 * u - 1), 0xFFFFFFu);
        EXPECT_EQ(Px(panel, along - 25, s.Top + 3 * u), 0u);
        EXPECT_EQ(Px(panel, along - 25, s.Top + 3 * u - 1), 0xFFFFFFu);
        // No number half way, where 100 % puts one.
        for (int x = along - 60; x < along - 40; ++x)
            EXPECT_EQ(Px(panel, x, s.Top + 1), 0xFFFFFFu) << page;
        if (page / 2 >= v.Height()) continue; // past the last tick of the 600 high page
        const QImage down = label(std::to_string(page), where, true, v.Top + page / 2);
        EXPECT_TRUE(panel.copy(where) == down) << page;
    }
    // Before the pointer has been over the page, no hair-line shows beside
    // the scales, where the page lies further in than at 100 %.
    // The strips there are plain.
    const int past = Form->qmRuler1->RulerWidth() + 2;
    for (int y = s.Top + 1; y < s.Bottom - 1; ++y)
        for (int x = past; x < s.Left - 4; ++x)
            ASSERT_EQ(Px(panel, x, y), Px(panel, past, y)) << x << "," << y;
    for (int x = v.Left + 1; x < v.Right - 1; ++x)
        for (int y = past; y < v.Top - 4; ++y)
            ASSERT_EQ(Px(panel, x, y), Px(panel, x, past)) << x << "," << y;
    // The hair-lines under the pointer, in the middle of its page pixel.
    QTest::mouseMove(Work(), QPoint(150, 100));
    QTest::qWait(5);
    EXPECT_EQ(Form->qmRuler1->HairPos, (TPoint{300, 200}));
    const QImage shot = Shot();
    const QPoint scale = Form->ContainerPanel->Host()->mapTo(Viewport(), QPoint(s.Left, s.Top));
    EXPECT_EQ(Px(shot, scale.x() + 150, scale.y() + 2), 0xFF0000u);
    EXPECT_EQ(Px(shot, scale.x() + 149, scale.y() + 2), 0xFFFFFFu);
}
