// Look and sizes of the shape kinds: hidden junctions, image-list elements,
// standard shapes and regular polygons, checked on rendered pixels.
#include <QImage>
#include <gtest/gtest.h>

#include "model/BitmapShape.h"
#include "model/HiddenShape.h"
#include "model/RegularPolygonShape.h"
#include "model/StandardShape.h"
#include "platform/ImageList.h"
#include "platform/WinControl.h"
#include "support/TestSupport.h"

using namespace tsb;
using tsbtest::Px;

namespace {

// A container of the given colour holding the elements under test.
struct Board {
    explicit Board(int w = 120, int h = 100, TColor color = clWhite)
        : Owner(new TComponent(nullptr)), Area(new TWinControl(Owner)) {
        Area->Color = color;
        Area->SetBounds(0, 0, w, h);
    }
    ~Board() { delete Owner; }
    QImage Render() {
        QImage img(Area->Width(), Area->Height(), QImage::Format_RGB32);
        Area->RenderInto(img, {0, 0}, {0, 0, img.width(), img.height()});
        return img;
    }
    template <typename T> T* Add(int left = 0, int top = 0) {
        auto* shape = new T(Owner);
        shape->SetBounds(left, top, shape->Width(), shape->Height());
        shape->SetParent(Area);
        return shape;
    }
    TComponent* Owner;
    TWinControl* Area;
};

int CountColour(const QImage& img, unsigned rgb) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (Px(img, x, y) == rgb) ++n;
    return n;
}

} // namespace

TEST(ShapeKinds, DefaultSizes) {
    TComponent owner(nullptr);
    EXPECT_EQ(THiddenShape(&owner).BoundsRect(), Bounds(0, 0, 20, 20));
    EXPECT_EQ(TStandardShape(&owner).BoundsRect(), Bounds(0, 0, 100, 60));
    EXPECT_EQ(TRegularPolygonShape(&owner).BoundsRect(), Bounds(0, 0, 100, 80));
    TBitmapShape bitmap(&owner);
    EXPECT_EQ(bitmap.BoundsRect(), Bounds(0, 0, 0, 0));
    EXPECT_EQ(bitmap.ImageIndex(), 0);
    TStandardShape standard(&owner);
    EXPECT_EQ(standard.ShapeType(), stRectangle);
    EXPECT_EQ(TRegularPolygonShape(&owner).Sides(), 4);
}

TEST(HiddenShape, DotAloneUntilSelectedThenDottedFrame) {
    Board board(40, 40);
    auto* hidden = board.Add<THiddenShape>(10, 10);
    QImage img = board.Render();
    // The 2 x 2 dot at the centre, nothing else.
    for (int y = 19; y <= 20; ++y)
        for (int x = 19; x <= 20; ++x)
            EXPECT_EQ(Px(img, x, y), 0x000000u) << x << "," << y;
    EXPECT_EQ(CountColour(img, 0x000000), 4);

    hidden->SetSelected(true);
    img = board.Render();
    // Dots of three pixels with gaps of three, continuing round the corner.
    for (int x = 10; x <= 12; ++x)
        EXPECT_EQ(Px(img, x, 10), 0x000000u);
    for (int x = 13; x <= 15; ++x)
        EXPECT_EQ(Px(img, x, 10), 0xFFFFFFu);
    EXPECT_EQ(Px(img, 16, 10), 0x000000u);
    EXPECT_EQ(Px(img, 28, 10), 0x000000u); // step 18: on
    EXPECT_EQ(Px(img, 29, 10), 0x000000u); // corner, step 19: on
    EXPECT_EQ(Px(img, 29, 11), 0x000000u); // step 20: on
    EXPECT_EQ(Px(img, 29, 12), 0xFFFFFFu); // step 21: off
    EXPECT_EQ(Px(img, 10, 11), 0xFFFFFFu); // last step of the left edge
    EXPECT_EQ(Px(img, 11, 11), 0xFFFFFFu); // no fill inside
    EXPECT_EQ(Px(img, 19, 19), 0x000000u);
    EXPECT_EQ(Px(img, 9, 9), 0xFFFFFFu);
}

TEST(HiddenShape, InvertsWhatLiesBeneath) {
    Board board(30, 30, clBlack);
    auto* hidden = board.Add<THiddenShape>(0, 0);
    hidden->SetSelected(true);
    QImage img = board.Render();
    EXPECT_EQ(Px(img, 9, 9), 0xFFFFFFu);
    EXPECT_EQ(Px(img, 10, 10), 0xFFFFFFu);
    EXPECT_EQ(Px(img, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(Px(img, 19, 19), 0xFFFFFFu);
    EXPECT_EQ(Px(img, 3, 0), 0x000000u);
    EXPECT_EQ(Px(img, 5, 5), 0x000000u);
    hidden->SetSelected(false);
    img = board.Render();
    EXPECT_EQ(Px(img, 0, 0), 0x000000u);
    EXPECT_EQ(CountColour(img, 0xFFFFFF), 4);
}

TEST(StandardShape, SquareOfSide57AnchoredTopLeft) {
    Board board(120, 80);
    auto* shape = board.Add<TStandardShape>(0, 0);
    shape->SetShapeType(stSquare);
    QImage img = board.Render();
    // Corners of the square from (2, 2) to (58, 58).
    EXPECT_EQ(Px(img, 2, 2), 0x000000u);
    EXPECT_EQ(Px(img, 58, 2), 0x000000u);
    EXPECT_EQ(Px(img, 2, 58), 0x000000u);
    EXPECT_EQ(Px(img, 58, 58), 0x000000u);
    EXPECT_EQ(Px(img, 59, 2), 0xFFFFFFu);
    EXPECT_EQ(Px(img, 2, 59), 0xFFFFFFu);
    EXPECT_EQ(Px(img, 30, 30), 0xFFFFFFu);
    EXPECT_EQ(CountColour(img, 0x000000), 4 * 56);
}

TEST(StandardShape, OutlinesOfEveryTypeMatchTheirFigures) {
    struct Case {
        TShapeType Type;
        TRect Box;
        int Corner; // 0: rectangle, -1: ellipse, else the corner ellipse size
    };
    // 100 x 60: R = (2, 2, 98, 58), c = min(97, 57) = 57, corner 57 div 4.
    const Case cases[] = {
        {stRectangle, {2, 2, 98, 58}, 0},  {stSquare, {2, 2, 59, 59}, 0},
        {stRoundRect, {2, 2, 98, 58}, 14}, {stRoundSquare, {2, 2, 59, 59}, 14},
        {stEllipse, {2, 2, 98, 58}, -1},   {stCircle, {2, 2, 59, 59}, -1},
    };
    for (const Case& c : cases) {
        Board board(120, 80);
        auto* shape = board.Add<TStandardShape>(0, 0);
        shape->SetShapeType(c.Type);
        QImage img = board.Render();

        QImage expected(120, 80, QImage::Format_RGB32);
        expected.fill(Qt::white);
        TCanvas canvas(&expected);
        canvas.Brush.Style = bsClear;
        canvas.Pen.Mode = pmNot;
        if (c.Corner == 0)
            canvas.Rectangle(c.Box);
        else if (c.Corner < 0)
            canvas.Ellipse(c.Box.Left, c.Box.Top, c.Box.Right, c.Box.Bottom);
        else
            canvas.RoundRect(c.Box.Left, c.Box.Top, c.Box.Right, c.Box.Bottom, c.Corner, c.Corner);
        EXPECT_TRUE(img == expected) << "shape type " << int(c.Type);
    }
    // The 14 x 14 corner leaves the corner pixel and its neighbours out.
    Board board(120, 80);
    board.Add<TStandardShape>(0, 0)->SetShapeType(stRoundRect);
    QImage img = board.Render();
    EXPECT_EQ(Px(img, 2, 2), 0xFFFFFFu);
    EXPECT_EQ(Px(img, 50, 2), 0x000000u);
    EXPECT_EQ(Px(img, 2, 30), 0x000000u);
}

TEST(StandardShape, HandlesWhenSelectedAndOutlineInvertsThem) {
    Board board(120, 80);
    auto* shape = board.Add<TStandardShape>(0, 0);
    shape->LineColour = clRed; // no effect on the look
    shape->SetSelected(true);
    QImage img = board.Render();
    EXPECT_EQ(Px(img, 0, 0), 0x000000u);
    EXPECT_EQ(Px(img, 4, 4), 0x000000u);
    // The outline runs through the handle's middle and inverts it.
    EXPECT_EQ(Px(img, 2, 2), 0xFFFFFFu);
    EXPECT_EQ(Px(img, 3, 2), 0xFFFFFFu);
    EXPECT_EQ(Px(img, 30, 2), 0x000000u);
    EXPECT_EQ(Px(img, 95, 55), 0x000000u);
}

TEST(RegularPolygonShape, VerticesRoundHalfToEvenFromTheTopCentre) {
    TComponent owner(nullptr);
    TRegularPolygonShape polygon(&owner);
    std::vector<TPoint> expected{{50, 2}, {2, 40}, {50, 78}, {98, 40}};
    EXPECT_EQ(polygon.Vertices(), expected);

    polygon.SetSides(3);
    std::vector<TPoint> v = polygon.Vertices();
    ASSERT_EQ(v.size(), 3u);
    EXPECT_EQ(v[0], (TPoint{50, 2}));
    EXPECT_LT(v[1].X, 50); // counter-clockwise: left first
    EXPECT_GT(v[2].X, 50);
    polygon.SetSides(0);
    EXPECT_TRUE(polygon.Vertices().empty());

    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(2.4999), 2);
    EXPECT_EQ(RoundHalfEven(2.5001), 3);

    // 103 x 81: rx = 99 div 2 = 49, ry = 77 div 2 = 38, centre (51, 40).
    polygon.SetBounds(0, 0, 103, 81);
    polygon.SetSides(6);
    v = polygon.Vertices();
    ASSERT_EQ(v.size(), 6u);
    EXPECT_EQ(v[0], (TPoint{51, 2}));
    EXPECT_EQ(v[1], (TPoint{9, 21})); // 51 - 42.44, 40 - 19
    EXPECT_EQ(v[3], (TPoint{51, 78}));
    EXPECT_EQ(v[5], (TPoint{93, 21}));
}

TEST(RegularPolygonShape, DiamondOnPixels) {
    Board board(120, 100);
    board.Add<TRegularPolygonShape>(10, 10);
    QImage img = board.Render();
    EXPECT_EQ(Px(img, 60, 12), 0x000000u);
    EXPECT_EQ(Px(img, 12, 50), 0x000000u);
    EXPECT_EQ(Px(img, 60, 88), 0x000000u);
    EXPECT_EQ(Px(img, 108, 50), 0x000000u);
    // Not a rectangle: the corners of R stay white, and so does the inside.
    EXPECT_EQ(Px(img, 12, 12), 0xFFFFFFu);
    EXPECT_EQ(Px(img, 60, 50), 0xFFFFFFu);

    Board none(120, 100);
    none.Add<TRegularPolygonShape>(10, 10)->SetSides(0);
    EXPECT_EQ(CountColour(none.Render(), 0x000000), 0);
}

TEST(BitmapShape, DrawsOneImageThroughItsMaskAtTheListSize) {
    Board board(40, 40, clBlue);
    auto* list = new TImageList(board.Owner);
    list->SetSize(8, 6);
    // Two images in one strip; the magenta pixels are masked out.
    QImage strip(16, 6, QImage::Format_RGB32);
    strip.fill(QColor(255, 0, 255));
    for (int x = 0; x < 8; ++x)
        strip.setPixel(x, 0, qRgb(0, 200, 0));
    for (int x = 8; x < 16; ++x)
        strip.setPixel(x, 5, qRgb(200, 0, 0));
    EXPECT_EQ(list->AddMasked(strip, clFuchsia), 0);
    EXPECT_EQ(list->Count(), 2);

    auto* shape = board.Add<TBitmapShape>(4, 4);
    shape->SetImages(list);
    EXPECT_EQ(shape->BoundsRect(), Bounds(4, 4, 8, 6));
    shape->SetImageIndex(1);
    QImage img = board.Render();
    EXPECT_EQ(Px(img, 4, 9), 0xC80000u);
    EXPECT_EQ(Px(img, 11, 9), 0xC80000u);
    EXPECT_EQ(Px(img, 5, 5), 0x0000FFu); // masked: the background shows
    EXPECT_EQ(Px(img, 4, 4), 0x0000FFu); // unselected: no frame

    shape->SetSelected(true);
    img = board.Render();
    EXPECT_EQ(Px(img, 4, 4), 0xFFFF00u); // the frame inverts the blue

    // An index equal to the count paints nothing, not even the frame.
    shape->SetImageIndex(2);
    img = board.Render();
    EXPECT_EQ(CountColour(img, 0x0000FF), 40 * 40);
    shape->SetImageIndex(-1);
    EXPECT_EQ(CountColour(board.Render(), 0x0000FF), 40 * 40);
}

TEST(BitmapShape, ForgetsADestroyedImageList) {
    Board board(40, 40);
    auto* list = new TImageList(board.Owner);
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(Qt::black);
    list->Add(img);
    auto* shape = board.Add<TBitmapShape>(0, 0);
    shape->SetImages(list);
    EXPECT_GT(CountColour(board.Render(), 0x000000), 0);
    delete list;
    EXPECT_EQ(shape->Images(), nullptr);
    EXPECT_EQ(CountColour(board.Render(), 0x000000), 0);

    // Dropping the shape first leaves the list without a stale subscriber.
    auto* other = new TImageList(board.Owner);
    auto* second = board.Add<TBitmapShape>(0, 0);
    second->SetImages(other);
    delete second;
    delete other;
}

TEST(ImageList, MaskImageAndSizes) {
    TImageList list(nullptr);
    EXPECT_EQ(list.Width(), 16);
    EXPECT_EQ(list.Height(), 16);
    list.SetSize(4, 4);
    QImage image(9, 4, QImage::Format_RGB32); // two cells and a dropped rest
    image.fill(qRgb(10, 20, 30));
    QImage mask(9, 4, QImage::Format_RGB32);
    mask.fill(Qt::black);
    mask.setPixel(1, 1, qRgb(255, 255, 255));
    EXPECT_EQ(list.Add(image, mask), 0);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(qAlpha(list.Image(0).pixel(1, 1)), 0);
    EXPECT_EQ(qAlpha(list.Image(0).pixel(0, 0)), 255);
    EXPECT_EQ(list.Add(QImage(3, 4, QImage::Format_RGB32)), -1);
    list.SetSize(0, 5); // ignored
    EXPECT_EQ(list.Count(), 2);
    list.SetSize(5, 5);
    EXPECT_EQ(list.Count(), 0);
}
