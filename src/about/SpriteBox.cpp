#include "about/SpriteBox.h"

#include <algorithm>

#include "about/Sprite.h"

namespace tsb {

TSpriteBox::TSpriteBox(TComponent* owner) : TWinControl(owner) {
    FImage.OnChange = [this] { RebuildBackground(); };
    TWinControl::SetBounds(0, 0, 105, 105);
    RebuildBackground();
}

void TSpriteBox::SetImage(const TGraphic& image) {
    FImage.Assign(image);
}

void TSpriteBox::SetColor(TColor value) {
    if (value == FColor) return;
    FColor = value;
    RebuildBackground();
}

void TSpriteBox::SetCenter(bool value) {
    if (value == FCenter) return;
    FCenter = value;
    RebuildBackground();
}

void TSpriteBox::SetStretch(bool value) {
    if (value == FStretch) return;
    FStretch = value;
    RebuildBackground();
}

void TSpriteBox::SetGradient(bool value) {
    if (value == FGradient) return;
    FGradient = value;
    RebuildBackground();
}

void TSpriteBox::SetBounds(int left, int top, int width, int height) {
    bool sized = width != Width() || height != Height();
    TWinControl::SetBounds(left, top, width, height);
    if (sized) RebuildBackground();
}

void TSpriteBox::WidgetResized(int width, int height) {
    TWinControl::WidgetResized(width, height);
    if (FBackground.width() != Width() || FBackground.height() != Height()) RebuildBackground();
}

void TSpriteBox::Loaded() {
    TWinControl::Loaded();
    RebuildBackground();
}

void TSpriteBox::PaintGradient(TCanvas& canvas) {
    // 256 bands from the colour down to black, each band's rows and shade
    // by MulDiv.
    const std::uint32_t start = ColorToRGB(FColor);
    const int r = (start >> 16) & 0xFF, g = (start >> 8) & 0xFF, b = start & 0xFF;
    const int width = FBackground.width(), height = FBackground.height();
    canvas.Brush.Style = bsSolid;
    for (int i = 0; i < 256; ++i) {
        int red = (r + MulDiv(i, -r, 255)) & 0xFF;
        int green = (g + MulDiv(i, -g, 255)) & 0xFF;
        int blue = (b + MulDiv(i, -b, 255)) & 0xFF;
        canvas.Brush.Color = static_cast<TColor>(red | (green << 8) | (blue << 16));
        canvas.FillRect({0, MulDiv(i, height, 256), width, MulDiv(i + 1, height, 256)});
    }
}

void TSpriteBox::RebuildBackground() {
    const int width = std::max(Width(), 0), height = std::max(Height(), 0);
    if (width == 0 || height == 0) {
        FBackground = QImage();
        FWork = QImage();
        Invalidate();
        return;
    }
    if (FBackground.width() != width || FBackground.height() != height)
        FBackground = QImage(width, height, QImage::Format_RGB32);
    TCanvas canvas(&FBackground);
    if (FGradient) {
        PaintGradient(canvas);
    } else {
        canvas.Brush.Color = FColor;
        canvas.Brush.Style = bsSolid;
        canvas.FillRect({0, 0, width, height});
    }
    if (FImage.Width() > 0 && FImage.Height() > 0) {
        TRect dest;
        if (FStretch)
            dest = {0, 0, width, height};
        else if (FCenter)
            dest = Bounds((width - FImage.Width()) / 2, (height - FImage.Height()) / 2,
                          FImage.Width(), FImage.Height());
        else
            dest = Bounds(0, 0, FImage.Width(), FImage.Height());
        canvas.StretchDraw(dest, FImage.Image());
    }
    FWork = FBackground.copy();
    Invalidate();
}

void TSpriteBox::PaintBackground(TCanvas& canvas, const TRect& clip) {
    if (FBackground.isNull()) {
        TWinControl::PaintBackground(canvas, clip);
        return;
    }
    TRect area = clip.Intersect(ClientRect());
    canvas.CopyMode = cmSrcCopy;
    if (FBackground.width() == ClientWidth() && FBackground.height() == ClientHeight())
        canvas.CopyRect(area, FBackground, area);
    else
        canvas.StretchDraw(ClientRect(), FBackground);
    // Each paint is one step of the sprites: every enabled one moves and is
    // drawn, in child order.
    for (TControl* c : ControlList()) {
        auto* sprite = As<TSprite>(c);
        if (!sprite || !sprite->Enabled()) continue;
        DrawSprite(canvas, *sprite);
    }
}

void TSpriteBox::DrawSprite(TCanvas& screen, TSprite& sprite) {
    BeforeSprtMove(&sprite);
    const int oldX = sprite.X(), oldY = sprite.Y();
    sprite.Move();
    const int w = sprite.Width(), h = sprite.Height();
    // The old place, with a margin of two pixels above and to the left, gets
    // the background back.
    const TRect restore = Bounds(oldX - 2, oldY - 2, w + 2, h + 2);
    const TRect place = Bounds(sprite.X(), sprite.Y(), w, h);
    TCanvas work(&FWork);
    work.CopyMode = cmSrcCopy;
    work.CopyRect(restore, FBackground, restore);
    // Mask and image, each as far as the sprite and the bitmap both reach.
    auto combine = [&](const TBitmap& bitmap, TCopyMode mode) {
        TRect part = Bounds(0, 0, std::min(w, bitmap.Width()), std::min(h, bitmap.Height()));
        if (part.IsEmpty()) return;
        work.CopyMode = mode;
        work.CopyRect(part.Offset(place.Left, place.Top), bitmap.Image(), part);
    };
    combine(sprite.AndImage(), cmSrcAnd);
    combine(sprite.OrImage(), cmSrcPaint);
    // The screen gets the old place and the new one; a sprite that moved
    // right or down would otherwise lose its last column or row there.
    screen.CopyMode = cmSrcCopy;
    screen.CopyRect(restore, FWork, restore);
    screen.CopyRect(place, FWork, place);
    AfterSprtMove(&sprite);
}

} // namespace tsb
