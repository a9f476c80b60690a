// Writing a control to a file in each export format: the format a name asks
// for, failures that leave what was there before, and large pages written in
// memory that does not grow with the page.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

#include "TestSupport.h"
#include "core/Component.h"
#include "export/PageExport.h"
#include "widgets/WinControl.h"

using namespace tsb;
using tsbtest::ReadFile;

namespace {

// Runs write and returns the message it raised; empty when it raised none.
template <typename F> std::string ErrorOf(F write) {
    try {
        write();
    } catch (const Exception& e) {
        return e.what();
    }
    return {};
}

// An element drawing an outlined box with a caption.
class TBox : public TControl {
public:
    using TControl::TControl;
    void Paint() override {
        TCanvas* c = Canvas();
        c->Brush.Style = bsClear;
        c->RoundRect(0, 0, Width(), Height(), 12, 12);
        c->TextOut(10, 10, "Caption");
    }
};

// The process's resident memory and its high-water mark, in MB.
double StatusMB(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field, 0) == 0) return std::stod(line.substr(field.size())) / 1024.0;
    return 0;
}

} // namespace

TEST(PageExport, FormatFollowsTheExtensionWhateverItsCase) {
    EXPECT_EQ(ExportFormatOf("a.jpg"), efJpeg);
    EXPECT_EQ(ExportFormatOf("a.JPEG"), efJpeg);
    EXPECT_EQ(ExportFormatOf("dir.svg/a.Png"), efPng);
    EXPECT_EQ(ExportFormatOf("/x/y/plan.pdf"), efPdf);
    EXPECT_EQ(ExportFormatOf("plan.SVG"), efSvg);
    for (const char* other : {"plan", "plan.tsb", "plan.svgz", "plan.pdf.txt", "plan.", "png"})
        EXPECT_EQ(ExportFormatOf(other), std::nullopt) << other;
}

TEST(PageExport, FailuresLeaveTheTargetAsItWas) {
    TComponent owner(nullptr);
    auto* page = new TWinControl(&owner);
    page->Color = clWhite;
    page->SetBounds(0, 0, 0, 30);
    QTemporaryDir dir;
    const QString target = dir.filePath("kept");
    QFile keep(target);
    ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
    keep.write("keep");
    keep.close();
    const TPageExport exporter(page);
    const std::string name = target.toStdString();
    EXPECT_EQ(ErrorOf([&] { exporter.WritePng(name); }), "PNG image is empty");
    EXPECT_EQ(ErrorOf([&] { exporter.WriteJpeg(name); }), "JPEG image is empty");
    EXPECT_EQ(ErrorOf([&] { exporter.WritePdf(name); }), "PDF page is empty");
    EXPECT_EQ(ErrorOf([&] { exporter.WriteSvg(name); }), "SVG drawing is empty");
    EXPECT_EQ(ReadFile(target), "keep");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"kept"});
    // A folder in the way is never replaced.
    page->SetBounds(0, 0, 40, 30);
    for (TExportFormat format : {efJpeg, efPng, efPdf, efSvg}) {
        const std::string folder = dir.path().toStdString();
        EXPECT_EQ(ErrorOf([&] { exporter.Write(format, folder); }), "Cannot create file " + folder);
    }
    exporter.WritePng(name);
    EXPECT_TRUE(ReadFile(target).startsWith("\x89PNG"));
}

TEST(PageExport, LargePagesAreWrittenInMemoryThatDoesNotGrowWithThem) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer keeps freed memory in quarantine";
#endif
    // 8,000 x 6,000 pixels (192 MB as one image) with 20,000 elements (some
    // 120 MB of an SVG document held whole).
    TComponent owner(nullptr);
    auto* page = new TWinControl(&owner);
    page->Color = clWhite;
    page->SetBounds(0, 0, 8000, 6000);
    for (int i = 0; i < 20000; ++i) {
        auto* box = new TBox(&owner);
        box->SetBounds(5 + (i % 160) * 50, 5 + (i / 160) * 48, 44, 40);
        box->SetParent(page);
    }
    QTemporaryDir dir;
    const TPageExport exporter(page);
    for (TExportFormat format : {efPng, efSvg}) {
        std::ofstream("/proc/self/clear_refs") << "5"; // sets the high-water mark back
        const double before = StatusMB("VmRSS:");
        if (StatusMB("VmHWM:") > before + 2) GTEST_SKIP() << "the high-water mark stays";
        const std::string name =
            dir.filePath(format == efPng ? "page.png" : "page.svg").toStdString();
        exporter.Write(format, name);
        EXPECT_LT(StatusMB("VmHWM:") - before, 40) << name;
        EXPECT_GT(QFile(QString::fromStdString(name)).size(), 1000) << name;
    }
}
