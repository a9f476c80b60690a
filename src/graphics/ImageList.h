// A list of equally sized images, each with a mask of the pixels that show;
// drawn through the mask so that the background stays where it is masked out.
#pragma once

#include <QImage>
#include <vector>

#include "core/Component.h"
#include "graphics/Canvas.h"

namespace tsb {

class TImageList : public TComponent {
    TSB_CLASS(TImageList)
public:
    explicit TImageList(TComponent* owner);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Sizes below 1 are ignored. A new size empties the list.
    void SetSize(int width, int height);
    int Count() const { return static_cast<int>(FImages.size()); }

    // Cuts the image into cells of the list's size from left to right and
    // adds each; a narrower rest is dropped. Where the mask is given, its
    // white pixels are transparent, otherwise the whole cell shows. Returns
    // the index of the first image added, or -1 when none was.
    int Add(const QImage& image, const QImage& mask = QImage());
    // As Add, with every pixel of the given colour transparent.
    int AddMasked(const QImage& image, TColor maskColor);
    void Delete(int index);
    void Clear();

    // Image `index` with alpha 255 where it shows and 0 where it is masked.
    const QImage& Image(int index) const { return FImages[static_cast<std::size_t>(index)]; }

    // Draws image `index` with its top-left corner at (x, y) through its
    // mask. An index out of range draws nothing.
    void Draw(TCanvas& canvas, int x, int y, int index) const;

private:
    int AddCells(const QImage& image, const std::vector<bool>& transparent);

    int FWidth = 16;
    int FHeight = 16;
    std::vector<QImage> FImages;
};

} // namespace tsb
