// A JPEG image: the bytes of a JPEG file and their decoded picture. The
// bytes stream out unchanged, so saving a loaded image gives back its file.
#pragma once

#include "graphics/Graphic.h"
#include "graphics/JpegCodec.h"

namespace tsb {

class TJPEGImage : public TGraphic {
public:
    TJPEGImage() = default;

    std::string ClassName() const override { return "TJPEGImage"; }

    // Quality used when an image is encoded (SetImage, Assign from another format).
    int CompressionQuality = DefaultJpegQuality;

    // Decoded when loaded, so a damaged file fails the load and not the drawing.
    const QImage& Image() const override { return FImage; }
    const std::vector<std::uint8_t>& Data() const { return FData; }

    // Encodes the image as a baseline colour JPEG file and holds that file;
    // Image() then shows the file's decoded look. A null image empties it.
    void SetImage(const QImage& image);

    // No bytes mean an empty image. Raises EJPEG for damaged data.
    void LoadFromBytes(const std::uint8_t* data, std::size_t size) override;
    std::vector<std::uint8_t> SaveToBytes() const override { return FData; }

    std::unique_ptr<TGraphic> Clone() const override;
    void Assign(const TGraphic& source) override;

private:
    void Encode(const QImage& image, std::vector<std::uint8_t>& data, QImage& decoded) const;
    void Replace(std::vector<std::uint8_t> data, QImage image);

    std::vector<std::uint8_t> FData;
    QImage FImage;
};

} // namespace tsb
