// The preview's about box: the component's name, maker, version and rights.
// Built in code. The program has an about box of the same class name; this
// one lives in the preview's own namespace.
#pragma once

#include "core/Component.h"

class QFrame;
class QLabel;
class QPushButton;

namespace tsb {
class TDialogWindow;
}

namespace tsb::preview {

class TqmAboutBox : public TComponent {
    TSB_CLASS(TqmAboutBox)
public:
    explicit TqmAboutBox(TComponent* owner);
    ~TqmAboutBox() override;

    TDialogWindow* Window = nullptr;
    QFrame* Panel = nullptr;
    QLabel* TitleLabel = nullptr;
    QLabel* MakerLabel = nullptr;
    QLabel* VersionLabel = nullptr;
    QLabel* RightsLabel = nullptr;
    QPushButton* OkButton = nullptr;

    // Shows the window modally; always true.
    bool Execute();
};

} // namespace tsb::preview
