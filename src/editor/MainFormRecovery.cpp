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
    if (FRecovery) ChooseRecoveredCopy(FRecovery->Store(), FRecovery->CurrentCopyIfAny(), true);
}

void TMainForm::RecoverActionExecute() {
    if (FRecovery) {
        ChooseRecoveredCopy(FRecovery->Store(), FRecovery->CurrentCopyIfAny(), false);
        return;
    }
    // Without copies of its own the window still offers those left by
    // others.
    TRecoveryStore store;
    ChooseRecoveredCopy(store, {}, false);
}

void TMainForm::ChooseRecoveredCopy(TRecoveryStore& store, const QString& current,
                                    bool onlyWithCopies) {
    TLetGo letGo{&store};
    std::vector<TRecoveryCopy> copies = store.List(current);
    if (onlyWithCopies && copies.empty()) return;
    TRecoverDlg dialog(FWindow, std::move(copies));
    if (dialog.exec() == QDialog::Accepted && dialog.Chosen()) OpenRecoveredCopy(*dialog.Chosen());
}

void TMainForm::OpenRecoveredCopy(const TRecoveryCopy& copy) {
    // A cancelled open leaves the diagram shown, its name and its own copy
    // as they were.
    if (!OpenFile(copy.Path.toStdString())) return;
    FDiagramFileName = copy.FileName.toStdString();
    FOfferName = FDiagramFileName;
    FHistory->MarkUnsaved();
    if (FRecovery) FRecovery->Adopt(copy);
}

} // namespace tsb
