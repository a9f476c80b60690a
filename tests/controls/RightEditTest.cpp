// The right-aligned entry is never taller than two font heights.
#include <gtest/gtest.h>

#include "controls/RightEdit.h"
#include "graphics/Font.h"

namespace {

TEST(RightEditTest, HeightIsCappedAtTwoFontHeights) {
    tsb::TFont font;
    font.SetHeight(-13);
    tsb::TRightEdit edit;
    edit.setFont(font.ToQFont());
    edit.SetBounds(5, 6, 70, 100);
    EXPECT_EQ(edit.geometry(), QRect(5, 6, 70, 26));
    edit.SetBounds(5, 6, 70, 22);
    EXPECT_EQ(edit.geometry(), QRect(5, 6, 70, 22));
    edit.SetBounds(0, 0, 70, 26);
    EXPECT_EQ(edit.height(), 26);
}

} // namespace
