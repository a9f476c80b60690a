#include "platform/Image.h"

#include <QPainter>

namespace tsb {

TImage::TImage(TComponent* owner) : TControl(owner) {
    FPicture.OnChange = [this] { Invalidate(); };
}

void TImage::Paint() {
    TGraphic* graphic = FPicture.Graphic();
    if (!graphic) return;
    if (QPainter* p = Canvas()->BeginPainter()) {
        graphic->Draw(*p, 0, 0);
        Canvas()->EndPainter();
    }
}

} // namespace tsb
