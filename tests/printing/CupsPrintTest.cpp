// Prints the diagram from the preview's Print button on a real CUPS queue
// (a CUPS-PDF printer of a private cupsd, set up by with-cups.sh) and reads
// the paper back: one US Letter page showing the diagram unscaled, with the
// handles of the selected shape and no grid dots.
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>
#include <cstdlib>
#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "TestSupport.h"
#include "editor/MainForm.h"
#include "model/StandardShape.h"
#include "preview/FakePrinter.h"
#include "preview/PreviewForm.h"
#include "preview/Printer.h"
#include "preview/qmPrinter.h"
#include "workarea/SnapGrid.h"

using namespace tsb;
using tsbtest::Px;

namespace {

// The first PDF to appear in the folder, waiting up to a minute.
QByteArray WaitForPdf(const QString& folder) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 60000) {
        QStringList files = QDir(folder).entryList({"*.pdf"}, QDir::Files);
        if (!files.isEmpty()) {
            QTest::qWait(500); // the back end may still be writing
            QFile file(QDir(folder).filePath(files.first()));
            if (file.open(QIODevice::ReadOnly)) return file.readAll();
        }
        QTest::qWait(100);
    }
    return {};
}

TEST(CupsPrinting, DiagramPrintsOnTheQueueAsOneLetterPage) {
    const char* out = std::getenv("TRESSELBY_PDF_OUT");
    const char* queue = std::getenv("TRESSELBY_PDF_QUEUE");
    ASSERT_TRUE(out && queue) << "run through with-cups.sh";
    ASSERT_EQ(Printer().Printers(), std::vector<std::string>{queue});
    ASSERT_EQ(Printer().PrinterIndex(), 0);
    // The queue lists its papers; the buffer follows their number.
    EXPECT_GT(Printer().DevicePapers(queue, nullptr), 0);

    auto owner = std::make_unique<TMainForm>();
    TMainForm& form = *owner;
    form.Show();
    EXPECT_EQ(form.qmPrinter1->PaperSize(), qmLetter);
    EXPECT_EQ(form.qmPrinter1->PageWidth(), 816);
    EXPECT_EQ(form.qmPrinter1->PageHeight(), 1056);
    QWidget* work = form.ScrollBox1->Host();
    form.ShapeBtn->click();
    tsbtest::MousePress(work, 120, 100);
    tsbtest::MouseRelease(work, 120, 100);
    auto* shape = As<TStandardShape>(form.FindComponent("StandardShape1"));
    ASSERT_NE(shape, nullptr);
    tsbtest::MousePress(work, shape->Left() + 8, shape->Top() + 8);
    tsbtest::MouseRelease(work, shape->Left() + 8, shape->Top() + 8);
    ASSERT_TRUE(shape->Selected());
    QImage screen = form.WorkAreaBitmap();

    QImage recorded;
    tsbtest::AnswerModal<TPreviewForm>([&](TPreviewForm* f) {
        const TMetafile* page = form.qmPrinter1->SelectedPage();
        recorded = QImage(page->Width(), page->Height(), QImage::Format_RGB32);
        QPainter painter(&recorded);
        page->Play(painter, recorded.rect());
        painter.end();
        tsbtest::Click(f->PrintBut);
        f->close();
    });
    tsbtest::Click(form.PrintBtn);
    EXPECT_TRUE(tsbtest::ShownErrors().empty());

    QByteArray pdf = WaitForPdf(QString::fromLocal8Bit(out));
    ASSERT_FALSE(pdf.isEmpty()) << "the queue wrote no PDF";
    QString info = tsbtest::PdfInfo(pdf);
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+1\\n"))) << info.toStdString();
    EXPECT_TRUE(info.contains("612 x 792 pts (letter)")) << info.toStdString();
    std::vector<QImage> pages = tsbtest::RenderPdf(pdf);
    ASSERT_EQ(pages.size(), 1u);
    const QImage& paper = pages[0];
    ASSERT_EQ(paper.size(), QSize(816, 1056));
    EXPECT_EQ(tsbtest::Differences(paper, recorded), "");

    // Unscaled and shifted by two pixels: the shape's handles where the
    // screen has them, and no grid dots where the screen has them.
    // The top-left handle covers the shape's rounded corner.
    int hx = shape->Left() + 1, hy = shape->Top() + 1;
    EXPECT_EQ(Px(screen, hx, hy), 0x000000u);
    EXPECT_EQ(Px(paper, hx - 2, hy - 2), 0x000000u);
    int rx = shape->Left() + shape->Width() - 2;
    EXPECT_EQ(Px(paper, rx - 2, hy - 2), 0x000000u);
    EXPECT_EQ(Px(screen, 400, 400), 0x808080u);
    EXPECT_EQ(Px(paper, 398, 398), 0xFFFFFFu);
    int differing = 0;
    for (int y = 0; y < 598; ++y)
        for (int x = 0; x < 798; ++x)
            if ((x + 2) % 20 != 0 || (y + 2) % 20 != 0)
                differing += Px(paper, x, y) != Px(screen, x + 2, y + 2);
    EXPECT_EQ(differing, 0);
    EXPECT_TRUE(form.SnapGrid1->ShowGrid());
}

} // namespace
