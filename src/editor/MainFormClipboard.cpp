// Clipboard commands, the Edit menu's enabling and the export as an image.
#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QShortcut>

#include "core/FileStream.h"
#include "editor/DiagramHistory.h"
#include "editor/MainForm.h"
#include "editor/ProgressWindow.h"
#include "export/PageExport.h"
#include "export/PagePainter.h"
#include "model/CustomShape.h"
#include "model/DiagramStream.h"
#include "widgets/Application.h"
#include "widgets/Clipboard.h"

namespace tsb {

namespace {
const char* const kClipboardText = "TCustomShape: Diagram Tool custom type";
const char* const kClipboardFormatName = "Quellmoor: Custom Shapes";
} // namespace

const std::string& TMainForm::ClipboardFormat() {
    static const std::string format = Clipboard().RegisterFormat(kClipboardFormatName);
    return format;
}

QImage TMainForm::WorkAreaBitmap() const {
    TPagePainter page(ScrollBox1);
    bool fits = static_cast<std::int64_t>(page.Width()) * page.Height() <= FullBitmapPixels;
    return page.Picture(fits ? FullBitmapPixels : ReducedBitmapPixels);
}

void TMainForm::CopyActionExecute() {
    TBytes bytes = TDiagramStream::Write(ScrollBox1, true);
    FClipStream = QByteArray(reinterpret_cast<const char*>(bytes.data()),
                             static_cast<qsizetype>(bytes.size()));
    Clipboard().SetEntries(kClipboardText, WorkAreaBitmap(), ClipboardFormat(), FClipStream);
}

void TMainForm::CutActionExecute() {
    TDiagramHistory::TChange change(*FHistory, "Cut");
    change.TouchSelected();
    CopyActionExecute();
    TCustomShape::DeleteSelected(ScrollBox1);
}

void TMainForm::PasteActionExecute() {
    FPasteNames.Clear();
    std::optional<QByteArray> block = Clipboard().Data(ClipboardFormat());
    if (!block) return;
    // The work area takes the place the pasted record stored: part of the
    // step.
    TDiagramHistory::TChange change(*FHistory, "Paste", true);
    FClipStream = *block;
    auto* data = reinterpret_cast<const std::uint8_t*>(FClipStream.constData());
    // A cancelled paste changes nothing.
    TProgressWindow progress(FWindow, "Pasting");
    // An element pasted without its caption may take an existing one.
    auto touchCaptionTargets = [&change](const TReader& reader) {
        change.TouchCaptionTargets(reader);
    };
    try {
        FPasteNames.Read({data, static_cast<std::size_t>(FClipStream.size())}, ScrollBox1,
                         &progress, touchCaptionTargets);
    } catch (const ECancelled&) {
        return;
    }
    ReattachHooks();
}

void TMainForm::UpdateMenuClick() {
    for (const char* item : {"Cut1", "Copy1", "Paste1", "Delete2"})
        MenuItem(item)->setEnabled(false);
    if (TCustomShape::AnySelected(ScrollBox1))
        for (const char* item : {"Cut1", "Copy1", "Delete2"})
            MenuItem(item)->setEnabled(true);
    if (Clipboard().HasFormat(ClipboardFormat())) MenuItem("Paste1")->setEnabled(true);
    UpdateUndoItems();
}

void TMainForm::CreateEditShortcuts() {
    // The Edit menu's short-cuts work out the items' enabling first, then
    // act only through an enabled item.
    QObject::connect(EditMenu, &QMenu::aboutToShow, FWindow,
                     [this] { Guarded([&] { UpdateMenuClick(); }); });
    for (const char* item : {"Cut1", "Copy1", "Paste1", "Delete2"})
        AddEditShortcut(item, MenuItem(item)->shortcut(), QString("Shortcut") + item);
}

void TMainForm::AddEditShortcut(const char* item, const QKeySequence& keys,
                                const QString& objectName) {
    auto* shortcut = new QShortcut(keys, FWindow);
    shortcut->setObjectName(objectName);
    QObject::connect(shortcut, &QShortcut::activated, FWindow, [this, item] {
        Guarded([&] {
            UpdateMenuClick();
            QAction* action = MenuItem(item);
            if (action->isEnabled()) action->trigger();
        });
    });
}

const std::vector<TMainForm::TExportFilter>& TMainForm::ExportFilters() {
    static const std::vector<TExportFilter> filters = {
        {"Image files (*.jpg *.jpeg)", "jpg", efJpeg},
        {"PNG image (*.png)", "png", efPng},
        {"PDF document (*.pdf)", "pdf", efPdf},
        {"SVG drawing (*.svg)", "svg", efSvg},
    };
    return filters;
}

void TMainForm::ExportActionExecute() {
    // The JPEG picture is taken before the dialog opens, painted in bands
    // that go to the encoder as they are made. A page too large for JPEG
    // still opens the dialog: only the JPEG choice is refused. The other
    // formats are drawn once the dialog has named the file; the work area
    // cannot change while the dialog is open.
    std::vector<std::uint8_t> jpeg;
    std::exception_ptr jpegError;
    try {
        TProgressWindow progress(FWindow, "Exporting the work area");
        jpeg = TPageExport(ScrollBox1, &progress).Jpeg(90);
    } catch (const EJPEG&) {
        jpegError = std::current_exception();
    } catch (const ECancelled&) {
        return;
    }
    SaveDialog2->setDirectory(QString::fromStdString(InitialFolder()));
    SaveDialog2->selectNameFilter(ExportFilters().front().Filter);
    SaveDialog2->setDefaultSuffix(ExportFilters().front().Extension);
    if (SaveDialog2->exec() != QDialog::Accepted || SaveDialog2->selectedFiles().isEmpty()) return;
    const std::string fileName = SaveDialog2->selectedFiles().first().toStdString();
    // The extension of a format we write picks it; otherwise the filter.
    std::optional<TExportFormat> format = ExportFormatOf(fileName);
    for (const TExportFilter& f : ExportFilters())
        if (!format && SaveDialog2->selectedNameFilter() == f.Filter) format = f.Format;
    if (format.value_or(efJpeg) == efJpeg) {
        if (jpegError) std::rethrow_exception(jpegError);
        WriteFileBytes(fileName, jpeg);
        return;
    }
    TProgressWindow progress(FWindow,
                             "Exporting " + QFileInfo(QString::fromStdString(fileName)).fileName());
    try {
        TPageExport(ScrollBox1, &progress).Write(*format, fileName);
    } catch (const ECancelled&) {
    }
}

} // namespace tsb
