#include "about/SpriteBox.h"

#include <algorithm>

#include "about/Sprite.h"
#include "core/ScopeExit.h"

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
    if (FBackgroundBuffer.width() != Width() || FBackgroundBuffer.height() != Height())
        RebuildBackground();
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
    const int width = FBackgroundBuffer.width(), height = FBackgroundBuffer.height();
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
        FBackgroundBuffer = QImage();
        FWorkBuffer = QImage();
        Invalidate();
        return;
    }
    if (FBackgroundBuffer.width() != width || FBackgroundBuffer.height() != height)
        FBackgroundBuffer = QImage(width, height, QImage::Format_RGB32);
    TCanvas canvas(&FBackgroundBuffer);
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
    FWorkBuffer = FBackgroundBuffer.copy();
    Invalidate();
}

void TSpriteBox::PaintHost(const QRegion& region) {
    FStepDue = true;
    TScopeExit done([this] { FStepDue = false; });
    TWinControl::PaintHost(region);
}

void TSpriteBox::PaintBackground(TCanvas& canvas, const TRect& clip) {
    if (FStepDue) {
        FStepDue = false;
        StepSprites();
    }
    if (FBackgroundBuffer.isNull()) {
        TWinControl::PaintBackground(canvas, clip);
        return;
    }
    TRect area = clip.Intersect(ClientRect());
    canvas.CopyMode = cmSrcCopy;
    if (FBackgroundBuffer.width() == ClientWidth() && FBackgroundBuffer.height() == ClientHeight())
        canvas.CopyRect(area, FBackgroundBuffer, area);
    else
        canvas.StretchDraw(ClientRect(), FBackgroundBuffer);
    for (TControl* c : ControlList()) {
        auto* sprite = As<TSprite>(c);
        if (sprite && sprite->Enabled()) CombineSprite(canvas, *sprite, sprite->X(), sprite->Y());
    }
    canvas.CopyMode = cmSrcCopy;
}

void TSpriteBox::CombineSprite(TCanvas& canvas, const TSprite& sprite, int x, int y) {
    auto combine = [&](const TBitmap& bitmap, TCopyMode mode) {
        TRect part = Bounds(0, 0, std::min(sprite.Width(), bitmap.Width()),
                            std::min(sprite.Height(), bitmap.Height()));
        if (part.IsEmpty()) return;
        canvas.CopyMode = mode;
        canvas.CopyRect(part.Offset(x, y), bitmap.Image(), part);
    };
    combine(sprite.AndImage(), cmSrcAnd);
    combine(sprite.OrImage(), cmSrcPaint);
}

void TSpriteBox::StepSprites() {
    // In child order, every enabled sprite moves and is drawn.
    for (TControl* c : ControlList()) {
        auto* sprite = As<TSprite>(c);
        if (sprite && sprite->Enabled()) StepSprite(*sprite);
    }
}

void TSpriteBox::StepSprite(TSprite& sprite) {
    BeforeSprtMove(&sprite);
    const int oldX = sprite.X(), oldY = sprite.Y();
    sprite.Move();
    if (!FWorkBuffer.isNull()) {
        // The old place, with a margin of two pixels above and to the left,
        // gets the background back.
        const TRect restore = Bounds(oldX - 2, oldY - 2, sprite.Width() + 2, sprite.Height() + 2);
        TCanvas work(&FWorkBuffer);
        work.CopyMode = cmSrcCopy;
        work.CopyRect(restore, FBackgroundBuffer, restore);
        CombineSprite(work, sprite, sprite.X(), sprite.Y());
    }
    AfterSprtMove(&sprite);
}

} // namespace tsb
