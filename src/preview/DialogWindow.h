// The plain window of the preview's small dialogs: centred on the screen,
// a dialog border without border icons, its controls placed in code.
#pragma once

#include <QDialog>
#include <functional>

namespace tsb {

class TDialogWindow : public QDialog {
    Q_OBJECT
public:
    TDialogWindow();

    // Sizes the window by its outer size (a classic dialog frame around the
    // client area) or by its client size, and centres it on the screen.
    void SetOuterSize(int width, int height);
    void SetClientSize(int width, int height);

    // What Esc does; by default the window closes as cancelled.
    std::function<void()> OnEscape;

protected:
    void reject() override;

private:
    void Centre();
};

} // namespace tsb
