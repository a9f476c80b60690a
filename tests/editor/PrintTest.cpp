// Printing the diagram: Print shows the work area as one page in the
// preview, without grid dots and with selection handles, shifted two pixels
// up and left; the preview's Print button prints that page.
#include <QAction>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "DrawingAreas.h"
#include "TestSupport.h"
#include "VectorCompare.h"
#include "editor/MainForm.h"
#include "model/StandardShape.h"
#include "preview/FakePrinter.h"
#include "preview/PreviewForm.h"
#include "preview/qmPrinter.h"
#include "workarea/SnapGrid.h"

using namespace tsb;
using tsbtest::Px;

namespace {

class Printing : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TMainForm;
        Form->Show();
        // A selected shape at (100, 60) and an unselected one at (300, 200).
        Selected = Place(100, 60);
        Other = Place(300, 200);
        tsbtest::MousePress(Work(), Selected->Left() + 8, Selected->Top() + 8);
        tsbtest::MouseRelease(Work(), Selected->Left() + 8, Selected->Top() + 8);
        ASSERT_TRUE(Selected->Selected());
        ASSERT_FALSE(Other->Selected());
    }
    void TearDown() override { delete Form; }

    QWidget* Work() const { return Form->ScrollBox1->Host(); }
    TStandardShape* Place(int x, int y) {
        Form->ShapeBtn->click();
        tsbtest::MousePress(Work(), x, y);
        tsbtest::MouseRelease(Work(), x, y);
        return As<TStandardShape>(Form->FindComponent("StandardShape" + std::to_string(++Shapes)));
    }
    // The page as the engine recorded it.
    QImage Page() const {
        const TMetafile* page = Form->qmPrinter1->SelectedPage();
        QImage image(page->Width(), page->Height(), QImage::Format_RGB32);
        QPainter painter(&image);
        page->Play(painter, image.rect());
        return image;
    }

    tsbtest::TPrinterScope<> Fake;
    TMainForm* Form = nullptr;
    TStandardShape* Selected = nullptr;
    TStandardShape* Other = nullptr;
    int Shapes = 0;
};

TEST_F(Printing, PrintButtonShowsTheDiagramAsOnePageWithoutGrid) {
    ASSERT_TRUE(Form->SnapGrid1->ShowGrid());
    QImage page;
    bool gridOffWhilePreviewing = false;
    tsbtest::AnswerModal<TPreviewForm>([&](TPreviewForm* f) {
        EXPECT_EQ(f->windowTitle(), "Print Preview - []");
        EXPECT_EQ(f->CurPageLabel->text(), "Page 1 of 1");
        gridOffWhilePreviewing = !Form->SnapGrid1->ShowGrid();
        page = Page();
        f->close();
    });
    tsbtest::Click(Form->PrintBtn);
    EXPECT_FALSE(gridOffWhilePreviewing) << "the grid is hidden only while the page is painted";
    EXPECT_EQ(Form->qmPrinter1->PageCount(), 1);
    EXPECT_EQ(Form->qmPrinter1->Orientation(), poPortrait);
    EXPECT_EQ(Form->qmPrinter1->PaperSize(), qmLetter);
    ASSERT_EQ(page.size(), QSize(816, 1056));

    // The grid is back on screen: the work area shows a dot at (20, 20).
    EXPECT_TRUE(Form->SnapGrid1->ShowGrid());
    EXPECT_EQ(Px(Form->WorkAreaBitmap(), 20, 20), 0x808080u);
    // On the page the same point, shifted by two pixels, is white.
    EXPECT_EQ(Px(page, 18, 18), 0xFFFFFFu);
    EXPECT_EQ(Px(page, 38, 18), 0xFFFFFFu);

    // The page is the work area without its grid, at its own scale, with
    // its top-left corner at (-2, -2): what the screen shows, less the dots.
    QImage screen = Form->WorkAreaBitmap();
    int differing = 0;
    for (int y = 0; y < 598; ++y)
        for (int x = 0; x < 798; ++x) {
            unsigned want = Px(screen, x + 2, y + 2);
            bool dot = (x + 2) % 20 == 0 && (y + 2) % 20 == 0;
            if (dot) continue;
            if (Px(page, x, y) != want) ++differing;
        }
    EXPECT_EQ(differing, 0);
    // The selected shape prints its handles; the other one has none.
    // The top-left handle covers the rounded corner, which is white without.
    EXPECT_EQ(Px(page, Selected->Left() + 1 - 2, Selected->Top() + 1 - 2), 0x000000u);
    EXPECT_EQ(Px(page, Other->Left() + 1 - 2, Other->Top() + 1 - 2), 0xFFFFFFu);
    // Past the work area the page stays white.
    EXPECT_EQ(Px(page, 800, 700), 0xFFFFFFu);
}

TEST_F(Printing, UnselectedDiagramsPrintAsVectorDrawing) {
    // Without selection nothing is inverted over drawing: the page is
    // vector commands, and the paper, rasterised by poppler, shows what the
    // screen shows.
    TCustomShape::UnselectAll(Form->ScrollBox1);
    Other->SetShapeType(stRectangle); // straight drawing beside the curves
    Form->MenuItem("ShowGrid1")->trigger();
    tsbtest::AnswerModal<TPreviewForm>([&](TPreviewForm* f) {
        tsbtest::Click(f->PrintBut);
        f->close();
    });
    Form->MenuItem("PrintAction1")->trigger();
    EXPECT_FALSE(Form->qmPrinter1->SelectedPage()->Raster());
    ASSERT_EQ(Fake->Jobs.size(), 1u);
    ASSERT_EQ(tsbtest::RenderPdf(Fake->Jobs[0]).size(), 1u);
    // The work area with its top-left corner at (-2, -2) on white paper.
    const QSize page(816, 1056);
    QImage screen(page, QImage::Format_RGB32);
    screen.fill(Qt::white);
    QPainter painter(&screen);
    painter.drawImage(QPoint(0, 0), Form->WorkAreaBitmap(), QRect(2, 2, 798, 598));
    painter.end();
    // A recording plays its text back on a PDF a little higher than it was
    // drawn, a twentieth of a pixel for this face (Qt's picture puts the
    // line's top at the screen's whole-pixel ascent and the PDF lays the line
    // out with the face's exact one), and poppler puts glyphs on whole
    // pixels: the printed text comes out a pixel higher, which leaves most of
    // its pixels differing.
    tsbtest::TTolerance printed = tsbtest::PopplerTolerance;
    printed.TextShare = 0.75;
    tsbtest::ExpectPdfShows(screen, Fake->Jobs[0],
                            tsbtest::DrawingAreasOf(*Form->ScrollBox1, page, QPoint(-2, -2)),
                            "printed", printed);
}

TEST_F(Printing, MenuItemPrintsFromThePreview) {
    tsbtest::AnswerModal<TPreviewForm>([&](TPreviewForm* f) {
        tsbtest::Click(f->PrintBut);
        EXPECT_TRUE(f->isVisible());
        f->close();
    });
    Form->MenuItem("PrintAction1")->trigger();
    ASSERT_EQ(Fake->Jobs.size(), 1u);
    std::vector<QImage> pages = tsbtest::RenderPdf(Fake->Jobs[0]);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(tsbtest::Differences(pages[0], Page()), "");
    EXPECT_TRUE(Form->SnapGrid1->ShowGrid());
}

TEST_F(Printing, AFailingPageIsShownAndPrintWorksAgain) {
    tsbtest::ShownErrors().clear();
    Form->qmPrinter1->PrintBackgnd =
        TPrintPageEvent([](TComponent*, TPageInfo*&, TMetafileCanvas&, TRect) {});
    Form->qmPrinter1->PrintOverlay = TPrintPageEvent(
        [](TComponent*, TPageInfo*&, TMetafileCanvas&, TRect) { throw Exception("Out of paper"); });
    tsbtest::Click(Form->PrintBtn);
    EXPECT_EQ(tsbtest::ShownErrors(), std::vector<std::string>{"Out of paper."});
    EXPECT_TRUE(Form->SnapGrid1->ShowGrid());
    EXPECT_EQ(Form->qmPrinter1->State(), qsEmpty);

    Form->qmPrinter1->PrintOverlay = {};
    bool shown = false;
    tsbtest::AnswerModal<TPreviewForm>([&](TPreviewForm* f) {
        shown = true;
        f->close();
    });
    tsbtest::Click(Form->PrintBtn);
    EXPECT_TRUE(shown);
    EXPECT_EQ(Form->qmPrinter1->State(), qsReady);
}

} // namespace
