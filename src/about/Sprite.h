// Sprites: masked images that a sprite box draws over its background, an
// AND mask first (black where the sprite is, white around it), then an OR
// image (black around the sprite). A sprite never paints itself; moving it
// is left to its OnMove handler.
#pragma once

#include "graphics/Bitmap.h"
#include "widgets/Control.h"

namespace tsb {

class TCustomSprite : public TControl {
    TSB_CLASS(TCustomSprite)
public:
    explicit TCustomSprite(TComponent* owner);

    const TBitmap& AndImage() const { return FAndImage; }
    const TBitmap& OrImage() const { return FOrImage; }

    // A sprite with a mask always has the mask's size; the position is taken
    // as given.
    void SetBounds(int left, int top, int width, int height) override;

protected:
    TBitmap FAndImage;
    TBitmap FOrImage;
};

// The rectangle OnMove receives and may change: Left and Top become the
// sprite's new position.
using TSpriteMoveEvent = TEvent<TComponent*, TRect&>;

class TSprite : public TCustomSprite {
    TSB_CLASS(TSprite)
public:
    explicit TSprite(TComponent* owner);

    // Steps of -1, 0 or 1; other values are ignored and raise no OnBounce.
    int VX() const { return FVX; }
    void SetVX(int value);
    int VY() const { return FVY; }
    void SetVY(int value);

    // Copy the bitmap and take its size.
    void SetAndImage(const TGraphic& image);
    void SetOrImage(const TGraphic& image);

    // The position in the play-field, apart from the control's bounds; only
    // Move and the end of loading change it.
    int X() const { return FX; }
    int Y() const { return FY; }

    // Asks OnMove for the next rectangle and takes its top-left corner.
    virtual void Move();

    // Takes the position from the bounds read.
    void Loaded() override;

    TSpriteMoveEvent OnMove;
    // Raised by every accepted assignment of VX or VY.
    TNotifyEvent OnBounce;

private:
    void TakeImage(TBitmap& target, const TGraphic& image);

    int FVX = 0;
    int FVY = 0;
    int FX = 0;
    int FY = 0;
};

} // namespace tsb
