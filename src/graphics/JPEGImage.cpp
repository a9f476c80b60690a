#include "graphics/JPEGImage.h"

namespace tsb {

void TJPEGImage::Replace(std::vector<std::uint8_t> data, QImage image) {
    FData = std::move(data);
    FImage = std::move(image);
    Changed();
}

void TJPEGImage::SetImage(const QImage& image) {
    std::vector<std::uint8_t> data;
    QImage decoded;
    Encode(image, data, decoded);
    Replace(std::move(data), std::move(decoded));
}

void TJPEGImage::Encode(const QImage& image, std::vector<std::uint8_t>& data,
                        QImage& decoded) const {
    if (image.isNull()) return;
    data = EncodeJpeg(image, CompressionQuality);
    decoded = DecodeJpeg(data.data(), data.size());
}

void TJPEGImage::LoadFromBytes(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        Replace({}, QImage());
        return;
    }
    QImage decoded = DecodeJpeg(data, size);
    Replace(std::vector<std::uint8_t>(data, data + size), std::move(decoded));
}

std::unique_ptr<TGraphic> TJPEGImage::Clone() const {
    auto copy = std::make_unique<TJPEGImage>();
    copy->CompressionQuality = CompressionQuality;
    copy->FTransparent = FTransparent;
    copy->FData = FData;
    copy->FImage = FImage;
    return copy;
}

void TJPEGImage::Assign(const TGraphic& source) {
    if (&source == this) return;
    if (const auto* jpeg = dynamic_cast<const TJPEGImage*>(&source)) {
        FTransparent = jpeg->FTransparent;
        Replace(jpeg->FData, jpeg->FImage);
        return;
    }
    // Encode first: a failure leaves this image as it was.
    std::vector<std::uint8_t> data;
    QImage decoded;
    Encode(source.Image(), data, decoded);
    FTransparent = source.Transparent();
    Replace(std::move(data), std::move(decoded));
}

} // namespace tsb
