// File > Export Wiring List…: the from-to list of the diagram's connectors,
// as CSV for a spreadsheet.
#include <QFileDialog>
#include <QMainWindow>

#include "editor/MainForm.h"
#include "model/WiringList.h"

namespace tsb {

void TMainForm::ExportWiringListClick() {
    // The list is taken before the dialog opens, as the image export takes
    // its picture.
    const TWiringList list(ScrollBox1);
    QFileDialog dialog(FWindow, "Export Wiring List");
    dialog.setObjectName("WiringListDialog");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter("Wiring list (*.csv)");
    // A name typed without an extension gets ".csv".
    dialog.setDefaultSuffix("csv");
    dialog.setDirectory(QString::fromStdString(InitialFolder()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    // Written beside the target and renamed over it: a failed write leaves
    // the target as it was.
    list.SaveToFile(dialog.selectedFiles().first().toStdString());
}

} // namespace tsb
