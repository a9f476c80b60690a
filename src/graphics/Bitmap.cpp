#include "graphics/Bitmap.h"

#include <algorithm>

#include "core/Exception.h"
#include "graphics/BmpCodec.h"

namespace tsb {

namespace {

QImage Normalized(const QImage& image) {
    if (image.isNull()) return {};
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                         : QImage::Format_RGB32);
}

} // namespace

TBitmap::TBitmap(const QImage& image)
    : FWidth(image.width()), FHeight(image.height()), FImage(Normalized(image)) {}

void TBitmap::Replace(QImage image, int width, int height) {
    FWidth = width;
    FHeight = height;
    FImage = std::move(image);
    FMasked = QImage();
    Changed();
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == Width() && height == Height()) return;
    if (width > MaxBmpSide || height > MaxBmpSide || std::int64_t(width) * height > MaxBmpPixels)
        throw Exception("Bitmap image is too large");
    QImage image;
    if (width > 0 && height > 0) {
        image = QImage(width, height, QImage::Format_RGB32);
        if (image.isNull()) throw Exception("Bitmap image is too large");
        image.fill(Qt::white);
    }
    Replace(std::move(image), width, height);
}

void TBitmap::SetImage(const QImage& image) {
    Replace(Normalized(image), image.width(), image.height());
}

void TBitmap::LoadFromBytes(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        Replace(QImage(), 0, 0);
        return;
    }
    QImage image = DecodeBmp(data, size);
    Replace(image, image.width(), image.height());
}

std::vector<std::uint8_t> TBitmap::SaveToBytes() const {
    if (Empty()) return {};
    return EncodeBmp(FImage);
}

std::unique_ptr<TGraphic> TBitmap::Clone() const {
    auto copy = std::make_unique<TBitmap>(FImage);
    copy->FWidth = FWidth;
    copy->FHeight = FHeight;
    copy->FTransparent = FTransparent;
    return copy;
}

void TBitmap::Assign(const TGraphic& source) {
    if (&source == this) return;
    FTransparent = source.Transparent();
    Replace(Normalized(source.Image()), source.Width(), source.Height());
}

const QImage& TBitmap::DrawnImage() const {
    if (!FTransparent) return FImage;
    if (FMasked.isNull()) {
        QImage masked = FImage.convertToFormat(QImage::Format_ARGB32);
        const QRgb key = masked.pixel(0, masked.height() - 1) & RGB_MASK;
        for (int y = 0; y < masked.height(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(masked.scanLine(y));
            for (int x = 0; x < masked.width(); ++x)
                if ((line[x] & RGB_MASK) == key) line[x] = 0;
        }
        FMasked = std::move(masked);
    }
    return FMasked;
}

} // namespace tsb
