#include "editor/RecoverForm.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tsb {

TRecoverDlg::TRecoverDlg(QWidget* parent, std::vector<TRecoveryCopy> copies)
    : QDialog(parent), FCopies(std::move(copies)) {
    setObjectName("RecoverDlg");
    setWindowTitle("Recover Unsaved Diagrams");
    resize(560, 300);
    Label1 = new QLabel("These diagrams had changes that were not saved:", this);
    Label1->setObjectName("Label1");
    CopyList = new QTreeWidget(this);
    CopyList->setObjectName("CopyList");
    CopyList->setAccessibleName("Unsaved diagrams");
    CopyList->setRootIsDecorated(false);
    CopyList->setHeaderLabels({"Diagram", "Last changed", "Elements"});
    // The name takes what is left; the time and the count (or the error)
    // show whole.
    CopyList->header()->setStretchLastSection(false);
    CopyList->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    CopyList->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    CopyList->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    Label1->setBuddy(CopyList);
    for (std::size_t i = 0; i < FCopies.size(); ++i) {
        const TRecoveryCopy& copy = FCopies[i];
        QString name =
            copy.FileName.isEmpty() ? QString("Untitled") : QFileInfo(copy.FileName).fileName();
        QString what = copy.Error.empty() ? QString::number(copy.Elements)
                                          : QString::fromStdString(copy.Error);
        auto* item = new QTreeWidgetItem(
            CopyList, {name, QLocale().toString(copy.Changed, QLocale::ShortFormat), what});
        item->setToolTip(0, copy.FileName.isEmpty() ? name : copy.FileName);
        item->setData(0, Qt::UserRole, qulonglong(i));
    }
    OpenBtn = new QPushButton("Open", this);
    OpenBtn->setObjectName("OpenBtn");
    DeleteBtn = new QPushButton("Delete", this);
    DeleteBtn->setObjectName("DeleteBtn");
    LaterBtn = new QPushButton("Later", this);
    LaterBtn->setObjectName("LaterBtn");
    LaterBtn->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {OpenBtn, DeleteBtn, LaterBtn})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(CopyList);
    layout->addLayout(buttons);

    connect(CopyList, &QTreeWidget::currentItemChanged, this, [this] { Follow(); });
    connect(CopyList, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (OpenBtn->isEnabled()) OpenBtn->click();
    });
    connect(OpenBtn, &QPushButton::clicked, this, [this] {
        FChosen = Current();
        if (FChosen) accept();
    });
    connect(DeleteBtn, &QPushButton::clicked, this, [this] { DeleteClick(); });
    connect(LaterBtn, &QPushButton::clicked, this, &QDialog::reject);
    if (CopyList->topLevelItemCount()) CopyList->setCurrentItem(CopyList->topLevelItem(0));
    Follow();
}

const TRecoveryCopy* TRecoverDlg::Current() const {
    QTreeWidgetItem* item = CopyList->currentItem();
    if (!item) return nullptr;
    return &FCopies[item->data(0, Qt::UserRole).toULongLong()];
}

void TRecoverDlg::Follow() {
    const TRecoveryCopy* copy = Current();
    // A copy that cannot be read can only go.
    OpenBtn->setEnabled(copy && copy->Error.empty());
    DeleteBtn->setEnabled(copy != nullptr);
}

void TRecoverDlg::DeleteClick() {
    const TRecoveryCopy* copy = Current();
    if (!copy) return;
    TRecoveryStore::Delete(*copy);
    delete CopyList->currentItem();
    Follow();
}

} // namespace tsb
