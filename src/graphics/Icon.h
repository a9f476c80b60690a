// An icon: the bytes of an ICO file and the picture of its first image,
// drawn with the icon's own transparency. The bytes stream out unchanged.
#pragma once

#include "graphics/Graphic.h"

namespace tsb {

class TIcon : public TGraphic {
public:
    TIcon() = default;

    std::string ClassName() const override { return "TIcon"; }

    // Decoded when loaded, so a damaged file fails the load and not the drawing.
    const QImage& Image() const override { return FImage; }

    // No bytes mean an empty icon. Data that is not an icon raises "Icon image
    // is not valid".
    void LoadFromBytes(const std::uint8_t* data, std::size_t size) override;
    std::vector<std::uint8_t> SaveToBytes() const override { return FData; }

    // In picture data an icon comes with or without a 32-bit byte count before
    // the file: the count is there when it equals the length of the rest. It is
    // written back the way it came; a loaded icon is written without one.
    void ReadData(const std::uint8_t* data, std::size_t size) override;
    std::vector<std::uint8_t> WriteData() const override;

    std::unique_ptr<TGraphic> Clone() const override;
    // Another format's picture becomes an ICO file of one image.
    void Assign(const TGraphic& source) override;

private:
    void Replace(std::vector<std::uint8_t> data, QImage image, bool counted);

    std::vector<std::uint8_t> FData;
    QImage FImage;
    bool FCounted = false;
};

} // namespace tsb
