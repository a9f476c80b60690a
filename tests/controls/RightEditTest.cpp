// The right-aligned entry: its bounds and the keys it leaves to the window.
#include <QTest>
#include <gtest/gtest.h>

#include "controls/RightEdit.h"
#include "platform/Font.h"

using tsb::TRightEdit;

namespace {

QFont PixelFont(int height) {
    tsb::TFont f;
    f.SetHeight(height);
    return f.ToQFont();
}

TEST(RightEditTest, HeightIsCappedAtTwoFontHeights) {
    TRightEdit edit;
    edit.setFont(PixelFont(-13));
    edit.SetBounds(5, 6, 70, 100);
    EXPECT_EQ(edit.geometry(), QRect(5, 6, 70, 26));
    edit.SetBounds(5, 6, 70, 22);
    EXPECT_EQ(edit.geometry(), QRect(5, 6, 70, 22));
    edit.SetBounds(0, 0, 70, 26);
    EXPECT_EQ(edit.height(), 26);

    QFont points = edit.font();
    points.setPointSize(12); // 16 pixels at 96 dots per inch
    edit.setFont(points);
    edit.SetBounds(0, 0, 70, 100);
    EXPECT_EQ(edit.height(), 2 * QFontInfo(points).pixelSize());
}

TEST(RightEditTest, TypesRightAlignedAndTakesNoReturnOrTab) {
    TRightEdit edit;
    EXPECT_TRUE(edit.alignment() & Qt::AlignRight);
    int presses = 0;
    edit.OnKeyPress = [&](TRightEdit*, QChar&) { ++presses; };
    QTest::keyClicks(&edit, "ab");
    QTest::keyClick(&edit, Qt::Key_Return);
    QTest::keyClick(&edit, Qt::Key_Tab);
    EXPECT_EQ(edit.text(), "ab");
    EXPECT_EQ(presses, 2);
}

} // namespace
