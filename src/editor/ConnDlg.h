// Connection settings: the sides a new connector joins and its colour. One
// instance serves the whole run, so each use starts with the last choices.
#pragma once

#include <QDialog>

class QPushButton;

namespace tsb {

class TRadioGroup;

class TConnDialog : public QDialog {
    Q_OBJECT
public:
    explicit TConnDialog(QWidget* parent = nullptr);

    // Shows the dialog centred on the screen and waits for it to close:
    // QDialog::Accepted for "OK", QDialog::Rejected for "Cancel", Escape or
    // closing the window.
    int ShowModal();

    // Items "Top", "Bottom", "Left", "Right".
    TRadioGroup* RadioGroup1; // side of the first element
    TRadioGroup* RadioGroup2; // side of the second element
    // Items "Black", "Red", "Blue", "Green".
    TRadioGroup* RadioGroup3;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
};

} // namespace tsb

namespace tsb {

// The one connection dialog of the run, created at program start and
// reused so it keeps its choices.
TConnDialog* ConnDialog();
void FreeConnDialog();

} // namespace tsb
