#include "editor/CaptionEditForm.h"

#include <QFontDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <memory>

#include "widgets/Application.h"

namespace tsb {

namespace {

QColor ToQColor(TColor color) {
    std::uint32_t rgb = ColorToRGB(color);
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

} // namespace

TCaptionEditDlg::TCaptionEditDlg(QWidget* parent) : QDialog(parent) {
    setObjectName("CaptionEditDlg");
    setWindowTitle("Caption Editor");
    setFont(TFont().ToQFont());
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(clSilver));
    setPalette(pal);
    setAutoFillBackground(true);
    setFixedSize(345, 178);
    move(236, 133);

    Label1 = new QLabel("New caption", this);
    Label1->setObjectName("Label1");
    Label1->move(16, 19);
    Label1->adjustSize();

    CaptionEdit = new QPlainTextEdit(this);
    CaptionEdit->setObjectName("CaptionEdit");
    CaptionEdit->setGeometry(92, 16, 225, 89);
    // Tab moves on; Return starts a new line.
    CaptionEdit->setTabChangesFocus(true);

    FontBtn = new QPushButton("Font...", this);
    FontBtn->setObjectName("FontBtn");
    FontBtn->setGeometry(16, 116, 75, 25);
    connect(FontBtn, &QPushButton::clicked, this, [this] { Guarded([this] { FontBtnClick(); }); });

    OkBtn = new QPushButton("Ok", this);
    OkBtn->setObjectName("OkBtn");
    OkBtn->setGeometry(164, 116, 75, 25);
    OkBtn->setDefault(true);
    connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);

    CancelBtn = new QPushButton("Cancel", this);
    CancelBtn->setObjectName("CancelBtn");
    CancelBtn->setGeometry(244, 116, 75, 25);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(CaptionEdit, FontBtn);
    setTabOrder(FontBtn, OkBtn);
    setTabOrder(OkBtn, CancelBtn);
    CaptionEdit->setFocus();
    SetMemoFont(FMemoFont);
}

void TCaptionEditDlg::SetMemoFont(const TFont& font) {
    FMemoFont.Assign(font);
    CaptionEdit->setFont(FMemoFont.ToQFont());
    QPalette pal = CaptionEdit->palette();
    pal.setColor(QPalette::Text, ToQColor(FMemoFont.Color()));
    CaptionEdit->setPalette(pal);
}

void TCaptionEditDlg::FontBtnClick() {
    QFontDialog dialog(FMemoFont.ToQFont(), this);
    dialog.setObjectName("FontDialog1");
    if (dialog.exec() != QDialog::Accepted) return;
    TFont chosen(FMemoFont);
    chosen.AssignQFont(dialog.selectedFont());
    SetMemoFont(chosen);
}

bool TCaptionEditDlg::EditCaption(std::string& text, TFont& font) {
    auto dialog = std::make_unique<TCaptionEditDlg>();
    // A caption line may end in a carriage return; the editor shows lines only.
    QString shown = QString::fromStdString(text);
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    dialog->CaptionEdit->setPlainText(shown);
    // Editing starts from the caption's own font, so "Ok" alone keeps it.
    dialog->SetMemoFont(font);
    if (dialog->exec() != QDialog::Accepted) return false;
    // Lines are joined with CR LF, as diagram files hold them.
    text = dialog->CaptionEdit->toPlainText().replace('\n', QLatin1String("\r\n")).toStdString();
    font.Assign(dialog->MemoFont());
    return true;
}

} // namespace tsb
