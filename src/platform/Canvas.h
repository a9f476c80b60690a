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
#include <string>
#include <vector>

#include "platform/Font.h"
#include "platform/Types.h"

class QPainter;

namespace tsb {

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

class TCanvas {
public:
    TCanvas() = default;
    explicit TCanvas(QImage* device);
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // Binds the canvas to a device image; origin is where (0, 0) lands on it
    // and clip limits drawing, both in device pixels.
    void Bind(QImage* device, TPoint origin, const TRect& clip);
    void Bind(QImage* device);
    void Unbind() { FDevice = nullptr; }
    QImage* Device() const { return FDevice; }
    TPoint Origin() const { return FOrigin; }
    TRect ClipRect() const { return FClip.Offset(-FOrigin.X, -FOrigin.Y); }

    TPen Pen;
    TBrush Brush;
    TFont Font;
    TCopyMode CopyMode = cmSrcCopy;
    TPoint PenPos;

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
    TColor Pixel(int x, int y) const;

    void TextOut(int x, int y, const std::string& text);
    int TextWidth(const std::string& text);
    int TextHeight(const std::string& text);
    // Text broken at line ends and wrapped at word boundaries to the width of
    // r, each line centred, top-aligned, ampersands drawn as they are.
    void DrawTextCentered(const TRect& r, const std::string& text);

    // Images at their own size, optionally with a transparent colour.
    void Draw(int x, int y, const QImage& image);
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
    bool Ready() const { return FDevice && !FClip.IsEmpty(); }
    void Plot(int dx, int dy, std::uint32_t rgb, TPenMode mode);
    void ThinLine(int x1, int y1, int x2, int y2);
    void WideLine(int x1, int y1, int x2, int y2);
    void StyledPixel(int dx, int dy);
    // Fill marks 1, outline marks 2, in a mask over the figure's box; the
    // outline's pixels are left alone when `outline` is false.
    void ApplyMask(const TRect& box, const std::vector<std::uint8_t>& mask, bool outline = true);
    TRect DeviceBox(int x1, int y1, int x2, int y2) const;
    // Fills and outlines the figure whose device pixels `inside` tells.
    void DrawFigure(const TRect& fig, const std::function<bool(int, int)>& inside);

    QImage* FDevice = nullptr;
    TPoint FOrigin;
    TRect FClip;
    int FStyleStep = 0;
    QPainter* FPainter = nullptr;
};

// Splits text at line feeds; a carriage return before a line feed stays part
// of its line.
std::vector<std::string> SplitLines(const std::string& text);

} // namespace tsb
