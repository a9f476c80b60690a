// Elements with eight selection handles that resize them by dragging.
#pragma once

#include "model/MoveableShape.h"

namespace tsb {

class TSizeableShape : public TMoveableShape {
    TSB_CLASS(TSizeableShape)
public:
    explicit TSizeableShape(TComponent* owner);

    // Handle under the pointer or being dragged; 8 means none.
    int ActiveHandle = 8;
    TPoint LastPoint;
    int HandleHeight = 5;
    int HandleWidth = 5;
    int MinHeight = 15;
    int MinWidth = 15;

    void SetSelected(bool value) override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

    TRect HandleRect(int n) const;
    void PaintHandles();
    void HitTestHandles(int x, int y);
    virtual void ResizeTo(int x, int y);
};

} // namespace tsb
