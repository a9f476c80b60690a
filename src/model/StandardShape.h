// The standard shape: rectangle, square, rounded rectangle or square,
// ellipse or circle, outlined by inverting what lies under it.
#pragma once

#include <cstdint>

#include "model/SizeableShape.h"

namespace tsb {

enum TShapeType : std::uint8_t {
    stRectangle,
    stSquare,
    stRoundRect,
    stRoundSquare,
    stEllipse,
    stCircle
};

class TStandardShape : public TSizeableShape {
    TSB_CLASS(TStandardShape)
public:
    explicit TStandardShape(TComponent* owner);

    TShapeType ShapeType() const { return FShapeType; }
    void SetShapeType(TShapeType type);
    // The pen colour of the outline; the outline inverts, so it does not
    // change the look. Setting it does not repaint.
    TColor LineColour = clBlack;

    void Paint() override;

private:
    TShapeType FShapeType = stRectangle;
};

} // namespace tsb
