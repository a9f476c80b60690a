// Pixel walks shared by the canvas's raster and vector back ends.
#pragma once

#include <cstdlib>
#include <vector>

#include "graphics/Canvas.h"

namespace tsb::canvas_detail {

// On/off run lengths of the styled thin pens, in pixels; empty for solid.
const std::vector<int>& StylePattern(TPenStyle style);

// Visits the pixels of a line from (x, y) up to, not including, (ex, ey).
template <typename Visit> void WalkLine(int x, int y, int ex, int ey, Visit visit) {
    int dx = std::abs(ex - x), dy = std::abs(ey - y);
    int sx = x < ex ? 1 : -1, sy = y < ey ? 1 : -1;
    int err = dx - dy;
    while (x != ex || y != ey) {
        visit(x, y);
        int e2 = 2 * err;
        if (e2 > -dy) {
            err -= dy;
            x += sx;
        }
        if (e2 < dx) {
            err += dx;
            y += sy;
        }
    }
}

} // namespace tsb::canvas_detail
