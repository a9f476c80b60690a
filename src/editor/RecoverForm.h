// "Recover Unsaved Diagrams": the recovery copies, each with the name of the
// file its diagram had (or "Untitled"), when it was last changed and how
// many elements it holds, or why it cannot be read. Open takes the chosen
// copy as the current diagram; Delete removes a copy; Later keeps them all.
#pragma once

#include <QDialog>
#include <vector>

#include "editor/RecoveryStore.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace tsb {

class TRecoverDlg : public QDialog {
    Q_OBJECT
public:
    TRecoverDlg(QWidget* parent, std::vector<TRecoveryCopy> copies);

    QLabel* Label1;
    QTreeWidget* CopyList;
    QPushButton* OpenBtn;
    QPushButton* DeleteBtn;
    QPushButton* LaterBtn;

    // The copy Open was pressed on; null after Later.
    const TRecoveryCopy* Chosen() const { return FChosen; }

private:
    const TRecoveryCopy* Current() const;
    void Follow();
    void DeleteClick();

    std::vector<TRecoveryCopy> FCopies;
    const TRecoveryCopy* FChosen = nullptr;
};

} // namespace tsb
