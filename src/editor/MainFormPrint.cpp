// Printing the diagram: the Print command and the print engine's page
// events, which paint the work area onto exactly one page.
#include <QMainWindow>

#include "editor/MainForm.h"
#include "graphics/Metafile.h"
#include "preview/qmPrinter.h"
#include "widgets/Application.h"
#include "workarea/SnapGrid.h"

namespace tsb {

void TMainForm::CreatePrinter() {
    qmPrinter1 = new TqmPrinter(this);
    qmPrinter1->SetName("qmPrinter1");
    // A printer whose settings cannot be read must not keep the editor from
    // starting: the error shows once the window is up, and the engine keeps
    // its own page.
    try {
        qmPrinter1->SetOrientation(poPortrait);
        qmPrinter1->SetPaperSize(qmLetter);
    } catch (const EPrinter& e) {
        Application().HandleExceptionLater(e.what());
    }
    qmPrinter1->BeginPrint =
        TBeginPrintEvent([this](TComponent* s, TPageInfo*& info) { qmPrinter1BeginPrint(s, info); },
                         "qmPrinter1BeginPrint");
    qmPrinter1->PrintPage =
        TPrintPageEvent([this](TComponent* s, TPageInfo*& info, TMetafileCanvas& canvas,
                               TRect r) { qmPrinter1PrintPage(s, info, canvas, r); },
                        "qmPrinter1PrintPage");
    qmPrinter1->EndPrint =
        TEndPrintEvent([this](TComponent* s, TPageInfo*& info) { qmPrinter1EndPrint(s, info); },
                       "qmPrinter1EndPrint");
}

void TMainForm::PrintActionExecute() {
    // Building the page can be cancelled; then no preview shows.
    try {
        qmPrinter1->Preview();
    } catch (const ECancelled&) {
    }
    FPrintProgress.reset();
}

void TMainForm::qmPrinter1BeginPrint(TComponent*, TPageInfo*& info) {
    // Held here, so a page that fails to paint leaves nothing behind.
    FPageInfo = std::make_unique<TPageInfo>();
    info = FPageInfo.get();
    FPrintProgress = std::make_unique<TProgressWindow>(FWindow, "Building the printed page");
}

void TMainForm::qmPrinter1PrintPage(TComponent*, TPageInfo*& info, TMetafileCanvas& canvas, TRect) {
    // The page shows the diagram without the grid, shifted two pixels up
    // and left, at its own scale; the engine fits the page to the paper.
    bool showGrid = SnapGrid1->ShowGrid();
    SnapGrid1->SetShowGrid(false);
    try {
        TProgress* progress = FPrintProgress.get();
        ScrollBox1->PaintTo(canvas, -2, -2, [progress](std::size_t done, std::size_t total) {
            StepProgress(progress, static_cast<std::int64_t>(done),
                         static_cast<std::int64_t>(total));
        });
    } catch (...) {
        SnapGrid1->SetShowGrid(showGrid);
        throw;
    }
    info->LastPage = true;
    SnapGrid1->SetShowGrid(showGrid);
}

void TMainForm::qmPrinter1EndPrint(TComponent*, TPageInfo*& info) {
    if (info == FPageInfo.get()) FPageInfo.reset();
    info = nullptr;
    FPrintProgress.reset(); // closes before the preview shows
}

} // namespace tsb
