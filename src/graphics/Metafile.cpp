#include "graphics/Metafile.h"

#include <algorithm>

namespace tsb {

TMetafile::TMetafile(int width, int height)
    : FWidth(std::max(1, width)), FHeight(std::max(1, height)) {
    FPicture.setBoundingRect(QRect(0, 0, FWidth, FHeight));
}

void TMetafile::Play(QPainter& painter, const QRect& target) const {
    if (target.isEmpty()) return;
    painter.save();
    painter.fillRect(target, Qt::white);
    if (Raster()) {
        // Shrinking averages the pixels a target pixel covers, so thin lines
        // stay visible; growing repeats pixels, so they stay sharp.
        if (target.width() < FWidth || target.height() < FHeight) {
            painter.drawImage(target.topLeft(), FImage.scaled(target.size(), Qt::IgnoreAspectRatio,
                                                              Qt::SmoothTransformation));
        } else {
            painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
            // PDF output keeps every pixel rather than compressing the page as JPEG.
            painter.setRenderHint(QPainter::LosslessImageRendering, true);
            painter.drawImage(target, FImage);
        }
        painter.restore();
        return;
    }
    painter.setClipRect(target, Qt::IntersectClip);
    // Shrunk, thin lines keep their weight only when smoothed.
    const bool shrunk = target.width() < FWidth || target.height() < FHeight;
    painter.setRenderHint(QPainter::Antialiasing, shrunk);
    painter.setRenderHint(QPainter::TextAntialiasing, shrunk);
    painter.translate(target.topLeft());
    // A picture plays back scaled from its own resolution to the device's;
    // the target alone sets the scale here.
    const QPaintDevice* device = painter.device();
    const double dpiX = double(FPicture.logicalDpiX()) / device->logicalDpiX();
    const double dpiY = double(FPicture.logicalDpiY()) / device->logicalDpiY();
    painter.scale(dpiX * target.width() / FWidth, dpiY * target.height() / FHeight);
    painter.setRenderHint(QPainter::LosslessImageRendering, true);
    painter.drawPicture(0, 0, FPicture);
    painter.restore();
}

TMetafileCanvas::TMetafileCanvas(TMetafile& page) : FPage(page) {
    auto shadow = std::make_unique<TRasterShadow>();
    shadow->Image = QImage(page.FWidth, page.FHeight, QImage::Format_RGB32);
    if (shadow->Image.isNull()) {
        // The commands alone still make the page.
        FPage.FShadowLost = true;
    } else {
        shadow->Image.fill(Qt::white);
        FShadow = std::move(shadow);
    }
    FPainter.begin(&FPage.FPicture);
    FPainter.setRenderHint(QPainter::LosslessImageRendering, true);
    BindPainter(&FPainter, {0, 0}, {0, 0, page.FWidth, page.FHeight}, FShadow.get());
}

TMetafileCanvas::~TMetafileCanvas() {
    EndPainter();
    Unbind();
    FPainter.end();
    if (FShadow && FShadow->InvertedDrawing) {
        // The screen's pixels, as vector commands cannot give them.
        FPage.FImage = std::move(FShadow->Image);
        FPage.FPicture = QPicture();
    }
}

} // namespace tsb
