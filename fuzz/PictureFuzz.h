// What the picture decoder fuzz targets share: a picture that loads is drawn
// at its own size, masked by its transparent colour, and stretched, onto the
// small canvases.
#pragma once

#include <QGuiApplication>

#include "FuzzSupport.h"
#include "graphics/Graphic.h"

namespace tsbfuzz {

inline void StartPictures(int* argc, char*** argv) {
    StartApplication<QGuiApplication>(argc, argv);
}

// Pictures up to this many pixels are also stretched and encoded again;
// larger ones, which the decoders accept up to 64 megapixels, are only drawn
// at their own size, so an input costs at most a few decodes.
constexpr qint64 SmallPicture = qint64(1) << 20;

// Runs the picture's load; false where the load refuses the bytes, which
// must leave the picture empty.
template <class TLoad> bool Loaded(const tsb::TGraphic& picture, TLoad load) {
    try {
        load();
    } catch (const std::exception&) {
        if (!picture.Image().isNull()) Fail("a failed load left a picture");
        return false;
    }
    return true;
}

inline bool Small(const QImage& image) {
    return qint64(image.width()) * image.height() <= SmallPicture;
}

inline void PaintPicture(tsb::TGraphic& picture) {
    const bool small = Small(picture.Image());
    auto paint = [&](tsb::TCanvas& canvas, int x, int y) {
        canvas.Draw(x + 5, y + 4, picture);
        if (small)
            canvas.StretchDraw({x + 1, y + 1, x + ViewWidth - 3, y + ViewHeight / 2},
                               picture.Image());
    };
    PaintViews(0, 0, paint);
    picture.SetTransparent(!picture.Transparent());
    PaintViews(picture.Width() / 2, picture.Height() / 2, paint);
}

} // namespace tsbfuzz
