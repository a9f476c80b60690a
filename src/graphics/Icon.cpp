#include "graphics/Icon.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

#include "core/Exception.h"

namespace tsb {

namespace {

[[noreturn]] void InvalidIcon() {
    throw Exception("Icon image is not valid");
}

QImage DecodeIcon(const std::uint8_t* data, std::size_t size) {
    // An ICO file starts with a reserved word of 0 and the type 1.
    if (size < 6 || data[0] != 0 || data[1] != 0 || data[2] != 1 || data[3] != 0) InvalidIcon();
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "ico");
    QImage image = reader.read();
    if (image.isNull()) InvalidIcon();
    return image.convertToFormat(QImage::Format_ARGB32);
}

std::uint32_t LittleEndian32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

} // namespace

void TIcon::Replace(std::vector<std::uint8_t> data, QImage image, bool counted) {
    FData = std::move(data);
    FImage = std::move(image);
    FCounted = counted;
    Changed();
}

void TIcon::LoadFromBytes(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        Replace({}, QImage(), false);
        return;
    }
    QImage image = DecodeIcon(data, size);
    Replace(std::vector<std::uint8_t>(data, data + size), std::move(image), false);
}

void TIcon::ReadData(const std::uint8_t* data, std::size_t size) {
    const bool counted = size >= 4 && LittleEndian32(data) == size - 4;
    if (counted) {
        data += 4;
        size -= 4;
    }
    QImage image = size ? DecodeIcon(data, size) : QImage();
    Replace(std::vector<std::uint8_t>(data, data + size), std::move(image), counted);
}

std::vector<std::uint8_t> TIcon::WriteData() const {
    if (!FCounted) return FData;
    return TGraphic::WriteData();
}

std::unique_ptr<TGraphic> TIcon::Clone() const {
    auto copy = std::make_unique<TIcon>();
    copy->FTransparent = FTransparent;
    copy->FData = FData;
    copy->FImage = FImage;
    copy->FCounted = FCounted;
    return copy;
}

void TIcon::Assign(const TGraphic& source) {
    if (&source == this) return;
    if (const auto* icon = dynamic_cast<const TIcon*>(&source)) {
        FTransparent = icon->FTransparent;
        Replace(icon->FData, icon->FImage, icon->FCounted);
        return;
    }
    std::vector<std::uint8_t> data;
    QImage image;
    if (!source.Image().isNull()) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "ico");
        if (!writer.write(source.Image())) InvalidIcon();
        data.assign(bytes.begin(), bytes.end());
        image = DecodeIcon(data.data(), data.size());
    }
    FTransparent = source.Transparent();
    Replace(std::move(data), std::move(image), false);
}

} // namespace tsb
