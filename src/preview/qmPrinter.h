// The print engine: the application draws each page once through a fixed
// sequence of page events onto a page recording; the finished document is
// shown in the preview window and sent to the printer from there.
#pragma once

#include <QPageSize>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Component.h"
#include "graphics/Metafile.h"
#include "preview/Printer.h"
#include "widgets/Application.h"
#include "widgets/Control.h"

namespace tsb {

enum TqmPaperSize : std::uint8_t { qmDefault, qmLetter, qmLegal, qmA3, qmA4, qmA5, qmCustom };

// A paper of the engine: its device paper code and Qt's page size.
struct TqmPaper {
    TqmPaperSize Paper;
    std::int16_t Code;
    QPageSize::PageSizeId PageSize;
};
const std::array<TqmPaper, 7>& PaperTable();

// An engine without its required page events.
class PrintException : public Exception {
public:
    using Exception::Exception;
};

// What the application tells the engine about the page being built. The
// application creates it in BeginPrint and frees it in EndPrint.
class TPageInfo {
public:
    int PageNumber = 0;
    bool LastPage = false;
    std::string Text;
};

using TBeginPrintEvent = TEvent<TComponent*, TPageInfo*&>;
using TEndPrintEvent = TEvent<TComponent*, TPageInfo*&>;
// The handler may change the rectangle.
using TPrintHeaderEvent = TEvent<TComponent*, TPageInfo*&, TMetafileCanvas&, TRect&>;
using TPrintFooterEvent = TEvent<TComponent*, TPageInfo*&, TMetafileCanvas&, TRect&>;
using TPrintPageEvent = TEvent<TComponent*, TPageInfo*&, TMetafileCanvas&, TRect>;
// Column, Row, Number of the cell, then the cell.
using TPrintAreaEvent = TEvent<TComponent*, TPageInfo*&, TMetafileCanvas&, int, int, int, TRect>;

enum TqmPrintState : std::uint8_t { qsEmpty, qsBuilding, qsReady };

class TqmProgressForm;

class TqmPrinter : public TComponent {
    TSB_CLASS(TqmPrinter)
public:
    explicit TqmPrinter(TComponent* owner);
    ~TqmPrinter() override;

    // Grid of areas on each page (PrintArea).
    int Columns = 1;
    int Rows = 1;
    // The print job's name, the preview's caption and the progress texts.
    std::string Title;
    // Acts on the printer at once.
    TPrinterOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TPrinterOrientation orientation);
    // Screen pixels from the printable area's edges; MarginLeft serves the
    // right margin too.
    int MarginLeft = 20;
    int MarginTop = 20;
    int MarginBottom = 20;
    // Read from and written to the printer's settings.
    TqmPaperSize PaperSize();
    void SetPaperSize(TqmPaperSize paper);
    bool ShowProgress = false;
    bool ShowPrintDialog = false;

    TNotifyEvent AfterPreview;
    TNotifyEvent AfterPrint;
    TNotifyEvent BeforePreview;
    TNotifyEvent BeforePrint;
    TBeginPrintEvent BeginPrint;
    TPrintPageEvent PrintBackgnd;
    TPrintHeaderEvent PrintHeader;
    TPrintAreaEvent PrintArea;
    TPrintPageEvent PrintPage;
    TPrintFooterEvent PrintFooter;
    TPrintPageEvent PrintOverlay;
    TEndPrintEvent EndPrint;

    // Builds every page and shows them in the modal preview window.
    void Preview();
    // Sends the built pages to the printer (or, with no printer installed,
    // to a PDF file the user names).
    void Print();
    // Builds every page through the page events.
    void BuildPages();

    void SelectPage(int n);
    void SetFromPage(int n);
    void SetToPage(int n);
    int FromPage() const { return FFromPage; }
    int ToPage() const { return FToPage; }
    bool PageInRange(int n) const;
    void Abort() { FAborted = true; }
    bool Aborted() const { return FAborted; }
    void SetCopies(int n);
    void SetCollate(bool collate);
    bool PaperSupported(TqmPaperSize paper);

    TqmPrintState State() const { return FState; }
    int PageCount() const { return FPageCount; }
    int CurrentPage() const { return FCurrentPage; }
    const TMetafile* SelectedPage() const { return FSelectedPage; }
    // The page in screen pixels: the printable area at the screen's
    // resolution.
    int PageWidth() const { return FPageWidth; }
    int PageHeight() const { return FPageHeight; }
    // The progress window of the print run in progress.
    TqmProgressForm* ProgressForm() const { return FProgressForm.get(); }

protected:
    void BeforeDestruction() override;

private:
    void ReadPageMetrics();
    void CreatePageMetafile();
    void BeginDocument();
    void ClosePage();
    void NewPage();
    void EndDocument();
    void ClearPages();
    void DropHalfBuiltDocument();
    void BuildPage();
    TPageInfo& Info();
    void PrintPages(const std::string& file);
    std::string AskPdfFile();

    bool LockDeviceMode();
    void UnlockDeviceMode();
    bool DeviceModeHasField(std::uint32_t bit) const { return (FFieldMask & bit) != 0; }
    // Runs change on the locked settings, releasing the lock whatever
    // happens.
    template <typename F> void WithDeviceMode(F change);

    std::unique_ptr<TqmProgressForm> FProgressForm;
    bool FAborted = false;
    std::unique_ptr<TMetafileCanvas> FPageCanvas;
    std::uint32_t FFieldMask = 0;
    int FToPage = 0;
    int FFromPage = 0;
    std::unique_ptr<TMetafile> FPageMetafile;
    TPrinterOrientation FOrientation = poPortrait;
    const TMetafile* FSelectedPage = nullptr;
    int FPageCount = 0;
    int FPageHeight = 0;
    int FCurrentPage = 0;
    int FPageWidth = 0;
    TqmPrintState FState = qsEmpty;
    std::vector<std::unique_ptr<TMetafile>> FPages;
    std::string FDevice;
    std::string FDriver;
    std::string FPort;
    TDeviceMode* FDeviceMode = nullptr;
    int FLockCount = 0;
    TPageInfo* FInfo = nullptr;
    bool FPrinting = false;
};

} // namespace tsb
