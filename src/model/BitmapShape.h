// An element that shows one image of an image list at the list's size.
#pragma once

#include "model/MoveableShape.h"

namespace tsb {

class TImageList;

class TBitmapShape : public TMoveableShape {
    TSB_CLASS(TBitmapShape)
public:
    explicit TBitmapShape(TComponent* owner);

    TImageList* Images() const { return FImages; }
    // Takes the list's image size; the list is not owned and is forgotten
    // when it is destroyed.
    void SetImages(TImageList* images);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int index);

    void SetSelected(bool value) override;
    void Notification(TComponent* component, TOperation operation) override;
    void Paint() override;

private:
    TImageList* FImages = nullptr;
    int FImageIndex = 0;
};

} // namespace tsb
