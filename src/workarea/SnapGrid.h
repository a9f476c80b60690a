// The dot grid behind every element of the work area, and the snapping rule
// the editor applies to placed and released elements.
#pragma once

#include "widgets/Control.h"

namespace tsb {

class TSnapGrid : public TControl {
    TSB_CLASS(TSnapGrid)
public:
    explicit TSnapGrid(TComponent* owner);

    int GridSize() const { return FGridSize; }
    // Sizes below 1 are ignored: snapping divides by the size.
    void SetGridSize(int size);
    bool ShowGrid() const { return FShowGrid; }
    void SetShowGrid(bool on);
    bool SnapToGrid = true;

    // Rounds each coordinate down to a grid multiple when snapping is on.
    void SnapPoint(int& x, int& y) const;
    // Snaps the control's top, then, as a second change, its left.
    void SnapControl(TControl* control) const;

    void Paint() override;

private:
    int FGridSize = 10;
    bool FShowGrid = true;
};

} // namespace tsb
