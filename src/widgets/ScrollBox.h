// The framework's scroll box: a windowed container with a border style and
// scrolling settings. The editor's work area is one.
#pragma once

#include "widgets/WinControl.h"

namespace tsb {

enum TBorderStyle : std::uint8_t { bsNone, bsSingle };

class TScrollBox : public TWinControl {
    TSB_CLASS(TScrollBox)
public:
    explicit TScrollBox(TComponent* owner);

    bool AutoScroll = true;
    TBorderStyle BorderStyle = bsSingle;
    bool ParentColor = false;
    int TabOrder = 0;
};

} // namespace tsb
