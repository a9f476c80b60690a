// The work area's zoom: the View menu, Ctrl with the mouse wheel, the zoom
// panel at the right end of the status bar, and where the zoomed page lies
// in its panel. The page itself, its elements and everything written to
// files keep their page pixels; only the work area's view changes.
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointF>
#include <string>
#include <vector>

class QLabel;

namespace tsb {

class TMainForm;

class TZoomController : public QObject {
public:
    // Adds the View menu after Edit and the zoom panel to the form's window.
    explicit TZoomController(TMainForm& form);

    // The zoom steps, 10 % to 800 %.
    static const std::vector<double>& Steps();
    // Zooms of Fit Page and Fit Selection lie in these bounds.
    static constexpr double MinZoom = 0.01;
    static constexpr double MaxZoom = 8;
    // The step after `zoom` inward or outward; `zoom` past the last.
    static double NextStep(double zoom, bool in);
    // "100 %", "33 %", "9.4 %".
    static std::string ZoomText(double zoom);

    double Zoom() const { return FZoom; }
    QLabel* Panel() const { return FPanel; }

    // Zooms keeping the page point under `at`, a point of the panel's
    // viewport, in its place as far as scrolling allows.
    void ZoomAt(double zoom, QPoint at);
    // The same about the middle of the viewport.
    void SetZoom(double zoom);
    void ZoomIn();
    void ZoomOut();
    void ActualSize();
    // The whole page in the viewport, within the rulers' margins.
    void FitPage();
    // The selected elements in the middle of the viewport, as large as
    // they fit; nothing when nothing is selected.
    void FitSelection();
    // The work area was placed on its panel in page pixels (new page size,
    // open): a zoomed view is placed again.
    void PagePlaced(int minimumTop);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPoint ViewportMiddle() const;
    // The page point shown at a point of the viewport, not rounded.
    QPointF PageAt(QPoint at) const;
    // Sets the zoom and places the view; then scrolls so that `page` shows
    // at `at`.
    void Apply(double zoom, QPointF page, QPoint at);
    // Where the zoomed view's top-left lies on the panel.
    QPoint ViewOrigin(double zoom) const;

    TMainForm& FForm;
    QLabel* FPanel = nullptr;
    double FZoom = 1;
    int FMinimumTop = 30;
    int FWheel = 0;
    // The page point of the last zoom and where it was shown: zooming on at
    // the same place, scrolled as the zoom left it, keeps that exact point,
    // so zooming in and out again comes back to the same pixels.
    struct TAnchor {
        QPoint At{-1, -1};
        QPointF Page;
        int Horizontal = -1;
        int Vertical = -1;
    } FAnchor;
};

} // namespace tsb
