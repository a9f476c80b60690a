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

void TMainForm::OfferRecoveredCopies() {
    if (!FRecovery) return;
    if (FRecovery->Store().List(FRecovery->CurrentCopyIfAny()).empty()) {
        FRecovery->Store().LetGo();
        return;
    }
    RecoverActionExecute();
}

void TMainForm::RecoverActionExecute() {
    // Without copies of its own the window still offers those left by
    // others.
    std::unique_ptr<TRecoveryStore> browse;
    TRecoveryStore* store = nullptr;
    if (FRecovery) {
        store = &FRecovery->Store();
    } else {
        browse = std::make_unique<TRecoveryStore>();
        store = browse.get();
    }
    struct TLetGo {
        TRecoveryStore* Store;
        ~TLetGo() { Store->LetGo(); }
    } letGo{store};
    TRecoverDlg dialog(FWindow, store->List(FRecovery ? FRecovery->CurrentCopyIfAny() : QString()));
    if (dialog.exec() != QDialog::Accepted || !dialog.Chosen()) return;
    OpenRecoveredCopy(*dialog.Chosen());
}

void TMainForm::OpenRecoveredCopy(const TRecoveryCopy& copy) {
    OpenFile(copy.Path.toStdString());
    FDiagramFileName = copy.FileName.toStdString();
    FOfferName = FDiagramFileName;
    FHistory->MarkUnsaved();
    if (FRecovery) FRecovery->Adopt(copy);
}

} // namespace tsb
