// The "Find" window: finds a text among the diagram's captions and text
// elements, selects what it finds, and replaces it. Non-modal: the diagram
// stays in reach while it shows.
#pragma once

#include <QDialog>

#include "editor/DiagramSearch.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tsb {

class TMainForm;
class TTextShape;

class TFindForm : public QDialog {
    Q_OBJECT
public:
    explicit TFindForm(TMainForm& form);

    // The search the window's fields describe.
    TDiagramSearch Search() const;

    // Selects the next matching text after the selection, in child order
    // and wrapping around, and scrolls it into view. False: nothing
    // matches ("No matches").
    bool FindNextClick();
    // Selects every matching text and scrolls the first into view.
    void FindAllClick();
    // Replaces in the selected text when it matches, as one step, then
    // finds the next.
    void ReplaceClick();
    // Replaces in every text as one step.
    void ReplaceAllClick();

    QLabel* FindLabel;
    QLineEdit* FindEdit;
    QLabel* ReplaceLabel;
    QLineEdit* ReplaceEdit;
    QCheckBox* MatchCaseBox;
    QPushButton* FindNextBtn;
    QPushButton* FindAllBtn;
    QPushButton* ReplaceBtn;
    QPushButton* ReplaceAllBtn;
    // What the last action found, "No matches" among it.
    QLabel* ResultLabel;

private:
    void Select(const std::vector<TTextShape*>& texts);
    void ReplaceIn(const std::vector<TTextShape*>& texts, const char* step);
    void SetResult(const QString& text);
    void FollowText();

    TMainForm& FForm;
};

} // namespace tsb
