// A regular polygon inscribed in the element's ellipse, its first vertex at
// the top centre, outlined by inverting what lies under it.
#pragma once

#include <cstdint>
#include <vector>

#include "model/SizeableShape.h"

namespace tsb {

class TRegularPolygonShape : public TSizeableShape {
    TSB_CLASS(TRegularPolygonShape)
public:
    explicit TRegularPolygonShape(TComponent* owner);

    std::uint8_t Sides() const { return FSides; }
    void SetSides(std::uint8_t sides);
    // Pen colour of the outline; setting it does not repaint.
    TColor LineColour = clBlack;

    // The vertices in client coordinates, counter-clockwise on the screen
    // from the top centre.
    std::vector<TPoint> Vertices() const;

    void Paint() override;

private:
    std::uint8_t FSides = 4;
};

// Nearest integer, halves to the even neighbour.
int RoundHalfEven(double v);

} // namespace tsb
