// The work area exported as SVG and PDF drawings, as File > Export as Image
// writes them, against the same work area on an image: the documents
// rasterised at one pixel per unit by Qt's renderer, librsvg and poppler.
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "DrawingAreas.h"
#include "EditorFixture.h"
#include "SampleDiagrams.h"
#include "VectorCompare.h"
#include "export/PageExport.h"

using namespace tsb;

namespace {

class VectorOutput : public EditorTest {
protected:
    QImage Raster() const {
        QImage raster(Width(), Height(), QImage::Format_RGB32);
        Form->ScrollBox1->PaintTo(raster, 0, 0);
        return raster;
    }
    QByteArray Export(TExportFormat format, const QString& name) {
        const QString path = Dir.filePath(name);
        TPageExport(Form->ScrollBox1).Write(format, path.toStdString());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        return file.readAll();
    }
    tsbtest::TLooseAreas Areas() const {
        return tsbtest::DrawingAreasOf(*Form->ScrollBox1, QSize(Width(), Height()));
    }
    void ExpectVectorLikeRaster(const std::string& name) {
        const QImage raster = Raster();
        const tsbtest::TLooseAreas areas = Areas();
        tsbtest::ExpectSvgShows(raster, Export(efSvg, "drawing.svg"), areas, name);
        tsbtest::ExpectPdfShows(raster, Export(efPdf, "drawing.pdf"), areas, name);
    }
    int Width() const { return Form->ScrollBox1->ClientWidth(); }
    int Height() const { return Form->ScrollBox1->ClientHeight(); }

    QTemporaryDir Dir;
};

} // namespace

TEST_F(VectorOutput, EveryElementAndConnectorKind) {
    tsbtest::AddEveryKind(Form);
    ExpectVectorLikeRaster("every-kind");
}

TEST_F(VectorOutput, ConnectorsAtEveryWidthAndStyle) {
    Form->ScrollBox1->SetBounds(Form->ScrollBox1->Left(), Form->ScrollBox1->Top(), 760, 580);
    tsbtest::AddConnectorWidthsAndStyles(Form);
    ExpectVectorLikeRaster("connectors");
}

TEST_F(VectorOutput, TextsInTheirFaces) {
    tsbtest::AddTexts(Form);
    ExpectVectorLikeRaster("texts");
}

TEST_F(VectorOutput, WithoutTheGridAndWithElementsBeyondThePage) {
    Form->MenuItem("ShowGrid1")->trigger();
    tsbtest::AddEveryKind(Form);
    Form->P640x480ActionExecute();
    ExpectVectorLikeRaster("beyond-the-page");
}

TEST_F(VectorOutput, TheComparisonFailsOnAMissingLineSlantedLineOrCaption) {
    // The documents are exported with one element hidden, and compared with
    // the screen that shows it.
    const std::vector<TConnector*> connectors = tsbtest::AddEveryKind(Form);
    const QImage raster = Raster();
    const tsbtest::TLooseAreas areas = Areas();
    TControl* missing[] = {
        connectors[0],      // a straight line between two shapes
        connectors[6],      // a slanted line with an arrow head
        Last<TTextShape>(), // the thumbnail's caption
    };
    for (TControl* element : missing) {
        element->SetVisible(false);
        const QByteArray svg = Export(efSvg, "missing.svg"), pdf = Export(efPdf, "missing.pdf");
        element->SetVisible(true);
        const QImage drawings[] = {tsbtest::RasteriseSvg(svg, Width(), Height()),
                                   tsbtest::RasteriseWithRsvg(svg, Width(), Height()),
                                   tsbtest::RasteriseWithPoppler(pdf)};
        const tsbtest::TTolerance* tolerances[] = {
            &tsbtest::QtSvgTolerance, &tsbtest::RsvgTolerance, &tsbtest::PopplerTolerance};
        for (int i = 0; i < 3; ++i) {
            const auto d = tsbtest::CompareDrawings(raster, drawings[i], areas, *tolerances[i]);
            const std::string what = element->Name() + " " + tolerances[i]->Renderer;
            EXPECT_FALSE(d.Alike(*tolerances[i])) << what;
            EXPECT_GT(d.Uncovered, 0) << what;
        }
    }
}
