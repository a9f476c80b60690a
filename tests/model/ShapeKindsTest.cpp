// The shape kinds on pixels: junction dot and dotted frame, standard outlines,
// polygon vertices, image-list and picture elements.
#include <QImage>
#include <gtest/gtest.h>

#include "graphics/Bitmap.h"
#include "graphics/ImageList.h"
#include "graphics/Picture.h"
#include "model/BitmapShape.h"
#include "model/GraphicShape.h"
#include "model/HiddenShape.h"
#include "model/RegularPolygonShape.h"
#include "model/StandardShape.h"
#include "model/TextShape.h"
#include "support/TestSupport.h"

using namespace tsb;
using tsbtest::Px;

namespace {

struct Board {
    explicit Board(TColor color = clWhite) : Owner(new TComponent(nullptr)) {
        Area = new TWinControl(Owner);
        Area->Color = color;
        Area->SetBounds(0, 0, 120, 100);
    }
    ~Board() { delete Owner; }
    QImage Render() {
        QImage img(120, 100, QImage::Format_RGB32);
        Area->RenderInto(img, {0, 0}, {0, 0, 120, 100});
        return img;
    }
    template <typename T> T* Add(int left, int top) {
        auto* shape = new T(Owner);
        shape->SetBounds(left, top, shape->Width(), shape->Height());
        shape->SetParent(Area);
        return shape;
    }
    int Count(unsigned rgb) {
        QImage img = Render();
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += Px(img, x, y) == rgb;
        return n;
    }
    TComponent* Owner;
    TWinControl* Area;
};

} // namespace

TEST(ShapeKinds, JunctionDotAndDottedFrameInvert) {
    Board white;
    auto* hidden = white.Add<THiddenShape>(10, 10);
    EXPECT_EQ(hidden->BoundsRect(), Bounds(10, 10, 20, 20));
    QImage img = white.Render();
    EXPECT_EQ(Px(img, 19, 19), 0u);
    EXPECT_EQ(Px(img, 20, 20), 0u);
    EXPECT_EQ(white.Count(0), 4); // the 2 x 2 dot alone
    hidden->SetSelected(true);
    img = white.Render();
    // Three on, three off, continuing round the corner; no fill.
    for (int x : {10, 11, 12, 16, 28, 29})
        EXPECT_EQ(Px(img, x, 10), 0u) << x;
    for (int x : {13, 14, 15})
        EXPECT_EQ(Px(img, x, 10), 0xFFFFFFu) << x;
    EXPECT_EQ(Px(img, 29, 11), 0u);
    EXPECT_EQ(Px(img, 29, 12), 0xFFFFFFu);
    EXPECT_EQ(Px(img, 15, 15), 0xFFFFFFu);

    Board black(clBlack);
    black.Add<THiddenShape>(0, 0)->SetSelected(true);
    img = black.Render();
    EXPECT_EQ(Px(img, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(Px(img, 9, 9), 0xFFFFFFu);
    EXPECT_EQ(Px(img, 3, 0), 0u);
}

TEST(ShapeKinds, StandardOutlinesInvertAndSquaresAnchorTopLeft) {
    // 100 x 60: R = (2, 2, 98, 58), c = min(97, 57) = 57, corner 57 div 4.
    const struct {
        TShapeType Type;
        TRect Box;
        int Corner; // 0 rectangle, -1 ellipse
    } cases[] = {{stRectangle, {2, 2, 98, 58}, 0},  {stSquare, {2, 2, 59, 59}, 0},
                 {stRoundRect, {2, 2, 98, 58}, 14}, {stRoundSquare, {2, 2, 59, 59}, 14},
                 {stEllipse, {2, 2, 98, 58}, -1},   {stCircle, {2, 2, 59, 59}, -1}};
    for (const auto& c : cases) {
        Board board;
        auto* shape = board.Add<TStandardShape>(0, 0);
        shape->LineColour = clRed; // the outline inverts; no effect
        shape->SetShapeType(c.Type);
        QImage expected(120, 100, QImage::Format_RGB32);
        expected.fill(Qt::white);
        TCanvas canvas(&expected);
        canvas.Brush.Style = bsClear;
        const TRect& b = c.Box;
        if (c.Corner == 0)
            canvas.Rectangle(b);
        else if (c.Corner < 0)
            canvas.Ellipse(b.Left, b.Top, b.Right, b.Bottom);
        else
            canvas.RoundRect(b.Left, b.Top, b.Right, b.Bottom, c.Corner, c.Corner);
        EXPECT_TRUE(board.Render() == expected) << int(c.Type);
        if (c.Type == stSquare) {
            EXPECT_EQ(board.Count(0), 4 * 56); // side 57 from (2, 2)
        }
    }
}

TEST(ShapeKinds, RegularPolygonVertices) {
    Board board;
    auto* polygon = board.Add<TRegularPolygonShape>(0, 0);
    EXPECT_EQ(polygon->Vertices(), (std::vector<TPoint>{{50, 2}, {2, 40}, {50, 78}, {98, 40}}));
    QImage img = board.Render();
    EXPECT_EQ(Px(img, 2, 40), 0u);
    EXPECT_EQ(Px(img, 2, 2), 0xFFFFFFu); // a diamond, not a rectangle
    polygon->SetSides(3);
    EXPECT_EQ(polygon->Vertices()[0], (TPoint{50, 2})); // pointing up
    EXPECT_LT(polygon->Vertices()[1].X, 50);            // then to the left
    polygon->SetSides(0);
    EXPECT_EQ(board.Count(0), 0);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
}

TEST(ShapeKinds, ImageListElementDrawsThroughTheMask) {
    Board board(clBlue);
    auto* list = new TImageList(board.Owner);
    list->SetSize(8, 6);
    QImage strip(16, 6, QImage::Format_RGB32); // two images, magenta masked
    strip.fill(QColor(255, 0, 255));
    for (int x = 8; x < 16; ++x)
        strip.setPixel(x, 5, qRgb(200, 0, 0));
    EXPECT_EQ(list->AddMasked(strip, clFuchsia), 0);
    auto* shape = board.Add<TBitmapShape>(4, 4);
    shape->SetImages(list);
    EXPECT_EQ(shape->BoundsRect(), Bounds(4, 4, 8, 6));
    shape->SetImageIndex(1);
    shape->SetSelected(true);
    QImage img = board.Render();
    EXPECT_EQ(Px(img, 5, 9), 0xC80000u);
    EXPECT_EQ(Px(img, 5, 5), 0x0000FFu);
    EXPECT_EQ(Px(img, 4, 4), 0xFFFF00u); // the frame inverts the blue
    shape->SetImageIndex(2);             // equal to the count: nothing at all
    EXPECT_EQ(board.Count(0x0000FF), 120 * 100);
    shape->SetImageIndex(0);
    delete list;
    EXPECT_EQ(shape->Images(), nullptr);
    EXPECT_EQ(board.Count(0x0000FF), 120 * 100);
}

TEST(ShapeKinds, PictureElementFramesItsPictureAndFollowsItsSize) {
    Board board;
    auto* shape = board.Add<TGraphicShape>(10, 10);
    EXPECT_EQ(shape->BoundsRect(), Bounds(10, 10, 60, 70));
    auto* caption = new TTextShape(board.Owner);
    shape->SetCaptionAlign(alBottom);
    shape->SetCaption(caption);
    TBitmap large(QImage(200, 100, QImage::Format_RGB32));
    shape->Image().SetGraphic(&large);
    EXPECT_EQ(shape->BoundsRect(), Bounds(10, 10, 202, 102));
    EXPECT_EQ(caption->Top(), 10 + 102 + 2);

    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(qRgb(0, 0, 255));
    image.setPixel(0, 9, qRgb(255, 0, 0));
    TBitmap small(image);
    TPicture picture;
    picture.SetGraphic(&small);
    shape->SetImage(picture);
    EXPECT_EQ(shape->BoundsRect(), Bounds(10, 10, 22, 12));
    QImage img = board.Render();
    EXPECT_EQ(Px(img, 10, 10), 0xFFFFFFu); // unselected: no frame
    EXPECT_EQ(Px(img, 11, 11), 0x0000FFu); // the picture at (1, 1)
    EXPECT_EQ(Px(img, 11, 20), 0xFF0000u);
    shape->SetSelected(true);
    shape->SetTransparent(true); // the bottom-left colour lets the background show
    img = board.Render();
    EXPECT_EQ(Px(img, 10, 10), 0u);
    EXPECT_EQ(Px(img, 11, 20), 0xFFFFFFu);
    EXPECT_EQ(Px(img, 12, 20), 0x0000FFu);
    EXPECT_EQ(shape->Width(), 22);
    TPicture empty;
    shape->SetImage(empty);
    EXPECT_EQ(shape->BoundsRect(), Bounds(10, 10, 2, 2));

    // A picture kept only as data: the element keeps its size and shows an
    // empty grey frame where the picture lies, inside the selection frame.
    shape->SetBounds(10, 10, 30, 20);
    const std::vector<std::uint8_t> metafile{9, 'T', 'M', 'e', 't', 'a', 'f', 'i', 'l', 'e', 1, 2};
    shape->Image().ReadData(metafile.data(), metafile.size());
    EXPECT_EQ(shape->BoundsRect(), Bounds(10, 10, 30, 20));
    img = board.Render();
    EXPECT_EQ(Px(img, 10, 10), 0u);        // the selection frame
    EXPECT_EQ(Px(img, 11, 11), 0x808080u); // the empty frame
    EXPECT_EQ(Px(img, 38, 28), 0x808080u);
    EXPECT_EQ(Px(img, 20, 20), 0xFFFFFFu); // nothing inside

    auto* thumb = board.Add<TThumbNailShape>(0, 0);
    EXPECT_EQ(thumb->Width(), 120);
    auto* name = new TTextShape(board.Owner);
    thumb->SetCaption(name);
    thumb->SetImageName("C:\\Pictures\\pump.jpg");
    EXPECT_EQ(name->Text(), "pump.jpg");
    name->SetText("edited");
    thumb->SetImageName("C:\\Pictures\\pump.jpg"); // same name: caption untouched
    EXPECT_EQ(name->Text(), "edited");
    EXPECT_EQ(ExtractFileName("D:/a/valve.bmp"), "valve.bmp");
    EXPECT_EQ(ExtractFileName("D:motor.bmp"), "motor.bmp");
}
