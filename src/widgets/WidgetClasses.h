// Published properties of the framework classes the diagram stream uses: the
// windowless control base and the scroll box (the work area).
#pragma once

#include "core/Idents.h"

namespace tsb {

extern const TIdentTable BorderStyleIdents;

// Tag, Left, Top, Width, Height, Cursor, Hint: the properties every control
// publishes first. Not a registered class.
const TClassInfo& ControlClassInfo();
const TClassInfo& ScrollBoxClassInfo();

} // namespace tsb
