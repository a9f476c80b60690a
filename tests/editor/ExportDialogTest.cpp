// File > Export as Image: the dialog's filters, JPEG first and chosen when it
// opens, and each filter writing its own format under the typed name.
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "model/StandardShape.h"

using namespace tsb;
using tsbtest::ReadFile;

namespace {

const QStringList kFilters = {"Image files (*.jpg *.jpeg)", "PNG image (*.png)",
                              "PDF document (*.pdf)", "SVG drawing (*.svg)"};

class ExportDialog : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        // A selected shape: its handles show in the export, as on screen.
        Form->ShapeBtn->click();
        Click(100, 100);
        Click(110, 110);
        ASSERT_TRUE(Last<TStandardShape>()->Selected());
    }
    // Exports through the dialog: the filter chosen as a user chooses it in
    // the file type list, then the name typed and the dialog accepted.
    void Export(int filter, const QString& typed) {
        tsbtest::AnswerModal<QFileDialog>([filter, typed](QFileDialog* d) {
            auto* types = d->findChild<QComboBox*>("fileTypeCombo");
            ASSERT_NE(types, nullptr);
            for (int i = 0; i < filter; ++i)
                QTest::keyClick(types, Qt::Key_Down);
            EXPECT_EQ(d->selectedNameFilter(), kFilters[filter]);
            d->findChild<QLineEdit*>("fileNameEdit")->setText(typed);
            QMetaObject::invokeMethod(d, "accept");
        });
        Form->ExportBtn->click();
        EXPECT_TRUE(tsbtest::ShownErrors().empty());
    }
    QTemporaryDir Dir;
};

} // namespace

TEST_F(ExportDialog, OffersJpegFirstAndChosenThenPngPdfAndSvg) {
    for (int round = 0; round < 2; ++round) {
        bool answered = false;
        tsbtest::AnswerModal<QFileDialog>([&](QFileDialog* d) {
            EXPECT_EQ(d->windowTitle(), "Save As Image");
            EXPECT_EQ(d->nameFilters(), kFilters);
            EXPECT_EQ(d->selectedNameFilter(), kFilters[0]);
            EXPECT_EQ(d->defaultSuffix(), "jpg");
            answered = true;
            d->reject();
        });
        Form->ExportBtn->click();
        EXPECT_TRUE(answered);
        // Also after an export in another format.
        if (round == 0) Export(2, Dir.filePath("first"));
    }
    EXPECT_TRUE(QFile::exists(Dir.filePath("first.pdf")));
}

TEST_F(ExportDialog, EachFilterWritesItsFormatUnderItsExtension) {
    const QImage screen = Form->WorkAreaBitmap();
    Export(0, Dir.filePath("diagram"));
    const QByteArray jpeg = ReadFile(Dir.filePath("diagram.jpg"));
    EXPECT_TRUE(jpeg.startsWith("\xFF\xD8\xFF"));

    Export(1, Dir.filePath("diagram"));
    const QImage png = QImage::fromData(ReadFile(Dir.filePath("diagram.png")), "PNG");
    // Every pixel as on screen: grid, shape, caption and its handles.
    EXPECT_TRUE(png.convertToFormat(QImage::Format_RGB32) == screen);

    Export(2, Dir.filePath("diagram"));
    const QByteArray pdf = ReadFile(Dir.filePath("diagram.pdf"));
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_TRUE(QString::fromLatin1(pdf).contains(
        QRegularExpression(R"(/MediaBox \[0 0 600(\.0*)? 450(\.0*)?\])")));

    Export(3, Dir.filePath("diagram"));
    const QByteArray svg = ReadFile(Dir.filePath("diagram.svg"));
    EXPECT_TRUE(QSvgRenderer(svg).isValid());
    EXPECT_TRUE(svg.contains(">Caption</text>"));
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 800 600\""));

    // A typed extension stays; the chosen filter gives the format.
    Export(1, Dir.filePath("plan.PNG"));
    EXPECT_TRUE(ReadFile(Dir.filePath("plan.PNG")).startsWith("\x89PNG"));
    EXPECT_FALSE(QFile::exists(Dir.filePath("plan.PNG.png")));
}
