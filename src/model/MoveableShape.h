// Elements that the user drags with the mouse, kept inside the container.
#pragma once

#include <cstdint>
#include <vector>

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
    // The end of a move drag: captions go back to their places, and an
    // element now covered by this one comes to the front.
    void ReleaseWalk(TWinControl* container);
    void BeforeDestruction() override;

private:
    // The selected moveable elements of the container in child order, as
    // the last step found them; found again once the children, their order
    // or any selection changed. A drag's steps then cost what they move.
    struct TMoveSet {
        const TWinControl* Container = nullptr;
        std::uint64_t ChildVersion = 0;
        std::uint64_t SelectionEpoch = 0;
        std::vector<TMoveableShape*> Items;
    };
    const std::vector<TMoveableShape*>& SelectedInContainer(TWinControl* container);
    TMoveSet FMoveSet;
};

// The frame that marks a selected junction or picture element: a closed
// dotted line along the edge of the client area, inverting (pmNot) when shown
// and drawing nothing (pmNop) otherwise. Leaves the brush clear.
void DrawDottedFrame(TCanvas& canvas, int width, int height, bool shown);

} // namespace tsb
