// The caption position dialog: the choice goes back only on "Ok".
#include <QGroupBox>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "editor/CaptionPosForm.h"

using tsb::TCaptionPosDlg;
using tsbtest::AnswerModal;
using tsbtest::Click;

namespace {

TEST(CaptionPosFormTest, OkReturnsTheCheckedPosition) {
    bool atBottom = true;
    bool shownBottom = false;
    AnswerModal<TCaptionPosDlg>([&shownBottom](TCaptionPosDlg* d) {
        shownBottom = d->RadioButton2->isChecked() && !d->RadioButton1->isChecked();
        Click(d->RadioButton1);
        Click(d->BitBtn1);
    });
    EXPECT_TRUE(TCaptionPosDlg::ChoosePosition(atBottom));
    EXPECT_TRUE(shownBottom);
    EXPECT_FALSE(atBottom);

    bool shownTop = false;
    AnswerModal<TCaptionPosDlg>([&shownTop](TCaptionPosDlg* d) {
        shownTop = d->RadioButton1->isChecked() && !d->RadioButton2->isChecked();
        Click(d->RadioButton2);
        Click(d->BitBtn1);
    });
    EXPECT_TRUE(TCaptionPosDlg::ChoosePosition(atBottom));
    EXPECT_TRUE(shownTop);
    EXPECT_TRUE(atBottom);
}

TEST(CaptionPosFormTest, EscapeAndClosingLeaveThePosition) {
    bool atBottom = true;
    AnswerModal<TCaptionPosDlg>([](TCaptionPosDlg* d) {
        Click(d->RadioButton1);
        QTest::keyClick(d, Qt::Key_Escape);
    });
    EXPECT_FALSE(TCaptionPosDlg::ChoosePosition(atBottom));
    EXPECT_TRUE(atBottom);

    atBottom = false;
    AnswerModal<TCaptionPosDlg>([](TCaptionPosDlg* d) {
        Click(d->RadioButton2);
        d->close();
    });
    EXPECT_FALSE(TCaptionPosDlg::ChoosePosition(atBottom));
    EXPECT_FALSE(atBottom);
}

} // namespace
