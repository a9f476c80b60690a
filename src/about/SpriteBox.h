// The sprite box: an opaque play-field that keeps its background in one
// buffer and the sprites drawn over it in a second, so a sprite's old place
// is mended from the background, without flicker. Each paint of its window
// is one step of the sprites: every enabled one moves once, however many
// rectangles the paint covers; painting it anywhere else (a bitmap, an
// export) shows the sprites where they are and moves none.
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

    // Around each enabled sprite's turn in a step: before it moves, and
    // after it has been drawn. The sender is the sprite.
    TNotifyEvent BeforeSprtMove;
    TNotifyEvent AfterSprtMove;

    // The background alone, and the background with every sprite as last drawn.
    const QImage& BackgroundBuffer() const { return FBackgroundBuffer; }
    const QImage& WorkBuffer() const { return FWorkBuffer; }

    // Paints the background and the gradient or colour and the picture into
    // the background buffer, then starts the work buffer anew from it.
    void RebuildBackground();

    void SetBounds(int left, int top, int width, int height) override;
    void WidgetResized(int width, int height) override;
    void Loaded() override;
    // A paint of the window: its first repainted rectangle takes the step.
    void PaintHost(const QRegion& region) override;

protected:
    // Shows the background and every enabled sprite over it, after the
    // step when one is due.
    void PaintBackground(TCanvas& canvas, const TRect& clip) override;

private:
    void PaintGradient(TCanvas& canvas);
    // Moves every enabled sprite once and draws it into the work buffer.
    void StepSprites();
    void StepSprite(TSprite& sprite);
    // The mask by AND, then the image by OR, as far as sprite and bitmaps reach.
    static void CombineSprite(TCanvas& canvas, const TSprite& sprite, int x, int y);

    TBitmap FImage;
    TColor FColor = clBlack;
    bool FCenter = true;
    bool FStretch = false;
    bool FGradient = false;
    QImage FBackgroundBuffer;
    QImage FWorkBuffer;
    bool FStepDue = false;
};

} // namespace tsb
