// Picture elements: a picture of any format the picture object holds, framed
// by one pixel on each side and never scaled; and the thumbnail, whose
// caption shows the picture's file name.
#pragma once

#include <memory>
#include <string>

#include "model/MoveableShape.h"

namespace tsb {

class TPicture;

class TGraphicShape : public TMoveableShape {
    TSB_CLASS(TGraphicShape)
public:
    explicit TGraphicShape(TComponent* owner);
    ~TGraphicShape() override;

    // The owned picture; every change of its content resizes the element.
    TPicture& Image() const { return *FPicture; }
    // Copies the given picture into the owned one.
    void SetImage(const TPicture& picture);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);

    void SetSelected(bool value) override;
    void Paint() override;

protected:
    void BeforeDestruction() override;

private:
    void PictureChanged();
    void FitPicture();

    std::unique_ptr<TPicture> FPicture;
    bool FTransparent = false;
    // Set while painting hands the Transparent flag to the graphic.
    bool FSyncingGraphic = false;
};

class TThumbNailShape : public TGraphicShape {
    TSB_CLASS(TThumbNailShape)
public:
    explicit TThumbNailShape(TComponent* owner);

    const std::string& ImageName() const { return FImageName; }
    // Shows the file-name part of the path in the caption. The picture is
    // not loaded from it.
    void SetImageName(const std::string& name);

private:
    std::string FImageName;
};

// The part of a path after its last path or drive delimiter.
std::string ExtractFileName(const std::string& path);

} // namespace tsb
