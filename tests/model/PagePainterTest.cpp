// A page painted in bands against the same page painted in one piece: every
// element kind, grid, handles, dotted and wide lines and text crossing the
// band edges come out pixel for pixel the same; the streamed JPEG is byte
// for byte the one-piece encoding, the streamed PNG holds every pixel; a
// scaled-down picture takes its pixels from the page.
#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

#include "DiagramTestUtil.h"
#include "export/PagePainter.h"
#include "graphics/JPEGImage.h"
#include "graphics/Picture.h"
#include "model/Connector.h"
#include "model/GraphicShape.h"
#include "model/HiddenShape.h"
#include "model/RegularPolygonShape.h"
#include "model/StandardShape.h"
#include "support/TestSupport.h"
#include "workarea/SnapGrid.h"

using namespace tsb;

namespace {

// A page 4,000 wide: bands of 262 rows. Everything sits across a band edge.
struct BandedPage {
    BandedPage() {
        D.Box->SetBounds(0, 0, 4000, 700);
        auto* grid = new TSnapGrid(D.Root.get());
        grid->SetGridSize(20);
        grid->SetParent(D.Box);
        TPagePainter page(D.Box);
        Edge = page.BandRows();
        TStandardShape* previous = nullptr;
        for (int i = 0; i < 12; ++i) {
            auto* shape = new TStandardShape(D.Root.get());
            shape->SetBounds(40 + i * 300, Edge - 30 + (i % 3) * 7, 120, 70 + i);
            shape->SetParent(D.Box);
            shape->SetShapeType(static_cast<TShapeType>(i % 6));
            shape->SetSelected(i % 2 == 0);
            auto* caption = new TTextShape(D.Root.get());
            caption->SetText("Across the\nband edge");
            shape->SetCaptionAlign(i % 3 == 0 ? alClient : alBottom);
            shape->SetCaption(caption);
            if (previous) {
                TConnector* c = i % 3 == 0
                                    ? static_cast<TConnector*>(new TDoubleHeadArrow(D.Root.get()))
                                : i % 3 == 1 ? new TSingleHeadArrow(D.Root.get())
                                             : new TLineConnector(D.Root.get());
                c->StartConn().Side = csBottom;
                c->StartConn().SetShape(previous);
                c->EndConn().Side = i % 2 ? csTop : csLeft;
                c->EndConn().SetShape(shape);
                c->LineStyle = i % 4 == 1 ? psDot : psSolid;
                c->SetLineWidth(i % 4 == 2 ? 3 : 1);
                c->UpdateBounds();
                c->SetParent(D.Box);
            }
            previous = shape;
        }
        auto* polygon = new TRegularPolygonShape(D.Root.get());
        polygon->SetBounds(1200, 2 * Edge - 50, 90, 100);
        polygon->SetSides(7);
        polygon->SetParent(D.Box);
        auto* hidden = new THiddenShape(D.Root.get());
        hidden->SetBounds(1500, 2 * Edge - 2, 10, 10);
        hidden->SetParent(D.Box);
        hidden->SetSelected(true);
        // A picture stretched over two band edges.
        QImage art(40, 30, QImage::Format_RGB32);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                art.setPixel(x, y, qRgb(x * 6, y * 8, (x ^ y) * 4));
        std::vector<std::uint8_t> bytes = EncodeJpeg(art);
        TJPEGImage jpeg;
        jpeg.LoadFromBytes(bytes.data(), bytes.size());
        TPicture picture;
        picture.SetGraphic(&jpeg);
        Graphic = new TGraphicShape(D.Root.get());
        Graphic->SetBounds(2000, Edge - 20, 85, 85);
        Graphic->SetParent(D.Box);
        Graphic->SetImage(picture);
        Graphic->SetSelected(true);
    }
    QImage OnePiece() const {
        QImage img(D.Box->Width(), D.Box->Height(), QImage::Format_RGB32);
        img.fill(Qt::white);
        D.Box->PaintTo(img, 0, 0);
        return img;
    }
    tsbtest::TDiagram D;
    int Edge = 0;
    TGraphicShape* Graphic = nullptr;
};

} // namespace

TEST(PagePainter, BandsPaintTheSamePixelsAsOnePiece) {
    BandedPage page;
    ASSERT_EQ(page.Edge, 262);
    QImage whole = page.OnePiece();
    QImage banded(whole.size(), QImage::Format_RGB32);
    banded.fill(Qt::black);
    int bands = 0;
    TPagePainter(page.D.Box).ForEachBand([&](const QImage& band, int top, int rows) {
        EXPECT_EQ(top, bands * page.Edge);
        EXPECT_LE(band.sizeInBytes(), 4 * TPagePainter::BandPixels);
        for (int y = 0; y < rows; ++y)
            std::memcpy(banded.scanLine(top + y), band.constScanLine(y),
                        static_cast<std::size_t>(band.bytesPerLine()));
        ++bands;
    });
    EXPECT_EQ(bands, 3);
    EXPECT_TRUE(banded == whole);
    // Something was drawn on both sides of each edge.
    int dark = 0;
    for (int x = 0; x < whole.width(); ++x)
        dark += tsbtest::Px(whole, x, page.Edge - 1) != 0xFFFFFFu &&
                tsbtest::Px(whole, x, page.Edge) != 0xFFFFFFu;
    EXPECT_GT(dark, 50);
}

TEST(PagePainter, StreamedJpegIsTheOnePieceEncoding) {
    BandedPage page;
    std::vector<std::uint8_t> streamed;
    std::size_t pieces = 0;
    TPagePainter(page.D.Box)
        .WriteJpeg(
            [&](const std::uint8_t* data, std::size_t size) {
                streamed.insert(streamed.end(), data, data + size);
                ++pieces;
            },
            90);
    EXPECT_GT(pieces, 1u); // handed over as it was made
    EXPECT_EQ(streamed, EncodeJpeg(page.OnePiece(), 90));
}

TEST(PagePainter, StreamedPngIsThePageLossless) {
    BandedPage page;
    // The picture brings more colours than a palette holds: the file starts
    // again in full colour over what was written, and ends where it ends.
    QByteArray bytes(3000000, 'x');
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    TPagePainter(page.D.Box).WritePng(buffer, {pcPalette, 2, 50000});
    EXPECT_EQ(bytes[25], 2); // RGB
    EXPECT_TRUE(bytes.endsWith(QByteArray("IEND\xAE\x42\x60\x82")));
    QImage decoded = QImage::fromData(bytes, "PNG");
    ASSERT_EQ(decoded.size(), QSize(4000, 700));
    EXPECT_TRUE(decoded.convertToFormat(QImage::Format_RGB32) == page.OnePiece());

    // Without it, a palette.
    delete page.Graphic;
    QByteArray indexed;
    QBuffer second(&indexed);
    second.open(QIODevice::WriteOnly);
    TPagePainter(page.D.Box).WritePng(second, {pcPalette, 3, 50000});
    EXPECT_EQ(indexed[25], 3);
    EXPECT_TRUE(QImage::fromData(indexed, "PNG").convertToFormat(QImage::Format_RGB32) ==
                page.OnePiece());
}

TEST(PagePainter, ScaledPictureSamplesThePage) {
    BandedPage page;
    QImage whole = page.OnePiece();
    EXPECT_TRUE(TPagePainter(page.D.Box).Picture(4000 * 700) == whole);
    QImage small = TPagePainter(page.D.Box).Picture(700000);
    EXPECT_LE(std::int64_t(small.width()) * small.height(), 700000);
    EXPECT_NEAR(double(small.width()) / small.height(), 4000.0 / 700.0, 0.02);
    for (int y = 0; y < small.height(); y += 7)
        for (int x = 0; x < small.width(); x += 5)
            ASSERT_EQ(small.pixel(x, y), whole.pixel(int(std::int64_t(x) * 4000 / small.width()),
                                                     int(std::int64_t(y) * 700 / small.height())))
                << x << "," << y;
}

TEST(PagePainter, SinkFailureAndBadSizesRaiseWithoutAFile) {
    BandedPage page;
    auto failing = [](const std::uint8_t*, std::size_t) { throw Exception("Stream write error"); };
    try {
        TPagePainter(page.D.Box).WriteJpeg(failing);
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Stream write error");
    }
    auto none = [](const std::uint8_t*, std::size_t) {};
    EXPECT_THROW(TJpegStreamEncoder(0, 10, none), EJPEG);
    EXPECT_THROW(TJpegStreamEncoder(70000, 10, none), EJPEG);
    TJpegStreamEncoder encoder(8, 2, none);
    QImage row(8, 1, QImage::Format_RGB32);
    row.fill(Qt::red);
    encoder.WriteRows(row, 1);
    EXPECT_THROW(encoder.Finish(), EJPEG); // a row short
    QImage wrong(9, 1, QImage::Format_RGB32);
    EXPECT_THROW(encoder.WriteRows(wrong, 1), EJPEG);
}
