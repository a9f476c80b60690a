#include "platform/Metafile.h"

#include <QPainter>
#include <algorithm>

#include "platform/WinControl.h"

namespace tsb {

TMetafile::TMetafile(int width, int height)
    : FWidth(std::max(1, width)), FHeight(std::max(1, height)),
      FImage(FWidth, FHeight, QImage::Format_RGB32) {
    FImage.fill(Qt::white);
}

void TMetafile::Play(QPainter& painter, const QRect& target) const {
    if (target.isEmpty()) return;
    // Shrinking averages the pixels a target pixel covers, so thin lines
    // stay visible; growing repeats pixels, so they stay sharp.
    if (target.width() < FWidth || target.height() < FHeight) {
        painter.drawImage(target.topLeft(), FImage.scaled(target.size(), Qt::IgnoreAspectRatio,
                                                          Qt::SmoothTransformation));
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // PDF output keeps every pixel rather than compressing the page as JPEG.
    painter.setRenderHint(QPainter::LosslessImageRendering, true);
    painter.drawImage(target, FImage);
    painter.restore();
}

TMetafileCanvas::TMetafileCanvas(TMetafile& page) : FPage(page) {
    Bind(&FPage.FImage);
}

void TMetafileCanvas::DrawControl(TWinControl& control, int x, int y) {
    control.PaintTo(FPage.FImage, Origin().X + x, Origin().Y + y);
}

} // namespace tsb
