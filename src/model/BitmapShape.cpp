#include "model/BitmapShape.h"

#include "graphics/ImageList.h"

namespace tsb {

TBitmapShape::TBitmapShape(TComponent* owner) : TMoveableShape(owner) {}

void TBitmapShape::SetImages(TImageList* images) {
    if (images == FImages) return;
    if (FImages) RemoveFreeNotification(FImages);
    FImages = images;
    // Another list of the same size keeps the bounds; show the change anyway.
    Invalidate();
    if (!FImages) return;
    FreeNotification(FImages);
    SetBounds(Left(), Top(), FImages->Width(), FImages->Height());
}

void TBitmapShape::SetImageIndex(int index) {
    if (index == FImageIndex) return;
    FImageIndex = index;
    Invalidate();
}

void TBitmapShape::SetSelected(bool value) {
    if (value == Selected()) return;
    TMoveableShape::SetSelected(value);
    Invalidate();
}

void TBitmapShape::Notification(TComponent* component, TOperation operation) {
    TMoveableShape::Notification(component, operation);
    if (operation == opRemove && component == static_cast<TComponent*>(FImages)) {
        FImages = nullptr;
        Invalidate();
    }
}

void TBitmapShape::Paint() {
    if (!Parent() || !FImages || FImageIndex < 0 || FImageIndex >= FImages->Count()) return;
    TCanvas* canvas = Canvas();
    DrawDottedFrame(*canvas, Width(), Height(), Selected());
    FImages->Draw(*canvas, 0, 0, FImageIndex);
}

} // namespace tsb
