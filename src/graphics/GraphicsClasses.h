// Published properties of the font and the picture, the sub-objects the
// diagram stream writes as Font.* and Image.* entries.
#pragma once

#include "core/Idents.h"

namespace tsb {

extern const TIdentTable FontPitchIdents;
extern const TIdentTable FontStyleIdents;

// Sub-object class of Font.* entries. Not a component class.
const TClassInfo& FontClassInfo();
// Sub-object class of Image.* entries: Data, the picture data record, written
// when the picture holds a graphic.
const TClassInfo& PictureClassInfo();

} // namespace tsb
