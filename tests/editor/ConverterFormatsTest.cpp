// The converter's export formats, run as a user runs it on diagrams saved
// from the editor: PNG pixels against the work area painted on an image,
// the PDF's page, fonts and pixels read back with poppler's tools, the SVG's
// text elements, and its pixels as Qt's renderer and librsvg draw them.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <csignal>
#include <gtest/gtest.h>

#include "DrawingAreas.h"
#include "EditorFixture.h"
#include "SampleDiagrams.h"
#include "VectorCompare.h"
#include "export/PagePainter.h"
#include "model/CustomShape.h"

using namespace tsb;

namespace {

struct TRun {
    int Status = -1;
    QString Out;
    QString Err;
};

TRun RunProgram(const QString& program, const QStringList& arguments) {
    TRun run;
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        run.Err = "did not finish";
        return run;
    }
    run.Status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.Out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.Err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

// A line of a poppler tool's report that starts with the label.
QString Field(const QString& report, const QString& label) {
    for (const QString& line : report.split('\n'))
        if (line.startsWith(label)) return line.mid(label.size()).trimmed();
    return {};
}

// The texts of the document's <text> elements, in order.
QStringList SvgTexts(const QByteArray& svg) {
    QStringList texts;
    QXmlStreamReader xml(svg);
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"text")
            texts << xml.readElementText();
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return texts;
}

// Every word of the texts is one whole word of some text element.
void ExpectWordsWhole(const QStringList& elements, std::initializer_list<const char*> texts) {
    QStringList words;
    for (const QString& e : elements)
        words << e.split(' ', Qt::SkipEmptyParts);
    for (const char* text : texts)
        for (const QString& word : QString(text).split(' '))
            EXPECT_TRUE(words.contains(word)) << word.toStdString() << " of " << text;
}

class ConverterFormats : public EditorTest {
protected:
    // Saves the form's diagram, as the editor's Save does, for the converter,
    // and opens it again, so the form shows what the file holds.
    void SaveDiagram() {
        TCustomShape::SelectAll(Form->ScrollBox1);
        TCustomShape::SaveToFile(Path("diagram.tsb").toStdString(), Form->ScrollBox1);
        Form->OpenFile(Path("diagram.tsb").toStdString());
    }
    // The converter's output of the saved diagram; empty when it failed.
    QByteArray Convert(const QString& name) {
        TRun run = RunProgram(TRESSELBY_CONVERT, {Path("diagram.tsb"), Path(name)});
        EXPECT_EQ(run.Status, 0) << run.Err.toStdString();
        QFile file(Path(name));
        if (!file.open(QIODevice::ReadOnly)) return {};
        return file.readAll();
    }
    // The work area as the screen shows it with nothing selected.
    QImage Screen() const {
        QImage image(Width(), Height(), QImage::Format_RGB32);
        image.fill(Qt::white);
        Form->ScrollBox1->PaintTo(image, 0, 0);
        return image;
    }
    int Width() const { return Form->ScrollBox1->ClientWidth(); }
    int Height() const { return Form->ScrollBox1->ClientHeight(); }
    QString Path(const QString& name) const { return Dir.filePath(name); }
    // A poppler tool's report on the PDF.
    QString Poppler(const char* tool, const QStringList& arguments) {
        const QString program = QStandardPaths::findExecutable(tool);
        EXPECT_FALSE(program.isEmpty()) << tool << " is not installed (scripts/setup.sh)";
        TRun run = RunProgram(program, arguments);
        EXPECT_EQ(run.Status, 0) << tool << ": " << run.Err.toStdString();
        return run.Out;
    }
    // Where the drawing of the work area may differ in a renderer.
    tsbtest::TLooseAreas Areas() const {
        return tsbtest::DrawingAreasOf(*Form->ScrollBox1, QSize(Width(), Height()));
    }
    // The saved diagram as a PDF, rasterised at 96 dots per inch without
    // smoothing by poppler.
    void ExpectPdfLikeScreen(const char* name) {
        const QByteArray pdf = Convert(QString(name) + ".pdf");
        ASSERT_FALSE(pdf.isEmpty());
        tsbtest::ExpectPdfShows(Screen(), pdf, Areas(), name);
    }

    QTemporaryDir Dir;
};

} // namespace

TEST_F(ConverterFormats, PngIsTheScreenPixelForPixel) {
    tsbtest::AddEveryKind(Form);
    SaveDiagram();
    const QImage png = QImage::fromData(Convert("diagram.png"), "PNG");
    ASSERT_EQ(png.size(), QSize(800, 600));
    EXPECT_TRUE(png.convertToFormat(QImage::Format_RGB32) == Screen());
    // The grid shows; the elements that were selected show no handles.
    EXPECT_EQ(tsbtest::Px(png, 20, 20), 0x808080u);
    auto* shape = Last<TStandardShape>();
    EXPECT_EQ(tsbtest::Px(png, shape->Left() + 1, shape->Top() + 1), 0xFFFFFFu);
}

TEST_F(ConverterFormats, PngOfATallPageCrossesBandsUnseen) {
    Form->ScrollBox1->SetBounds(40, 30, 1100, 2500);
    const int edge = TPagePainter(Form->ScrollBox1).BandRows();
    ASSERT_LT(2 * edge, 2500);
    // Shapes with captions and connectors across both band edges.
    TStandardShape* previous = nullptr;
    for (int i = 0; i < 8; ++i) {
        auto* shape = Add<TStandardShape>(40 + 130 * i, (i % 2 ? 2 * edge : edge) - 25 - i);
        shape->SetShapeType(static_cast<TShapeType>(i % 6));
        tsbtest::AddCaption(Form, shape, i % 2 ? "Across" : "Band edge", i % 3 ? alClient : alTop);
        if (previous) Join<TDoubleHeadArrow>(previous, csRight, shape, csLeft);
        previous = shape;
    }
    SaveDiagram();
    const QImage png = QImage::fromData(Convert("tall.png"), "PNG");
    ASSERT_EQ(png.size(), QSize(1100, 2500));
    EXPECT_TRUE(png.convertToFormat(QImage::Format_RGB32) == Screen());
}

TEST_F(ConverterFormats, PdfIsOnePageOfTheWorkAreaWithEmbeddedFontsAndRealText) {
    tsbtest::AddEveryKind(Form);
    SaveDiagram();
    ASSERT_FALSE(Convert("diagram.pdf").isEmpty());
    const QString pdf = Path("diagram.pdf");
    const QString info = Poppler("pdfinfo", {pdf});
    EXPECT_EQ(Field(info, "Pages:"), "1");
    EXPECT_EQ(Field(info, "Page size:"), "600 x 450 pts"); // 800 x 600 at 96 per inch
    // Every font is embedded; the table has two heading lines.
    const QStringList fonts = Poppler("pdffonts", {pdf}).trimmed().split('\n');
    ASSERT_GT(fonts.size(), 2);
    for (int i = 2; i < fonts.size(); ++i)
        EXPECT_TRUE(fonts[i].contains(QRegularExpression(R"(\s+yes\s+(yes|no)\s+(yes|no)\s+\d+)")))
            << fonts[i].toStdString();
    const QString text = Poppler("pdftotext", {pdf, "-"});
    for (const char* caption : {"Caption", "New Graphic", "Free text", "DefaultPicture.jpg"})
        EXPECT_TRUE(text.contains(caption)) << caption;
    ExpectPdfLikeScreen("every-kind");
}

TEST_F(ConverterFormats, PdfTextsLookAsOnScreen) {
    tsbtest::AddTexts(Form);
    SaveDiagram();
    ExpectPdfLikeScreen("texts");
}

TEST_F(ConverterFormats, PdfConnectorsAtEveryWidthAndStyleLookAsOnScreen) {
    Form->ScrollBox1->SetBounds(40, 30, 760, 580);
    tsbtest::AddConnectorWidthsAndStyles(Form);
    SaveDiagram();
    ExpectPdfLikeScreen("connectors");
}

TEST_F(ConverterFormats, PdfPageOfAnOddSizeIsRoundedUpToWholePoints) {
    Form->ScrollBox1->SetBounds(40, 30, 801, 603);
    Add<TStandardShape>(700, 500);
    SaveDiagram();
    ASSERT_FALSE(Convert("odd.pdf").isEmpty());
    EXPECT_EQ(Field(Poppler("pdfinfo", {Path("odd.pdf")}), "Page size:"), "601 x 453 pts");
}

TEST_F(ConverterFormats, SvgHoldsEveryCaptionAsTextAndLooksAsOnScreen) {
    tsbtest::AddEveryKind(Form);
    SaveDiagram();
    const QByteArray svg = Convert("diagram.svg");
    EXPECT_TRUE(QSvgRenderer(svg).isValid());
    QXmlStreamReader xml(svg);
    while (xml.readNext() != QXmlStreamReader::StartElement && !xml.atEnd()) {
    }
    EXPECT_EQ(xml.name(), u"svg");
    EXPECT_EQ(xml.attributes().value("viewBox"), u"0 0 800 600");
    EXPECT_EQ(xml.attributes().value("width"), u"211.667mm"); // 800 at 96 to the inch
    // One-word captions whole, in one element; each word of the others too.
    const QStringList texts = SvgTexts(svg);
    EXPECT_TRUE(texts.contains("Caption"));
    EXPECT_TRUE(texts.contains("DefaultPicture.jpg"));
    ExpectWordsWhole(texts, {"New Graphic", "Free text"});
    tsbtest::ExpectSvgShows(Screen(), svg, Areas(), "svg");
}

TEST_F(ConverterFormats, SvgTextsAreWholeWordsInTheirFaces) {
    tsbtest::AddTexts(Form);
    SaveDiagram();
    const QByteArray svg = Convert("texts.svg");
    ExpectWordsWhole(SvgTexts(svg), {"Pump station", "Stage 2", "Main valve",
                                     "Cooling water (return)", "A long text that wraps"});
    EXPECT_TRUE(svg.contains("font-family:'Liberation Serif'")); // "Times New Roman"
    EXPECT_TRUE(svg.contains("font-weight:700"));
    tsbtest::ExpectSvgShows(Screen(), svg, Areas(), "svg-texts");
}

TEST_F(ConverterFormats, AnInterruptedExportLeavesTheTargetAndNoFileBehind) {
    // 2.4 gigapixels: seconds of work, stopped early.
    Form->ScrollBox1->SetBounds(40, 30, 60000, 40000);
    Add<TStandardShape>(100, 100);
    SaveDiagram();
    for (const auto& [signal, status] : {std::pair{SIGINT, 130}, std::pair{SIGTERM, 143}}) {
        QFile target(Path("big.png"));
        ASSERT_TRUE(target.open(QIODevice::WriteOnly));
        target.write("keep");
        target.close();
        QProcess process;
        process.setReadChannel(QProcess::StandardError);
        process.start(TRESSELBY_CONVERT, {"--progress", Path("diagram.tsb"), Path("big.png")});
        // Interrupted once the export shows progress.
        QByteArray err;
        while (!err.contains('%') && process.waitForReadyRead(30000))
            err += process.readAllStandardError();
        ASSERT_TRUE(err.contains('%'));
        ::kill(static_cast<pid_t>(process.processId()), signal);
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), status);
        EXPECT_EQ(QFile(Path("big.png")).size(), 4);
        EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files), (QStringList{"big.png", "diagram.tsb"}));
    }
}

TEST_F(ConverterFormats, TheProgressLineShowsOnlyOnATerminalOrWhenAsked) {
    Add<TStandardShape>(100, 100);
    SaveDiagram();
    // Off a terminal: silent, unless asked.
    EXPECT_EQ(RunProgram(TRESSELBY_CONVERT, {Path("diagram.tsb"), Path("a.png")}).Err, "");
    const TRun asked =
        RunProgram(TRESSELBY_CONVERT, {"--progress", Path("diagram.tsb"), Path("b.svg")});
    EXPECT_EQ(asked.Status, 0);
    EXPECT_TRUE(asked.Err.contains("Exporting b.svg:")) << asked.Err.toStdString();
    EXPECT_TRUE(asked.Err.endsWith("\r\x1b[K")); // the line is cleared at the end
    const TRun quiet = RunProgram(TRESSELBY_CONVERT,
                                  {"--progress", "--quiet", Path("diagram.tsb"), Path("c.pdf")});
    EXPECT_EQ(quiet.Status, 0);
    EXPECT_EQ(quiet.Err, "");
}
