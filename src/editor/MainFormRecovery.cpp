// Recovery copies in the window: enabling them, "Recover Unsaved Diagrams"
// at start and from the File menu, and opening a copy.
#include <QMainWindow>

#include "editor/DiagramHistory.h"
#include "editor/MainForm.h"
#include "editor/RecoverForm.h"
#include "editor/Recovery.h"

namespace tsb {

void TMainForm::EnableRecovery(const QString& root) {
    FRecovery = std::make_unique<TRecovery>(this, root);
}

void TMainForm::BeforeDestruction() {
    if (!Destroying()) FRecovery.reset();
    TComponent::BeforeDestruction();
}

namespace {

// Unlocks the free folders a list took when it goes.
struct TLetGo {
    TRecoveryStore* Store;
    ~TLetGo() { Store->LetGo(); }
};

} // namespace

void TMainForm::OfferRecoveredCopies() {
    if (!FRecovery) return;
    TLetGo letGo{&FRecovery->Store()};
    std::vector<TRecoveryCopy> copies = FRecovery->Store().List(FRecovery->CurrentCopyIfAny());
    if (copies.empty()) return;
    TRecoverDlg dialog(FWindow, std::move(copies));
    if (dialog.exec() == QDialog::Accepted && dialog.Chosen()) OpenRecoveredCopy(*dialog.Chosen());
}

void TMainForm::RecoverActionExecute() {
    // Without copies of its own the window still offers those left by
    // others.
    if (FRecovery) {
        TLetGo letGo{&FRecovery->Store()};
        TRecoverDlg dialog(FWindow, FRecovery->Store().List(FRecovery->CurrentCopyIfAny()));
        if (dialog.exec() == QDialog::Accepted && dialog.Chosen())
            OpenRecoveredCopy(*dialog.Chosen());
        return;
    }
    TRecoveryStore store;
    TRecoverDlg dialog(FWindow, store.List());
    if (dialog.exec() == QDialog::Accepted && dialog.Chosen()) OpenRecoveredCopy(*dialog.Chosen());
}

void TMainForm::OpenRecoveredCopy(const TRecoveryCopy& copy) {
    OpenFile(copy.Path.toStdString());
    FDiagramFileName = copy.FileName.toStdString();
    FOfferName = FDiagramFileName;
    FHistory->MarkUnsaved();
    if (FRecovery) FRecovery->Adopt(copy);
}

} // namespace tsb
