// Every element class through the stream: the worked example on bytes, the
// connector record, and round trips that keep every stored property.
#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <algorithm>
#include <gtest/gtest.h>

#include "DiagramTestUtil.h"
#include "StreamTestUtil.h"
#include "graphics/Bitmap.h"
#include "graphics/ImageList.h"
#include "graphics/Picture.h"
#include "model/BitmapShape.h"
#include "model/Connector.h"
#include "model/DiagramStream.h"
#include "model/GraphicShape.h"
#include "model/HiddenShape.h"
#include "model/RegularPolygonShape.h"
#include "model/StandardShape.h"

using namespace tsb;
using tsbtest::Hex;
using tsbtest::TDiagram;
using tsbtest::TStreamBytes;

namespace {

// A standard shape with its centred caption, as the editor places it.
TStandardShape* AddShape(TDiagram& d, const std::string& name, int x, int y) {
    auto* shape = new TStandardShape(d.Root.get());
    shape->SetName(name);
    shape->SetTop(y);
    shape->SetLeft(x);
    shape->SetParent(d.Box);
    shape->SetShapeType(stRoundRect);
    auto* caption = new TTextShape(d.Root.get());
    caption->SetName(name + "_Caption");
    caption->SetText("Caption");
    shape->SetCaptionAlign(alClient);
    shape->SetCaption(caption);
    return shape;
}

// A connector as the editor joins two shapes.
template <class T>
T* Connect(TDiagram& d, TCustomShape* from, TConnectionSide fromSide, TCustomShape* to,
           TConnectionSide toSide, TColor color) {
    auto* c = new T(d.Root.get());
    c->LineColor = color;
    c->StartConn().Side = fromSide;
    c->StartConn().SetShape(from);
    c->EndConn().Side = toSide;
    c->EndConn().SetShape(to);
    c->UpdateBounds();
    c->SetParent(d.Box);
    return c;
}

TBytes Record(const TBytes& stream, std::size_t from) {
    return TBytes(stream.begin() + static_cast<std::ptrdiff_t>(from), stream.end() - 1);
}

} // namespace

TEST(ShapeStream, WorkedExampleBothWays) {
    TBytes golden = tsbtest::ReadData("worked-example.tsb");
    ASSERT_EQ(golden.size(), 619u);
    TDiagram scene;
    TStandardShape* shape = AddShape(scene, "StandardShape1", 100, 80);
    // The caption's extent in the classic face at 96 dots per inch.
    shape->Caption()->SetBounds(0, 0, 41, 15);
    shape->PlaceCaption();
    EXPECT_EQ(shape->Caption()->Left(), 129);
    EXPECT_EQ(shape->Caption()->Top(), 102);
    TCustomShape::SelectAll(scene.Box);
    EXPECT_EQ(Hex(TDiagramStream::Write(scene.Box)), Hex(golden));

    TDiagram opened;
    TDiagramStream::Read(golden, opened.Box);
    auto* read = dynamic_cast<TStandardShape*>(opened.Root->FindComponent("StandardShape1"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->ShapeType(), stRoundRect);
    EXPECT_EQ(read->Caption(), opened.Root->FindComponent("StandardShape1_Caption"));
    EXPECT_EQ(opened.State(), scene.State());
    EXPECT_EQ(Hex(TDiagramStream::Write(opened.Box)), Hex(golden));
}

TEST(ShapeStream, ConnectorRecordOfTheWorkedExample) {
    TDiagram d;
    TStandardShape* s1 = AddShape(d, "StandardShape1", 100, 80);
    TStandardShape* s2 = AddShape(d, "StandardShape2", 300, 80);
    Connect<TSingleHeadArrow>(d, s1, csRight, s2, csLeft, clRed);
    TCustomShape::SelectAll(d.Box);
    TBytes stream = TDiagramStream::Write(d.Box);
    auto* arrow = dynamic_cast<TConnector*>(d.Box->Controls(d.Box->ControlCount() - 1));
    TBytes expected = TStreamBytes()
                          .Str("TSingleHeadArrow")
                          .Str("")
                          .Str("Left")
                          .Int(arrow->Left())
                          .Str("Top")
                          .Int(arrow->Top())
                          .Str("Width")
                          .Int(arrow->Width())
                          .Str("Height")
                          .Int(arrow->Height())
                          .Str("CanProcessMouseMsg")
                          .Raw({8})
                          .Str("CaptionAlign")
                          .Ident("alNone")
                          .Str("Selected")
                          .Raw({9})
                          .Str("LineColor")
                          .Ident("clRed")
                          .Str("StartConn.Shape")
                          .Ident("StandardShape1")
                          .Str("StartConn.Side")
                          .Ident("csRight")
                          .Str("StartConn.Offset")
                          .Int8(30)
                          .Str("EndConn.Shape")
                          .Ident("StandardShape2")
                          .Str("EndConn.Side")
                          .Ident("csLeft")
                          .Str("EndConn.Offset")
                          .Int8(30)
                          .Str("ArrowStyle")
                          .Ident("asFilled")
                          .End()
                          .End();
    ASSERT_GT(stream.size(), expected.size());
    EXPECT_EQ(Hex(Record(stream, stream.size() - 1 - expected.size())), Hex(expected));

    TDiagram opened;
    TDiagramStream::Read(stream, opened.Box);
    auto* read = dynamic_cast<TSingleHeadArrow*>(opened.Box->Controls(4));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->StartConn().Shape(), opened.Root->FindComponent("StandardShape1"));
    EXPECT_EQ(read->EndConn().Shape(), opened.Root->FindComponent("StandardShape2"));
    EXPECT_EQ(read->BoundsRect(), arrow->BoundsRect());
    // The arrow follows its shapes as it did before saving.
    auto* s2read = dynamic_cast<TStandardShape*>(opened.Root->FindComponent("StandardShape2"));
    s2read->SetTop(200);
    s2->SetTop(200);
    EXPECT_EQ(read->BoundsRect(), arrow->BoundsRect());
    EXPECT_EQ(opened.State(), d.State());
}

TEST(ShapeStream, EveryElementClassRoundTrips) {
    TDiagram d;
    auto* list = new TImageList(d.Root.get());
    list->SetName("ImageList1");
    list->SetSize(16, 16);

    auto* hidden = new THiddenShape(d.Root.get());
    hidden->SetName("HiddenShape1");
    hidden->SetBounds(400, 300, 20, 20);
    hidden->SetParent(d.Box);

    auto* bitmap = new TBitmapShape(d.Root.get());
    bitmap->SetName("BitmapShape1");
    bitmap->SetParent(d.Box);
    bitmap->SetImages(list);
    bitmap->SetImageIndex(3);

    QImage image(7, 5, QImage::Format_RGB32);
    image.fill(qRgb(10, 200, 30));
    TBitmap picture(image);
    auto* graphic = new TGraphicShape(d.Root.get());
    graphic->SetName("GraphicShape1");
    graphic->SetLeft(200);
    graphic->SetParent(d.Box);
    graphic->Image().SetGraphic(&picture);
    graphic->SetTransparent(true);

    auto* thumb = new TThumbNailShape(d.Root.get());
    thumb->SetName("ThumbNailShape1");
    thumb->SetParent(d.Box);
    thumb->SetCaption(d.AddText("ThumbCaption", "", 0, 0));
    thumb->SetImageName("/pictures/pump.jpg");

    auto* polygon = new TRegularPolygonShape(d.Root.get());
    polygon->SetName("RegularPolygonShape1");
    polygon->SetBounds(500, 100, 120, 90);
    polygon->SetParent(d.Box);
    polygon->SetSides(6);
    polygon->LineColour = 0x123456;

    TStandardShape* s1 = AddShape(d, "StandardShape1", 100, 80);
    s1->SetShapeType(stEllipse);
    s1->LineColour = clBlue;
    TStandardShape* s2 = AddShape(d, "StandardShape2", 300, 380);
    auto* line = Connect<TLineConnector>(d, s1, csBottom, hidden, csTop, clGreen);
    line->SetLineWidth(3);
    line->LineStyle = psDot;
    Connect<TDoubleHeadArrow>(d, hidden, csRight, s2, csTop, clNavy);
    auto* blunt = Connect<TBluntSingleHeadArrow>(d, s2, csLeft, polygon, csBottom, 0x00ABCDEF);
    blunt->SetArrowStyle(asHalf);
    // An end without a shape writes its side and offset only.
    auto* loose = new TSingleHeadArrow(d.Root.get());
    loose->EndConn().Side = csBottom;
    loose->SetParent(d.Box);
    loose->SetBounds(5, 5, 30, 12);

    TCustomShape::SelectAll(d.Box);
    TBytes bytes = TDiagramStream::Write(d.Box);
    TDiagram copy;
    auto* copyList = new TImageList(copy.Root.get());
    copyList->SetName("ImageList1");
    copyList->SetSize(16, 16);
    TDiagramStream::Read(bytes, copy.Box);

    EXPECT_EQ(copy.State(), d.State());
    EXPECT_EQ(Hex(TDiagramStream::Write(copy.Box)), Hex(bytes));
    auto* readBitmap = dynamic_cast<TBitmapShape*>(copy.Root->FindComponent("BitmapShape1"));
    EXPECT_EQ(readBitmap->Images(), copyList);
    EXPECT_EQ(readBitmap->ImageIndex(), 3);
    auto* readGraphic = dynamic_cast<TGraphicShape*>(copy.Root->FindComponent("GraphicShape1"));
    ASSERT_NE(readGraphic->Image().Graphic(), nullptr);
    EXPECT_EQ(readGraphic->Width(), 9);
    EXPECT_TRUE(readGraphic->Transparent());
    auto* readThumb = dynamic_cast<TThumbNailShape*>(copy.Root->FindComponent("ThumbNailShape1"));
    EXPECT_EQ(readThumb->ImageName(), "/pictures/pump.jpg");
    EXPECT_EQ(readThumb->Caption()->Text(), "pump.jpg");
    auto* readPolygon =
        dynamic_cast<TRegularPolygonShape*>(copy.Root->FindComponent("RegularPolygonShape1"));
    EXPECT_EQ(readPolygon->Sides(), 6);
    EXPECT_EQ(readPolygon->LineColour, 0x123456);
    int connectors = 0;
    for (TControl* c : copy.Box->ControlList())
        if (auto* con = dynamic_cast<TConnector*>(c)) {
            ++connectors;
            if (auto* l = dynamic_cast<TLineConnector*>(con);
                l && !dynamic_cast<TSingleHeadArrow*>(con)) {
                EXPECT_EQ(l->LineWidth(), 3);
                EXPECT_EQ(l->LineStyle, psDot);
            }
            if (dynamic_cast<TBluntSingleHeadArrow*>(con)) {
                EXPECT_EQ(dynamic_cast<TSingleHeadArrow*>(con)->ArrowStyle(), asHalf);
            }
        }
    EXPECT_EQ(connectors, 4);
}

TEST(ShapeStream, ConnectorEndsAndWhatTheyMayReferTo) {
    auto stream = [](const std::string& end) {
        return TStreamBytes()
            .WorkArea()
            .End()
            .Str("TStandardShape")
            .Str("S")
            .Str("ShapeType")
            .Ident("stRectangle")
            .End()
            .End()
            .Str("TLineConnector")
            .Str("C")
            .Str("StartConn.Shape")
            .Ident(end)
            .Str("StartConn.Offset")
            .Int16(999)
            .Str("EndConn.Shape")
            .Ident("S")
            .End()
            .End()
            .End()
            .Bytes;
    };
    TDiagram d;
    TDiagramStream::Read(stream("S"), d.Box);
    auto* c = dynamic_cast<TLineConnector*>(d.Root->FindComponent("C"));
    // The stored offset changes nothing: the end sits in the middle of its side.
    EXPECT_EQ(c->StartConn().Offset(), 30);
    EXPECT_EQ(c->StartConn().StoredOffset(), 999);

    for (const char* bad : {"C", "ScrollBox1"}) {
        TDiagram other;
        other.AddText("Kept", "k", 1, 1);
        std::string before = other.State();
        try {
            TDiagramStream::Read(stream(bad), other.Box);
            ADD_FAILURE() << bad;
        } catch (const std::exception& e) {
            EXPECT_STREQ(e.what(), "Error reading C.StartConn.Shape: Invalid property value");
        }
        EXPECT_EQ(other.State(), before);
    }

    TBytes connection =
        TStreamBytes().WorkArea().End().Str("TConnection").Str("").End().End().End();
    try {
        TDiagramStream::Read(connection, d.Box);
        ADD_FAILURE();
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Class TConnection not found");
    }
}

TEST(ShapeStream, PicturesOfOtherClassesComeBackByteForByte) {
    // A metafile this program cannot draw, and an icon with and without a
    // byte count before its file.
    QImage icon(4, 3, QImage::Format_ARGB32);
    icon.fill(0xFF00AA00);
    QByteArray ico;
    QBuffer buffer(&ico);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(QImageWriter(&buffer, "ico").write(icon));
    TBytes counted = TStreamBytes().Str("TIcon").U32(static_cast<std::uint32_t>(ico.size()));
    counted.insert(counted.end(), ico.begin(), ico.end());
    TBytes bare = TStreamBytes().Str("TIcon");
    bare.insert(bare.end(), ico.begin(), ico.end());
    const TBytes metafile = TStreamBytes().Str("TMetafile").U32(5).Raw({1, 0, 9, 0, 0, 7, 7});
    const TBytes records[] = {metafile, counted, bare};

    TDiagram d;
    for (int i = 0; i < 3; ++i) {
        auto* g = new TGraphicShape(d.Root.get());
        g->SetName(std::string(1, char('A' + i)));
        g->SetBounds(10 + 120 * i, 20, 100, 80);
        g->SetParent(d.Box);
        TPicture picture;
        picture.ReadData(records[i].data(), records[i].size());
        g->SetImage(picture);
    }
    // The metafile's element keeps its bounds; the icons' frame them.
    EXPECT_EQ(As<TControl>(d.Root->FindComponent("A"))->BoundsRect(), Bounds(10, 20, 100, 80));
    EXPECT_EQ(As<TControl>(d.Root->FindComponent("B"))->BoundsRect(), Bounds(130, 20, 6, 5));
    TCustomShape::SelectAll(d.Box);
    const TBytes file = TDiagramStream::Write(d.Box);
    for (const TBytes& record : records) {
        TBytes data = TStreamBytes()
                          .Str("Image.Data")
                          .Raw({10})
                          .U32(static_cast<std::uint32_t>(record.size()));
        data.insert(data.end(), record.begin(), record.end());
        EXPECT_NE(std::search(file.begin(), file.end(), data.begin(), data.end()), file.end());
    }

    TDiagram opened;
    TDiagramStream::Read(file, opened.Box);
    EXPECT_EQ(As<TControl>(opened.Root->FindComponent("A"))->BoundsRect(), Bounds(10, 20, 100, 80));
    TCustomShape::SelectAll(opened.Box);
    EXPECT_EQ(Hex(TDiagramStream::Write(opened.Box)), Hex(file));
}
