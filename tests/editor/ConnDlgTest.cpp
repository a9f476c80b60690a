// The connection settings dialog: its results and its memory of the last
// choices.
#include <QTest>
#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "controls/RadioGroup.h"
#include "editor/ConnDlg.h"

using tsb::TConnDialog;
using tsbtest::AnswerModal;
using tsbtest::Click;

namespace {

std::vector<int> Choices(TConnDialog* d) {
    return {d->RadioGroup1->ItemIndex(), d->RadioGroup2->ItemIndex(), d->RadioGroup3->ItemIndex()};
}

TEST(ConnDlgTest, KeepsTheChoicesOfThePreviousUse) {
    TConnDialog dialog;
    std::vector<int> shown;
    AnswerModal<TConnDialog>([&shown](TConnDialog* d) {
        shown = Choices(d);
        Click(d->RadioGroup1->Button(2)); // Left
        Click(d->RadioGroup2->Button(3)); // Right
        Click(d->RadioGroup3->Button(2)); // Blue
        Click(d->OKBtn);
    });
    EXPECT_EQ(dialog.ShowModal(), QDialog::Accepted);
    EXPECT_EQ(shown, std::vector<int>({0, 1, 0})) << "Top, Bottom and Black at first";
    EXPECT_EQ(Choices(&dialog), std::vector<int>({2, 3, 2}));

    AnswerModal<TConnDialog>([&shown](TConnDialog* d) {
        shown = Choices(d);
        QTest::keyClick(d, Qt::Key_Return);
    });
    EXPECT_EQ(dialog.ShowModal(), QDialog::Accepted) << "Return presses the default OK";
    EXPECT_EQ(shown, std::vector<int>({2, 3, 2}));
}

TEST(ConnDlgTest, CancelEscapeAndClosingAreCancels) {
    TConnDialog dialog;
    AnswerModal<TConnDialog>([](TConnDialog* d) { Click(d->CancelBtn); });
    EXPECT_EQ(dialog.ShowModal(), QDialog::Rejected);
    AnswerModal<TConnDialog>([](TConnDialog* d) { QTest::keyClick(d, Qt::Key_Escape); });
    EXPECT_EQ(dialog.ShowModal(), QDialog::Rejected);
    AnswerModal<TConnDialog>([](TConnDialog* d) { d->close(); });
    EXPECT_EQ(dialog.ShowModal(), QDialog::Rejected);
}

} // namespace
