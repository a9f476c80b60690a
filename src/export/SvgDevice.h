// An SVG drawing written to a file as it is painted, for pages of any
// number of elements: a QPainter on this device sends each figure, text and
// picture straight to the output, so memory holds a few kilobytes of text
// and the tables below, never the document.
//
// Styles are CSS classes, each written once, in a <style> of its own where
// it is first used; a figure that comes again at another place (the outline
// of a shape) is written once and then referred to with <use>; runs of
// rectangles and of solid lines in one style share one path. Coordinates are
// the device's units, to a thousandth. Text stays <text>, in its face, size
// and weight, placed and scaled as the painter placed it; a figure that
// reaches outside the painter's clip is cut by a <clipPath>. Its paint
// engine is of the SVG type, so painting lays text out for an SVG viewer.
#pragma once

#include <QPaintDevice>
#include <QSize>
#include <QString>
#include <memory>

class QIODevice;

namespace tsb {

class TSvgEngine;

class TSvgDevice : public QPaintDevice {
public:
    // A drawing of `size` units at 96 to the inch, written to `out` from
    // when a painter begins on it until the painter ends.
    TSvgDevice(QIODevice& out, QSize size, const QString& title, const QString& description);
    ~TSvgDevice() override;

    QPaintEngine* paintEngine() const override;
    // False once a write to the output failed; the drawing is then
    // incomplete.
    bool Written() const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSize FSize;
    std::unique_ptr<TSvgEngine> FEngine;
};

} // namespace tsb
