// The system printer: the installed printers, the selected printer's settings
// as a device-mode block, the papers it offers, its printable area and
// resolution, and print jobs of pages.
//
// Settings and metrics come from Qt's print support. A job is drawn into a
// PDF file and handed to CUPS when it ends, so an aborted job never reaches
// the printer; a job for a file name is that PDF file.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Exception.h"

class QFileDevice;
class QPageLayout;
class QPainter;
class QPdfWriter;
class QPrinter;

namespace tsb {

enum TPrinterOrientation : std::uint8_t { poPortrait, poLandscape };

// Which settings of the block the printer offers.
constexpr std::uint32_t DM_ORIENTATION = 0x1;
constexpr std::uint32_t DM_PAPERSIZE = 0x2;
constexpr std::uint32_t DM_COPIES = 0x100;
constexpr std::uint32_t DM_COLLATE = 0x8000;
constexpr std::int16_t DMORIENT_PORTRAIT = 1;
constexpr std::int16_t DMORIENT_LANDSCAPE = 2;
// The paper code of a size the printer takes by its measures.
constexpr std::int16_t DMPAPER_USER = 256;

// A printer's settings. Paper codes are the classic device paper numbers,
// which Qt knows as the Windows ids of its page sizes.
struct TDeviceMode {
    std::uint32_t dmFields = 0;
    std::int16_t dmOrientation = DMORIENT_PORTRAIT;
    std::int16_t dmPaperSize = 0;
    std::int16_t dmCopies = 1;
    std::int16_t dmCollate = 0;
};

// Printer failures, such as "Printer driver error".
class EPrinter : public Exception {
public:
    using Exception::Exception;
};

class TPrinter {
public:
    TPrinter();
    virtual ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // Installed printers by name, read on first use.
    const std::vector<std::string>& Printers();
    // The selected printer's index; the default printer's until one is
    // selected, -1 with no printer installed.
    int PrinterIndex();
    // Selects a printer (-1: the default one) and loads its settings.
    void SetPrinterIndex(int index);

    // The selected printer's name, driver, port and settings. The settings
    // are null until a printer is selected and where none can be had.
    TDeviceMode* GetPrinter(std::string& device, std::string& driver, std::string& port);
    // Makes the printer use the settings of the block.
    void SetPrinter(const std::string& device, const std::string& driver, const std::string& port,
                    const TDeviceMode* mode);
    // Paper codes the printer offers; 0 stands for a size without a code.
    // With output null, returns how many there are; otherwise writes at most
    // capacity codes to output and returns how many it wrote.
    int DevicePapers(const std::string& device, std::int16_t* output, int capacity = 0);

    // The system print dialog for a page range, copies and collation, on
    // the selected printer. The range starts as fromPage..toPage, and a
    // user's choice of all pages gives 0..0. False when cancelled.
    bool ExecutePrintDialog(int minPage, int maxPage, int& fromPage, int& toPage, int& copies,
                            bool& collate);

    TPrinterOrientation Orientation();
    void SetOrientation(TPrinterOrientation orientation);

    // Printable area in device pixels, and the resolution in dots per inch.
    int PageWidth();
    int PageHeight();
    int XDpi();
    int YDpi();

    // The job's name, as the printer's queue shows it.
    std::string Title;
    // Empty: the next job goes to the selected printer. Otherwise it is
    // written to a PDF file of this name.
    std::string OutputFile;

    // Starts a job: "Printing in progress" while one runs.
    void BeginDoc();
    void NewPage();
    // Ends the job and hands it to the printer.
    void EndDoc();
    // Drops the job: nothing reaches the printer, and no file is left.
    void Abort();
    bool Printing() const { return FPainter != nullptr; }
    bool Aborted() const { return FAborted; }
    // Draws the page being printed, origin at the printable area's top-left
    // corner, in device pixels. Null outside a job.
    QPainter* Canvas() const { return FPainter.get(); }

protected:
    // What the system tells about its printers; a stand-in printer replaces
    // these.
    virtual std::vector<std::string> QueryPrinters();
    virtual std::string QueryDefaultPrinter();
    // Reads the named printer's settings; false where none can be had.
    virtual bool QueryDeviceMode(const std::string& name, TDeviceMode& mode);
    virtual std::vector<std::int16_t> QueryPapers(const std::string& name);
    // Hands a finished job's PDF file to the named printer with the paper,
    // copies and collation of the printer's settings.
    virtual void Submit(const std::string& name, const QString& file);

    // Qt's printer object with the selected printer's settings.
    QPrinter& QtPrinter();

private:
    // Makes Qt's printer object follow the settings.
    void ApplyDeviceMode(const TDeviceMode& settings);
    void FitMargins();
    QPageLayout CurrentLayout();
    int CurrentResolution();
    void EndJob();

    std::vector<std::string> FPrinters;
    bool FPrintersRead = false;
    int FPrinterIndex = -1;
    std::unique_ptr<TDeviceMode> FDeviceMode;
    std::unique_ptr<QPrinter> FQtPrinter;
    // The job in progress: the file it is written to (a temporary one for
    // a printer, or a file saved only when complete), its PDF writer and
    // the painter.
    std::unique_ptr<QFileDevice> FJobFile;
    std::unique_ptr<QPdfWriter> FJobWriter;
    std::unique_ptr<QPainter> FPainter;
    std::string FJobPrinter;
    bool FAborted = false;
};

// The application's printer.
TPrinter& Printer();
// Replaces the application's printer and returns the one it had.
std::unique_ptr<TPrinter> SetPrinter(std::unique_ptr<TPrinter> printer);

} // namespace tsb
