// Picture elements: sized to their picture plus a one-pixel frame, drawn at
// (1, 1) unscaled, transparent on request; thumbnails name their file.
#include <QImage>
#include <gtest/gtest.h>

#include "model/GraphicShape.h"
#include "model/TextShape.h"
#include "platform/Bitmap.h"
#include "platform/Picture.h"
#include "platform/WinControl.h"
#include "support/TestSupport.h"

using namespace tsb;
using tsbtest::Px;

namespace {

struct Board {
    Board() : Owner(new TComponent(nullptr)), Area(new TWinControl(Owner)) {
        Area->Color = clWhite;
        Area->SetBounds(0, 0, 300, 200);
    }
    ~Board() { delete Owner; }
    QImage Render() {
        QImage img(300, 200, QImage::Format_RGB32);
        Area->RenderInto(img, {0, 0}, {0, 0, 300, 200});
        return img;
    }
    TComponent* Owner;
    TWinControl* Area;
};

// A picture whose pixels are blue, with a red bottom-left corner pixel.
void FillPicture(TPicture& picture, int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(qRgb(0, 0, 255));
    image.setPixel(0, h - 1, qRgb(255, 0, 0));
    TBitmap bitmap(image);
    picture.SetGraphic(&bitmap);
}

} // namespace

TEST(GraphicShape, SizedToItsPictureAndCaptionFollows) {
    Board board;
    auto* shape = new TGraphicShape(board.Owner);
    EXPECT_EQ(shape->BoundsRect(), Bounds(0, 0, 60, 70));
    EXPECT_EQ(TThumbNailShape(board.Owner).BoundsRect(), Bounds(0, 0, 120, 120));
    shape->SetBounds(10, 20, 60, 70);
    shape->SetParent(board.Area);
    auto* caption = new TTextShape(board.Owner);
    caption->SetText("New Graphic");
    shape->SetCaptionAlign(alBottom);
    shape->SetCaption(caption);
    EXPECT_EQ(caption->Top(), 20 + 70 + 2);

    // Loading into the owned picture resizes the element and moves the
    // caption below the new bottom edge.
    FillPicture(shape->Image(), 200, 100);
    EXPECT_EQ(shape->BoundsRect(), Bounds(10, 20, 202, 102));
    EXPECT_EQ(caption->Top(), 20 + 102 + 2);

    TPicture other;
    FillPicture(other, 30, 40);
    shape->SetImage(other);
    EXPECT_EQ(shape->BoundsRect(), Bounds(10, 20, 32, 42));
    EXPECT_EQ(shape->Image().Width(), 30);

    TPicture empty;
    shape->SetImage(empty);
    EXPECT_EQ(shape->BoundsRect(), Bounds(10, 20, 2, 2));
}

TEST(GraphicShape, PictureAtOneOneFramedWhenSelected) {
    Board board;
    auto* shape = new TGraphicShape(board.Owner);
    shape->SetBounds(10, 10, 60, 70);
    shape->SetParent(board.Area);
    FillPicture(shape->Image(), 20, 10);
    QImage img = board.Render();
    EXPECT_EQ(Px(img, 11, 11), 0x0000FFu);
    EXPECT_EQ(Px(img, 30, 19), 0x0000FFu);
    EXPECT_EQ(Px(img, 11, 20), 0xFF0000u);
    EXPECT_EQ(Px(img, 10, 10), 0xFFFFFFu); // unselected: no frame
    EXPECT_EQ(Px(img, 31, 11), 0xFFFFFFu);
    EXPECT_EQ(Px(img, 11, 21), 0xFFFFFFu);

    shape->SetSelected(true);
    img = board.Render();
    EXPECT_EQ(Px(img, 10, 10), 0x000000u);
    EXPECT_EQ(Px(img, 31, 21), 0x000000u); // (W - 1, H - 1) of 22 x 12
    EXPECT_EQ(Px(img, 13, 10), 0xFFFFFFu); // a gap of the dots

    // Transparent: the bottom-left colour lets the background show.
    shape->SetTransparent(true);
    EXPECT_EQ(shape->BoundsRect(), Bounds(10, 10, 22, 12));
    img = board.Render();
    EXPECT_EQ(Px(img, 11, 20), 0xFFFFFFu);
    EXPECT_EQ(Px(img, 12, 20), 0x0000FFu);
    EXPECT_TRUE(board.Render() == img);

    // An empty picture: only the frame while selected.
    TPicture empty;
    shape->SetImage(empty);
    shape->SetBounds(10, 10, 30, 30);
    img = board.Render();
    EXPECT_EQ(Px(img, 10, 10), 0x000000u);
    EXPECT_EQ(Px(img, 15, 15), 0xFFFFFFu);
}

TEST(ThumbNailShape, CaptionShowsTheFileName) {
    Board board;
    auto* thumb = new TThumbNailShape(board.Owner);
    thumb->SetParent(board.Area);
    auto* caption = new TTextShape(board.Owner);
    thumb->SetCaption(caption);
    thumb->SetImageName("C:\\Pictures\\2024\\pump.jpg");
    EXPECT_EQ(caption->Text(), "pump.jpg");
    EXPECT_EQ(thumb->Image().Graphic(), nullptr); // nothing is loaded
    // The same name again leaves the caption alone.
    caption->SetText("edited");
    thumb->SetImageName("C:\\Pictures\\2024\\pump.jpg");
    EXPECT_EQ(caption->Text(), "edited");
    thumb->SetImageName("/srv/images/valve.bmp");
    EXPECT_EQ(caption->Text(), "valve.bmp");
    EXPECT_EQ(ExtractFileName("D:motor.bmp"), "motor.bmp");
    EXPECT_EQ(ExtractFileName("plain.jpg"), "plain.jpg");
    EXPECT_EQ(ExtractFileName("dir/"), "");
}
