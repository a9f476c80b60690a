#include "editor/SizeEnterForm.h"

#include <QLabel>
#include <QPushButton>
#include <memory>

#include "controls/LongEdit.h"
#include "graphics/Font.h"
#include "widgets/Application.h"

namespace tsb {

TSizeDialog::TSizeDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("SizeDialog");
    setWindowTitle(QString());
    setFont(TFont().ToQFont());
    setFixedSize(231, 172);
    move(695, 494);

    TFont large;
    large.SetHeight(-13);
    const QFont largeFont = large.ToQFont();

    Label1 = new QLabel("Work Area Width:", this);
    Label1->setObjectName("Label1");
    Label1->setFont(largeFont);
    Label1->move(16, 27);
    Label1->adjustSize();

    Label2 = new QLabel("Work Area Height:", this);
    Label2->setObjectName("Label2");
    Label2->setFont(largeFont);
    Label2->move(11, 67);
    Label2->adjustSize();

    LongEdit1 = new TLongEdit(this);
    LongEdit1->setObjectName("LongEdit1");
    LongEdit1->setFont(largeFont);
    LongEdit1->SetBounds(136, 24, 60, 22);

    LongEdit2 = new TLongEdit(this);
    LongEdit2->setObjectName("LongEdit2");
    LongEdit2->setFont(largeFont);
    LongEdit2->SetBounds(136, 64, 60, 22);

    BitBtn1 = new QPushButton("&Ok", this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setGeometry(32, 104, 75, 25);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { Guarded([this] { BitBtn1Click(); }); });

    BitBtn2 = new QPushButton("&Cancel", this);
    BitBtn2->setObjectName("BitBtn2");
    BitBtn2->setGeometry(120, 104, 75, 25);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(LongEdit1, LongEdit2);
    setTabOrder(LongEdit2, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);
    LongEdit1->setFocus();
}

void TSizeDialog::BitBtn1Click() {
    // The button may close the dialog without the focus leaving an edit.
    if (!LongEdit1->Commit() || !LongEdit2->Commit()) return;
    accept();
}

bool TSizeDialog::EnterSize(int& width, int& height) {
    auto dialog = std::make_unique<TSizeDialog>();
    dialog->LongEdit1->SetValue(width);
    dialog->LongEdit2->SetValue(height);
    if (dialog->exec() != QDialog::Accepted) return false;
    width = dialog->LongEdit1->Value();
    height = dialog->LongEdit2->Value();
    return true;
}

} // namespace tsb
