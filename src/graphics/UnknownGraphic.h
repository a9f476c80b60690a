// A picture of a graphic class this program cannot draw (a metafile, say):
// its class name and the bytes of its picture data, kept exactly as read so
// that writing the picture again gives them back. It has no picture and no
// size of its own.
#pragma once

#include "graphics/Graphic.h"

namespace tsb {

class TUnknownGraphic : public TGraphic {
public:
    explicit TUnknownGraphic(std::string className) : FClassName(std::move(className)) {}

    std::string ClassName() const override { return FClassName; }
    bool SizeKnown() const override { return false; }
    const QImage& Image() const override { return FImage; }

    // The bytes are the picture data as they stand, byte count included.
    void LoadFromBytes(const std::uint8_t* data, std::size_t size) override;
    std::vector<std::uint8_t> SaveToBytes() const override { return FData; }
    void ReadData(const std::uint8_t* data, std::size_t size) override {
        LoadFromBytes(data, size);
    }
    std::vector<std::uint8_t> WriteData() const override { return FData; }

    std::unique_ptr<TGraphic> Clone() const override;
    // Only another kept picture can be assigned; anything else raises
    // "Cannot assign a %s to a %s".
    void Assign(const TGraphic& source) override;

private:
    std::string FClassName;
    std::vector<std::uint8_t> FData;
    QImage FImage;
};

} // namespace tsb
