// Caption editor: the text of a text element or caption and its font.
#pragma once

#include <QDialog>
#include <string>

#include "graphics/Font.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tsb {

class TCaptionEditDlg : public QDialog {
    Q_OBJECT
public:
    explicit TCaptionEditDlg(QWidget* parent = nullptr);

    // Shows text and font for editing. On "Ok" text gets the edited lines,
    // joined by line feeds, and font the font shown in the editor; on
    // "Cancel" both stay as they were. Returns whether "Ok" was pressed.
    static bool EditCaption(std::string& text, TFont& font);

    // The font the caption text is shown and edited in.
    const TFont& MemoFont() const { return FMemoFont; }
    void SetMemoFont(const TFont& font);

    // Lets the user pick the memo's font in a font dialog.
    void FontBtnClick();

    QLabel* Label1;
    QPlainTextEdit* CaptionEdit;
    QPushButton* FontBtn;
    QPushButton* OkBtn;
    QPushButton* CancelBtn;

private:
    TFont FMemoFont;
};

} // namespace tsb
