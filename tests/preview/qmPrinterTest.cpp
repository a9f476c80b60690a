// The print engine: the order of the page events and their rectangles,
// documents that grow a page at a time, recovery after a failing handler,
// and what goes to the printer.
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

#include "FakePrinter.h"
#include "TestSupport.h"
#include "VectorCompare.h"
#include "preview/DialogWindow.h"
#include "preview/qmPrinter.h"
#include "preview/qmProgressForm.h"

using namespace tsb;
using tsbtest::TPrinterScope;

namespace {

std::string R(const TRect& r) {
    return std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) +
           "," + std::to_string(r.Bottom);
}

// An engine whose handlers write what they see into a log; page n is filled
// with the colour Colours[n - 1].
class Engine : public ::testing::Test {
protected:
    static constexpr TColor Colours[] = {clRed, clLime, clBlue, clYellow, clAqua};

    void SetUp() override {
        Printer = std::make_unique<TqmPrinter>(nullptr);
        Printer->BeginPrint = TBeginPrintEvent([this](TComponent* s, TPageInfo*& info) {
            EXPECT_EQ(s, Printer.get());
            Log.push_back("BeginPrint");
            Held = std::make_unique<TPageInfo>();
            info = Held.get();
            info->LastPage = LastAtBegin;
        });
        Printer->PrintPage =
            TPrintPageEvent([this](TComponent*, TPageInfo*& info, TMetafileCanvas& c, TRect r) {
                Log.push_back("Page " + std::to_string(info->PageNumber) + " " + R(r));
                c.Brush.Color = Colours[(info->PageNumber - 1) % 5];
                c.FillRect({100, 100, 200, 200});
                if (info->PageNumber == FailOnPage) throw Exception("Page failed");
                if (info->PageNumber >= Pages) info->LastPage = true;
            });
        Printer->EndPrint = TEndPrintEvent([this](TComponent*, TPageInfo*& info) {
            Log.push_back("EndPrint " + std::to_string(info->PageNumber));
            Held.reset();
            info = nullptr;
        });
    }
    void TearDown() override { Printer.reset(); }

    TPrinterScope<> Fake;
    std::unique_ptr<TqmPrinter> Printer;
    std::vector<std::string> Log;
    // The page information; the test frees it where EndPrint does not run.
    std::unique_ptr<TPageInfo> Held;
    int Pages = 1;
    int FailOnPage = 0;
    bool LastAtBegin = false;
};

TEST_F(Engine, EventOrderWithAreaCellsOfTwoRowsAndThreeColumns) {
    Pages = 2;
    Printer->Rows = 2;
    Printer->Columns = 3;
    Printer->MarginLeft = 10;
    auto log = [this](const char* what) {
        return TPrintPageEvent([this, what](TComponent*, TPageInfo*& info, TMetafileCanvas&,
                                            TRect r) {
            Log.push_back(std::string(what) + " " + std::to_string(info->PageNumber) + " " + R(r));
        });
    };
    Printer->PrintBackgnd = log("Backgnd");
    Printer->PrintOverlay = log("Overlay");
    Printer->PrintHeader =
        TPrintHeaderEvent([this](TComponent*, TPageInfo*&, TMetafileCanvas&, TRect& r) {
            Log.push_back("Header " + R(r));
            r.Top += 30; // a header 30 pixels high
        });
    Printer->PrintFooter =
        TPrintFooterEvent([this](TComponent*, TPageInfo*&, TMetafileCanvas&, TRect& r) {
            Log.push_back("Footer " + R(r));
            r.Bottom -= 12;
        });
    Printer->PrintArea = TPrintAreaEvent(
        [this](TComponent*, TPageInfo*&, TMetafileCanvas&, int c, int r, int k, TRect cell) {
            Log.push_back("Area " + std::to_string(c) + std::to_string(r) + std::to_string(k) +
                          " " + R(cell));
        });
    Printer->BuildPages();

    int w = Printer->PageWidth(), h = Printer->PageHeight();
    ASSERT_EQ(w, 816);
    ASSERT_EQ(h, 1056);
    // Body after header and footer: 10, 20 + 30 + 20, 806, 1036 - 12 - 20.
    // Cells: (796 / 3 = 265.33 -> 265) x ((1004 - 70) / 2 = 467).
    std::vector<std::string> page;
    for (int n = 1; n <= 2; ++n) {
        std::string p = std::to_string(n);
        std::vector<std::string> one = {
            "Backgnd " + p + " 0,0,816,1056", "Header 10,20,806,1036",
            "Footer 10,70,806,1036",          "Area 000 10,70,275,537",
            "Area 101 275,70,540,537",        "Area 202 540,70,805,537",
            "Area 013 10,537,275,1004",       "Area 114 275,537,540,1004",
            "Area 215 540,537,805,1004",      "Page " + p + " 10,70,806,1004",
            "Overlay " + p + " 0,0,816,1056"};
        page.insert(page.end(), one.begin(), one.end());
    }
    std::vector<std::string> expected = {"BeginPrint"};
    expected.insert(expected.end(), page.begin(), page.end());
    expected.push_back("EndPrint 2");
    EXPECT_EQ(Log, expected);
    EXPECT_EQ(Printer->State(), qsReady);
    EXPECT_EQ(Printer->PageCount(), 2);
    EXPECT_EQ(Printer->CurrentPage(), 1);
}

TEST_F(Engine, BodyWithDefaultMarginsAndOneCellPerPage) {
    std::vector<std::string> cells;
    Printer->PrintArea = TPrintAreaEvent([&](TComponent*, TPageInfo*&, TMetafileCanvas&, int c,
                                             int r, int k, TRect cell) {
        cells.push_back(std::to_string(c) + std::to_string(r) + std::to_string(k) + " " + R(cell));
    });
    Printer->BuildPages();
    EXPECT_EQ(Log[1], "Page 1 20,40,796,1016");
    EXPECT_EQ(cells, std::vector<std::string>{"000 20,40,796,1016"});

    // A grid without rows or columns is one cell.
    cells.clear();
    Printer->Rows = 0;
    Printer->Columns = -3;
    Printer->BuildPages();
    EXPECT_EQ(cells, std::vector<std::string>{"000 20,40,796,1016"});
}

TEST_F(Engine, BeginPrintThatEndsAtOnceStillGivesOneBlankPage) {
    LastAtBegin = true;
    Printer->BuildPages();
    EXPECT_EQ(Log, (std::vector<std::string>{"BeginPrint", "EndPrint 1"}));
    EXPECT_EQ(Printer->PageCount(), 1);
    ASSERT_NE(Printer->SelectedPage(), nullptr);
    QImage page(816, 1056, QImage::Format_RGB32);
    page.fill(Qt::black);
    QPainter painter(&page);
    Printer->SelectedPage()->Play(painter, page.rect());
    painter.end();
    QImage white(816, 1056, QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_EQ(page, white);
}

TEST_F(Engine, MissingRequiredEvents) {
    TPrintPageEvent page = Printer->PrintPage;
    Printer->BeginPrint = {};
    try {
        Printer->BuildPages();
        ADD_FAILURE() << "no exception";
    } catch (const PrintException& e) {
        EXPECT_STREQ(e.what(), "Begin Print Function Not Assigned!");
    }
    EXPECT_TRUE(Log.empty());

    SetUp();
    Printer->PrintPage = {};
    Printer->PrintBackgnd = TPrintPageEvent(
        [this](TComponent*, TPageInfo*&, TMetafileCanvas&, TRect) { Log.push_back("Backgnd"); });
    bool thrown = false;
    try {
        Printer->BuildPages();
    } catch (const PrintException& e) {
        thrown = true;
        EXPECT_STREQ(e.what(), "Print Page Function Not Assigned!");
    }
    EXPECT_TRUE(thrown);
    // No EndPrint: the page information stays with the test.
    EXPECT_EQ(Log, (std::vector<std::string>{"BeginPrint", "Backgnd"}));
    EXPECT_EQ(Printer->State(), qsEmpty);
}

TEST_F(Engine, RecoversAfterAnExceptionWhileBuilding) {
    Pages = 3;
    FailOnPage = 2;
    EXPECT_THROW(Printer->BuildPages(), Exception);
    EXPECT_EQ(Printer->State(), qsEmpty);
    EXPECT_EQ(Printer->SelectedPage(), nullptr);

    FailOnPage = 0;
    Log.clear();
    Printer->BuildPages();
    EXPECT_EQ(Printer->State(), qsReady);
    EXPECT_EQ(Printer->PageCount(), 3);
    EXPECT_EQ(Log.back(), "EndPrint 3");

    // A BeginPrint that makes no page information is an error, not a crash.
    Printer->BeginPrint = TBeginPrintEvent([](TComponent*, TPageInfo*&) {});
    try {
        Printer->BuildPages();
        ADD_FAILURE() << "no exception";
    } catch (const PrintException& e) {
        EXPECT_STREQ(e.what(), "Page Information Not Created!");
    }
    EXPECT_EQ(Printer->State(), qsEmpty);
}

TEST_F(Engine, PageSelectionAndRange) {
    Pages = 5;
    Printer->BuildPages();
    Printer->SelectPage(4);
    EXPECT_EQ(Printer->CurrentPage(), 4);
    for (int bad : {0, 6, -1}) {
        Printer->SelectPage(bad);
        EXPECT_EQ(Printer->CurrentPage(), 4);
    }
    EXPECT_TRUE(Printer->PageInRange(5));
    Printer->SetFromPage(2);
    Printer->SetToPage(3);
    Printer->SetToPage(-1);
    EXPECT_EQ(Printer->ToPage(), 3);
    EXPECT_FALSE(Printer->PageInRange(1));
    EXPECT_TRUE(Printer->PageInRange(3));
    EXPECT_FALSE(Printer->PageInRange(4));
    // A new document starts with all pages again.
    Printer->BuildPages();
    EXPECT_EQ(Printer->FromPage(), 0);
    EXPECT_EQ(Printer->ToPage(), 0);
}

// The colour of the block each test page carries, read from a printed page.
unsigned BlockColour(const QImage& page) {
    return tsbtest::Px(page, 150, 150);
}

TEST_F(Engine, PrintsARangeWithOneBreakAndRestoresTheSelectedPage) {
    Pages = 5;
    int before = 0, after = 0;
    Printer->BeforePrint = TNotifyEvent([&](TComponent*) { ++before; });
    Printer->AfterPrint = TNotifyEvent([&](TComponent*) { ++after; });
    Printer->BuildPages();
    Printer->SelectPage(4);
    Printer->SetFromPage(2);
    Printer->SetToPage(3);
    Printer->Print();
    EXPECT_EQ(Printer->CurrentPage(), 4);
    EXPECT_EQ(Printer->SelectedPage() != nullptr, true);
    EXPECT_EQ(before, 1);
    EXPECT_EQ(after, 1);
    ASSERT_EQ(Fake->Jobs.size(), 1u);
    EXPECT_EQ(Fake->JobPrinters[0], "Office");
    std::vector<QImage> pages = tsbtest::RenderPdf(Fake->Jobs[0]);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(BlockColour(pages[0]), 0x00FF00u);
    EXPECT_EQ(BlockColour(pages[1]), 0x0000FFu);

    // Without a range, every page, and no break after the last.
    Printer->BuildPages();
    Printer->Print();
    ASSERT_EQ(Fake->Jobs.size(), 2u);
    EXPECT_EQ(tsbtest::RenderPdf(Fake->Jobs[1]).size(), 5u);
}

TEST_F(Engine, PrintedPageIsTheRecordingStretchedOverThePrintableArea) {
    Printer->SetPaperSize(qmLetter);
    Printer->PrintPage =
        TPrintPageEvent([](TComponent*, TPageInfo*& info, TMetafileCanvas& c, TRect) {
            c.Pen.Color = clBlack;
            c.Brush.Color = clRed;
            c.Rectangle(30, 50, 90, 80);
            c.MoveTo(0, 0);
            c.LineTo(816, 1056);
            c.SetPixel(815, 1055, clBlue);
            info->LastPage = true;
        });
    Printer->BuildPages();
    Printer->Print();
    ASSERT_EQ(Fake->Jobs.size(), 1u);
    EXPECT_TRUE(tsbtest::PdfInfo(Fake->Jobs[0]).contains("612 x 792 pts (letter)"));
    std::vector<QImage> pages = tsbtest::RenderPdf(Fake->Jobs[0]);
    ASSERT_EQ(pages.size(), 1u);
    QImage recorded(816, 1056, QImage::Format_RGB32);
    QPainter painter(&recorded);
    Printer->SelectedPage()->Play(painter, recorded.rect());
    painter.end();
    // A page of plain drawing is recorded as vector commands: the paper, as
    // poppler draws it, shows them; only the diagonal's pixels may differ.
    EXPECT_FALSE(Printer->SelectedPage()->Raster());
    tsbtest::TLooseAreas diagonal; // in pieces of 16 columns
    for (int x = 0; x < 816; x += 16) {
        const int top = x * 1056 / 816, bottom = ((x + 16) * 1056 + 815) / 816;
        diagonal.Curves.push_back(QRect(x - 1, top - 1, 18, bottom - top + 2));
    }
    tsbtest::ExpectPdfShows(recorded, Fake->Jobs[0], diagonal, "stretched");
    EXPECT_EQ(tsbtest::Px(pages[0], 31, 51), 0xFF0000u);
    EXPECT_EQ(tsbtest::Px(pages[0], 815, 1055), 0x0000FFu);

    // An inverting pen over drawing keeps the page as the screen's pixels,
    // which the paper shows exactly.
    Printer->PrintPage =
        TPrintPageEvent([](TComponent*, TPageInfo*& info, TMetafileCanvas& c, TRect) {
            c.Brush.Color = clRed;
            c.FillRect({30, 50, 90, 80});
            c.Pen.Mode = pmNot;
            c.MoveTo(0, 60);
            c.LineTo(200, 60);
            info->LastPage = true;
        });
    Printer->BuildPages();
    Printer->Print();
    ASSERT_EQ(Fake->Jobs.size(), 2u);
    pages = tsbtest::RenderPdf(Fake->Jobs[1]);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(Printer->SelectedPage()->Raster());
    painter.begin(&recorded);
    Printer->SelectedPage()->Play(painter, recorded.rect());
    painter.end();
    EXPECT_EQ(tsbtest::Differences(pages[0], recorded), "");
    EXPECT_EQ(tsbtest::Px(pages[0], 40, 60), 0x00FFFFu); // red inverted
    EXPECT_EQ(tsbtest::Px(pages[0], 20, 60), 0x000000u); // white inverted
}

TEST_F(Engine, PrintWithoutAReadyDocumentDoesNothing) {
    int before = 0;
    Printer->BeforePrint = TNotifyEvent([&](TComponent*) { ++before; });
    Printer->Print();
    EXPECT_EQ(before, 0);
    EXPECT_TRUE(Fake->Jobs.empty());
}

TEST_F(Engine, CancelInTheProgressWindowAbortsTheJob) {
    Pages = 3;
    Printer->ShowProgress = true;
    int after = 0;
    bool shown = false;
    Printer->AfterPrint = TNotifyEvent([&](TComponent*) { ++after; });
    // Once the window shows (events pass while its texts are set and
    // before the first page), Esc stands for Cancel.
    std::function<void(int)> answer = [&](int tries) {
        TqmProgressForm* progress = Printer->ProgressForm();
        if (!progress || (!progress->Window->isVisible() && tries > 0)) {
            tsbtest::OnNextModal([&, tries] { answer(tries - 1); });
            return;
        }
        shown = progress->Window->isVisible();
        EXPECT_EQ(progress->Window->windowTitle(), "Printing ");
        EXPECT_EQ(progress->MessageLabel->text(), "Printing ");
        QTest::keyClick(progress->Window, Qt::Key_Escape);
    };
    Printer->BeforePrint = TNotifyEvent([&](TComponent*) { answer(5); });
    Printer->BuildPages();
    Printer->Print();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(Printer->Aborted());
    EXPECT_EQ(after, 1);
    EXPECT_TRUE(Fake->Jobs.empty()) << "an aborted job never reaches the printer";
    EXPECT_FALSE(tsb::Printer().Printing());
}

} // namespace
