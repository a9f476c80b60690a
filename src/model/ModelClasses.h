// Published properties of the element classes and the registration of every
// class the diagram stream can create.
#pragma once

#include "platform/ClassInfo.h"

namespace tsb {

extern const TIdentTable ShapeTypeIdents;
extern const TIdentTable ConnectionSideIdents;
extern const TIdentTable ArrowStyleIdents;
extern const TIdentTable PenStyleIdents;

const TClassInfo& CustomShapeClassInfo();
const TClassInfo& MoveableShapeClassInfo();
const TClassInfo& SizeableShapeClassInfo();
const TClassInfo& TextShapeClassInfo();

// Registers the element classes in their fixed order, then the work area's
// class and the plain diagram root. Safe to call more than once.
void RegisterModelClasses();

} // namespace tsb
