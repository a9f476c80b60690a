// The wiring list: the sample diagram's CSV byte for byte, nets through
// junctions, and the columns of connectors the editor never makes.
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

std::string Csv(const TWinControl* box) {
    const TBytes bytes = TWiringList(box).Csv();
    return std::string(bytes.begin(), bytes.end());
}

std::string Golden(const char* name) {
    const TBytes bytes = ReadFileBytes(std::string(TRESSELBY_TEST_DATA) + "/" + name);
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

// tests/data/wiring.tsb: three shapes captioned in Latin, Cyrillic and Han
// script, a junction joining three connectors of three kinds and looks, a
// named connector to a text element whose text needs quoting, and a line
// between two shapes.
TEST(WiringList, SampleIsTheGoldenCsvByteForByte) {
    TDiagram d;
    TCustomShape::LoadFromFile(std::string(TRESSELBY_TEST_DATA) + "/wiring.tsb", d.Box);
    EXPECT_EQ(Csv(d.Box), Golden("wiring.csv"));
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
    std::string nets;
    const TWiringList list(d.Box);
    for (const TWiringList::TRow& row : list.Rows())
        nets += row.Net + " ";
    EXPECT_EQ(nets, "N1 N2 N3 N3 N3 N3 N4 N3 ");
}

TEST(WiringList, NamesTextsAndEndsOfConnectorsTheEditorNeverMakes) {
    TDiagram d;
    auto* a = Add<TStandardShape>(d, "A", 0, 0);
    a->SetCaption(d.AddText("A_Caption", "Caption \"quoted\"", 0, 0));
    // A lone carriage return stays and gets the field quoted.
    auto* text = d.AddText("T", "\r\nline\rbreak\n", 0, 200);
    // A connector named W2 keeps its name; unnamed ones skip it.
    Join<TLineConnector>(d, a, csRight, text, csLeft);
    Join<TLineConnector>(d, a, csTop, text, csTop)->SetName("W2");
    auto* bare = Join<TConnector>(d, text, csBottom, a, csBottom);
    bare->EndConn().SetShape(nullptr);
    bare->LineColor = clNone;
    const std::string csv = Csv(d.Box);
    EXPECT_EQ(
        csv.substr(csv.find("\r\n") + 2),
        "W1,Line,,A,\"Caption \"\"quoted\"\"\",Right,T,\" line\rbreak "
        "\",Left,#000000,1,Solid,N1\r\n"
        "W2,Line,,A,\"Caption \"\"quoted\"\"\",Top,T,\" line\rbreak \",Top,#000000,1,Solid,N2\r\n"
        "W3,Line,,T,\" line\rbreak \",Bottom,,,,#000000,1,Solid,N3\r\n");
}
