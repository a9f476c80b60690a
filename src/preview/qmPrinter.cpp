#include "preview/qmPrinter.h"

#include <QApplication>
#include <QFileDialog>
#include <QPainter>
#include <QStandardPaths>
#include <cmath>

#include "graphics/Font.h"
#include "graphics/QtConvert.h"
#include "preview/PreviewForm.h"
#include "preview/qmProgressForm.h"

namespace tsb {

namespace {} // namespace

TqmPrinter::TqmPrinter(TComponent* owner) : TComponent(owner) {
    ReadPageMetrics();
}

TqmPrinter::~TqmPrinter() = default;

void TqmPrinter::BeforeDestruction() {
    if (FState == qsReady) ClearPages();
    DropHalfBuiltDocument();
    TComponent::BeforeDestruction();
}

void TqmPrinter::ReadPageMetrics() {
    // With no printer installed the page is a US Letter sheet.
    FPageWidth = Round(8.5 * PixelsPerInch);
    FPageHeight = Round(11.0 * PixelsPerInch);
    if (FOrientation == poLandscape) std::swap(FPageWidth, FPageHeight);
    TPrinter& printer = Printer();
    if (printer.Printers().empty()) return;
    FPageWidth = Round(double(printer.PageWidth()) / printer.XDpi() * PixelsPerInch);
    FPageHeight = Round(double(printer.PageHeight()) / printer.YDpi() * PixelsPerInch);
}

void TqmPrinter::CreatePageMetafile() {
    FPageMetafile = std::make_unique<TMetafile>(FPageWidth, FPageHeight);
    FPageCanvas = std::make_unique<TMetafileCanvas>(*FPageMetafile);
}

void TqmPrinter::BeginDocument() {
    if (FState == qsReady) ClearPages();
    if (FState != qsEmpty) return;
    ReadPageMetrics();
    CreatePageMetafile();
    FPages.clear();
    FState = qsBuilding;
    FCurrentPage = 1;
    FPageCount = 1;
    FPageCanvas->MoveTo(0, 0);
}

void TqmPrinter::ClosePage() {
    FPageCanvas.reset();
    FPages.push_back(std::move(FPageMetafile));
}

void TqmPrinter::NewPage() {
    if (FState != qsBuilding) return;
    ClosePage();
    ReadPageMetrics();
    CreatePageMetafile();
    ++FPageCount;
    FPageCanvas->MoveTo(0, 0);
}

void TqmPrinter::EndDocument() {
    if (FState != qsBuilding) return;
    ClosePage();
    FState = qsReady;
    SelectPage(1);
}

void TqmPrinter::ClearPages() {
    if (FState != qsReady) return;
    FSelectedPage = nullptr;
    FPages.clear();
    FState = qsEmpty;
    FToPage = 0;
    FFromPage = 0;
}

void TqmPrinter::DropHalfBuiltDocument() {
    if (FState != qsBuilding) return;
    FPageCanvas.reset();
    FPageMetafile.reset();
    FPages.clear();
    FSelectedPage = nullptr;
    FState = qsEmpty;
    FToPage = 0;
    FFromPage = 0;
}

TPageInfo& TqmPrinter::Info() {
    if (!FInfo) throw PrintException("Page Information Not Created!");
    return *FInfo;
}

void TqmPrinter::BuildPages() {
    if (!BeginPrint) throw PrintException("Begin Print Function Not Assigned!");
    try {
        BeginPrint(this, FInfo);
        BeginDocument();
        Info().PageNumber = FPageCount;
        while (!Info().LastPage) {
            BuildPage();
            if (!Info().LastPage) NewPage();
            Info().PageNumber = FPageCount;
        }
        EndDocument();
    } catch (...) {
        // A half-built document would keep every later one from starting.
        DropHalfBuiltDocument();
        throw;
    }
    EndPrint(this, FInfo);
}

void TqmPrinter::BuildPage() {
    TMetafileCanvas& canvas = *FPageCanvas;
    TRect rect{0, 0, FPageWidth, FPageHeight};
    PrintBackgnd(this, FInfo, canvas, rect);
    rect = {MarginLeft, MarginTop, FPageWidth - MarginLeft, FPageHeight - MarginBottom};
    PrintHeader(this, FInfo, canvas, rect);
    rect.Top += MarginTop;
    PrintFooter(this, FInfo, canvas, rect);
    rect.Bottom -= MarginBottom;
    if (PrintArea) {
        // A grid needs at least one row and one column.
        int rows = std::max(1, Rows), columns = std::max(1, Columns);
        int h = Round(double(rect.Bottom - rect.Top) / rows);
        int w = Round(double(rect.Right - rect.Left) / columns);
        int number = 0;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c) {
                int left = rect.Left + c * w, top = rect.Top + r * h;
                PrintArea(this, FInfo, canvas, c, r, number++, TRect{left, top, left + w, top + h});
            }
    }
    if (!PrintPage) throw PrintException("Print Page Function Not Assigned!");
    PrintPage(this, FInfo, canvas, rect);
    PrintOverlay(this, FInfo, canvas, TRect{0, 0, FPageWidth, FPageHeight});
}

void TqmPrinter::Preview() {
    BeforePreview(this);
    BuildPages();
    {
        TPreviewForm form(this);
        form.setWindowTitle(QString::fromStdString(
            FormatMessage("%s - [%s]", {form.windowTitle().toStdString(), Title})));
        form.exec();
    }
    AfterPreview(this);
}

void TqmPrinter::SelectPage(int n) {
    if (FState != qsReady || n < 1 || n > FPageCount) return;
    FCurrentPage = n;
    FSelectedPage = FPages[static_cast<std::size_t>(n - 1)].get();
}

void TqmPrinter::SetFromPage(int n) {
    if (n >= 0) FFromPage = n;
}

void TqmPrinter::SetToPage(int n) {
    if (n >= 0) FToPage = n;
}

bool TqmPrinter::PageInRange(int n) const {
    if (FToPage == 0) return true;
    return FFromPage <= n && n <= FToPage;
}

std::string TqmPrinter::AskPdfFile() {
    QFileDialog dialog(QApplication::activeWindow(), "No printer is installed: save as PDF");
    dialog.setObjectName("PdfDialog");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter("PDF files (*.pdf)");
    dialog.setDefaultSuffix("pdf");
    dialog.setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first().toStdString();
}

void TqmPrinter::Print() {
    // Pages can only go out once built, and one run at a time: the progress
    // window lets events through while pages go out.
    if (FState != qsReady || FPrinting) return;
    std::string file;
    if (Printer().Printers().empty()) {
        file = AskPdfFile();
        if (file.empty()) return;
    } else if (ShowPrintDialog) {
        int from = 1, to = FPageCount, copies = 1;
        bool collate = false;
        if (!Printer().ExecutePrintDialog(1, FPageCount, from, to, copies, collate)) return;
        SetFromPage(from);
        SetToPage(to);
        SetCopies(copies);
        SetCollate(collate);
    }
    BeforePrint(this);
    FPrinting = true;
    FProgressForm = std::make_unique<TqmProgressForm>(nullptr);
    FProgressForm->Engine = this;
    std::string text = "Printing " + Title;
    FProgressForm->SetCaption(text);
    FProgressForm->SetMax(FPageCount);
    FProgressForm->SetMessage(text);
    if (ShowProgress) FProgressForm->Show();
    int remembered = FCurrentPage;
    auto finish = [&] {
        Printer().OutputFile.clear();
        SelectPage(remembered);
        FProgressForm.reset();
        FPrinting = false;
    };
    try {
        PrintPages(file);
    } catch (...) {
        finish();
        throw;
    }
    finish();
    AfterPrint(this);
}

void TqmPrinter::PrintPages(const std::string& file) {
    if (FState != qsReady) return;
    TPrinter& printer = Printer();
    FAborted = false;
    printer.Title = Title;
    printer.OutputFile = file;
    if (printer.Printing()) printer.Abort();
    int last = FPageCount;
    if (FToPage > 0 || FFromPage > 0) {
        last = 0;
        for (int n = 1; n <= FPageCount; ++n)
            if (PageInRange(n)) last = n;
    }
    // A range without pages prints nothing, not an empty sheet.
    if (last == 0) return;
    printer.BeginDoc();
    try {
        QCoreApplication::processEvents();
        for (int n = 1; n <= FPageCount; ++n) {
            if (!PageInRange(n) || FAborted) continue;
            FProgressForm->SetPosition(n);
            SelectPage(n);
            FSelectedPage->Play(*printer.Canvas(),
                                QRect(0, 0, printer.PageWidth(), printer.PageHeight()));
            if (n < last) printer.NewPage();
            // Lets a click on Cancel through between pages.
            QCoreApplication::processEvents();
        }
    } catch (...) {
        printer.Abort();
        throw;
    }
    if (FAborted) {
        printer.Abort();
        if (printer.Printing()) printer.EndDoc();
    } else {
        printer.EndDoc();
    }
}

} // namespace tsb
