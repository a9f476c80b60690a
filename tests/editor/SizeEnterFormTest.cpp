// The work-area size dialog: typed numbers count once "&Ok" is pressed, by
// mouse, by access key or by Return, and bad text keeps the dialog open.
#include <QTest>
#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "controls/LongEdit.h"
#include "editor/SizeEnterForm.h"

using tsb::TLongEdit;
using tsb::TSizeDialog;
using tsbtest::AnswerModal;
using tsbtest::Click;
using tsbtest::ShownErrors;

namespace {

// Replaces the edit's text with keys, as a user would.
void Type(TLongEdit* edit, const QString& text) {
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

TEST(SizeEnterFormTest, TypedValuesAndOkByMouse) {
    int width = 800, height = 600;
    QString shown;
    AnswerModal<TSizeDialog>([&shown](TSizeDialog* d) {
        shown = d->LongEdit1->text() + "x" + d->LongEdit2->text();
        EXPECT_TRUE(d->LongEdit1->hasFocus());
        Type(d->LongEdit1, "1024");
        QTest::keyClick(d->LongEdit1, Qt::Key_Tab);
        EXPECT_TRUE(d->LongEdit2->hasFocus());
        Type(d->LongEdit2, "-768"); // no range: negative numbers are taken too
        Click(d->BitBtn1);
    });
    EXPECT_TRUE(TSizeDialog::EnterSize(width, height));
    EXPECT_EQ(shown, "800x600");
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(height, -768);
}

TEST(SizeEnterFormTest, AccessKeyAndReturnCommitTheTextBeingTyped) {
    int width = 800, height = 600;
    AnswerModal<TSizeDialog>([](TSizeDialog* d) {
        Type(d->LongEdit1, "640");
        QTest::keyClick(d->LongEdit1, Qt::Key_O, Qt::AltModifier);
    });
    EXPECT_TRUE(TSizeDialog::EnterSize(width, height));
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 600);

    AnswerModal<TSizeDialog>([](TSizeDialog* d) {
        QTest::keyClick(d->LongEdit1, Qt::Key_Tab);
        Type(d->LongEdit2, "480");
        QTest::keyClick(d->LongEdit2, Qt::Key_Return);
    });
    EXPECT_TRUE(TSizeDialog::EnterSize(width, height));
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
}

TEST(SizeEnterFormTest, TextThatIsNoNumberKeepsTheDialogOpen) {
    ShownErrors().clear();
    int width = 800, height = 600;
    bool stayedOpen = false;
    bool focusBack = false;
    AnswerModal<TSizeDialog>([&](TSizeDialog* d) {
        QTest::keyClick(d->LongEdit1, Qt::Key_Tab);
        Type(d->LongEdit2, "-");
        Click(d->BitBtn1);
        QTest::qWait(10);
        stayedOpen = d->isVisible();
        focusBack = d->LongEdit2->hasFocus();
        Type(d->LongEdit2, "700");
        Click(d->BitBtn1);
    });
    EXPECT_TRUE(TSizeDialog::EnterSize(width, height));
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(focusBack);
    ASSERT_EQ(ShownErrors().size(), 1u) << "one message, not one per check";
    EXPECT_EQ(ShownErrors()[0], "'-' is not a valid integer value.");
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 700);
}

TEST(SizeEnterFormTest, CancelAndEscapeLeaveTheValues) {
    ShownErrors().clear();
    int width = 800, height = 600;
    AnswerModal<TSizeDialog>([](TSizeDialog* d) {
        Type(d->LongEdit1, "1");
        QTest::keyClick(d->LongEdit1, Qt::Key_Tab);
        Type(d->LongEdit2, "2");
        Click(d->BitBtn2);
    });
    EXPECT_FALSE(TSizeDialog::EnterSize(width, height));
    // Cancelling does not complain about a half-typed number either.
    AnswerModal<TSizeDialog>([](TSizeDialog* d) {
        Type(d->LongEdit1, "-");
        QTest::keyClick(d->LongEdit1, Qt::Key_Escape);
    });
    EXPECT_FALSE(TSizeDialog::EnterSize(width, height));
    AnswerModal<TSizeDialog>([](TSizeDialog* d) {
        Type(d->LongEdit1, "-");
        Click(d->BitBtn2);
    });
    EXPECT_FALSE(TSizeDialog::EnterSize(width, height));
    QTest::qWait(10);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    EXPECT_TRUE(ShownErrors().empty());
}

} // namespace
