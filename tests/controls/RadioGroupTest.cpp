// The radio group: one item checked at most, the index kept in range.
#include <QRadioButton>
#include <gtest/gtest.h>

#include "controls/RadioGroup.h"

using tsb::TRadioGroup;

namespace {

TEST(RadioGroupTest, ItemIndexRules) {
    TRadioGroup group;
    group.SetItems({"a", "b", "c"});
    EXPECT_EQ(group.ItemIndex(), -1);
    group.SetItemIndex(1);
    group.SetItemIndex(-1);
    EXPECT_EQ(group.ItemIndex(), -1);
    EXPECT_FALSE(group.Button(1)->isChecked());
    group.SetItemIndex(9);
    EXPECT_EQ(group.ItemIndex(), 2);
    group.Button(0)->click();
    EXPECT_EQ(group.ItemIndex(), 0);
    EXPECT_FALSE(group.Button(2)->isChecked());
}

} // namespace
