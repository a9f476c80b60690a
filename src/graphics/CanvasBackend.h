// What a canvas draws on. TCanvas keeps the pen, the brush, the font and the
// pen's position and hands each drawing to its back end, which keeps the
// pixel rules in its own way: the raster back end plots the pixels on an
// image, the vector back end emits the same pixels as exact geometry on a
// painter. Coordinates are the canvas's; a back end knows the origin and the
// clip, in device pixels. Internal to the canvas.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/Canvas.h"

class QFont;
class QPainter;
class QPainterPath;
class QColor;

namespace tsb::canvas_detail {

enum TFigure : std::uint8_t { fgRectangle, fgEllipse, fgRoundRect };

// A line of text with its top-left corner and its width.
struct TTextLine {
    int X = 0;
    int Y = 0;
    int Width = 0;
    QString Text;
};

class TCanvasBackend {
public:
    explicit TCanvasBackend(const TCanvas& canvas) : FCanvas(canvas) {}
    virtual ~TCanvasBackend() = default;
    TCanvasBackend(const TCanvasBackend&) = delete;
    TCanvasBackend& operator=(const TCanvasBackend&) = delete;

    TPoint Origin() const { return FOrigin; }
    const TRect& Clip() const { return FClip; }

    // A one-pixel line up to, not including, (x2, y2), the pen's pattern
    // counted from `step`; returns the number of pixels of the whole line.
    virtual std::int64_t ThinLine(int x1, int y1, int x2, int y2, std::int64_t step) = 0;
    virtual void WideLine(int x1, int y1, int x2, int y2) = 0;
    // A rectangle, an ellipse or a rounded rectangle with a w x h corner in
    // `box`, whose corners are in order.
    virtual void Figure(TFigure kind, const TRect& box, int w, int h) = 0;
    // Returns how far a styled thin outline ran the pen's pattern.
    virtual std::int64_t Polygon(const std::vector<TPoint>& points) = 0;
    // The brush over r, whatever the pen.
    virtual void FillRect(const TRect& r) = 0;
    virtual void SetPixel(int x, int y, TColor colour) = 0;
    virtual void DotRow(int x, int y, int count, int step, TColor colour) = 0;
    // Lines of text in `font`, each on the brush when it is solid, cut to
    // `cut` when given.
    virtual void Text(const std::vector<TTextLine>& lines, const QFont& font, const TRect* cut);
    // Lines of text `height` pixels apart drawn as light bars, for text too
    // small to read; false where the back end draws no bars.
    virtual bool TextBars(const std::vector<TTextLine>&, int, const TRect*) { return false; }
    virtual void Draw(int x, int y, const QImage& image) = 0;
    virtual void Draw(int x, int y, const TGraphic& graphic) = 0;
    // An ARGB32 image without its pixels of the transparent colour or
    // mostly transparent ones.
    virtual void DrawTransparent(int x, int y, const QImage& image,
                                 std::uint32_t transparentRgb) = 0;
    virtual void StretchDraw(const TRect& r, const QImage& image) = 0;
    // An RGB32 image of dest's size under the canvas's copy mode.
    virtual void CopyRect(const TRect& dest, const QImage& image) = 0;
    // -1 where the pixel cannot be read.
    virtual TColor Pixel(int, int) const { return -1; }

    // A painter with origin and clip applied; null when there is nothing to
    // draw on.
    virtual QPainter* BeginPainter() = 0;
    virtual void EndPainter() = 0;

protected:
    // Text with its left end at x on the baseline.
    virtual void TextRun(QPainter& painter, int x, int baseline, const QString& text,
                         const QFont& font) = 0;

    const TCanvas& FCanvas;
    TPoint FOrigin;
    TRect FClip;
};

// Draws on an RGB32 image: thin figures by its own rasteriser, so every
// pixel is touched once and the inverting pens behave predictably; text,
// pictures and wide pens through QPainter.
class TRasterBackend : public TCanvasBackend {
public:
    using TCanvasBackend::TCanvasBackend;
    ~TRasterBackend() override;

    // With a shadow, drawing is the raster copy of a vector drawing: it
    // notes inverting pens that meet anything but white, and reports no
    // damage.
    void Bind(QImage* device, TPoint origin, const TRect& clip, TRasterShadow* shadow = nullptr);
    QImage* Device() const { return FDevice; }

    std::int64_t ThinLine(int x1, int y1, int x2, int y2, std::int64_t step) override;
    void WideLine(int x1, int y1, int x2, int y2) override;
    void Figure(TFigure kind, const TRect& box, int w, int h) override;
    std::int64_t Polygon(const std::vector<TPoint>& points) override;
    void FillRect(const TRect& r) override;
    void SetPixel(int x, int y, TColor colour) override;
    void DotRow(int x, int y, int count, int step, TColor colour) override;
    void Draw(int x, int y, const QImage& image) override;
    void Draw(int x, int y, const TGraphic& graphic) override;
    void DrawTransparent(int x, int y, const QImage& image, std::uint32_t transparentRgb) override;
    void StretchDraw(const TRect& r, const QImage& image) override;
    void CopyRect(const TRect& dest, const QImage& image) override;
    TColor Pixel(int x, int y) const override;
    QPainter* BeginPainter() override;
    void EndPainter() override;

protected:
    void TextRun(QPainter& painter, int x, int baseline, const QString& text,
                 const QFont& font) override;

private:
    void Damage(const TRect& deviceBox);
    void Plot(int dx, int dy, std::uint32_t rgb, TPenMode mode);
    // Pixel `step` of the pen's pattern: the pen, the brush in the gaps, or
    // nothing.
    void StyledPixel(int dx, int dy, std::int64_t step);
    // Fill marks 1, outline marks 2, in a mask over the device box; the
    // outline's pixels are left alone when `outline` is false.
    void ApplyMask(const TRect& box, const std::vector<std::uint8_t>& mask, bool outline);
    // Fills and outlines the figure whose device pixels `inside` tells.
    template <typename Inside> void DrawFigure(const TRect& fig, const Inside& inside);

    QImage* FDevice = nullptr;
    TRasterShadow* FShadow = nullptr;
    std::unique_ptr<QPainter> FPainter;
};

// Draws on a painter on a vector device (PDF, SVG, a page recording) or any
// other, scaled or not: pixel (x, y) is the unit square at (x, y); a thin
// line covers the pixels the raster walk plots; a figure's outline is a line
// one unit wide through its edge pixels; text stays text. Drawing is cut to
// the clip here, as not every vector device clips. Inverting pens draw what
// they would give over a white page. Each call sets the pen, brush and hints
// it needs and leaves them so, without a save and restore: an SVG document
// writes a group for every change of state, and a restore is a change of its
// own.
class TVectorBackend : public TCanvasBackend {
public:
    explicit TVectorBackend(const TCanvas& canvas);
    ~TVectorBackend() override;

    // With a shadow (an image the size of the painter's device) every call
    // is drawn on the shadow too.
    void Bind(QPainter* painter, TPoint origin, const TRect& clip, TRasterShadow* shadow);
    QPainter* Painter() const { return FPainter; }
    TRasterShadow* ShadowImage() const { return FShadowImage; }
    // Device pixels a unit when the painter shows a view on a screen, with
    // its levels of detail; 0 for files and recordings. Binding resets it.
    // A view is painted in parts: `area` is the part being painted, in
    // device pixels, and drawing is cut to it by the painter, not by cutting
    // the figures, which would make parts painted apart differ.
    double ViewScale() const { return FViewScale; }
    const QRect& ViewArea() const { return FViewArea; }
    void SetView(double scale, const QRect& area);

    std::int64_t ThinLine(int x1, int y1, int x2, int y2, std::int64_t step) override;
    void WideLine(int x1, int y1, int x2, int y2) override;
    void Figure(TFigure kind, const TRect& box, int w, int h) override;
    std::int64_t Polygon(const std::vector<TPoint>& points) override;
    void FillRect(const TRect& r) override;
    void SetPixel(int x, int y, TColor colour) override;
    void DotRow(int x, int y, int count, int step, TColor colour) override;
    void Text(const std::vector<TTextLine>& lines, const QFont& font, const TRect* cut) override;
    bool TextBars(const std::vector<TTextLine>& lines, int height, const TRect* cut) override;
    void Draw(int x, int y, const QImage& image) override;
    void Draw(int x, int y, const TGraphic& graphic) override;
    void DrawTransparent(int x, int y, const QImage& image, std::uint32_t transparentRgb) override;
    void StretchDraw(const TRect& r, const QImage& image) override;
    void CopyRect(const TRect& dest, const QImage& image) override;
    QPainter* BeginPainter() override;
    void EndPainter() override;

protected:
    void TextRun(QPainter& painter, int x, int baseline, const QString& text,
                 const QFont& font) override;

private:
    // The raster copy of each call, where there is one with pixels to draw.
    TRasterBackend* Shadow();
    // What a pen or brush of this colour leaves on a white page under the
    // mode; invalid where it leaves nothing.
    QColor Colour(TColor colour, TPenMode mode) const;
    std::int64_t Line(int x1, int y1, int x2, int y2, std::int64_t step);
    std::int64_t ViewLine(int x1, int y1, int x2, int y2, std::int64_t step, const QColor& on,
                          const QColor& off);
    // Whether a figure's box lies in the clip, so that it needs no cutting:
    // in a view always, the painter cutting it.
    bool Uncut(const QRectF& box) const;
    void EnsureViewClip() const;
    void Stroke(const QPainterPath& path);
    void Fill(const QPainterPath& path, const QColor& colour);
    void FillCut(const QPainterPath& area, const QColor& colour);
    // A one-unit line along the path, cut to the clip.
    void Outline(const QPainterPath& path, const QColor& colour);
    void CutRectangle(const TRect& fig, bool thin);
    void ThinFigure(TFigure kind, const TRect& fig, int w, int h, bool thin);
    std::int64_t ThinPolygon(const std::vector<TPoint>& points);
    void Image(const TRect& dest, const QImage& image);
    // Below a device pixel a unit, a rectangle grown to cover at least the
    // device pixel nearest its middle each way, so a view zoomed out keeps
    // its thin lines and dots.
    bool Thin() const { return FViewScale > 0 && FViewScale < 1; }
    QRectF Visible(const QRectF& r) const;
    // A rectangle of device pixels, cut to the clip.
    void FillBox(const TRect& box, const QColor& colour);
    bool Speck(const TRect& box);

    QPainter* FPainter = nullptr;
    bool FBegun = false;
    double FViewScale = 0;
    QRect FViewArea;
    // The back end whose clip the painter of a view holds.
    static inline const TVectorBackend* ViewClipOwner = nullptr;
    TRasterShadow* FShadowImage = nullptr;
    // The raster copy drawn on the shadow.
    std::unique_ptr<TRasterBackend> FShadow;
};

} // namespace tsb::canvas_detail
