// The sprite box: an opaque play-field that keeps its background in one
// buffer and the sprites drawn over it in a second, so a sprite's old place
// is mended from the background and the screen gets whole rectangles,
// without flicker.
#pragma once

#include <QImage>

#include "graphics/Bitmap.h"
#include "widgets/WinControl.h"

namespace tsb {

class TSprite;

class TSpriteBox : public TWinControl {
    TSB_CLASS(TSpriteBox)
public:
    explicit TSpriteBox(TComponent* owner);

    // The background picture; changes made through it rebuild the background.
    TBitmap& Image() { return FImage; }
    const TBitmap& Image() const { return FImage; }
    void SetImage(const TGraphic& image);

    // The flat background colour, or the top of the gradient.
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    bool Center() const { return FCenter; }
    void SetCenter(bool value);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool value);
    // A vertical gradient from Color at the top to black at the bottom.
    bool Gradient() const { return FGradient; }
    void SetGradient(bool value);

    // Around each enabled sprite's turn in a paint: before it moves, and
    // after it has been drawn. The sender is the sprite.
    TNotifyEvent BeforeSprtMove;
    TNotifyEvent AfterSprtMove;

    // The background alone, and the background with every sprite as last drawn.
    const QImage& BackgroundBuffer() const { return FBackground; }
    const QImage& WorkBuffer() const { return FWork; }

    // Paints the background and the gradient or colour and the picture into
    // the background buffer, then starts the work buffer anew from it.
    void RebuildBackground();

    void SetBounds(int left, int top, int width, int height) override;
    void WidgetResized(int width, int height) override;
    void Loaded() override;

protected:
    // Shows the background, then moves and draws every enabled sprite.
    void PaintBackground(TCanvas& canvas, const TRect& clip) override;

private:
    void PaintGradient(TCanvas& canvas);
    void DrawSprite(TCanvas& screen, TSprite& sprite);

    TBitmap FImage;
    TColor FColor = clBlack;
    bool FCenter = true;
    bool FStretch = false;
    bool FGradient = false;
    QImage FBackground;
    QImage FWork;
};

} // namespace tsb
