// The wiring list: the sample diagram's CSV byte for byte, nets through
// junctions, and the columns of connectors the editor never makes.
#include <QFile>
#include <gtest/gtest.h>

#include "DiagramTestUtil.h"
#include "core/FileStream.h"
#include "model/Connector.h"
#include "model/HiddenShape.h"
#include "model/StandardShape.h"
#include "model/WiringList.h"

using namespace tsb;
using tsbtest::TDiagram;

namespace {

template <typename T> T* Add(TDiagram& d, const std::string& name, int left, int top) {
    auto* e = new T(d.Root.get());
    e->SetName(name);
    e->SetBounds(left, top, e->Width(), e->Height());
    e->SetParent(d.Box);
    return e;
}

template <typename T>
T* Join(TDiagram& d, TCustomShape* a, TConnectionSide sa, TCustomShape* b, TConnectionSide sb) {
    auto* c = new T(d.Root.get());
    c->StartConn().Side = sa;
    c->StartConn().SetShape(a);
    c->EndConn().Side = sb;
    c->EndConn().SetShape(b);
    c->UpdateBounds();
    c->SetParent(d.Box);
    return c;
}

void Caption(TDiagram& d, TCustomShape* e, const std::string& text) {
    e->SetCaptionAlign(alClient);
    e->SetCaption(d.AddText(e->Name() + "_Caption", text, 0, 0));
}

// tests/data/wiring.tsb: three pumps captioned in Latin, Cyrillic and Han
// script, a junction joining three connectors, a named connector to a text
// element whose text needs quoting, and a line between two shapes.
void AddWiringSample(TDiagram& d) {
    auto* pump = Add<TStandardShape>(d, "StandardShape1", 40, 40);
    Caption(d, pump,
            "Pumpe S\xC3\xBC"
            "d");
    auto* second = Add<TStandardShape>(d, "StandardShape2", 400, 40);
    Caption(d, second, "\xD0\x9D\xD0\xB0\xD1\x81\xD0\xBE\xD1\x81 2");
    auto* board = Add<TStandardShape>(d, "StandardShape3", 220, 300);
    Caption(d, board, "\xE9\x85\x8D\xE9\x9B\xBB\xE7\x9B\xA4");
    auto* junction = Add<THiddenShape>(d, "HiddenShape1", 260, 60);
    auto* feeder = d.AddText("TextShape1", "Feeder, \"A\"\r\nline 2", 420, 240);

    Join<TLineConnector>(d, pump, csRight, junction, csLeft);
    auto* open = Join<TSingleHeadArrow>(d, junction, csRight, second, csLeft);
    open->SetArrowStyle(asOpen);
    open->LineColor = clRed;
    open->SetLineWidth(2);
    open->LineStyle = psDash;
    auto* both = Join<TDoubleHeadArrow>(d, junction, csBottom, board, csTop);
    both->LineColor = clHighlight;
    auto* blunt = Join<TBluntSingleHeadArrow>(d, second, csBottom, feeder, csTop);
    blunt->SetName("BluntSingleHeadArrow1");
    blunt->SetArrowStyle(asHalf);
    blunt->LineStyle = psDot;
    auto* line = Join<TLineConnector>(d, pump, csBottom, board, csLeft);
    line->LineStyle = psDashDotDot;
}

std::string Csv(const TWinControl* box) {
    const TBytes bytes = TWiringList(box).Csv();
    return std::string(bytes.begin(), bytes.end());
}

std::string Golden(const char* name) {
    const TBytes bytes = ReadFileBytes(std::string(TRESSELBY_TEST_DATA) + "/" + name);
    return std::string(bytes.begin(), bytes.end());
}

std::string Column(const TWiringList& list, std::string TWiringList::TRow::*field) {
    std::string out;
    for (const TWiringList::TRow& row : list.Rows())
        out += (out.empty() ? "" : " ") + row.*field;
    return out;
}

} // namespace

TEST(WiringList, SampleIsTheGoldenCsvByteForByte) {
    const std::string golden = Golden("wiring.csv");
    TDiagram drawn;
    AddWiringSample(drawn);
    EXPECT_EQ(Csv(drawn.Box), golden);
    // The sample's file, as the converter reads it.
    TDiagram opened;
    TCustomShape::LoadFromFile(std::string(TRESSELBY_TEST_DATA) + "/wiring.tsb", opened.Box);
    EXPECT_EQ(Csv(opened.Box), golden);
}

TEST(WiringList, NetsJoinThroughJunctionsAndEndAtAnyOtherElement) {
    TDiagram d;
    auto* a = Add<TStandardShape>(d, "A", 0, 0);
    auto* b = Add<TStandardShape>(d, "B", 200, 0);
    auto* c = Add<TStandardShape>(d, "C", 400, 0);
    auto* j1 = Add<THiddenShape>(d, "J1", 0, 200);
    auto* j2 = Add<THiddenShape>(d, "J2", 200, 200);
    auto* j3 = Add<THiddenShape>(d, "J3", 400, 200);
    auto* text = d.AddText("T", "t", 0, 400);
    Join<TLineConnector>(d, a, csRight, b, csLeft);       // shapes at both ends
    Join<TLineConnector>(d, b, csRight, c, csLeft);       // shares only B with the first
    Join<TLineConnector>(d, j3, csLeft, c, csBottom);     // J3
    Join<TLineConnector>(d, a, csBottom, j1, csTop);      // J1
    Join<TLineConnector>(d, j1, csRight, j2, csLeft);     // J1 and J2
    Join<TLineConnector>(d, j2, csRight, j3, csLeft);     // joins both nets after the fact
    Join<TLineConnector>(d, text, csRight, b, csBottom);  // a text element ends a net too
    Join<TSingleHeadArrow>(d, j2, csBottom, text, csTop); // J2
    EXPECT_EQ(Column(TWiringList(d.Box), &TWiringList::TRow::Net), "N1 N2 N3 N3 N3 N3 N4 N3");
}

TEST(WiringList, NamesTextsAndEndsOfConnectorsTheEditorNeverMakes) {
    TDiagram d;
    auto* a = Add<TStandardShape>(d, "A", 0, 0);
    auto* text = d.AddText("T", "\r\nline\rbreak\n", 0, 200);
    Caption(d, text, "Caption \"wins\"");
    // A connector named W2 keeps its name; unnamed ones skip it.
    Join<TLineConnector>(d, a, csRight, text, csLeft);
    Join<TLineConnector>(d, a, csTop, text, csTop)->SetName("W2");
    auto* bare = Join<TConnector>(d, text, csBottom, a, csBottom);
    bare->EndConn().SetShape(nullptr);
    bare->LineColor = clNone;
    TWiringList list(d.Box);
    EXPECT_EQ(Column(list, &TWiringList::TRow::Connector), "W1 W2 W3");
    EXPECT_EQ(list.Rows()[2].Kind, "Line");
    EXPECT_EQ(list.Rows()[2].Head, "");
    EXPECT_EQ(list.Rows()[2].Colour, "#000000");
    // An end without an element leaves its three columns empty.
    EXPECT_EQ(list.Rows()[2].To + list.Rows()[2].ToText + list.Rows()[2].ToSide, "");
    EXPECT_EQ(list.Rows()[2].FromText, "Caption \"wins\"");

    // A text element without a caption gives its own text; a lone carriage
    // return stays and gets the field quoted.
    text->SetCaption(nullptr);
    const std::string csv = Csv(d.Box);
    EXPECT_NE(csv.find("\r\nW1,Line,,A,,Right,T,\" line\rbreak \",Left,#000000,1,Solid,N1\r\n"),
              std::string::npos)
        << csv;
}
