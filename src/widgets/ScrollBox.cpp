#include "widgets/ScrollBox.h"

namespace tsb {

TScrollBox::TScrollBox(TComponent* owner) : TWinControl(owner) {
    Color = clWindow;
}

} // namespace tsb
