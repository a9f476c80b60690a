// Asks for the width and height of the work area.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace tsb {

class TLongEdit;

class TSizeDialog : public QDialog {
    Q_OBJECT
public:
    explicit TSizeDialog(QWidget* parent = nullptr);

    // Shows width and height for editing; on "&Ok" both get the numbers
    // entered, on "&Cancel" (or Escape, or closing the window) both stay.
    // Returns whether "&Ok" was pressed.
    static bool EnterSize(int& width, int& height);

    // "&Ok": takes the text still being typed as the number first. Text that
    // is not a whole number throws the edit's conversion error and a refused
    // number beeps; either way the dialog stays open.
    void BitBtn1Click();

    QLabel* Label1;
    QLabel* Label2;
    TLongEdit* LongEdit1; // width
    TLongEdit* LongEdit2; // height
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
};

} // namespace tsb
