// Sprites on their own: the step rules, the size a mask imposes, and moving.
#include <gtest/gtest.h>
#include <vector>

#include "about/Sprite.h"
#include "about/SpriteBox.h"

using namespace tsb;

namespace {

TBitmap Solid(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return TBitmap(image);
}

} // namespace

TEST(SpriteTest, StepsAcceptOnlyMinusOneToOneAndBounceOnEachAcceptedValue) {
    TSprite sprite(nullptr);
    int bounces = 0;
    sprite.OnBounce = TNotifyEvent([&](TComponent* sender) {
        EXPECT_EQ(sender, &sprite);
        ++bounces;
    });
    sprite.SetVX(1);
    EXPECT_EQ(sprite.VX(), 1);
    EXPECT_EQ(bounces, 1);
    sprite.SetVX(2);
    sprite.SetVX(-2);
    EXPECT_EQ(sprite.VX(), 1);
    EXPECT_EQ(bounces, 1);
    sprite.SetVX(1); // the same value still bounces
    EXPECT_EQ(bounces, 2);

    sprite.SetVY(-1);
    EXPECT_EQ(sprite.VY(), -1);
    sprite.SetVY(5);
    sprite.SetVY(-100);
    EXPECT_EQ(sprite.VY(), -1);
    EXPECT_EQ(bounces, 3);
    sprite.SetVY(0);
    EXPECT_EQ(sprite.VY(), 0);
    EXPECT_EQ(bounces, 4);
    EXPECT_EQ(sprite.VX(), 1);
}

TEST(SpriteTest, SizeFollowsTheMask) {
    TSprite sprite(nullptr);
    EXPECT_EQ(sprite.BoundsRect(), Bounds(0, 0, 60, 60));
    sprite.SetBounds(3, 4, 10, 12); // no mask yet: as asked
    EXPECT_EQ(sprite.BoundsRect(), Bounds(3, 4, 10, 12));

    sprite.SetOrImage(Solid(7, 5, 0xFF0000));
    EXPECT_EQ(sprite.BoundsRect(), Bounds(3, 4, 7, 5));
    sprite.SetAndImage(Solid(9, 6, 0x000000));
    EXPECT_EQ(sprite.BoundsRect(), Bounds(3, 4, 9, 6));
    EXPECT_EQ(sprite.AndImage().Width(), 9);
    EXPECT_EQ(sprite.OrImage().Width(), 7);

    // With a mask, a new size is refused and the position taken.
    sprite.SetBounds(20, 30, 100, 100);
    EXPECT_EQ(sprite.BoundsRect(), Bounds(20, 30, 9, 6));
    sprite.SetOrImage(Solid(40, 40, 0x00FF00));
    EXPECT_EQ(sprite.BoundsRect(), Bounds(20, 30, 9, 6));
}

TEST(SpriteTest, MoveTakesTheCornerOfTheRectangleTheHandlerGives) {
    TSprite sprite(nullptr);
    sprite.SetBounds(5, 6, 8, 4);
    EXPECT_EQ(sprite.X(), 0);
    EXPECT_EQ(sprite.Y(), 0);
    sprite.Loaded();
    EXPECT_EQ(sprite.X(), 5);
    EXPECT_EQ(sprite.Y(), 6);

    sprite.Move(); // no handler: stays
    EXPECT_EQ(sprite.X(), 5);
    EXPECT_EQ(sprite.Y(), 6);

    std::vector<TRect> seen;
    sprite.OnMove = TSpriteMoveEvent([&](TComponent*, TRect& r) {
        seen.push_back(r);
        r = {r.Left - 3, r.Top + 2, r.Left + 100, r.Top + 100};
    });
    sprite.Move();
    sprite.Move();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], (TRect{5, 6, 13, 10}));
    EXPECT_EQ(seen[1], (TRect{2, 8, 10, 12}));
    EXPECT_EQ(sprite.X(), -1);
    EXPECT_EQ(sprite.Y(), 10);
    // Moving changes neither the size nor the control's bounds.
    EXPECT_EQ(sprite.BoundsRect(), Bounds(5, 6, 8, 4));
}

TEST(SpriteTest, BoxDefaults) {
    TSpriteBox box(nullptr);
    EXPECT_EQ(box.Width(), 105);
    EXPECT_EQ(box.Height(), 105);
    EXPECT_EQ(box.Color(), clBlack);
    EXPECT_TRUE(box.Center());
    EXPECT_FALSE(box.Stretch());
    EXPECT_FALSE(box.Gradient());
    EXPECT_EQ(box.BackgroundBuffer().size(), QSize(105, 105));
    EXPECT_EQ(box.WorkBuffer().pixel(50, 50) & 0xFFFFFF, 0u);
}
