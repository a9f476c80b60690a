// The drawing canvas: pens, brushes, fonts and the pixel rules every
// control, bitmap and page relies on.
//
// Pixel rules: lines leave out their end point; rectangles, ellipses and
// rounded rectangles lie in their box without its right and bottom edges;
// FillRect covers [x1, x2) x [y1, y2). Thin lines and figures are rasterised
// here, so every pixel is touched exactly once and the inverting pen modes
// behave predictably.
#pragma once

#include <QImage>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Types.h"
#include "graphics/Font.h"

class QPainter;
class QRect;

namespace tsb {

namespace canvas_detail {
class TCanvasBackend;
class TRasterBackend;
class TVectorBackend;
} // namespace canvas_detail

enum TPenStyle : std::uint8_t {
    psSolid,
    psDash,
    psDot,
    psDashDot,
    psDashDotDot,
    psClear,
    psInsideFrame
};
enum TPenMode : std::uint8_t { pmCopy, pmNot, pmNop, pmNotXor, pmXor };
enum TBrushStyle : std::uint8_t { bsSolid, bsClear };
enum TCopyMode : std::uint8_t { cmSrcCopy, cmSrcAnd, cmSrcPaint };

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = psSolid;
    TPenMode Mode = pmCopy;
};

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
};

class TGraphic;

// A raster copy of what a vector canvas draws, kept to tell whether an
// inverting pen met anything but the white page: there the vector drawing,
// which inverts only white, would differ from the screen.
struct TRasterShadow {
    QImage Image;
    bool InvertedDrawing = false;
    // Where given, a Grayscale8 image of Image's size on which each pixel a
    // thin inverting pen met off the white page is set to 255: the pixels
    // where the vector drawing differs from the screen.
    QImage* InvertedPixels = nullptr;
};

// One drawing API over two back ends: an image, drawn pixel by pixel, and a
// painter on a vector device, drawn as exact geometry (CanvasBackend.h).
class TCanvas {
public:
    TCanvas();
    explicit TCanvas(QImage* device);
    // Ends the painter BeginPainter gave, if still open.
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // Binds the canvas to a device image; origin is where (0, 0) lands on it
    // and clip limits drawing, both in device pixels.
    // Binding forgets OnDamage.
    void Bind(QImage* device, TPoint origin, const TRect& clip);
    void Bind(QImage* device);
    // Binds the canvas to a painter on a vector device (PDF, SVG, a page
    // recording). The same calls come out as exact geometry: pixel (x, y) is
    // the unit square at (x, y); a thin line covers the pixels the raster
    // walk plots; a figure's outline is a line one unit wide through its edge
    // pixels; text stays text. Drawing is cut to the clip by the canvas
    // itself, as not every vector device clips. Inverting pens have no vector
    // meaning: they draw what they would give over a white page. The painter
    // stays the caller's; it is used in its own coordinates, and drawing
    // leaves its pen, brush and hints as it set them.
    // With a shadow (an image the size of the painter's device, white at
    // first) every call is also drawn on the shadow.
    void BindPainter(QPainter* painter, TPoint origin, const TRect& clip,
                     TRasterShadow* shadow = nullptr);
    // Binds to a painter that shows the page on a screen at `scale` device
    // pixels a unit (a zoomed view, a high-density screen). The vector rules
    // hold, with levels of detail for what is too small to see: below one
    // device pixel a unit, every run, fill and dot still covers a device
    // pixel; text whose characters are less than 3 device pixels high is a
    // light bar; rows of dots closer than 3 device pixels are left out.
    // `area` is the part of the view being painted, in the painter's device
    // pixels.
    void BindView(QPainter* painter, TPoint origin, const TRect& clip, double scale,
                  const QRect& area);
    // The device pixels a unit of a view; 0 for any other device.
    double ViewScale() const;
    // Binds to what another canvas is bound to, image or painter.
    void BindLike(const TCanvas& target, TPoint origin, const TRect& clip);
    void Unbind();
    bool IsVector() const;
    QImage* Device() const;
    TPoint Origin() const { return FOrigin; }
    TRect ClipRect() const { return FClip.Offset(-FOrigin.X, -FOrigin.Y); }
    // The clip in device pixels.
    TRect DeviceClip() const { return FClip; }

    TPen Pen;
    TBrush Brush;
    TFont Font;
    TCopyMode CopyMode = cmSrcCopy;
    TPoint PenPos;
    // Told the device rectangle each drawing may have changed, clipped;
    // a live surface uses it to show what was drawn outside painting.
    std::function<void(const TRect&)> OnDamage;

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(const std::vector<TPoint>& points);
    void Polygon(const std::vector<TPoint>& points);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void Ellipse(int x1, int y1, int x2, int y2);
    void RoundRect(int x1, int y1, int x2, int y2, int w, int h);
    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    void SetPixel(int x, int y, TColor color);
    // `count` pixels of one colour `step` apart along a row, from (x, y)
    // rightwards. On a vector device the row is one dashed line, so a grid
    // of dots costs a line a row, not a figure a dot.
    void DotRow(int x, int y, int count, int step, TColor color);
    // -1 outside the clip, and on a vector device, which cannot be read.
    TColor Pixel(int x, int y) const;

    void TextOut(int x, int y, const std::string& text);
    int TextWidth(const std::string& text);
    int TextHeight(const std::string& text);
    // Text broken at line ends and wrapped at word boundaries to the width of
    // r, each line centred, top-aligned, ampersands drawn as they are.
    void DrawTextCentered(const TRect& r, const std::string& text);

    // Images at their own size, optionally with a transparent colour.
    void Draw(int x, int y, const QImage& image);
    // A picture at its own size with its own transparency.
    void Draw(int x, int y, const TGraphic& graphic);
    void DrawTransparent(int x, int y, const QImage& image, std::uint32_t transparentRgb);
    void StretchDraw(const TRect& r, const QImage& image);
    // Copies a rectangle of another image under the copy mode.
    void CopyRect(const TRect& dest, const QImage& source, const TRect& sourceRect);

    // Nested one-pixel frames: top and left lines in topColor, bottom and
    // right lines in bottomColor; r becomes the rectangle inside.
    void Frame3D(TRect& r, TColor topColor, TColor bottomColor, int width);

    // A painter on the device with origin and clip applied, for drawing
    // that has no pixel rule of its own. Null when unbound.
    QPainter* BeginPainter();
    void EndPainter();

private:
    bool Ready() const { return FBackend && !FClip.IsEmpty(); }
    // Whether a view shows text of the font as bars (characters under 3
    // device pixels high); the height of its lines.
    bool SmallText(int& height);
    // Where the styled pen's pattern stands: the pixels drawn since MoveTo.
    std::int64_t FStyleStep = 0;
    TPoint FOrigin;
    TRect FClip;
    // The back end in use, one of the two below, made when first bound.
    canvas_detail::TCanvasBackend* FBackend = nullptr;
    std::unique_ptr<canvas_detail::TRasterBackend> FRaster;
    std::unique_ptr<canvas_detail::TVectorBackend> FVector;
};

// Splits text at line feeds; a carriage return before a line feed stays part
// of its line.
std::vector<std::string> SplitLines(const std::string& text);

} // namespace tsb
