#include "editor/CaptionPosForm.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <memory>

#include "graphics/Font.h"

namespace tsb {

TCaptionPosDlg::TCaptionPosDlg(QWidget* parent) : QDialog(parent) {
    setObjectName("CaptionPosDlg");
    setWindowTitle("Change Caption Position");
    setFont(TFont().ToQFont());
    setFixedSize(257, 133);
    move(730, 201);

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName("GroupBox1");
    GroupBox1->setGeometry(8, 6, 233, 57);

    // Both buttons share the frame, so checking one unchecks the other.
    RadioButton1 = new QRadioButton("Caption at top of graphic", GroupBox1);
    RadioButton1->setObjectName("RadioButton1");
    RadioButton1->setGeometry(24, 12, 185, 17);
    RadioButton2 = new QRadioButton("Caption at bottom of graphic", GroupBox1);
    RadioButton2->setObjectName("RadioButton2");
    RadioButton2->setGeometry(24, 28, 185, 17);

    BitBtn1 = new QPushButton("Ok", this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setGeometry(87, 70, 75, 25);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

bool TCaptionPosDlg::ChoosePosition(bool& atBottom) {
    auto dialog = std::make_unique<TCaptionPosDlg>();
    dialog->RadioButton1->setChecked(true);
    if (atBottom) dialog->RadioButton2->setChecked(true);
    if (dialog->exec() != QDialog::Accepted) return false;
    atBottom = dialog->RadioButton2->isChecked();
    return true;
}

} // namespace tsb
