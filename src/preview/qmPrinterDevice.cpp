// The engine's access to the printer's settings: orientation, paper,
// copies and collation through the locked device-mode block.
#include "preview/qmPrinter.h"

#include <algorithm>

namespace tsb {

const std::array<TqmPaper, 7>& PaperTable() {
    static const std::array<TqmPaper, 7> table{{
        {qmDefault, 0, QPageSize::Custom},
        {qmLetter, 1, QPageSize::Letter},
        {qmLegal, 5, QPageSize::Legal},
        {qmA3, 8, QPageSize::A3},
        {qmA4, 9, QPageSize::A4},
        {qmA5, 11, QPageSize::A5},
        {qmCustom, DMPAPER_USER, QPageSize::Custom},
    }};
    return table;
}

bool TqmPrinter::LockDeviceMode() {
    if (FLockCount == 0) {
        TPrinter& printer = Printer();
        // Without a printer there are no settings to change, and no reason
        // to fail: pages then go to PDF files.
        if (printer.Printers().empty()) return false;
        FDeviceMode = printer.GetPrinter(FDevice, FDriver, FPort);
        if (!FDeviceMode) {
            printer.SetPrinterIndex(printer.PrinterIndex());
            FDeviceMode = printer.GetPrinter(FDevice, FDriver, FPort);
        }
        if (!FDeviceMode) {
            FDevice.clear();
            FDriver.clear();
            FPort.clear();
            throw EPrinter("Printer driver error");
        }
        FFieldMask = FDeviceMode->dmFields;
    }
    ++FLockCount;
    return FDeviceMode != nullptr;
}

void TqmPrinter::UnlockDeviceMode() {
    if (FLockCount == 0) return;
    if (--FLockCount > 0) return;
    Printer().SetPrinter(FDevice, FDriver, FPort, FDeviceMode);
    FDeviceMode = nullptr;
    FDevice.clear();
    FDriver.clear();
    FPort.clear();
}

template <typename F> void TqmPrinter::WithDeviceMode(F change) {
    if (!LockDeviceMode()) return;
    try {
        change(*FDeviceMode);
    } catch (...) {
        UnlockDeviceMode();
        throw;
    }
    UnlockDeviceMode();
}

void TqmPrinter::SetOrientation(TPrinterOrientation orientation) {
    FOrientation = orientation;
    Printer().SetOrientation(orientation);
    WithDeviceMode([&](TDeviceMode& mode) {
        if (!DeviceModeHasField(DM_ORIENTATION)) return;
        mode.dmOrientation = orientation == poLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
        mode.dmFields |= DM_ORIENTATION;
    });
    ReadPageMetrics();
}

void TqmPrinter::SetPaperSize(TqmPaperSize paper) {
    WithDeviceMode([&](TDeviceMode& mode) {
        if (!DeviceModeHasField(DM_PAPERSIZE) || !PaperSupported(paper)) return;
        mode.dmPaperSize = PaperTable()[paper].Code;
        mode.dmFields |= DM_PAPERSIZE;
    });
    ReadPageMetrics();
}

TqmPaperSize TqmPrinter::PaperSize() {
    TqmPaperSize result = qmDefault;
    WithDeviceMode([&](TDeviceMode& mode) {
        if (!DeviceModeHasField(DM_PAPERSIZE)) return;
        for (const TqmPaper& paper : PaperTable())
            if (mode.dmPaperSize == paper.Code) result = paper.Paper;
    });
    return result;
}

bool TqmPrinter::PaperSupported(TqmPaperSize paper) {
    if (FLockCount == 0) {
        bool supported = false;
        WithDeviceMode([&](TDeviceMode&) { supported = PaperSupported(paper); });
        return supported;
    }
    // The buffer holds every code the printer offers, however many.
    TPrinter& printer = Printer();
    int count = printer.DevicePapers(FDevice, nullptr);
    std::vector<std::int16_t> codes(static_cast<std::size_t>(std::max(0, count)));
    count = printer.DevicePapers(FDevice, codes.data(), static_cast<int>(codes.size()));
    std::array<bool, 7> offered{};
    for (int i = 0; i < count; ++i) {
        // Code 0 is a size without a code: no paper of the table.
        if (codes[static_cast<std::size_t>(i)] == 0) continue;
        for (const TqmPaper& entry : PaperTable())
            if (entry.Code == codes[static_cast<std::size_t>(i)]) offered[entry.Paper] = true;
    }
    return paper < offered.size() && offered[paper];
}

void TqmPrinter::SetCopies(int n) {
    WithDeviceMode([&](TDeviceMode& mode) {
        if (!DeviceModeHasField(DM_COPIES)) return;
        mode.dmCopies = static_cast<std::int16_t>(std::clamp(n, 1, 32767));
        mode.dmFields |= DM_COPIES;
    });
}

void TqmPrinter::SetCollate(bool collate) {
    WithDeviceMode([&](TDeviceMode& mode) {
        if (!DeviceModeHasField(DM_COLLATE)) return;
        mode.dmCollate = collate ? 1 : 0;
        mode.dmFields |= DM_COLLATE;
    });
}

} // namespace tsb
