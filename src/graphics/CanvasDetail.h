// Pixel rules shared by the canvas's raster and vector back ends, computed
// exactly for any int coordinates.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "graphics/Canvas.h"

namespace tsb::canvas_detail {

__extension__ typedef __int128 Int128;

// On/off run lengths of the styled thin pens, in pixels; empty for solid.
const std::vector<int>& StylePattern(TPenStyle style);
// Whether the pen draws pixel number `step` of its pattern (solid pens
// always do).
bool StyleOn(TPenStyle style, std::int64_t step);

// The ellipse inscribed in [l, r) x [t, b): pixel (x, y) lies in it when its
// centre does. Exact for any int box.
class TEllipse {
public:
    TEllipse(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b);
    bool Contains(std::int64_t x, std::int64_t y) const;

private:
    __extension__ typedef unsigned __int128 Wide;
    std::int64_t FSumX, FSumY, FW, FH;
    // w^2, h^2 and w^2 h^2.
    Wide FW2, FH2, FW2H2;
    // Boxes up to 32767 pixels a side compute in 64 bits.
    bool FSmall;
};

// The dots of a row of `count` dots `step` apart from (x, y) that lie in the
// clip, in device pixels: the first and last dot's columns and the row;
// false when none does.
bool DotsInClip(int x, int y, int count, int step, TPoint origin, const TRect& clip, int& first,
                int& last, int& row);

inline Int128 FloorDiv(Int128 a, Int128 b) { // b > 0
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}
inline Int128 CeilDiv(Int128 a, Int128 b) { // b > 0
    return -FloorDiv(-a, b);
}

// Visits the pixels of the line from (x, y) up to, not including, (ex, ey)
// that lie in `clip`, in order, as visit(px, py, i), i being the pixel's
// place along the whole line. Returns the number of pixels of the whole
// line. The pixels are those of walking the whole line step by step; the
// part outside the clip is skipped, not walked, so a line costs what it
// shows.
//
// Along the line's longer axis the walk moves one pixel a step; pixel i is
// offset floor((2 i m + n - 1) / (2 n)) along the shorter one, where n and m
// are the line's extents along the longer and the shorter axis.
template <typename Visit>
std::int64_t WalkLine(const TRect& clip, int x, int y, int ex, int ey, Visit visit) {
    using I = std::int64_t;
    const I dx = std::abs(I(ex) - x), dy = std::abs(I(ey) - y);
    const int sx = x < ex ? 1 : -1, sy = y < ey ? 1 : -1;
    const bool xMajor = dx >= dy;
    const I n = std::max(dx, dy), m = std::min(dx, dy);
    if (n == 0 || clip.IsEmpty()) return n;
    // The offsets o from `from` in direction s for which from + s o lies in
    // [low, high).
    auto offsets = [](I from, int s, int low, int high, I& first, I& last) {
        first = s > 0 ? low - from : from - high + 1;
        last = s > 0 ? high - from : from - low + 1;
    };
    I first, last, minorFirst, minorLast;
    if (xMajor) {
        offsets(x, sx, clip.Left, clip.Right, first, last);
        offsets(y, sy, clip.Top, clip.Bottom, minorFirst, minorLast);
    } else {
        offsets(y, sy, clip.Top, clip.Bottom, first, last);
        offsets(x, sx, clip.Left, clip.Right, minorFirst, minorLast);
    }
    first = std::max<I>(first, 0);
    last = std::min(last, n);
    if (m == 0) {
        if (minorFirst > 0 || minorLast <= 0) return n;
    } else {
        // The first pixel whose minor offset reaches q.
        auto reaching = [&](I q) {
            const Int128 i = CeilDiv(Int128(2 * n) * q - n + 1, Int128(2 * m));
            return I(std::clamp<Int128>(i, 0, n));
        };
        first = std::max(first, reaching(minorFirst));
        last = std::min(last, reaching(minorLast));
    }
    if (first >= last) return n;
    const I minor = I(FloorDiv(Int128(2 * first) * m + n - 1, Int128(2 * n)));
    const I ax = xMajor ? first : minor, ay = xMajor ? minor : first;
    I px = x + sx * ax, py = y + sy * ay;
    // The walk's error term at that pixel, as the whole walk has it there.
    I err = I(Int128(dx) - dy - Int128(ax) * dy + Int128(ay) * dx);
    for (I i = first; i < last; ++i) {
        visit(int(px), int(py), i);
        const I e2 = 2 * err;
        if (e2 > -dy) {
            err -= dy;
            px += sx;
        }
        if (e2 < dx) {
            err += dx;
            py += sy;
        }
    }
    return n;
}

} // namespace tsb::canvas_detail
