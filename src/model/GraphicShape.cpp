#include "model/GraphicShape.h"

#include <QPainter>

#include "graphics/Picture.h"
#include "model/TextShape.h"

namespace tsb {

TGraphicShape::TGraphicShape(TComponent* owner)
    : TMoveableShape(owner), FPicture(std::make_unique<TPicture>()) {
    FPicture->OnChange = [this] { PictureChanged(); };
    SetBounds(Left(), Top(), 60, 70);
}

TGraphicShape::~TGraphicShape() = default;

void TGraphicShape::BeforeDestruction() {
    FPicture->OnChange = nullptr;
    TMoveableShape::BeforeDestruction();
}

void TGraphicShape::FitPicture() {
    // A picture kept only as data has no size: the element keeps its own.
    const TGraphic* graphic = FPicture->Graphic();
    if (!graphic || graphic->SizeKnown())
        SetBounds(Left(), Top(), FPicture->Width() + 2, FPicture->Height() + 2);
    Invalidate();
}

void TGraphicShape::PictureChanged() {
    if (FSyncingGraphic) return;
    FitPicture();
    PlaceCaption();
}

void TGraphicShape::SetImage(const TPicture& picture) {
    if (&picture != FPicture.get()) FPicture->Assign(picture);
    FitPicture();
}

void TGraphicShape::SetTransparent(bool value) {
    if (value == FTransparent) return;
    FTransparent = value;
    Invalidate();
}

void TGraphicShape::SetSelected(bool value) {
    if (value == Selected()) return;
    TMoveableShape::SetSelected(value);
    Invalidate();
}

void TGraphicShape::Paint() {
    if (!Parent()) return;
    TCanvas* canvas = Canvas();
    DrawDottedFrame(*canvas, Width(), Height(), Selected());
    TGraphic* graphic = FPicture->Graphic();
    if (!graphic) return;
    if (!graphic->SizeKnown()) {
        // A picture this program cannot draw: an empty frame where it lies.
        canvas->Pen.Mode = pmCopy;
        canvas->Pen.Style = psSolid;
        canvas->Pen.Width = 1;
        canvas->Pen.Color = clGray;
        canvas->Brush.Style = bsClear;
        canvas->Rectangle(1, 1, Width() - 1, Height() - 1);
        return;
    }
    if (graphic->Transparent() != FTransparent) {
        // Only how the graphic draws changes, not its size.
        FSyncingGraphic = true;
        graphic->SetTransparent(FTransparent);
        FSyncingGraphic = false;
    }
    canvas->Draw(1, 1, *graphic);
}

TThumbNailShape::TThumbNailShape(TComponent* owner) : TGraphicShape(owner) {
    SetBounds(Left(), Top(), 120, 120);
}

void TThumbNailShape::SetImageName(const std::string& name) {
    if (name == FImageName) return;
    FImageName = name;
    if (Caption()) Caption()->SetText(ExtractFileName(name));
}

std::string ExtractFileName(const std::string& path) {
    std::size_t cut = path.find_last_of("/\\:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

} // namespace tsb
