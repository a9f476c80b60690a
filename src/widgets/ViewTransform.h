// How a windowed control's client area shows on the screen. Controls keep
// their bounds in page pixels; the view's zoom makes them view pixels (the
// widget's own coordinates), and the screen's device pixel ratio makes those
// device pixels. Painting maps page to device and input maps view to page,
// both through here.
#pragma once

#include <QPointF>
#include <QRect>

#include "core/Types.h"

namespace tsb {

class TViewTransform {
public:
    // View pixels a page pixel.
    double Zoom() const { return FZoom; }
    void SetZoom(double zoom) { FZoom = zoom; }
    // Device pixels a view pixel.
    double Ratio() const { return FRatio; }
    void SetRatio(double ratio) { FRatio = ratio; }
    // Device pixels a page pixel.
    double Scale() const { return FZoom * FRatio; }
    // A page pixel is a device pixel: painting is pixel for pixel.
    bool OneToOne() const;
    // A view pixel is a device pixel too: nothing maps at all.
    bool Identity() const { return OneToOne() && FRatio == 1; }

    // The view pixels of a page extent: every page pixel shows, at least in
    // part.
    int ViewExtent(int page) const;
    // The device pixels a page rectangle touches.
    QRect PageToDevice(const TRect& page) const;
    // The page pixels that touch a device rectangle.
    TRect DeviceToPage(const QRect& device) const;
    // The device pixels of a view rectangle, and the view pixels that touch
    // a device rectangle.
    QRect ViewToDevice(const QRect& view) const;
    QRect DeviceToView(const QRect& device) const;
    // The page pixel under a point of the view.
    TPoint ViewToPage(const QPointF& view) const;
    // Where a page point lies in the view.
    QPointF PageToView(TPoint page) const;

private:
    double FZoom = 1;
    double FRatio = 1;
};

} // namespace tsb
