// The identifier tables of the named integer values streams share: colours,
// character sets, cursors and alignments; and the largest coordinate a
// stream may give.
#pragma once

#include "core/ClassInfo.h"

namespace tsb {

// Largest position or size of a control a stream may give.
constexpr std::int64_t CoordinateLimit = 1000000;

extern const TIdentTable ColourIdents;
extern const TIdentTable CharsetIdents;
extern const TIdentTable CursorIdents;
extern const TIdentTable AlignIdents;

} // namespace tsb
