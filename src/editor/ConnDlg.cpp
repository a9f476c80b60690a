#include "editor/ConnDlg.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

#include "controls/RadioGroup.h"
#include "graphics/Font.h"

namespace tsb {

namespace {

TRadioGroup* NewRadioGroup(QWidget* parent, const char* name, const QString& caption,
                           const QStringList& items, QRect bounds) {
    auto* group = new TRadioGroup(parent);
    group->setObjectName(name);
    group->setTitle(caption);
    group->setGeometry(bounds);
    group->SetItems(items);
    return group;
}

} // namespace

TConnDialog::TConnDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("ConnDialog");
    setWindowTitle("Connection Settings");
    setFont(TFont().ToQFont());
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(305, 182);

    const QStringList sides{"Top", "Bottom", "Left", "Right"};
    RadioGroup1 = NewRadioGroup(this, "RadioGroup1", " Connect From: ", sides, {16, 8, 129, 81});
    RadioGroup1->SetItemIndex(0);
    RadioGroup2 = NewRadioGroup(this, "RadioGroup2", " Connect To: ", sides, {160, 8, 129, 81});
    RadioGroup2->SetItemIndex(1);
    RadioGroup3 = NewRadioGroup(this, "RadioGroup3", "Connector Color",
                                {"Black", "Red", "Blue", "Green"}, {16, 96, 273, 41});
    RadioGroup3->SetColumns(4);
    RadioGroup3->SetItemIndex(0);

    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setGeometry(59, 148, 75, 25);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);

    CancelBtn = new QPushButton("Cancel", this);
    CancelBtn->setObjectName("CancelBtn");
    CancelBtn->setGeometry(171, 148, 75, 25);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

int TConnDialog::ShowModal() {
    if (QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    return exec() == QDialog::Accepted ? QDialog::Accepted : QDialog::Rejected;
}

} // namespace tsb

namespace tsb {

namespace {
TConnDialog* gConnDialog = nullptr;
}

TConnDialog* ConnDialog() {
    if (!gConnDialog) gConnDialog = new TConnDialog;
    return gConnDialog;
}

void FreeConnDialog() {
    delete gConnDialog;
    gConnDialog = nullptr;
}

} // namespace tsb
