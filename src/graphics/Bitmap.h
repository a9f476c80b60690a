// A bitmap: an image held as pixels, streamed as a BMP file.
#pragma once

#include "graphics/Graphic.h"

namespace tsb {

class TBitmap : public TGraphic {
public:
    TBitmap() = default;
    explicit TBitmap(const QImage& image);

    std::string ClassName() const override { return "TBitmap"; }

    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    // A new size gives a new all-white image; a width or height of 0 empties
    // the bitmap, which still keeps the other side for a later change.
    // Raises "Bitmap image is too large" beyond the limits of the BMP reader.
    void SetWidth(int width) { SetSize(width, Height()); }
    void SetHeight(int height) { SetSize(Width(), height); }
    void SetSize(int width, int height);

    // Held as Format_RGB32, or Format_ARGB32 when the image has an alpha channel.
    const QImage& Image() const override { return FImage; }
    void SetImage(const QImage& image);

    // An empty bitmap saves as no bytes at all.
    void LoadFromBytes(const std::uint8_t* data, std::size_t size) override;
    std::vector<std::uint8_t> SaveToBytes() const override;

    std::unique_ptr<TGraphic> Clone() const override;
    void Assign(const TGraphic& source) override;

    // When Transparent, every pixel of the bottom-left pixel's colour is left out.
    const QImage& DrawnImage() const override;

private:
    void Replace(QImage image, int width, int height);

    int FWidth = 0;
    int FHeight = 0;
    QImage FImage;
    mutable QImage FMasked; // FImage with the transparent colour cut out, made on demand
};

} // namespace tsb
