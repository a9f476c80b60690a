// Page recordings: a page of logical screen pixels that is drawn once and
// played back as often as needed, stretched over any target rectangle.
//
// A page is recorded as vector commands. Inverting pens have no vector
// meaning; where one met anything but the white page, the vector page would
// differ from the screen, and the page keeps its own pixels instead, played
// back pixel for pixel. Callers know a recording only through these two
// classes.
#pragma once

#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QRect>
#include <memory>

#include "graphics/Canvas.h"

namespace tsb {

class TMetafile {
public:
    // A white page of width x height logical screen pixels.
    TMetafile(int width, int height);
    TMetafile(const TMetafile&) = delete;
    TMetafile& operator=(const TMetafile&) = delete;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // True when the page is kept as its pixels rather than as vector commands.
    bool Raster() const { return !FImage.isNull(); }
    // True when the page was too large to keep its pixels beside its
    // commands while it was recorded: it is vector commands alone, with
    // inverting pens drawn as over a white page, whatever they met.
    bool ShadowLost() const { return FShadowLost; }

    // Draws the page stretched over the target rectangle of the painter's
    // device.
    void Play(QPainter& painter, const QRect& target) const;

private:
    friend class TMetafileCanvas;
    int FWidth;
    int FHeight;
    QPicture FPicture;
    QImage FImage;
    bool FShadowLost = false;
};

// The canvas that records a page. Everything drawn on it goes into the page
// given at construction; the page is complete once the canvas is gone.
class TMetafileCanvas : public TCanvas {
public:
    explicit TMetafileCanvas(TMetafile& page);
    ~TMetafileCanvas();
    TMetafileCanvas(const TMetafileCanvas&) = delete;
    TMetafileCanvas& operator=(const TMetafileCanvas&) = delete;

private:
    TMetafile& FPage;
    QPainter FPainter;
    // The page's pixels while it is recorded; none where they cannot be had.
    std::unique_ptr<TRasterShadow> FShadow;
};

} // namespace tsb
