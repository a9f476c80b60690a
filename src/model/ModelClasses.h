// Published properties of the element classes and the registration of every
// class the diagram stream can create.
#pragma once

#include "core/ClassInfo.h"

namespace tsb {

extern const TIdentTable ShapeTypeIdents;
extern const TIdentTable ConnectionSideIdents;
extern const TIdentTable ArrowStyleIdents;
extern const TIdentTable PenStyleIdents;

const TClassInfo& CustomShapeClassInfo();
const TClassInfo& MoveableShapeClassInfo();
const TClassInfo& SizeableShapeClassInfo();
const TClassInfo& HiddenShapeClassInfo();
const TClassInfo& BitmapShapeClassInfo();
const TClassInfo& GraphicShapeClassInfo();
const TClassInfo& ThumbNailShapeClassInfo();
const TClassInfo& TextShapeClassInfo();
const TClassInfo& StandardShapeClassInfo();
const TClassInfo& RegularPolygonShapeClassInfo();
// The end of a connector: a sub-object, not a component class.
const TClassInfo& ConnectionClassInfo();
const TClassInfo& ConnectorClassInfo();
const TClassInfo& LineConnectorClassInfo();
const TClassInfo& SingleHeadArrowClassInfo();
const TClassInfo& BluntSingleHeadArrowClassInfo();
const TClassInfo& DoubleHeadArrowClassInfo();

// Widest connector line a stream may give.
constexpr std::int64_t MaxLineWidth = 1000;

// Registers the element classes in their fixed order, then the work area's
// class and the plain diagram root. Safe to call more than once.
void RegisterModelClasses();

} // namespace tsb
