// Drawing the same thing on an image and on a vector device, and comparing
// the vector drawing, rasterised at one pixel per unit, with the image.
#pragma once

#include <QByteArray>
#include <QImage>
#include <functional>
#include <string>

class QPainter;

namespace tsbtest {

// Runs draw with a painter on an SVG document of w x h units.
QByteArray DrawSvg(int w, int h, const std::function<void(QPainter&)>& draw);
// The SVG document over a white page, one pixel per unit, without smoothing.
QImage RasteriseSvg(const QByteArray& svg, int w, int h);

struct TDifference {
    int Pixels = 0;       // pixels whose colours differ
    int FarFromEdge = 0;  // of those, more than one pixel from an edge of the image
    double Equal = 1;     // the share of equal pixels
    std::string FirstFar; // "x,y" of the first far difference, for messages
};
// An edge pixel is one whose 3 x 3 neighbourhood in `expected` is not of one
// colour; a difference within one pixel of an edge pixel counts as near.
TDifference Compare(const QImage& expected, const QImage& actual);

// Expects the vector drawing, rasterised, to match the raster one: at least
// 99% of pixels equal and none differing more than one pixel from an edge.
// On failure both images are saved as /tmp/NAME-raster.png and
// /tmp/NAME-vector.png.
void ExpectDrawnAlike(const QImage& raster, const QImage& vector, const std::string& name);

} // namespace tsbtest
