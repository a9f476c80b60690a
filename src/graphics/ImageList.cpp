#include "graphics/ImageList.h"

namespace tsb {

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}

void TImageList::SetSize(int width, int height) {
    if (width < 1 || height < 1) return;
    if (width == FWidth && height == FHeight) return;
    FWidth = width;
    FHeight = height;
    FImages.clear();
}

int TImageList::AddCells(const QImage& image, const std::vector<bool>& transparent) {
    QImage src = image.convertToFormat(QImage::Format_ARGB32);
    int cells = src.height() >= FHeight ? src.width() / FWidth : 0;
    if (cells == 0) return -1;
    int first = Count();
    for (int n = 0; n < cells; ++n) {
        QImage cell(FWidth, FHeight, QImage::Format_ARGB32);
        for (int y = 0; y < FHeight; ++y) {
            for (int x = 0; x < FWidth; ++x) {
                int sx = n * FWidth + x;
                QRgb px = src.pixel(sx, y);
                bool clear = transparent[static_cast<std::size_t>(y * src.width() + sx)];
                cell.setPixel(x, y, clear ? 0u : (0xFF000000u | (px & 0xFFFFFFu)));
            }
        }
        FImages.push_back(cell);
    }
    return first;
}

int TImageList::Add(const QImage& image, const QImage& mask) {
    std::vector<bool> transparent(static_cast<std::size_t>(image.width()) * image.height(), false);
    if (!mask.isNull()) {
        for (int y = 0; y < image.height() && y < mask.height(); ++y)
            for (int x = 0; x < image.width() && x < mask.width(); ++x)
                transparent[static_cast<std::size_t>(y * image.width() + x)] =
                    (mask.pixel(x, y) & 0xFFFFFFu) == 0xFFFFFFu;
    }
    return AddCells(image, transparent);
}

int TImageList::AddMasked(const QImage& image, TColor maskColor) {
    std::uint32_t key = ColorToRGB(maskColor) & 0xFFFFFFu;
    std::vector<bool> transparent(static_cast<std::size_t>(image.width()) * image.height(), false);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            transparent[static_cast<std::size_t>(y * image.width() + x)] =
                (image.pixel(x, y) & 0xFFFFFFu) == key;
    return AddCells(image, transparent);
}

void TImageList::Delete(int index) {
    if (index < 0 || index >= Count()) return;
    FImages.erase(FImages.begin() + index);
}

void TImageList::Clear() {
    FImages.clear();
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index) const {
    if (index < 0 || index >= Count()) return;
    // Alpha is either 0 or 255, so the shown pixels are copied exactly.
    canvas.Draw(x, y, Image(index));
}

} // namespace tsb
