// The caption editor: text and font go back only on "Ok", and the font the
// caption already had survives "Ok" without "Font...".
#include <QFontDialog>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "editor/CaptionEditForm.h"

using tsb::TCaptionEditDlg;
using tsb::TFont;
using tsbtest::AnswerModal;
using tsbtest::Click;

namespace {

TFont BoldTimes() {
    TFont f;
    f.SetName("Times New Roman");
    f.SetHeight(-16);
    f.SetStyle(tsb::fsBold);
    return f;
}

// Picks the bold style of the face the font dialog starts with.
void ChooseBold(QFontDialog* dialog) {
    QFont f = dialog->currentFont();
    f.setStyleName("Bold");
    dialog->setCurrentFont(f);
    QTest::keyClick(dialog, Qt::Key_Return);
}

TEST(CaptionEditFormTest, TwoLinesTypedStayTwoLines) {
    std::string text = "Caption";
    TFont font;
    bool tabbed = false;
    AnswerModal<TCaptionEditDlg>([&tabbed](TCaptionEditDlg* d) {
        QPlainTextEdit* memo = d->CaptionEdit;
        EXPECT_TRUE(memo->hasFocus());
        EXPECT_EQ(memo->toPlainText(), "Caption");
        QTest::keyClick(memo, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(memo, "Pump 1");
        QTest::keyClick(memo, Qt::Key_Return); // a new line, not "Ok"
        QTest::keyClicks(memo, "Stage 2");
        QTest::keyClick(memo, Qt::Key_Tab);
        tabbed = d->FontBtn->hasFocus();
        Click(d->OkBtn);
    });
    EXPECT_TRUE(TCaptionEditDlg::EditCaption(text, font));
    EXPECT_EQ(text, "Pump 1\r\nStage 2");
    EXPECT_TRUE(tabbed) << "Tab moves on instead of typing a tab";
}

TEST(CaptionEditFormTest, OkAloneKeepsTheCaptionsFont) {
    std::string text = "Valve";
    TFont font = BoldTimes();
    bool memoBold = false;
    AnswerModal<TCaptionEditDlg>([&memoBold](TCaptionEditDlg* d) {
        memoBold = d->CaptionEdit->font().bold();
        Click(d->OkBtn);
    });
    EXPECT_TRUE(TCaptionEditDlg::EditCaption(text, font));
    EXPECT_TRUE(memoBold) << "the memo shows the caption in its own font";
    EXPECT_EQ(font, BoldTimes());
}

TEST(CaptionEditFormTest, BoldChosenWithFontButton) {
    std::string text = "Valve";
    TFont font;
    int changes = 0;
    font.OnChange = [&changes] { ++changes; };
    bool memoBold = false;
    QString fontDialogName;
    AnswerModal<TCaptionEditDlg>([&](TCaptionEditDlg* d) {
        AnswerModal<QFontDialog>([&](QFontDialog* fd) {
            fontDialogName = fd->objectName();
            EXPECT_EQ(QFontInfo(fd->currentFont()).pixelSize(), 11);
            ChooseBold(fd);
        });
        Click(d->FontBtn);
        memoBold = d->CaptionEdit->font().bold();
        Click(d->OkBtn);
    });
    EXPECT_TRUE(TCaptionEditDlg::EditCaption(text, font));
    EXPECT_EQ(fontDialogName, "FontDialog1");
    EXPECT_TRUE(memoBold);
    EXPECT_EQ(font.Style(), tsb::fsBold);
    EXPECT_EQ(font.Name(), "MS Sans Serif");
    EXPECT_EQ(font.Height(), -11);
    EXPECT_GE(changes, 1);
}

TEST(CaptionEditFormTest, CancelAndEscapeChangeNothing) {
    std::string text = "Valve";
    TFont font = BoldTimes();
    AnswerModal<TCaptionEditDlg>([](TCaptionEditDlg* d) {
        AnswerModal<QFontDialog>([](QFontDialog* fd) {
            QFont f = fd->currentFont();
            f.setStyleName("Italic");
            fd->setCurrentFont(f);
            QTest::keyClick(fd, Qt::Key_Return);
        });
        Click(d->FontBtn);
        EXPECT_TRUE(d->CaptionEdit->font().italic());
        QTest::keyClicks(d->CaptionEdit, " changed");
        Click(d->CancelBtn);
    });
    EXPECT_FALSE(TCaptionEditDlg::EditCaption(text, font));
    EXPECT_EQ(text, "Valve");
    EXPECT_EQ(font, BoldTimes());

    AnswerModal<TCaptionEditDlg>([](TCaptionEditDlg* d) {
        QTest::keyClicks(d->CaptionEdit, " changed");
        QTest::keyClick(d->CaptionEdit, Qt::Key_Escape);
    });
    EXPECT_FALSE(TCaptionEditDlg::EditCaption(text, font));
    EXPECT_EQ(text, "Valve");
}

} // namespace
