#include "widgets/Image.h"

#include <QPainter>

namespace tsb {

TImage::TImage(TComponent* owner) : TControl(owner) {
    FPicture.OnChange = [this] { Invalidate(); };
}

void TImage::Paint() {
    TGraphic* graphic = FPicture.Graphic();
    if (!graphic) return;
    Canvas()->Draw(0, 0, *graphic);
}

} // namespace tsb
