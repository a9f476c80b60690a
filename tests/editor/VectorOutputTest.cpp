// The work area drawn on a vector device against the same work area on an
// image: SVG documents rasterised at one pixel per unit.
#include <QPainter>
#include <functional>
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "SampleDiagrams.h"
#include "VectorCompare.h"

using namespace tsb;

namespace {

class VectorOutput : public EditorTest {
protected:
    void ExpectVectorLikeRaster(const char* name) {
        const int w = Form->ScrollBox1->Width(), h = Form->ScrollBox1->Height();
        QImage raster(w, h, QImage::Format_RGB32);
        Form->ScrollBox1->PaintTo(raster, 0, 0);
        QByteArray svg = tsbtest::DrawSvg(w, h, [&](QPainter& painter) {
            TCanvas canvas;
            canvas.BindPainter(&painter, {0, 0}, {0, 0, w, h});
            Form->ScrollBox1->PaintTo(canvas, 0, 0);
        });
        tsbtest::ExpectDrawnAlike(raster, tsbtest::RasteriseSvg(svg, w, h), name);
    }
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
