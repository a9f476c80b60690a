// An invisible junction point: a small inverted dot, and a dotted frame
// while selected. Connectors treat it as a point at its centre.
#pragma once

#include "model/MoveableShape.h"

namespace tsb {

class THiddenShape : public TMoveableShape {
    TSB_CLASS(THiddenShape)
public:
    explicit THiddenShape(TComponent* owner);

    void SetSelected(bool value) override;
    void Paint() override;
};

} // namespace tsb
