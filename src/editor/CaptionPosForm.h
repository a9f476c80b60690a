// Asks whether a picture's caption goes above or below it.
#pragma once

#include <QDialog>

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace tsb {

class TCaptionPosDlg : public QDialog {
    Q_OBJECT
public:
    explicit TCaptionPosDlg(QWidget* parent = nullptr);

    // Shows the choice with the bottom checked when atBottom is set. On "Ok"
    // atBottom becomes whether the bottom is checked; closing the window any
    // other way leaves it. Returns whether "Ok" was pressed.
    static bool ChoosePosition(bool& atBottom);

    QGroupBox* GroupBox1;
    QRadioButton* RadioButton1; // "Caption at top of graphic"
    QRadioButton* RadioButton2; // "Caption at bottom of graphic"
    QPushButton* BitBtn1;
};

} // namespace tsb
