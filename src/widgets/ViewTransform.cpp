#include "widgets/ViewTransform.h"

#include <cmath>

namespace tsb {

namespace {

// Products of zooms such as 1/3 and whole coordinates land a rounding error
// away from the whole number they stand for; that is no pixel of its own.
constexpr double Slack = 1e-6;

int Down(double v) {
    return static_cast<int>(std::floor(v + Slack));
}

int Up(double v) {
    return static_cast<int>(std::ceil(v - Slack));
}

QRect Spanning(int left, int top, int right, int bottom) {
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

} // namespace

bool TViewTransform::OneToOne() const {
    return std::abs(Scale() - 1) < 1e-9;
}

int TViewTransform::ViewExtent(int page) const {
    return FZoom == 1 ? page : Up(page * FZoom);
}

QRect TViewTransform::PageToDevice(const TRect& page) const {
    const double s = Scale();
    if (OneToOne()) return Spanning(page.Left, page.Top, page.Right, page.Bottom);
    return Spanning(Down(page.Left * s), Down(page.Top * s), Up(page.Right * s),
                    Up(page.Bottom * s));
}

TRect TViewTransform::DeviceToPage(const QRect& device) const {
    const double s = Scale();
    const int right = device.left() + device.width(), bottom = device.top() + device.height();
    if (OneToOne()) return {device.left(), device.top(), right, bottom};
    return {Down(device.left() / s), Down(device.top() / s), Up(right / s), Up(bottom / s)};
}

QRect TViewTransform::ViewToDevice(const QRect& view) const {
    if (FRatio == 1) return view;
    const int right = view.left() + view.width(), bottom = view.top() + view.height();
    return Spanning(Down(view.left() * FRatio), Down(view.top() * FRatio), Up(right * FRatio),
                    Up(bottom * FRatio));
}

QRect TViewTransform::DeviceToView(const QRect& device) const {
    if (FRatio == 1) return device;
    const int right = device.left() + device.width(), bottom = device.top() + device.height();
    return Spanning(Down(device.left() / FRatio), Down(device.top() / FRatio), Up(right / FRatio),
                    Up(bottom / FRatio));
}

TPoint TViewTransform::ViewToPage(const QPointF& view) const {
    if (Identity()) {
        const QPoint p = view.toPoint();
        return {p.x(), p.y()};
    }
    return {Down(view.x() / FZoom), Down(view.y() / FZoom)};
}

QPointF TViewTransform::PageToView(TPoint page) const {
    return QPointF(page.X * FZoom, page.Y * FZoom);
}

} // namespace tsb
