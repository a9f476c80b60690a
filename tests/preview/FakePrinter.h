// A stand-in for the system's printers: names, settings and papers as a test
// sets them; finished jobs are kept as PDF bytes instead of being printed.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "preview/Printer.h"

namespace tsbtest {

class TFakePrinter : public tsb::TPrinter {
public:
    std::vector<std::string> Names{"Office"};
    std::string DefaultName = "Office";
    // False: the printer's settings cannot be had.
    bool HasSettings = true;
    tsb::TDeviceMode Settings{tsb::DM_ORIENTATION | tsb::DM_PAPERSIZE | tsb::DM_COPIES |
                                  tsb::DM_COLLATE,
                              tsb::DMORIENT_PORTRAIT, 1, 1, 0};
    std::vector<std::int16_t> Papers{1, 5, 8, 9, 11};
    // True: the printer takes no job.
    bool Refuse = false;
    // Every finished job's PDF.
    std::vector<QByteArray> Jobs;
    std::vector<std::string> JobPrinters;

    // The settings the printer was last given.
    tsb::TDeviceMode* Current() {
        std::string device, driver, port;
        return GetPrinter(device, driver, port);
    }

protected:
    std::vector<std::string> QueryPrinters() override { return Names; }
    std::string QueryDefaultPrinter() override { return DefaultName; }
    bool QueryDeviceMode(const std::string&, tsb::TDeviceMode& mode) override {
        if (HasSettings) mode = Settings;
        return HasSettings;
    }
    std::vector<std::int16_t> QueryPapers(const std::string&) override { return Papers; }
    void Submit(const std::string& name, const QString& file) override {
        if (Refuse) throw tsb::EPrinter("Printer " + name + " did not take the job: offline");
        QFile f(file);
        f.open(QIODevice::ReadOnly);
        Jobs.push_back(f.readAll());
        JobPrinters.push_back(name);
    }
};

// Installs a printer for the life of the object, then puts the old one back.
template <typename T = TFakePrinter> class TPrinterScope {
public:
    TPrinterScope() {
        auto printer = std::make_unique<T>();
        FPrinter = printer.get();
        FOld = tsb::SetPrinter(std::move(printer));
    }
    ~TPrinterScope() { tsb::SetPrinter(std::move(FOld)); }
    T& operator*() const { return *FPrinter; }
    T* operator->() const { return FPrinter; }

private:
    T* FPrinter;
    std::unique_ptr<tsb::TPrinter> FOld;
};

// The pages of a PDF rendered at 96 dots per inch by poppler's pdftocairo,
// which keeps the pixels of an image drawn at that scale, without smoothing
// the edges of vector drawing.
inline std::vector<QImage> RenderPdf(const QByteArray& pdf) {
    QTemporaryDir dir;
    QFile file(dir.filePath("job.pdf"));
    file.open(QIODevice::WriteOnly);
    file.write(pdf);
    file.close();
    QProcess::execute("pdftocairo", {"-r", "96", "-antialias", "none", "-png", file.fileName(),
                                     dir.filePath("page")});
    std::vector<QImage> pages;
    QStringList names = QDir(dir.path()).entryList({"page*.png"}, QDir::Files, QDir::Name);
    for (const QString& name : names)
        pages.push_back(QImage(dir.filePath(name)).convertToFormat(QImage::Format_RGB32));
    return pages;
}

// How many pixels of two images of one size differ, and where the first is.
inline std::string Differences(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return "sizes differ";
    int count = 0, fx = -1, fy = -1;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF) && count++ == 0) {
                fx = x;
                fy = y;
            }
    if (count == 0) return {};
    return std::to_string(count) + " pixels differ, the first at " + std::to_string(fx) + ", " +
           std::to_string(fy);
}

// What pdfinfo tells about a PDF: "Pages" and "Page size" lines.
inline QString PdfInfo(const QByteArray& pdf) {
    QTemporaryDir dir;
    QFile file(dir.filePath("job.pdf"));
    file.open(QIODevice::WriteOnly);
    file.write(pdf);
    file.close();
    QProcess process;
    process.start("pdfinfo", {file.fileName()});
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace tsbtest
