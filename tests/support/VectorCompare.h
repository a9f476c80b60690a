// Drawing the same thing on an image and on a vector device, and comparing
// the vector drawing, rasterised at one pixel per unit, with the image.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <functional>
#include <string>
#include <vector>

class QPainter;

namespace tsb {
class TCanvas;
}

namespace tsbtest {

// Runs draw with a painter on an SVG document of w x h units.
QByteArray DrawSvg(int w, int h, const std::function<void(QPainter&)>& draw);
// The SVG document over a white page, one pixel per unit, without smoothing.
QImage RasteriseSvg(const QByteArray& svg, int w, int h);

// The same on a one-page PDF document of w x h units at 96 units to the
// inch, as the page export writes it.
QByteArray DrawPdf(int w, int h, const std::function<void(QPainter&)>& draw);
// The document rasterised by the renderers users view these files with, at
// 96 dots per inch over a white page: librsvg's rsvg-convert, with a style
// sheet asking for crisp edges and unsmoothed text, and poppler's pdftoppm
// with smoothing of shapes and text off. A null image when the renderer
// failed, with the reason added as a test failure.
QImage RasteriseWithRsvg(const QByteArray& svg, int w, int h);
QImage RasteriseWithPoppler(const QByteArray& pdf);

// A vector drawing, rasterised, against the raster drawing of the same calls.
// Axis-aligned lines, rectangles, fills, rows of dots and pictures must come
// out exactly. Curves and slanted lines, whose edge pixels a vector renderer
// chooses by its own rules, and text, whose glyphs it draws with its own
// outlines, lie in loose areas stated by the test; there a share of the
// pixels may differ. Everywhere each pixel's colour must be found in the
// other drawing within one pixel, both ways, so nothing drawn goes missing,
// however thin; in text, within the renderer's reach for glyphs. Where both
// drew, one drawing's colour may lie under the other's pixel (a grid dot
// under a line drawn a pixel along) as long as the other's is found nearby.
// White, the page, is not drawing.
struct TLooseAreas {
    std::vector<QRect> Curves;
    std::vector<QRect> Text;
    std::vector<QRect> Pictures; // exact but for renderers that resample them
    // Non-zero (Grayscale8) where an inverting pen met drawing on the screen
    // (TRasterShadow::InvertedPixels). SVG and PDF have no raster
    // operations: there the vector drawing shows the pen as over the white
    // page, and the pixel is not compared. Null for none.
    QImage Inverted;
};
// What a renderer may do differently, stated for each one.
struct TTolerance {
    const char* Renderer;
    double Share;      // of the curves' drawn pixels that may differ
    double TextShare;  // of the text's drawn pixels that may differ
    double ExactShare; // of the other drawn pixels that may differ
    int CurveReach;    // how far a pixel of a curve may lie from its place
    int TextReach;     // how far a glyph's pixel may lie from its place
    bool SameColour;   // whether a drawn pixel needs its own colour nearby
    // Whether the renderer resamples pictures: a picture may then reach a
    // pixel past its edges, and each of its pixels need only lie, channel by
    // channel, within the range of the screen's pixels around it (3 x 3).
    bool ResampledPictures;
};
// Qt's renderer draws the pixels the canvas does, but for an edge pixel of
// a curve here and there, and a slanted line's step a pixel later now and
// then (its line rasteriser rounds its own way). Text it lays out with the
// face's own advances, scaled word by word to the screen's widths, so a
// glyph may lie a pixel from its place within a long word; it draws the
// glyphs from their outlines, unhinted and unsmoothed, so that a stem
// thinner than a pixel may fall between pixel centres and go missing, the
// next stem up to three pixels away.
extern const TTolerance QtSvgTolerance;
// librsvg, asked for crisp edges, does the same, and at times takes two
// pixels in a row or column of a slanted line; it draws glyphs from their
// outlines without the screen's hinting, so a stem may lie up to three
// pixels from the screen's.
extern const TTolerance RsvgTolerance;
// Poppler's unsmoothed rasteriser (pdftoppm -aa no -aaVector no) fills every
// pixel a shape touches, not those whose centres it covers, but fits lone
// rectangles and straight strokes to whole pixels: slanted lines and curves
// come out two pixels wide in most places, so that about half their pixels
// differ. It resamples every picture, even at its own size.
extern const TTolerance PopplerTolerance;

struct TDrawingDifference {
    int Exact = 0;               // differing pixels outside the loose areas
    int ExactDrawn = 0;          // pixels outside the loose areas drawn in either drawing
    int Uncovered = 0;           // drawn pixels without a like pixel nearby in the other drawing
    int Loose = 0;               // differing pixels of curves
    int LooseDrawn = 0;          // pixels of curves drawn in either drawing
    int Text = 0, TextDrawn = 0; // the same for text
    int Picture = 0;             // resampled picture pixels out of their neighbourhood's range
    std::string FirstExact, FirstUncovered, FirstPicture; // "x,y", for messages
    bool Alike(const TTolerance& tolerance) const {
        return Uncovered == 0 && Picture == 0 && Exact <= tolerance.ExactShare * ExactDrawn &&
               Loose <= tolerance.Share * LooseDrawn && Text <= tolerance.TextShare * TextDrawn;
    }
};
// The pixels where inverting pens meet drawing when `paint` draws on a
// canvas of w x h (TLooseAreas::Inverted).
QImage InvertedPixels(int w, int h, const std::function<void(tsb::TCanvas&)>& paint);

TDrawingDifference CompareDrawings(const QImage& raster, const QImage& vector,
                                   const TLooseAreas& loose, const TTolerance& tolerance);
// Expects the drawings alike. On failure both images are saved as
// /tmp/NAME-RENDERER-raster.png and /tmp/NAME-RENDERER-vector.png.
void ExpectSameDrawing(const QImage& raster, const QImage& vector, const TLooseAreas& loose,
                       const TTolerance& tolerance, const std::string& name);

// An SVG document of the raster drawing's size, rasterised by Qt's renderer
// and by librsvg, and a one-page PDF, rasterised by poppler, against the
// raster drawing.
void ExpectSvgShows(const QImage& raster, const QByteArray& svg, const TLooseAreas& loose,
                    const std::string& name);
void ExpectPdfShows(const QImage& raster, const QByteArray& pdf, const TLooseAreas& loose,
                    const std::string& name, const TTolerance& tolerance = PopplerTolerance);

} // namespace tsbtest
