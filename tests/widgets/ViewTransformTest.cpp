// The view's mappings between page, view and device pixels: every device
// pixel a page rectangle touches and every page pixel a device rectangle
// touches, without a spare pixel from the rounding of zooms such as 1/3.
#include <gtest/gtest.h>

#include "widgets/ViewTransform.h"

using namespace tsb;

namespace {

TViewTransform View(double zoom, double ratio) {
    TViewTransform v;
    v.SetZoom(zoom);
    v.SetRatio(ratio);
    return v;
}

} // namespace

TEST(ViewTransform, OneToOneMapsNothing) {
    const TViewTransform plain = View(1, 1);
    EXPECT_TRUE(plain.Identity());
    EXPECT_EQ(plain.PageToDevice({3, 4, 10, 12}), QRect(3, 4, 7, 8));
    EXPECT_EQ(plain.DeviceToPage(QRect(3, 4, 7, 8)), (TRect{3, 4, 10, 12}));
    EXPECT_EQ(plain.ViewToPage(QPointF(17, 9)), (TPoint{17, 9}));
    EXPECT_EQ(plain.ViewExtent(801), 801);
    // Half a zoom on a doubled screen: page pixels are device pixels, view
    // pixels are not.
    const TViewTransform half = View(0.5, 2);
    EXPECT_TRUE(half.OneToOne());
    EXPECT_FALSE(half.Identity());
    EXPECT_EQ(half.PageToDevice({3, 4, 10, 12}), QRect(3, 4, 7, 8));
    EXPECT_EQ(half.ViewToDevice(QRect(1, 2, 3, 4)), QRect(2, 4, 6, 8));
    EXPECT_EQ(half.DeviceToView(QRect(3, 4, 7, 8)), QRect(1, 2, 4, 4));
    EXPECT_EQ(half.ViewToPage(QPointF(10.5, 3.25)), (TPoint{21, 6}));
}

TEST(ViewTransform, RoundsOutwardAndPicksThePixelUnderThePointer) {
    const TViewTransform third = View(1.0 / 3, 1);
    EXPECT_FALSE(third.OneToOne());
    // 800 / 3 = 266.67: the last page pixel shows in part.
    EXPECT_EQ(third.ViewExtent(800), 267);
    EXPECT_EQ(third.ViewExtent(300), 100);
    // Page 3..6 is device 1..2 exactly; page 4..5 touches device pixel 1.
    EXPECT_EQ(third.PageToDevice({3, 3, 6, 6}), QRect(1, 1, 1, 1));
    EXPECT_EQ(third.PageToDevice({4, 4, 5, 5}), QRect(1, 1, 1, 1));
    EXPECT_EQ(third.PageToDevice({2, 0, 7, 1}), QRect(0, 0, 3, 1));
    EXPECT_EQ(third.DeviceToPage(QRect(1, 1, 1, 1)), (TRect{3, 3, 6, 6}));
    EXPECT_EQ(third.ViewToPage(QPointF(1, 0)), (TPoint{3, 0}));

    const TViewTransform twice = View(2, 1);
    EXPECT_EQ(twice.PageToDevice({5, 5, 6, 6}), QRect(10, 10, 2, 2));
    EXPECT_EQ(twice.DeviceToPage(QRect(11, 11, 1, 1)), (TRect{5, 5, 6, 6}));
    EXPECT_EQ(twice.ViewToPage(QPointF(11, 9)), (TPoint{5, 4}));
    EXPECT_EQ(twice.PageToView({5, 4}), QPointF(10, 8));
    // Negative view points (left of the page) stay left of it.
    EXPECT_EQ(twice.ViewToPage(QPointF(-1, -3)), (TPoint{-1, -2}));

    const TViewTransform dense = View(1.5, 2);
    EXPECT_EQ(dense.PageToDevice({1, 1, 2, 2}), QRect(3, 3, 3, 3));
    EXPECT_EQ(dense.ViewToDevice(QRect(0, 0, 3, 3)), QRect(0, 0, 6, 6));
}
