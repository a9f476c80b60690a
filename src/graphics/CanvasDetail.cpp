#include "graphics/CanvasDetail.h"

namespace tsb::canvas_detail {

const std::vector<int>& StylePattern(TPenStyle style) {
    static const std::vector<int> dash{18, 6};
    static const std::vector<int> dot{3, 3};
    static const std::vector<int> dashDot{9, 6, 3, 6};
    static const std::vector<int> dashDotDot{9, 3, 3, 3, 3, 3};
    static const std::vector<int> none;
    switch (style) {
    case psDash:
        return dash;
    case psDot:
        return dot;
    case psDashDot:
        return dashDot;
    case psDashDotDot:
        return dashDotDot;
    default:
        return none;
    }
}

bool StyleOn(TPenStyle style, std::int64_t step) {
    const auto& pattern = StylePattern(style);
    if (pattern.empty()) return true;
    int period = 0;
    for (int n : pattern)
        period += n;
    std::int64_t at = step % period;
    if (at < 0) at += period;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (at < pattern[i]) return i % 2 == 0;
        at -= pattern[i];
    }
    return true;
}

TEllipse::TEllipse(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b)
    : FSumX(l + r), FSumY(t + b), FW(r - l), FH(b - t) {
    const Wide w = FW > 0 ? Wide(FW) : 0, h = FH > 0 ? Wide(FH) : 0;
    FW2 = w * w;
    FH2 = h * h;
    FW2H2 = FW2 * FH2;
    FSmall = FW <= 32767 && FH <= 32767;
}

bool TEllipse::Contains(std::int64_t x, std::int64_t y) const {
    if (FW <= 0 || FH <= 0) return false;
    // The centre's offsets from the middle, in half pixels.
    const std::int64_t ex = std::abs(2 * x + 1 - FSumX), ey = std::abs(2 * y + 1 - FSumY);
    if (ex > FW || ey > FH) return false;
    // ex^2 h^2 + ey^2 w^2 <= w^2 h^2: below 2^61 for small boxes; else
    // rearranged so that no term exceeds w^2 h^2 < 2^128.
    if (FSmall) {
        const std::int64_t w2 = std::int64_t(FW2), h2 = std::int64_t(FH2);
        return ex * ex * h2 + ey * ey * w2 <= std::int64_t(FW2H2);
    }
    const Wide wx = Wide(ex), wy = Wide(ey);
    return wx * wx * FH2 <= FW2H2 - wy * wy * FW2;
}

bool DotsInClip(int x, int y, int count, int step, TPoint origin, const TRect& clip, int& first,
                int& last, int& row) {
    const std::int64_t dx = std::int64_t(x) + origin.X, dy = std::int64_t(y) + origin.Y;
    if (count <= 0 || step <= 0 || dy < clip.Top || dy >= clip.Bottom) return false;
    // The first dot at or after the clip's left edge, the last before its
    // right edge.
    if (clip.Right - 1 - dx < 0) return false;
    const std::int64_t from = std::max<std::int64_t>(0, (clip.Left - dx + step - 1) / step);
    const std::int64_t to = std::min<std::int64_t>(count - 1, (clip.Right - 1 - dx) / step);
    if (from > to) return false;
    first = int(dx + from * step);
    last = int(dx + to * step);
    row = int(dy);
    return true;
}

} // namespace tsb::canvas_detail
