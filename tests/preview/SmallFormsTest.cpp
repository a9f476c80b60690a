// The progress window, the go-to-page dialog and the preview's about box.
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "FakePrinter.h"
#include "TestSupport.h"
#include "controls/LongEdit.h"
#include "preview/DialogWindow.h"
#include "preview/qmGoPageForm.h"
#include "preview/qmPreviewAboutBox.h"
#include "preview/qmPrinter.h"
#include "preview/qmProgressForm.h"

using namespace tsb;

namespace {

std::vector<int> Moves(int max, int pages) {
    TqmProgressForm progress(nullptr);
    std::vector<int> moves;
    QObject::connect(progress.ProgressBar, &QProgressBar::valueChanged,
                     [&](int v) { moves.push_back(v); });
    progress.SetMax(max);
    for (int n = 1; n <= pages; ++n)
        progress.SetPosition(n);
    return moves;
}

TEST(ProgressForm, BarMovesAboutTwentyTimesAJob) {
    std::vector<int> every5;
    for (int n = 5; n <= 100; n += 5)
        every5.push_back(n);
    EXPECT_EQ(Moves(100, 100), every5);
    EXPECT_EQ(Moves(10, 10), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(Moves(39, 3), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(Moves(40, 4), (std::vector<int>{2, 4}));
}

TEST(ProgressForm, LayoutAndCancelByEnterAndEscape) {
    tsbtest::TPrinterScope<> fake;
    TqmPrinter engine(nullptr);
    TqmProgressForm progress(nullptr);
    progress.Engine = &engine;
    progress.SetCaption("Printing Plan");
    progress.SetMessage("Printing Plan");
    EXPECT_EQ(progress.Window->windowTitle(), "Printing Plan");
    EXPECT_EQ(progress.MessageLabel->text(), "Printing Plan");
    EXPECT_EQ(progress.MessageLabel->pos(), QPoint(20, 10));
    EXPECT_EQ(progress.ProgressBar->geometry(), QRect(20, 40, 360, 20));
    EXPECT_EQ(progress.CancelButton->geometry(), QRect(170, 75, 60, 26));
    EXPECT_FALSE(progress.Window->windowFlags() & Qt::WindowCloseButtonHint);
    progress.Show();
    EXPECT_TRUE(progress.Window->isVisible());
    EXPECT_EQ(progress.Window->cursor().shape(), Qt::WaitCursor);

    QTest::keyClick(progress.Window, Qt::Key_Return);
    EXPECT_TRUE(engine.Aborted());
    EXPECT_TRUE(progress.Window->isVisible()) << "the window stays until the run ends";
}

TEST(GoPageForm, RangeCountAndStart) {
    TqmGoPageForm form(nullptr);
    EXPECT_EQ(form.Window->windowTitle(), "Go To Page");
    EXPECT_EQ(form.CountLabel->text(), "1");
    EXPECT_EQ(form.PageEdit->Value(), 1);
    form.SetPageCount(3);
    EXPECT_EQ(form.PageEdit->MinValue(), 1);
    EXPECT_EQ(form.PageEdit->MaxValue(), 3);
    EXPECT_EQ(form.CountLabel->text(), "3");
    form.SetPage(7);
    EXPECT_EQ(form.GetPage(), 3);
    EXPECT_EQ(form.PageLabel->buddy(), form.PageEdit);
    // Esc cancels; Enter takes the typed number.
    tsbtest::AnswerModal<TDialogWindow>(
        [](TDialogWindow* d) { QTest::keyClick(d, Qt::Key_Escape); });
    EXPECT_FALSE(form.Execute());
    tsbtest::AnswerModal<TDialogWindow>([&form](TDialogWindow*) {
        QTest::keyClicks(form.PageEdit, "2");
        QTest::keyClick(form.PageEdit, Qt::Key_Return);
    });
    EXPECT_TRUE(form.Execute());
    EXPECT_EQ(form.GetPage(), 2);
}

TEST(AboutBox, TextsAndOk) {
    TqmPreviewAboutBox about(nullptr);
    EXPECT_EQ(about.Window->windowTitle(), "About");
    EXPECT_EQ(about.Window->size(), QSize(345, 238));
    EXPECT_EQ(about.TitleLabel->text(), "Print Preview Component");
    EXPECT_EQ(about.VersionLabel->text(), "Version 1.00");
    EXPECT_EQ(about.TitleLabel->geometry(), QRect(52, 16, 225, 25));
    tsbtest::AnswerModal<TDialogWindow>(
        [](TDialogWindow* d) { tsbtest::Click(d->findChild<QPushButton*>("OkButton")); });
    EXPECT_TRUE(about.Execute());
}

} // namespace
