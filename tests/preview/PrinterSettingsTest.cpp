// The engine and the printer's settings: orientation, paper, copies and
// collation through the device-mode block, what a printer does not offer,
// printers without settings, and a system without any printer.
#include <QFileDialog>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "FakePrinter.h"
#include "TestSupport.h"
#include "preview/qmPrinter.h"

using namespace tsb;
using tsbtest::TFakePrinter;
using tsbtest::TPrinterScope;

namespace {

TEST(PrinterSettings, PaperTableCodesAreQtsPageSizes) {
    for (const TqmPaper& paper : PaperTable()) {
        if (paper.Paper == qmDefault || paper.Paper == qmCustom) continue;
        EXPECT_EQ(QPageSize(paper.PageSize).windowsId(), paper.Code);
        EXPECT_EQ(QPageSize::id(paper.Code), paper.PageSize);
    }
    EXPECT_EQ(PaperTable()[qmCustom].Code, 256);
}

TEST(PrinterSettings, OrientationAndPaperActOnThePrinterAndThePage) {
    TPrinterScope<> fake;
    TqmPrinter engine(nullptr);
    engine.SetPaperSize(qmA4);
    EXPECT_EQ(fake->Current()->dmPaperSize, 9);
    EXPECT_EQ(engine.PaperSize(), qmA4);
    EXPECT_EQ(engine.PageWidth(), 793); // 595 points
    EXPECT_EQ(engine.PageHeight(), 1123);
    engine.SetOrientation(poLandscape);
    EXPECT_EQ(fake->Current()->dmOrientation, DMORIENT_LANDSCAPE);
    EXPECT_EQ(Printer().Orientation(), poLandscape);
    EXPECT_EQ(engine.PageWidth(), 1123);
    EXPECT_EQ(engine.PageHeight(), 793);
    engine.SetOrientation(poPortrait);
    engine.SetPaperSize(qmLetter);
    EXPECT_EQ(engine.PageWidth(), 816);
    EXPECT_EQ(engine.PageHeight(), 1056);
    engine.SetCopies(3);
    engine.SetCollate(true);
    EXPECT_EQ(fake->Current()->dmCopies, 3);
    EXPECT_EQ(fake->Current()->dmCollate, 1);
}

TEST(PrinterSettings, PapersTheDriverDoesNotOfferLeaveTheSettings) {
    TPrinterScope<> fake;
    fake->Papers = {1, 9};
    TqmPrinter engine(nullptr);
    engine.SetPaperSize(qmA4);
    engine.SetPaperSize(qmLegal);
    EXPECT_EQ(engine.PaperSize(), qmA4);
    EXPECT_FALSE(engine.PaperSupported(qmLegal));
    // qmDefault is no paper, even from a driver that lists sizes without a
    // code.
    fake->Papers = {0, 1, 9};
    engine.SetPaperSize(qmDefault);
    EXPECT_EQ(engine.PaperSize(), qmA4);
    EXPECT_FALSE(engine.PaperSupported(qmDefault));
    // A paper outside the table reads as qmDefault.
    fake->Current()->dmPaperSize = 70;
    EXPECT_EQ(engine.PaperSize(), qmDefault);
}

TEST(PrinterSettings, QueueWithSixtySevenPapers) {
    // A CUPS PDF queue offers 67 papers; Letter and A5 come last here.
    TPrinterScope<> fake;
    fake->Papers.assign(65, 0);
    for (int i = 0; i < 65; ++i)
        fake->Papers[std::size_t(i)] = std::int16_t(i % 2 ? 256 : 0);
    fake->Papers.push_back(11);
    fake->Papers.push_back(1);
    fake->Settings.dmPaperSize = 9;
    TqmPrinter engine(nullptr);
    EXPECT_TRUE(engine.PaperSupported(qmLetter));
    EXPECT_TRUE(engine.PaperSupported(qmA5));
    EXPECT_TRUE(engine.PaperSupported(qmCustom));
    EXPECT_FALSE(engine.PaperSupported(qmA3));
    engine.SetPaperSize(qmLetter);
    EXPECT_EQ(engine.PaperSize(), qmLetter);
}

TEST(PrinterSettings, MissingFieldsAreSkippedSilently) {
    TPrinterScope<> fake;
    fake->Settings.dmFields = DM_ORIENTATION;
    TqmPrinter engine(nullptr);
    engine.SetPaperSize(qmA4);
    engine.SetCopies(4);
    engine.SetCollate(true);
    EXPECT_EQ(engine.PaperSize(), qmDefault);
    EXPECT_EQ(fake->Current()->dmPaperSize, 1);
    EXPECT_EQ(fake->Current()->dmCopies, 1);
    EXPECT_EQ(fake->Current()->dmCollate, 0);
    EXPECT_EQ(fake->Current()->dmFields, DM_ORIENTATION);
}

TEST(PrinterSettings, PrinterWithoutSettingsIsADriverError) {
    TPrinterScope<> fake;
    fake->HasSettings = false;
    TqmPrinter engine(nullptr);
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            engine.SetOrientation(poLandscape);
            ADD_FAILURE() << "no exception";
        } catch (const EPrinter& e) {
            EXPECT_STREQ(e.what(), "Printer driver error");
        }
        EXPECT_THROW(engine.PaperSize(), EPrinter);
    }
    // The failed locks left no count behind: once the driver answers, the
    // settings change again.
    fake->HasSettings = true;
    fake->SetPrinterIndex(0);
    engine.SetPaperSize(qmA5);
    EXPECT_EQ(engine.PaperSize(), qmA5);
}

// A system without printers.
class TNoPrinter : public TFakePrinter {
public:
    TNoPrinter() {
        Names.clear();
        DefaultName.clear();
    }
};

TEST(PrinterSettings, WithoutPrintersThePageIsLetterAndSettingsAreKeptQuiet) {
    TPrinterScope<TNoPrinter> none;
    TqmPrinter engine(nullptr);
    EXPECT_EQ(engine.PageWidth(), 816);
    EXPECT_EQ(engine.PageHeight(), 1056);
    EXPECT_NO_THROW(engine.SetPaperSize(qmA4));
    EXPECT_EQ(engine.PaperSize(), qmDefault);
    EXPECT_NO_THROW(engine.SetOrientation(poLandscape));
    EXPECT_EQ(engine.PageWidth(), 1056);
    EXPECT_EQ(engine.PageHeight(), 816);
}

TEST(PrinterSettings, WithoutPrintersPrintOffersAPdfFile) {
    TPrinterScope<TNoPrinter> none;
    TqmPrinter engine(nullptr);
    std::unique_ptr<TPageInfo> info;
    engine.BeginPrint = TBeginPrintEvent([&](TComponent*, TPageInfo*& i) {
        info = std::make_unique<TPageInfo>();
        i = info.get();
    });
    engine.PrintPage = TPrintPageEvent([](TComponent*, TPageInfo*& i, TMetafileCanvas& c, TRect) {
        c.Brush.Color = clNavy;
        c.FillRect({10, 10, 110, 60});
        i->LastPage = true;
    });
    int before = 0, after = 0;
    engine.BeforePrint = TNotifyEvent([&](TComponent*) { ++before; });
    engine.AfterPrint = TNotifyEvent([&](TComponent*) { ++after; });
    engine.BuildPages();

    // Cancelling the file dialog prints nothing, without events.
    tsbtest::AnswerModal<QFileDialog>([](QFileDialog* d) { d->reject(); });
    engine.Print();
    EXPECT_EQ(before, 0);

    QTemporaryDir dir;
    QString file = dir.filePath("page");
    tsbtest::AnswerModal<QFileDialog>([file](QFileDialog* d) {
        EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptSave);
        d->findChild<QLineEdit*>("fileNameEdit")->setText(file);
        static_cast<QDialog*>(d)->accept();
    });
    engine.Print();
    EXPECT_EQ(before, 1);
    EXPECT_EQ(after, 1);
    QFile pdf(file + ".pdf");
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly)) << "saved with the pdf suffix";
    QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(tsbtest::PdfInfo(bytes).contains("612 x 792 pts (letter)"));
    std::vector<QImage> pages = tsbtest::RenderPdf(bytes);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(tsbtest::Px(pages[0], 10, 10), 0x000080u);
    EXPECT_EQ(tsbtest::Px(pages[0], 110, 10), 0xFFFFFFu);
    EXPECT_TRUE(Printer().OutputFile.empty()) << "the next job goes to a printer again";
}

} // namespace

namespace {

TEST(PrinterSettings, PrintDialogAsksForRangeAndCopies) {
    TPrinterScope<> fake;
    TqmPrinter engine(nullptr);
    engine.ShowPrintDialog = true;
    std::unique_ptr<TPageInfo> info;
    engine.BeginPrint = TBeginPrintEvent([&](TComponent*, TPageInfo*& i) {
        info = std::make_unique<TPageInfo>();
        i = info.get();
    });
    engine.PrintPage = TPrintPageEvent([](TComponent*, TPageInfo*& i, TMetafileCanvas&, TRect) {
        i->LastPage = i->PageNumber == 4;
    });
    int before = 0;
    engine.BeforePrint = TNotifyEvent([&](TComponent*) { ++before; });
    engine.BuildPages();

    tsbtest::AnswerModal<QDialog>([](QDialog* d) {
        EXPECT_EQ(d->objectName(), "PrintDialog");
        d->reject();
    });
    engine.Print();
    EXPECT_EQ(before, 0) << "a cancelled dialog prints nothing";
    EXPECT_TRUE(fake->Jobs.empty());

    tsbtest::AnswerModal<QDialog>([](QDialog* d) {
        auto* range = d->findChild<QRadioButton*>("printRange");
        auto* from = d->findChild<QSpinBox*>("from");
        auto* to = d->findChild<QSpinBox*>("to");
        auto* copies = d->findChild<QSpinBox*>("copies");
        ASSERT_TRUE(range && from && to && copies);
        EXPECT_EQ(from->maximum(), 4);
        range->setChecked(true);
        from->setValue(2);
        to->setValue(3);
        copies->setValue(2);
        d->accept();
    });
    engine.Print();
    EXPECT_EQ(before, 1);
    EXPECT_EQ(engine.FromPage(), 2);
    EXPECT_EQ(engine.ToPage(), 3);
    EXPECT_EQ(fake->Current()->dmCopies, 2);
    ASSERT_EQ(fake->Jobs.size(), 1u);
    EXPECT_EQ(tsbtest::RenderPdf(fake->Jobs[0]).size(), 2u);
}

} // namespace
