#include "about/Sprite.h"

namespace tsb {

TCustomSprite::TCustomSprite(TComponent* owner) : TControl(owner) {
    TControl::SetBounds(0, 0, 60, 60);
}

void TCustomSprite::SetBounds(int left, int top, int width, int height) {
    if (FAndImage.Width() > 0 && FAndImage.Height() > 0) {
        width = FAndImage.Width();
        height = FAndImage.Height();
    }
    TControl::SetBounds(left, top, width, height);
}

TSprite::TSprite(TComponent* owner) : TCustomSprite(owner) {}

void TSprite::SetVX(int value) {
    if (value < -1 || value > 1) return;
    FVX = value;
    OnBounce(this);
}

void TSprite::SetVY(int value) {
    if (value < -1 || value > 1) return;
    FVY = value;
    OnBounce(this);
}

void TSprite::TakeImage(TBitmap& target, const TGraphic& image) {
    target.Assign(image);
    SetBounds(Left(), Top(), image.Width(), image.Height());
    Invalidate();
}

void TSprite::SetAndImage(const TGraphic& image) {
    TakeImage(FAndImage, image);
}

void TSprite::SetOrImage(const TGraphic& image) {
    TakeImage(FOrImage, image);
}

void TSprite::Move() {
    TRect r{FX, FY, FX + Width(), FY + Height()};
    OnMove(this, r);
    FX = r.Left;
    FY = r.Top;
}

void TSprite::Loaded() {
    TCustomSprite::Loaded();
    FX = Left();
    FY = Top();
}

} // namespace tsb
