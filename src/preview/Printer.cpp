#include "preview/Printer.h"
#include "graphics/QtConvert.h"

#include <QApplication>
#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QTemporaryFile>
#include <algorithm>
#include <cups/cups.h>

namespace tsb {

namespace {

std::unique_ptr<TPrinter>& Instance() {
    static std::unique_ptr<TPrinter> printer;
    return printer;
}

// Qt's printer objects must go before the application object does.
void ReleasePrinter() {
    Instance().reset();
}

} // namespace

TPrinter& Printer() {
    auto& printer = Instance();
    if (!printer) {
        printer = std::make_unique<TPrinter>();
        static bool routine = false;
        if (!routine && QCoreApplication::instance()) {
            routine = true;
            qAddPostRoutine(ReleasePrinter);
        }
    }
    return *printer;
}

std::unique_ptr<TPrinter> SetPrinter(std::unique_ptr<TPrinter> printer) {
    std::swap(Instance(), printer);
    return printer;
}

TPrinter::TPrinter() = default;

TPrinter::~TPrinter() {
    if (Printing()) Abort();
}

std::vector<std::string> TPrinter::QueryPrinters() {
    std::vector<std::string> names;
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        names.push_back(name.toStdString());
    return names;
}

std::string TPrinter::QueryDefaultPrinter() {
    return QPrinterInfo::defaultPrinterName().toStdString();
}

bool TPrinter::QueryDeviceMode(const std::string& name, TDeviceMode& mode) {
    QPrinterInfo info = QPrinterInfo::printerInfo(ToQ(name));
    if (info.isNull()) return false;
    QPrinter& printer = QtPrinter();
    mode.dmFields = DM_ORIENTATION;
    if (!info.supportedPageSizes().isEmpty()) mode.dmFields |= DM_PAPERSIZE;
    if (printer.supportsMultipleCopies()) mode.dmFields |= DM_COPIES | DM_COLLATE;
    QPageLayout layout = printer.pageLayout();
    mode.dmOrientation =
        layout.orientation() == QPageLayout::Landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    mode.dmPaperSize = static_cast<std::int16_t>(layout.pageSize().windowsId());
    mode.dmCopies = static_cast<std::int16_t>(printer.copyCount());
    mode.dmCollate = printer.collateCopies() ? 1 : 0;
    return true;
}

std::vector<std::int16_t> TPrinter::QueryPapers(const std::string& name) {
    std::vector<std::int16_t> codes;
    for (const QPageSize& size : QPrinterInfo::printerInfo(ToQ(name)).supportedPageSizes())
        codes.push_back(static_cast<std::int16_t>(size.windowsId()));
    return codes;
}

void TPrinter::Submit(const std::string& name, const QString& file) {
    QPrinter& printer = QtPrinter();
    cups_option_t* options = nullptr;
    int count = 0;
    QByteArray media = printer.pageLayout().pageSize().key().toUtf8();
    if (!media.isEmpty()) count = cupsAddOption("media", media.constData(), count, &options);
    int copies = std::max(1, printer.copyCount());
    count = cupsAddOption("copies", std::to_string(copies).c_str(), count, &options);
    if (copies > 1)
        count =
            cupsAddOption("collate", printer.collateCopies() ? "true" : "false", count, &options);
    int job = cupsPrintFile(name.c_str(), QFile::encodeName(file).constData(), Title.c_str(), count,
                            options);
    cupsFreeOptions(count, options);
    if (job == 0)
        throw EPrinter(FormatMessage("Printer %s did not take the job: %s",
                                     {name, std::string(cupsLastErrorString())}));
}

const std::vector<std::string>& TPrinter::Printers() {
    if (!FPrintersRead) {
        FPrinters = QueryPrinters();
        FPrintersRead = true;
    }
    return FPrinters;
}

int TPrinter::PrinterIndex() {
    if (FPrinterIndex >= 0) return FPrinterIndex;
    const auto& list = Printers();
    if (list.empty()) return -1;
    auto it = std::find(list.begin(), list.end(), QueryDefaultPrinter());
    return it == list.end() ? 0 : static_cast<int>(it - list.begin());
}

void TPrinter::SetPrinterIndex(int index) {
    const auto& list = Printers();
    if (index < 0) index = PrinterIndex();
    if (list.empty() || index < 0) {
        FPrinterIndex = -1;
        FDeviceMode.reset();
        return;
    }
    if (index >= static_cast<int>(list.size())) throw EPrinter("Printer index out of range");
    FPrinterIndex = index;
    const std::string& name = list[static_cast<std::size_t>(index)];
    QPrinter& printer = QtPrinter();
    if (printer.printerName() != ToQ(name)) {
        // A printer Qt does not know (a stand-in) keeps its settings in a
        // PDF printer object, which takes any of them.
        if (QPrinterInfo::printerInfo(ToQ(name)).isNull())
            printer.setOutputFormat(QPrinter::PdfFormat);
        else
            printer.setPrinterName(ToQ(name));
        FitMargins();
    }
    auto mode = std::make_unique<TDeviceMode>();
    if (QueryDeviceMode(name, *mode)) {
        FDeviceMode = std::move(mode);
        ApplyDeviceMode(*FDeviceMode);
    } else {
        FDeviceMode.reset();
    }
}

TDeviceMode* TPrinter::GetPrinter(std::string& device, std::string& driver, std::string& port) {
    device.clear();
    driver.clear();
    port.clear();
    if (FPrinterIndex < 0) return nullptr;
    device = Printers()[static_cast<std::size_t>(FPrinterIndex)];
    driver = QPrinterInfo::printerInfo(ToQ(device)).makeAndModel().toStdString();
    return FDeviceMode.get();
}

void TPrinter::SetPrinter(const std::string& device, const std::string&, const std::string&,
                          const TDeviceMode* mode) {
    if (!mode || !FDeviceMode || FPrinterIndex < 0 ||
        device != Printers()[static_cast<std::size_t>(FPrinterIndex)])
        return;
    if (mode != FDeviceMode.get()) *FDeviceMode = *mode;
    ApplyDeviceMode(*mode);
}

void TPrinter::ApplyDeviceMode(const TDeviceMode& settings) {
    QPrinter& printer = QtPrinter();
    if (settings.dmFields & DM_ORIENTATION)
        printer.setPageOrientation(settings.dmOrientation == DMORIENT_LANDSCAPE
                                       ? QPageLayout::Landscape
                                       : QPageLayout::Portrait);
    if (settings.dmFields & DM_PAPERSIZE) {
        QPageSize::PageSizeId id = QPageSize::id(settings.dmPaperSize);
        if (id != QPageSize::Custom) printer.setPageSize(QPageSize(id));
    }
    if (settings.dmFields & DM_COPIES) printer.setCopyCount(std::max<int>(1, settings.dmCopies));
    if (settings.dmFields & DM_COLLATE) printer.setCollateCopies(settings.dmCollate != 0);
    FitMargins();
}

int TPrinter::DevicePapers(const std::string& device, std::int16_t* output, int capacity) {
    std::vector<std::int16_t> codes = QueryPapers(device);
    if (!output) return static_cast<int>(codes.size());
    int count = std::min(static_cast<int>(codes.size()), std::max(0, capacity));
    std::copy(codes.begin(), codes.begin() + count, output);
    return count;
}

bool TPrinter::ExecutePrintDialog(int minPage, int maxPage, int& fromPage, int& toPage, int& copies,
                                  bool& collate) {
    QPrinter& printer = QtPrinter();
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    dialog.setObjectName("PrintDialog");
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange);
    dialog.setMinMax(minPage, maxPage);
    printer.setFromTo(fromPage, toPage);
    if (dialog.exec() != QDialog::Accepted) return false;
    fromPage = printer.printRange() == QPrinter::PageRange ? printer.fromPage() : 0;
    toPage = printer.printRange() == QPrinter::PageRange ? printer.toPage() : 0;
    copies = printer.copyCount();
    collate = printer.collateCopies();
    // The dialog may have chosen another printer.
    const auto& list = Printers();
    auto it = std::find(list.begin(), list.end(), printer.printerName().toStdString());
    if (it != list.end() && it - list.begin() != FPrinterIndex)
        SetPrinterIndex(static_cast<int>(it - list.begin()));
    FitMargins();
    return true;
}

QPrinter& TPrinter::QtPrinter() {
    if (!FQtPrinter) {
        FQtPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (Printers().empty()) {
            // Nothing to print on but PDF files; they start on US Letter.
            FQtPrinter->setOutputFormat(QPrinter::PdfFormat);
            FQtPrinter->setPageSize(QPageSize(QPageSize::Letter));
        }
        FitMargins();
        if (FPrinterIndex < 0 && !Printers().empty()) SetPrinterIndex(-1);
    }
    return *FQtPrinter;
}

void TPrinter::FitMargins() {
    // The printable area is all the printer can reach: no margins of our own.
    QPageLayout layout = FQtPrinter->pageLayout();
    FQtPrinter->setPageMargins(layout.minimumMargins(), layout.units());
}

TPrinterOrientation TPrinter::Orientation() {
    return QtPrinter().pageLayout().orientation() == QPageLayout::Landscape ? poLandscape
                                                                            : poPortrait;
}

void TPrinter::SetOrientation(TPrinterOrientation orientation) {
    QtPrinter().setPageOrientation(orientation == poLandscape ? QPageLayout::Landscape
                                                              : QPageLayout::Portrait);
    FitMargins();
}

QPageLayout TPrinter::CurrentLayout() {
    return FJobWriter ? FJobWriter->pageLayout() : QtPrinter().pageLayout();
}

int TPrinter::CurrentResolution() {
    return FJobWriter ? FJobWriter->resolution() : QtPrinter().resolution();
}

int TPrinter::PageWidth() {
    return CurrentLayout().paintRectPixels(CurrentResolution()).width();
}

int TPrinter::PageHeight() {
    return CurrentLayout().paintRectPixels(CurrentResolution()).height();
}

int TPrinter::XDpi() {
    return CurrentResolution();
}

int TPrinter::YDpi() {
    return CurrentResolution();
}

void TPrinter::BeginDoc() {
    if (Printing()) throw EPrinter("Printing in progress");
    FAborted = false;
    QPrinter& settings = QtPrinter();
    if (OutputFile.empty()) {
        if (PrinterIndex() < 0) throw EPrinter("There is no default printer currently selected");
        FJobPrinter = Printers()[static_cast<std::size_t>(PrinterIndex())];
        auto temp = std::make_unique<QTemporaryFile>(QDir::tempPath() + "/tresselby-XXXXXX.pdf");
        if (!temp->open())
            throw EPrinter(
                FormatMessage("Cannot create file %s", {temp->fileTemplate().toStdString()}));
        FJobFile = std::move(temp);
    } else {
        FJobPrinter.clear();
        auto file = std::make_unique<QSaveFile>(ToQ(OutputFile));
        if (!file->open(QIODevice::WriteOnly))
            throw EPrinter(FormatMessage("Cannot create file %s", {OutputFile}));
        FJobFile = std::move(file);
    }
    FJobWriter = std::make_unique<QPdfWriter>(FJobFile.get());
    FJobWriter->setResolution(settings.resolution());
    FJobWriter->setPageLayout(settings.pageLayout());
    FJobWriter->setTitle(ToQ(Title));
    FJobWriter->setCreator("Tresselby Diagram Tool");
    FPainter = std::make_unique<QPainter>();
    if (!FPainter->begin(FJobWriter.get())) {
        FPainter.reset();
        EndJob();
        throw EPrinter("Printer selected is not valid");
    }
}

void TPrinter::NewPage() {
    if (Printing()) FJobWriter->newPage();
}

void TPrinter::EndDoc() {
    if (!Printing()) return;
    FPainter->end();
    FPainter.reset();
    FJobWriter.reset();
    try {
        if (auto* save = qobject_cast<QSaveFile*>(FJobFile.get())) {
            if (!save->commit())
                throw EPrinter(FormatMessage("Cannot create file %s", {OutputFile}));
        } else {
            FJobFile->close();
            Submit(FJobPrinter, FJobFile->fileName());
        }
    } catch (...) {
        EndJob();
        throw;
    }
    EndJob();
}

void TPrinter::Abort() {
    if (!Printing()) return;
    FAborted = true;
    FPainter->end();
    FPainter.reset();
    if (auto* save = qobject_cast<QSaveFile*>(FJobFile.get())) save->cancelWriting();
    EndJob();
}

void TPrinter::EndJob() {
    FJobWriter.reset();
    // A temporary file goes with its object; a cancelled save leaves the
    // target as it was.
    FJobFile.reset();
}

} // namespace tsb
