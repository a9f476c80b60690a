// The progress window of a print run: a message, a bar that moves about
// twenty times in a job, and Cancel, which stops the run. Built in code.
#pragma once

#include <string>

#include "core/Component.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace tsb {

class TDialogWindow;
class TqmPrinter;

class TqmProgressForm : public TComponent {
    TSB_CLASS(TqmProgressForm)
public:
    explicit TqmProgressForm(TComponent* owner);
    ~TqmProgressForm() override;

    // The engine that Cancel stops.
    TqmPrinter* Engine = nullptr;
    QPushButton* CancelButton = nullptr;
    TDialogWindow* Window = nullptr;
    QProgressBar* ProgressBar = nullptr;
    QLabel* MessageLabel = nullptr;
    // Pages per move of the bar, and the moves made so far.
    int Step = 1;
    int ShownStep = 0;

    // These two let pending events through after the change.
    void SetCaption(const std::string& text);
    void SetMessage(const std::string& text);
    void SetMax(int n);
    // Moves the bar only when n reaches the next multiple of Step.
    void SetPosition(int n);
    // Shows the window without making it modal, with the hourglass cursor.
    void Show();

    void CancelClick();
};

} // namespace tsb
