// Page recordings: a page of logical screen pixels that is drawn once and
// played back as often as needed, stretched over any target rectangle.
//
// Callers know a recording only through these two classes: how it stores
// the drawing is its own affair.
#pragma once

#include <QImage>
#include <QRect>

#include "platform/Canvas.h"

class QPainter;

namespace tsb {

class TWinControl;

class TMetafile {
public:
    // A white page of width x height logical screen pixels.
    TMetafile(int width, int height);
    TMetafile(const TMetafile&) = delete;
    TMetafile& operator=(const TMetafile&) = delete;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }

    // Draws the page stretched over the target rectangle of the painter's
    // device.
    void Play(QPainter& painter, const QRect& target) const;

private:
    friend class TMetafileCanvas;
    int FWidth;
    int FHeight;
    QImage FImage;
};

// The canvas that records a page. Everything drawn on it goes into the page
// given at construction; the page is complete once the canvas is gone.
class TMetafileCanvas : public TCanvas {
public:
    explicit TMetafileCanvas(TMetafile& page);

    // Renders a windowed control with all its children onto the page, with
    // the control's top-left corner at (x, y).
    void DrawControl(TWinControl& control, int x, int y);

private:
    TMetafile& FPage;
};

} // namespace tsb
