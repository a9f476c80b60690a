// The class registry and what the reader does with the tables: lookup without
// regard to case, read-only properties, and Loaded in reading order.
#include <algorithm>
#include <gtest/gtest.h>

#include "DiagramTestUtil.h"
#include "StreamTestUtil.h"
#include "model/DiagramStream.h"

using namespace tsb;
using tsbtest::TDiagram;
using tsbtest::TStreamBytes;

namespace {

std::vector<std::string>& LoadedNames() {
    static std::vector<std::string> names;
    return names;
}

// An element that reports Loaded and has a property that cannot be set.
class TProbeShape : public TSizeableShape {
    TSB_CLASS(TProbeShape)
public:
    using TSizeableShape::TSizeableShape;
    void Loaded() override {
        LoadedNames().push_back(Name() + (Caption() ? "+caption" : "") +
                                ((ComponentState() & csLoading) ? " loading" : ""));
        TSizeableShape::Loaded();
    }
};

const TClassInfo& ProbeClassInfo() {
    static const TClassInfo info(
        "TProbeShape", &SizeableShapeClassInfo(),
        [] {
            std::vector<TPropInfo> p;
            TPropInfo serial;
            serial.Name = "Serial";
            serial.Kind = TPropKind::Integer;
            serial.GetOrd = [](const TPersistent&) { return std::int64_t(7); };
            p.push_back(std::move(serial));
            return p;
        }(),
        [](TComponent* owner) -> TComponent* { return new TProbeShape(owner); });
    return info;
}

} // namespace

TEST(ClassRegistry, ModelClassesAreFoundWithoutRegardToCase) {
    RegisterModelClasses();
    std::vector<std::string> names = RegisteredClassNames();
    auto at = [&](const char* n) {
        return std::find(names.begin(), names.end(), n) - names.begin();
    };
    EXPECT_LT(at("TCustomShape"), at("TMoveableShape"));
    EXPECT_LT(at("TMoveableShape"), at("TSizeableShape"));
    EXPECT_LT(at("TSizeableShape"), at("TTextShape"));
    EXPECT_LT(at("TTextShape"), at("TScrollBox"));
    EXPECT_EQ(&GetComponentClass("ttextshape"), &TextShapeClassInfo());
    EXPECT_EQ(FindClassInfo("TEXTSHAPE"), nullptr);
    try {
        GetComponentClass("TDiagramRoot");
        ADD_FAILURE();
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Class TDiagramRoot not found");
    }
    EXPECT_EQ(TextShapeClassInfo().FindProperty("font"), TextShapeClassInfo().Properties().back());
}

TEST(ClassRegistry, ReadOnlyPropertiesAndLoadedOrder) {
    RegisterModelClasses();
    RegisterClass(ProbeClassInfo());
    TDiagram d;
    std::string before = d.State();
    TBytes readOnly = TStreamBytes()
                          .WorkArea()
                          .End()
                          .Str("TProbeShape")
                          .Str("P")
                          .Str("Serial")
                          .Int8(3)
                          .End()
                          .End()
                          .End();
    try {
        TDiagramStream::Read(readOnly, d.Box);
        ADD_FAILURE();
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Error reading P.Serial: Property is read-only");
    }
    EXPECT_EQ(d.State(), before);

    // Loaded runs once every name and reference is in place, in reading order.
    LoadedNames().clear();
    TBytes bytes = TStreamBytes()
                       .WorkArea()
                       .End()
                       .Str("TProbeShape")
                       .Str("B")
                       .Str("Caption")
                       .Ident("C")
                       .End()
                       .End()
                       .Str("TProbeShape")
                       .Str("A")
                       .End()
                       .End()
                       .Str("TTextShape")
                       .Str("C")
                       .End()
                       .End()
                       .End();
    d.AddText("A", "replaced", 0, 0);
    TDiagramStream::Read(bytes, d.Box);
    EXPECT_EQ(LoadedNames(), (std::vector<std::string>{"B+caption loading", "A loading"}));
    EXPECT_EQ(d.Root->FindComponent("A")->ComponentState() & csLoading, 0u);
}
