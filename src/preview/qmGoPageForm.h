// The preview's go-to-page dialog: a page number in the range 1 to the page
// count, entered in an integer edit. Built in code.
#pragma once

#include "core/Component.h"

class QLabel;
class QPushButton;

namespace tsb {

class TDialogWindow;
class TLongEdit;

class TqmGoPageForm : public TComponent {
    TSB_CLASS(TqmGoPageForm)
public:
    explicit TqmGoPageForm(TComponent* owner);
    ~TqmGoPageForm() override;

    TDialogWindow* Window = nullptr;
    TLongEdit* PageEdit = nullptr;
    QLabel* PageLabel = nullptr;
    QLabel* OfLabel = nullptr;
    QLabel* CountLabel = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;

    // The range becomes 1..n.
    void SetPageCount(int n);
    // At most the page count.
    void SetPage(int n);
    int GetPage() const;
    // Shows the dialog modally with the number selected; true unless it was
    // cancelled.
    bool Execute();

    // "&Ok": the typed number counts, even when the focus has not left the
    // edit. A number out of range is replaced by the bound and the dialog
    // stays open; text that is no number shows its error.
    void OkClick();
};

} // namespace tsb
