// Where a work area's drawing may differ between the raster canvas and a
// vector renderer, found from its elements: the curves, slanted and wide
// lines and arrow heads of shapes and connectors, the texts, the pictures;
// and where its inverting pens meet drawing. Everything else (straight thin
// lines, rectangles, handles, grid dots) is left exact.
#pragma once

#include <QPoint>
#include <QSize>

#include "VectorCompare.h"

namespace tsb {
class TWinControl;
}

namespace tsbtest {

// The areas of the container painted with its top-left corner at `at` on a
// drawing of `size`.
TLooseAreas DrawingAreasOf(tsb::TWinControl& container, QSize size, QPoint at = {});

} // namespace tsbtest
