#include "preview/qmGoPageForm.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "controls/LongEdit.h"
#include "graphics/Font.h"
#include "preview/DialogWindow.h"
#include "widgets/Application.h"

namespace tsb {

namespace {

QLabel* AddLabel(QWidget* parent, const char* name, const char* text, int left, int top) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->move(left, top);
    label->adjustSize();
    return label;
}

QPushButton* AddButton(QWidget* parent, const char* name, const char* text,
                       QStyle::StandardPixmap glyph, int left) {
    auto* button = new QPushButton(QApplication::style()->standardIcon(glyph), text, parent);
    button->setObjectName(name);
    button->setGeometry(left, 56, 67, 25);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TqmGoPageForm::TqmGoPageForm(TComponent* owner) : TComponent(owner) {
    Window = new TDialogWindow;
    Window->setObjectName("qmGoPageForm");
    Window->setWindowTitle("Go To Page");
    Window->setFont(TFont().ToQFont());
    Window->SetOuterSize(239, 118);

    PageLabel = AddLabel(Window, "PageLabel", "&Page:", 16, 24);
    PageEdit = new TLongEdit(Window);
    PageEdit->setObjectName("PageEdit");
    PageEdit->setAccessibleName("Page");
    PageEdit->SetBounds(64, 19, 60, 22);
    PageEdit->SetValue(1);
    PageLabel->setBuddy(PageEdit);
    OfLabel = AddLabel(Window, "OfLabel", "of", 152, 24);
    CountLabel = AddLabel(Window, "CountLabel", "1", 184, 24);

    OkButton = AddButton(Window, "OkButton", "&Ok", QStyle::SP_DialogOkButton, 34);
    OkButton->setAccessibleName("Ok");
    // The Ok kind of button is the window's default: Enter confirms.
    OkButton->setDefault(true);
    QObject::connect(OkButton, &QPushButton::clicked, Window,
                     [this] { Guarded([this] { OkClick(); }); });
    CancelButton = AddButton(Window, "CancelButton", "&Cancel", QStyle::SP_DialogCancelButton, 130);
    CancelButton->setAccessibleName("Cancel");
    QObject::connect(CancelButton, &QPushButton::clicked, Window, &QDialog::reject);

    QWidget::setTabOrder(PageEdit, OkButton);
    QWidget::setTabOrder(OkButton, CancelButton);
    PageEdit->setFocus();
}

TqmGoPageForm::~TqmGoPageForm() {
    delete Window;
}

void TqmGoPageForm::SetPageCount(int n) {
    // The edit caps a minimum at its maximum, so the maximum goes first.
    PageEdit->SetMaxValue(n);
    PageEdit->SetMinValue(1);
    CountLabel->setText(QString::number(n));
    CountLabel->adjustSize();
}

void TqmGoPageForm::SetPage(int n) {
    PageEdit->SetValue(std::min(n, PageEdit->MaxValue()));
}

int TqmGoPageForm::GetPage() const {
    return PageEdit->Value();
}

bool TqmGoPageForm::Execute() {
    PageEdit->selectAll();
    return Window->exec() != QDialog::Rejected;
}

void TqmGoPageForm::OkClick() {
    if (PageEdit->Commit()) Window->accept();
}

} // namespace tsb
