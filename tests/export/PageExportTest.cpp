// Writing a control to a file in each export format: the format a name asks
// for, and failures that leave what was there before.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "core/Component.h"
#include "export/PageExport.h"
#include "widgets/WinControl.h"

using namespace tsb;

namespace {

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

// Runs write and returns the message it raised; empty when it raised none.
template <typename F> std::string ErrorOf(F write) {
    try {
        write();
    } catch (const Exception& e) {
        return e.what();
    }
    return {};
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
