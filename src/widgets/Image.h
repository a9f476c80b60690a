// A windowless control that shows a picture at its own size.
#pragma once

#include "graphics/Picture.h"
#include "widgets/Control.h"

namespace tsb {

class TImage : public TControl {
    TSB_CLASS(TImage)
public:
    explicit TImage(TComponent* owner);
    TPicture& Picture() { return FPicture; }
    const TPicture& Picture() const { return FPicture; }
    void Paint() override;

private:
    TPicture FPicture;
};

} // namespace tsb
