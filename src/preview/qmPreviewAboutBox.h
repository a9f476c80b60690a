// The preview's about box: the component's name, maker, version and rights.
// Built in code. Its window is the "qmAboutBox" the program's about box is
// too; the two classes have names of their own.
#pragma once

#include "core/Component.h"

class QFrame;
class QLabel;
class QPushButton;

namespace tsb {

class TDialogWindow;

class TqmPreviewAboutBox : public TComponent {
    TSB_CLASS(TqmPreviewAboutBox)
public:
    explicit TqmPreviewAboutBox(TComponent* owner);
    ~TqmPreviewAboutBox() override;

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

} // namespace tsb
