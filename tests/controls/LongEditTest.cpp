// The integer entry: its key filter, its setters and the check when the focus
// leaves it, driven by real key events in an active window.
#include <QApplication>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

#include "controls/LongEdit.h"
#include "support/TestSupport.h"
#include "widgets/Application.h"

using tsb::TLongEdit;
using tsbtest::ShownErrors;

namespace {

// A window holding the edit and, after it in the tab order, a second one.
class LongEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        ShownErrors().clear();
        auto* layout = new QVBoxLayout(&window);
        edit = new TLongEdit;
        next = new TLongEdit;
        layout->addWidget(edit);
        layout->addWidget(next);
        edit->OnExit = [this](tsb::TRightEdit*) { ++exits; };
        next->OnExit = [this](tsb::TRightEdit*) { ++nextExits; };
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        edit->setFocus();
        ASSERT_TRUE(edit->hasFocus());
        beeps = tsb::Application().BeepCount;
    }

    // Replaces the text as a user would: select everything, then type.
    void Type(const QString& text) {
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    // Presses Tab in the focused control and lets the exit checks run.
    void Tab() {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::qWait(10);
    }

    int NewBeeps() const { return tsb::Application().BeepCount - beeps; }

    QWidget window;
    TLongEdit* edit = nullptr;
    TLongEdit* next = nullptr;
    int exits = 0;
    int nextExits = 0;
    int beeps = 0;
};

TEST_F(LongEditTest, KeyFilterPassesDigitsMinusAndBackspaceOnly) {
    QString seen;
    edit->OnKeyPress = [&](tsb::TRightEdit*, QChar& key) { seen += key; };
    Type("-12");
    EXPECT_EQ(edit->text(), "-12");
    EXPECT_EQ(NewBeeps(), 0);

    QTest::keyClick(edit, Qt::Key_A);
    QTest::keyClicks(edit, " .x");
    EXPECT_EQ(edit->text(), "-12");
    EXPECT_EQ(NewBeeps(), 4);
    EXPECT_EQ(seen, "-12") << "discarded keys must not reach OnKeyPress";

    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "-1");
    EXPECT_EQ(NewBeeps(), 4);
    // The filter ignores the position: a minus sign goes anywhere.
    QTest::keyClicks(edit, "-");
    EXPECT_EQ(edit->text(), "-1-");
}

TEST_F(LongEditTest, NavigationAndEditingKeysStillWork) {
    Type("1234");
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClick(edit, Qt::Key_Right);
    QTest::keyClicks(edit, "9");
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClick(edit, Qt::Key_Left);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "294");
    EXPECT_EQ(NewBeeps(), 0);
}

TEST_F(LongEditTest, SetterRules) {
    EXPECT_EQ(TLongEdit().width(), 60);
    EXPECT_EQ(edit->text(), "0");
    // A minimum never exceeds the maximum, which is 0 on a fresh control.
    edit->SetMinValue(5);
    EXPECT_EQ(edit->MinValue(), 0);
    EXPECT_EQ(edit->Value(), 0);

    edit->SetMaxValue(10);
    edit->SetMinValue(1);
    EXPECT_EQ(edit->MinValue(), 1);
    EXPECT_EQ(edit->MaxValue(), 10);
    EXPECT_EQ(edit->Value(), 1) << "raising the minimum raises the value";
    EXPECT_EQ(edit->text(), "1");

    edit->SetValue(50);
    EXPECT_EQ(edit->Value(), 10);
    EXPECT_EQ(edit->text(), "10");
    edit->SetMaxValue(-3);
    EXPECT_EQ(edit->MaxValue(), 1) << "a maximum never falls below the minimum";
    EXPECT_EQ(edit->Value(), 1);
    EXPECT_EQ(NewBeeps(), 0);
}

TEST_F(LongEditTest, TabOutOfRangeClampsKeepsFocusAndBeepsOnce) {
    edit->SetMaxValue(10);
    edit->SetMinValue(1);
    Type("15");
    Tab();
    EXPECT_EQ(edit->text(), "10");
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->selectedText(), "10");
    EXPECT_EQ(NewBeeps(), 1);
    EXPECT_EQ(exits, 0);
    EXPECT_EQ(nextExits, 0) << "the focus passed through the next control without leaving it";

    Tab();
    EXPECT_TRUE(next->hasFocus());
    EXPECT_EQ(exits, 1);

    // Below the range: back to the minimum.
    edit->setFocus();
    Type("-4");
    Tab();
    EXPECT_EQ(edit->text(), "1");
    EXPECT_TRUE(edit->hasFocus());
}

TEST_F(LongEditTest, TabWithTextThatIsNoNumberReportsAndKeepsValue) {
    edit->SetValue(7);
    const char* bad[] = {"abc", "", "-", "1-2", "2147483648"};
    for (const char* text : bad) {
        SCOPED_TRACE(text);
        ShownErrors().clear();
        edit->setFocus();
        edit->setText(text); // as pasted: pasting is not filtered
        Tab();
        ASSERT_EQ(ShownErrors().size(), 1u);
        EXPECT_EQ(ShownErrors()[0], std::string("'") + text + "' is not a valid integer value.");
        EXPECT_EQ(edit->Value(), 7);
        EXPECT_EQ(edit->text(), text) << "the typed text stays for correction";
        EXPECT_TRUE(edit->hasFocus());
        EXPECT_EQ(exits, 0);
    }
}

TEST_F(LongEditTest, ValidateHandlerRefusingKeepsFocus) {
    edit->OnValidate = [](TLongEdit*, int& value, bool& accept) { accept = value % 2 == 0; };
    Type("3");
    Tab();
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->Value(), 3);
    EXPECT_EQ(NewBeeps(), 1);
    EXPECT_EQ(exits, 0);

    Type("4");
    Tab();
    EXPECT_TRUE(next->hasFocus());
    EXPECT_EQ(exits, 1);
}

TEST_F(LongEditTest, RangeHandlersChooseTheReplacement) {
    edit->SetMaxValue(100);
    edit->SetMinValue(10);
    edit->OnMaxValue = [](TLongEdit*, int& value) { value = 60; };
    Type("500");
    Tab();
    EXPECT_EQ(edit->text(), "60");
    EXPECT_TRUE(edit->hasFocus());
    // A below-minimum replacement is still checked against the maximum.
    edit->OnMinValue = [](TLongEdit*, int& value) { value = 1000; };
    edit->OnMaxValue = nullptr;
    Type("1");
    Tab();
    EXPECT_EQ(edit->Value(), 100);
}

} // namespace
