#include "preview/qmProgressForm.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "preview/DialogWindow.h"
#include "preview/qmPrinter.h"
#include "widgets/Application.h"

namespace tsb {

TqmProgressForm::TqmProgressForm(TComponent* owner) : TComponent(owner) {
    Window = new TDialogWindow;
    Window->setObjectName("qmProgressForm");
    Window->setWindowTitle(QString());
    Window->SetOuterSize(400, 140);

    MessageLabel = new QLabel(Window);
    MessageLabel->setObjectName("MessageLabel");
    MessageLabel->move(20, 10);

    ProgressBar = new QProgressBar(Window);
    ProgressBar->setObjectName("ProgressBar");
    ProgressBar->setAccessibleName("Progress");
    ProgressBar->setGeometry(20, 40, 360, 20);
    ProgressBar->setTextVisible(false);

    CancelButton = new QPushButton("Cancel", Window);
    CancelButton->setObjectName("CancelButton");
    CancelButton->setAccessibleName("Cancel");
    CancelButton->setGeometry(170, 75, 60, 26);
    CancelButton->setDefault(true);
    CancelButton->setFocus();
    QObject::connect(CancelButton, &QPushButton::clicked, Window,
                     [this] { Guarded([this] { CancelClick(); }); });
    // Esc is a click on Cancel too; the window stays until the run ends.
    Window->OnEscape = [this] { CancelButton->click(); };
}

TqmProgressForm::~TqmProgressForm() {
    delete Window;
}

void TqmProgressForm::CancelClick() {
    if (Engine) Engine->Abort();
}

void TqmProgressForm::SetCaption(const std::string& text) {
    Window->setWindowTitle(QString::fromStdString(text));
    QCoreApplication::processEvents();
}

void TqmProgressForm::SetMessage(const std::string& text) {
    MessageLabel->setText(QString::fromStdString(text));
    MessageLabel->adjustSize();
    QCoreApplication::processEvents();
}

void TqmProgressForm::SetMax(int n) {
    ProgressBar->setMaximum(n);
    Step = n / 20;
    if (Step <= 0) Step = 1;
}

void TqmProgressForm::SetPosition(int n) {
    if (ProgressBar->maximum() > 0 && n / Step > ShownStep) {
        ProgressBar->setValue(n);
        ShownStep = n / Step;
    }
}

void TqmProgressForm::Show() {
    Window->show();
    Window->setCursor(Qt::WaitCursor);
}

} // namespace tsb
