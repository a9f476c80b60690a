// Elements that the user drags with the mouse, kept inside the container.
#pragma once

#include "model/CustomShape.h"

namespace tsb {

class TMoveableShape : public TCustomShape {
    TSB_CLASS(TMoveableShape)
public:
    explicit TMoveableShape(TComponent* owner);

    bool Moving = false;
    TPoint MoveOrigin;

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

    // Clears the axis of a step that would take the element further beyond
    // an edge of its container.
    virtual void LimitMove(int& dx, int& dy);
    void MoveBy(int dx, int dy);
    // Moves every selected moveable element of the container by one shared
    // step, limited by all of them before any moves.
    void MoveSelected(int dx, int dy);

protected:
    void BeginMove(int x, int y);
    void EndMove();
    void BeforeDestruction() override;
};

// The frame that marks a selected junction or picture element: a closed
// dotted line along the edge of the client area, inverting (pmNot) when shown
// and drawing nothing (pmNop) otherwise. Leaves the brush clear.
void DrawDottedFrame(TCanvas& canvas, int width, int height, bool shown);

} // namespace tsb
