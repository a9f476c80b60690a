// The play-field on pixels: background colour, gradient and picture, sprites
// combined by AND and OR, the rectangle mended after a move, which sprites
// take part in a paint, and one move a paint.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "about/Sprite.h"
#include "about/SpriteBox.h"

using namespace tsb;
using tsbtest::Px;

namespace {

QImage Pixels(int width, int height, std::initializer_list<QRgb> values) {
    QImage image(width, height, QImage::Format_RGB32);
    auto it = values.begin();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, 0xFF000000u | *it++);
    return image;
}

QImage Solid(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(0xFF000000u | colour);
    return image;
}

// A 3 x 2 sprite: an opaque pixel, a transparent one, and pixels whose mask
// keeps only some bits of the background.
const QImage& TestMask() {
    static const QImage mask =
        Pixels(3, 2, {0x000000, 0xFFFFFF, 0xF0F0F0, 0x0F0F0F, 0x000000, 0xFFFFFF});
    return mask;
}
const QImage& TestImage() {
    static const QImage image =
        Pixels(3, 2, {0xFF0000, 0x000000, 0x010203, 0x102030, 0x00FF00, 0x000000});
    return image;
}

// (background AND mask) OR image.
unsigned Combined(unsigned background, int x, int y) {
    return (background & (TestMask().pixel(x, y) & 0xFFFFFF)) |
           (TestImage().pixel(x, y) & 0xFFFFFF);
}

class SpriteBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        Box = new TSpriteBox(nullptr);
        Box->SetBounds(0, 0, 20, 12);
    }
    void TearDown() override { delete Box; }

    TSprite* AddSprite(int x, int y, const QImage& mask, const QImage& image) {
        auto* sprite = new TSprite(Box);
        sprite->SetParent(Box);
        sprite->SetAndImage(TBitmap(mask));
        sprite->SetOrImage(TBitmap(image));
        sprite->SetBounds(x, y, 0, 0);
        sprite->Loaded();
        return sprite;
    }
    TSprite* AddTestSprite(int x, int y) { return AddSprite(x, y, TestMask(), TestImage()); }
    // A fully opaque square of one colour.
    TSprite* AddBlock(int x, int y, int size, QRgb colour) {
        return AddSprite(x, y, Solid(size, size, 0x000000), Solid(size, size, colour));
    }

    // What the window shows after one paint of all of it: one step.
    QImage Paint() {
        Box->Invalidate();
        return Box->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    // The box drawn on a bitmap, as an export draws it.
    QImage PaintToBitmap() {
        QImage bitmap(Box->Width(), Box->Height(), QImage::Format_RGB32);
        bitmap.fill(0xFFABCDEF);
        Box->PaintTo(bitmap, 0, 0);
        return bitmap;
    }

    TSpriteBox* Box = nullptr;
};

} // namespace

TEST_F(SpriteBoxTest, SpriteOverAColour) {
    Box->SetColor(static_cast<TColor>(0x336699)); // 0x00BBGGRR: red 0x99
    AddTestSprite(4, 5);
    QImage screen = Paint();
    const unsigned bg = 0x996633;
    EXPECT_EQ(Px(screen, 4, 5), 0xFF0000u);
    EXPECT_EQ(Px(screen, 5, 5), bg);
    EXPECT_EQ(Px(screen, 6, 5), 0x906030u | 0x010203u);
    EXPECT_EQ(Px(screen, 4, 6), 0x090603u | 0x102030u);
    EXPECT_EQ(Px(screen, 5, 6), 0x00FF00u);
    EXPECT_EQ(Px(screen, 6, 6), bg);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x) {
            bool inSprite = x >= 4 && x < 7 && y >= 5 && y < 7;
            unsigned expected = inSprite ? Combined(bg, x - 4, y - 5) : bg;
            ASSERT_EQ(Px(screen, x, y), expected) << x << "," << y;
        }
    // The work buffer holds the same picture, the background buffer none of it.
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x) {
            ASSERT_EQ(Px(Box->WorkBuffer(), x, y), Px(screen, x, y));
            ASSERT_EQ(Px(Box->BackgroundBuffer(), x, y), bg);
        }
}

TEST_F(SpriteBoxTest, SpriteOverAGradient) {
    Box->SetColor(clWhite);
    Box->SetGradient(true);
    AddTestSprite(10, 8);
    QImage screen = Paint();
    for (int y = 8; y < 10; ++y)
        for (int x = 10; x < 13; ++x)
            ASSERT_EQ(Px(screen, x, y), Combined(Px(Box->BackgroundBuffer(), x, y), x - 10, y - 8))
                << x << "," << y;
    // Twelve rows of grey: bands 10 to 245.
    EXPECT_EQ(Px(screen, 0, 0), 0xF5F5F5u);
    EXPECT_EQ(Px(screen, 0, 11), 0x0A0A0Au);
}

TEST_F(SpriteBoxTest, SpriteOverAPicture) {
    Box->SetColor(clBlack);
    // A 4 x 3 picture centred in 20 x 12: at (8, 4).
    QImage picture(4, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            picture.setPixel(x, y, 0xFF000000u | (0x40 * x) << 16 | (0x50 * y) << 8 | 0x0F);
    Box->SetImage(TBitmap(picture));
    AddTestSprite(9, 5);
    QImage screen = Paint();
    EXPECT_EQ(Px(screen, 7, 4), 0u);
    EXPECT_EQ(Px(screen, 8, 4), 0x00000Fu);
    EXPECT_EQ(Px(screen, 11, 6), 0xC0A00Fu);
    EXPECT_EQ(Px(screen, 12, 6), 0u);
    for (int y = 5; y < 7; ++y)
        for (int x = 9; x < 12; ++x)
            ASSERT_EQ(Px(screen, x, y),
                      Combined(picture.pixel(x - 8, y - 4) & 0xFFFFFF, x - 9, y - 5))
                << x << "," << y;
}

TEST_F(SpriteBoxTest, PicturePlacement) {
    Box->SetColor(clWhite);
    QImage picture = Solid(6, 4, 0x0000FF);
    picture.setPixel(0, 0, 0xFFFF0000);
    Box->Image().SetImage(picture); // a change made through the picture counts
    EXPECT_EQ(Px(Box->BackgroundBuffer(), 7, 4), 0xFF0000u);
    EXPECT_EQ(Px(Box->BackgroundBuffer(), 12, 7), 0x0000FFu);
    EXPECT_EQ(Px(Box->BackgroundBuffer(), 13, 7), 0xFFFFFFu);

    Box->SetCenter(false);
    EXPECT_EQ(Px(Box->BackgroundBuffer(), 0, 0), 0xFF0000u);
    EXPECT_EQ(Px(Box->BackgroundBuffer(), 6, 0), 0xFFFFFFu);

    // Stretched over the whole area, with or without centring.
    Box->SetStretch(true);
    Box->SetCenter(true);
    Box->Image().SetImage(Solid(2, 2, 0x00FF00));
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(Px(Box->BackgroundBuffer(), x, y), 0x00FF00u);

    // A picture larger than the box: the offset is halved toward zero.
    Box->SetStretch(false);
    QImage wide = Solid(23, 12, 0x0000FF);
    wide.setPixel(1, 0, 0xFFFF0000);
    Box->SetImage(TBitmap(wide));
    EXPECT_EQ(Px(Box->BackgroundBuffer(), 0, 0), 0xFF0000u);

    // No picture: the colour alone.
    Box->Image().SetSize(0, 0);
    EXPECT_EQ(Px(Box->BackgroundBuffer(), 10, 6), 0xFFFFFFu);
}

TEST_F(SpriteBoxTest, GradientBandsForSmallHeights) {
    // Pure red to black: band i has red 255 - i; a row shows the last band
    // that reaches it.
    Box->SetColor(clRed);
    Box->SetGradient(true);
    Box->SetBounds(0, 0, 5, 3);
    const unsigned three[] = {213, 128, 42};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            ASSERT_EQ(Px(Box->BackgroundBuffer(), x, y), three[y] << 16) << x << "," << y;

    // Orange (255, 128, 0) over four rows: bands 31, 95, 159, 223.
    Box->SetColor(static_cast<TColor>(0x0080FF));
    Box->SetBounds(0, 0, 5, 4);
    const unsigned four[] = {0xE07000, 0xA05000, 0x603000, 0x201000};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            ASSERT_EQ(Px(Box->BackgroundBuffer(), x, y), four[y]) << x << "," << y;

    // System colours are resolved first: button face (0xD4D0C8) over one row.
    Box->SetColor(clBtnFace);
    Box->SetBounds(0, 0, 5, 1);
    EXPECT_EQ(Px(Box->BackgroundBuffer(), 0, 0), 0x6A6864u); // band 127
    Box->SetGradient(false);
    EXPECT_EQ(Px(Box->BackgroundBuffer(), 0, 0), 0xD4D0C8u);
}

TEST_F(SpriteBoxTest, AMoveMendsTheOldPlaceFromTwoPixelsAboveAndLeft) {
    Box->SetBounds(0, 0, 24, 20);
    Box->SetColor(clWhite);
    // Marks around the place the moving sprite leaves: they stay in the
    // work buffer once disabled, except where the mended rectangle covers them.
    TSprite* topLeft = AddBlock(2, 2, 4, 0x0000FF);
    TSprite* right = AddBlock(10, 6, 4, 0x00FF00);
    TSprite* below = AddBlock(6, 10, 4, 0xFFFF00);
    TSprite* mover = AddBlock(6, 6, 4, 0xFF0000);
    Paint();
    for (TSprite* s : {topLeft, right, below})
        s->SetEnabled(false);
    mover->OnMove = TSpriteMoveEvent([](TComponent*, TRect& r) { r = r.Offset(12, 8); });
    QImage screen = Paint();
    EXPECT_EQ(mover->X(), 18);
    EXPECT_EQ(mover->Y(), 14);

    const QImage& work = Box->WorkBuffer();
    // Restored: (4, 4) up to, not including, (10, 10).
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 24; ++x) {
            unsigned expected = 0xFFFFFF;
            if (x >= 4 && x < 10 && y >= 4 && y < 10)
                expected = 0xFFFFFF;
            else if (x >= 2 && x < 6 && y >= 2 && y < 6)
                expected = 0x0000FF;
            else if (x >= 10 && x < 14 && y >= 6 && y < 10)
                expected = 0x00FF00;
            else if (x >= 6 && x < 10 && y >= 10 && y < 14)
                expected = 0xFFFF00;
            else if (x >= 18 && x < 22 && y >= 14 && y < 18)
                expected = 0xFF0000;
            ASSERT_EQ(Px(work, x, y), expected) << x << "," << y;
        }
    // The screen shows the background with the sprite at its new place.
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 24; ++x) {
            bool inSprite = x >= 18 && x < 22 && y >= 14 && y < 18;
            ASSERT_EQ(Px(screen, x, y), inSprite ? 0xFF0000u : 0xFFFFFFu) << x << "," << y;
        }
}

TEST_F(SpriteBoxTest, ASpriteMovingOneStepRightAndDownShowsWhole) {
    Box->SetColor(clWhite);
    TSprite* sprite = AddBlock(5, 3, 4, 0xFF0000);
    sprite->OnMove = TSpriteMoveEvent([](TComponent*, TRect& r) { r = r.Offset(1, 1); });
    QImage screen = Paint();
    screen = Paint();
    EXPECT_EQ(sprite->X(), 7);
    EXPECT_EQ(sprite->Y(), 5);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x) {
            bool inSprite = x >= 7 && x < 11 && y >= 5 && y < 9;
            ASSERT_EQ(Px(screen, x, y), inSprite ? 0xFF0000u : 0xFFFFFFu) << x << "," << y;
        }
}

TEST_F(SpriteBoxTest, EachEnabledSpriteTakesItsTurnInChildOrder) {
    TSprite* first = AddBlock(0, 0, 2, 0xFF0000);
    TSprite* off = AddBlock(4, 0, 2, 0x00FF00);
    TSprite* last = AddBlock(8, 0, 2, 0x0000FF);
    off->SetEnabled(false);
    std::vector<std::string> log;
    auto name = [&](TComponent* c) {
        return c == first ? std::string("first")
               : c == off ? std::string("off")
                          : std::string("last");
    };
    Box->BeforeSprtMove = TNotifyEvent([&](TComponent* c) { log.push_back("before " + name(c)); });
    Box->AfterSprtMove = TNotifyEvent([&](TComponent* c) { log.push_back("after " + name(c)); });
    for (TSprite* s : {first, off, last})
        s->OnMove =
            TSpriteMoveEvent([&, s](TComponent*, TRect&) { log.push_back("move " + name(s)); });
    QImage screen = Paint();
    EXPECT_EQ(log, (std::vector<std::string>{"before first", "move first", "after first",
                                             "before last", "move last", "after last"}));
    // The disabled sprite is drawn nowhere.
    EXPECT_EQ(Px(screen, 4, 0), 0u);
    EXPECT_EQ(Px(Box->WorkBuffer(), 4, 0), 0u);
    EXPECT_EQ(Px(screen, 8, 0), 0x0000FFu);
    // A sprite without a handler stays where it is, paint after paint.
    first->OnMove = TSpriteMoveEvent();
    Paint();
    screen = Paint();
    EXPECT_EQ(Px(screen, 0, 0), 0xFF0000u);
    EXPECT_EQ(first->X(), 0);
}

TEST_F(SpriteBoxTest, OnlyARealChangeRebuildsTheBackground) {
    Box->SetColor(clNavy);
    AddBlock(1, 1, 2, 0xFF0000);
    Paint();
    ASSERT_EQ(Px(Box->WorkBuffer(), 1, 1), 0xFF0000u);
    // Same values: the sprite stays in the work buffer.
    Box->SetColor(clNavy);
    Box->SetCenter(true);
    Box->SetStretch(false);
    Box->SetGradient(false);
    EXPECT_EQ(Px(Box->WorkBuffer(), 1, 1), 0xFF0000u);
    // A new value starts the work buffer from the background again.
    Box->SetCenter(false);
    EXPECT_EQ(Px(Box->WorkBuffer(), 1, 1), 0x000080u);
    Paint();
    Box->SetBounds(0, 0, 30, 15);
    EXPECT_EQ(Box->WorkBuffer().size(), QSize(30, 15));
    EXPECT_EQ(Px(Box->WorkBuffer(), 1, 1), 0x000080u);
    EXPECT_EQ(Px(Box->BackgroundBuffer(), 29, 14), 0x000080u);
}

TEST_F(SpriteBoxTest, APaintIsOneStepHoweverManyRectanglesAndABitmapIsNone) {
    Box->SetColor(clWhite);
    TSprite* sprite = AddBlock(2, 2, 3, 0x0000FF);
    int moves = 0;
    sprite->OnMove = TSpriteMoveEvent([&](TComponent*, TRect& r) {
        ++moves;
        r = r.Offset(4, 0);
    });
    Paint();
    ASSERT_EQ(moves, 1);
    // Two separate parts of the window repainted in one paint.
    Box->InvalidateClient({0, 0, 3, 12});
    Box->InvalidateClient({12, 0, 20, 12});
    QImage screen = Box->Widget()->grab().toImage();
    EXPECT_EQ(moves, 2);
    EXPECT_EQ(sprite->X(), 10);
    // Drawing on bitmaps shows the sprite where it is and moves nothing.
    for (int i = 0; i < 2; ++i) {
        QImage bitmap = PaintToBitmap();
        EXPECT_EQ(Px(bitmap, 10, 2), 0x0000FFu);
        EXPECT_EQ(Px(bitmap, 9, 2), 0xFFFFFFu);
        EXPECT_EQ(Px(bitmap, 13, 4), 0xFFFFFFu);
    }
    EXPECT_EQ(moves, 2);
    EXPECT_EQ(Px(Box->WorkBuffer(), 12, 2), 0x0000FFu);
    EXPECT_EQ(Px(Box->WorkBuffer(), 6, 2), 0xFFFFFFu);
}
