#include "preview/qmPreviewAboutBox.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "graphics/Font.h"
#include "graphics/QtConvert.h"
#include "preview/DialogWindow.h"

namespace tsb {

namespace {

QLabel* AddLabel(QWidget* parent, const char* name, const char* text, int top, int height) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(52, top, 225, height);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return label;
}

} // namespace

TqmPreviewAboutBox::TqmPreviewAboutBox(TComponent* owner) : TComponent(owner) {
    Window = new TDialogWindow;
    Window->setObjectName("qmAboutBox");
    Window->setWindowTitle("About");
    Window->SetClientSize(345, 238);

    Panel = new QFrame(Window);
    Panel->setObjectName("Panel");
    Panel->setAccessibleName("About");
    Panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel->setGeometry(8, 8, 329, 185);

    TitleLabel = AddLabel(Panel, "TitleLabel", "Print Preview Component", 16, 25);
    TitleLabel->setFont(ClassicFont("Times New Roman", -19, fsBold));
    TitleLabel->setWordWrap(true);
    MakerLabel = AddLabel(Panel, "MakerLabel", "The Tresselby Diagram Tool developers", 40, 14);
    VersionLabel = AddLabel(Panel, "VersionLabel", "Version 1.00", 54, 14);
    RightsLabel = AddLabel(Panel, "RightsLabel", "Free to use with Tresselby Diagram Tool", 68, 14);
    for (QLabel* label : {VersionLabel, RightsLabel})
        label->setFont(ClassicFont("Arial", -11));
    for (QLabel* label : {TitleLabel, VersionLabel, RightsLabel}) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(palette);
    }

    OkButton = new QPushButton(QApplication::style()->standardIcon(QStyle::SP_DialogOkButton), "OK",
                               Window);
    OkButton->setObjectName("OkButton");
    OkButton->setAccessibleName("OK");
    OkButton->setGeometry(134, 202, 77, 27);
    OkButton->setFont(ClassicFont("MS Sans Serif", -11, fsBold));
    OkButton->setDefault(true);
    OkButton->setFocus();
    QObject::connect(OkButton, &QPushButton::clicked, Window, &QDialog::accept);
}

TqmPreviewAboutBox::~TqmPreviewAboutBox() {
    delete Window;
}

bool TqmPreviewAboutBox::Execute() {
    Window->exec();
    return true;
}

} // namespace tsb
