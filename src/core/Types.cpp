#include "core/Types.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace tsb {

TRect TRect::Intersect(const TRect& r) const {
    TRect out{std::max(Left, r.Left), std::max(Top, r.Top), std::min(Right, r.Right),
              std::min(Bottom, r.Bottom)};
    if (out.IsEmpty()) return {};
    return out;
}

TRect TRect::Union(const TRect& r) const {
    if (IsEmpty()) return r;
    if (r.IsEmpty()) return *this;
    return {std::min(Left, r.Left), std::min(Top, r.Top), std::max(Right, r.Right),
            std::max(Bottom, r.Bottom)};
}

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    long long num = static_cast<long long>(a) * b;
    long long den = c;
    bool negative = (num < 0) != (den < 0);
    unsigned long long n = static_cast<unsigned long long>(num < 0 ? -num : num);
    unsigned long long d = static_cast<unsigned long long>(den < 0 ? -den : den);
    unsigned long long q = (n + d / 2) / d;
    long long result = negative ? -static_cast<long long>(q) : static_cast<long long>(q);
    if (result > 0x7FFFFFFFLL || result < -0x80000000LL) return -1;
    return static_cast<int>(result);
}

namespace {
// The classic system palette, so drawings look alike on every desktop theme.
constexpr std::uint32_t kSystemColors[25] = {
    0xC8C8C8, // scroll bar
    0x000000, // background
    0x0A246A, // active caption
    0x808080, // inactive caption
    0xD4D0C8, // menu
    0xFFFFFF, // window
    0x000000, // window frame
    0x000000, // menu text
    0x000000, // window text
    0xFFFFFF, // caption text
    0xD4D0C8, // active border
    0xD4D0C8, // inactive border
    0x808080, // application work space
    0x0A246A, // highlight
    0xFFFFFF, // highlight text
    0xD4D0C8, // button face
    0x808080, // button shadow
    0x808080, // grey text
    0x000000, // button text
    0xD4D0C8, // inactive caption text
    0xFFFFFF, // button highlight
    0x404040, // 3D dark shadow
    0xD4D0C8, // 3D light
    0x000000, // info text
    0xFFFFE1, // info background
};
} // namespace

std::uint32_t ColorToRGB(TColor color) {
    std::uint32_t c = static_cast<std::uint32_t>(color);
    if (c & 0x80000000u) {
        unsigned index = c & 0xFF;
        return index < 25 ? kSystemColors[index] : 0;
    }
    if (color == clNone) return 0;
    // 0x00BBGGRR -> 0x00RRGGBB
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

std::string ColorToHex(TColor color) {
    char out[8];
    std::snprintf(out, sizeof out, "#%06X", static_cast<unsigned>(ColorToRGB(color) & 0xFFFFFF));
    return out;
}

} // namespace tsb
