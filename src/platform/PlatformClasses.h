// Published properties of the framework classes the diagram stream uses: the
// windowless control base, the scroll box (the work area) and the font; and
// the identifier tables of named integer values and enumerations.
#pragma once

#include "platform/ClassInfo.h"

namespace tsb {

// Largest position or size of a control a stream may give.
constexpr std::int64_t CoordinateLimit = 1000000;

extern const TIdentTable ColourIdents;
extern const TIdentTable CharsetIdents;
extern const TIdentTable CursorIdents;
extern const TIdentTable AlignIdents;
extern const TIdentTable BorderStyleIdents;
extern const TIdentTable FontPitchIdents;
extern const TIdentTable FontStyleIdents;

// Tag, Left, Top, Width, Height, Cursor, Hint: the properties every control
// publishes first. Not a registered class.
const TClassInfo& ControlClassInfo();
const TClassInfo& ScrollBoxClassInfo();
// Sub-object class of Font.* entries. Not a component class.
const TClassInfo& FontClassInfo();
// Sub-object class of Image.* entries: Data, the picture data record, written
// when the picture holds a graphic.
const TClassInfo& PictureClassInfo();

} // namespace tsb
