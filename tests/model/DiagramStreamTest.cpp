// Diagram streams of the work area and its elements: golden bytes both ways,
// the omission rules, references, and every read error with the work area
// left exactly as it was.
#include <gtest/gtest.h>

#include "DiagramTestUtil.h"
#include "StreamTestUtil.h"
#include "model/DiagramStream.h"

using namespace tsb;
using tsbtest::Hex;
using tsbtest::TDiagram;
using tsbtest::TStreamBytes;

namespace {

// The caption of the worked example on its own: the work area at 40, 30,
// 800 x 600 and the text "Caption" at 129, 102, 41 x 15.
void BuildCaptionScene(TDiagram& d) {
    TTextShape* t = d.AddText("StandardShape1_Caption", "Caption", 129, 102);
    t->SetBounds(129, 102, 41, 15);
    TCustomShape::SelectAll(d.Box);
}

std::string ReadFails(TDiagram& d, const TBytes& bytes,
                      const TDiagramStream::TReadOptions& options = {}) {
    std::string before = d.State();
    try {
        TDiagramStream::Read(bytes, d.Box, options);
    } catch (const std::exception& e) {
        EXPECT_EQ(d.State(), before) << "changed by a failed read: " << e.what();
        return e.what();
    }
    ADD_FAILURE() << "read did not fail";
    return "";
}

// The work-area record as files have it, up to its end of properties.
TStreamBytes WorkAreaHead() {
    TStreamBytes b;
    b.WorkArea().Str("Left").Int8(40).Str("Top").Int8(30).End();
    return b;
}

} // namespace

TEST(DiagramStream, CaptionRecordMatchesGoldenBytesBothWays) {
    TBytes golden = tsbtest::ReadData("caption-only.tsb");
    ASSERT_EQ(golden.size(), 449u);

    TDiagram scene;
    BuildCaptionScene(scene);
    EXPECT_EQ(Hex(TDiagramStream::Write(scene.Box)), Hex(golden));

    TDiagram opened;
    TDiagramStream::Read(golden, opened.Box);
    auto* caption = dynamic_cast<TTextShape*>(opened.Root->FindComponent("StandardShape1_Caption"));
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->Text(), "Caption");
    EXPECT_TRUE(caption->Selected());
    EXPECT_EQ(Hex(TDiagramStream::Write(opened.Box)), Hex(golden));
}

TEST(DiagramStream, EmptyWorkAreaAndClipboardForm) {
    TBytes golden = tsbtest::ReadData("caption-only.tsb");
    TDiagram d;
    // Nothing selected: the work-area record and an empty child list.
    d.AddText("TextShape1", "not selected", 10, 10);
    TBytes empty(golden.begin(), golden.begin() + 199);
    empty.push_back(0);
    EXPECT_EQ(Hex(TDiagramStream::Write(d.Box)), Hex(empty));

    // The clipboard form: signature, then the work area under its own name.
    TBytes clip = TDiagramStream::Write(d.Box, true);
    TBytes expected = TStreamBytes().Raw({'T', 'P', 'F', '0'}).Str("TScrollBox").Str("ScrollBox1");
    expected.insert(expected.end(), empty.begin() + 12, empty.end());
    EXPECT_EQ(Hex(clip), Hex(expected));
    EXPECT_EQ(d.Box->Name(), "ScrollBox1");
}

TEST(DiagramStream, OnlySelectedElementsOfTheRootWithATableAreWritten) {
    TDiagram d;
    d.AddText("Chosen", "a", 10, 10)->SetSelected(true);
    d.AddText("Left", "b", 10, 40);
    // A control without a table (like the snap grid) and one owned elsewhere.
    (new TControl(d.Root.get()))->SetParent(d.Box);
    TDiagramRoot other;
    auto* foreign = new TTextShape(&other);
    foreign->SetParent(d.Box);
    foreign->SetSelected(true);

    TDiagram copy;
    TDiagramStream::Read(TDiagramStream::Write(d.Box), copy.Box);
    ASSERT_EQ(copy.Box->ControlCount(), 1);
    EXPECT_EQ(copy.Box->Controls(0)->Name(), "Chosen");
    delete foreign;
}

TEST(DiagramStream, OpeningReplacesElementsAndTakesTheWorkAreaSettings) {
    TDiagram source;
    source.Box->SetBounds(40, 30, 640, 480);
    source.Box->Hint = "Page";
    TTextShape* a = source.AddText("A", "first", 20, 20);
    TTextShape* cap = source.AddText("A_Caption", "cap", 0, 0);
    a->SetCaptionAlign(alBottom);
    a->SetCaption(cap);
    TCustomShape::SelectAll(source.Box);
    TBytes bytes = TDiagramStream::Write(source.Box);

    TDiagram target;
    target.AddText("A", "old A", 5, 5);
    target.AddText("Old", "old", 50, 50);
    TDiagramStream::Read(bytes, target.Box);
    EXPECT_EQ(target.Box->Width(), 640);
    EXPECT_EQ(target.Box->Height(), 480);
    EXPECT_EQ(target.Box->Hint, "Page");
    EXPECT_EQ(target.Box->Name(), "ScrollBox1");
    EXPECT_EQ(target.Box->OnMouseDown.Name, "ScrollBox1MouseDown");
    ASSERT_EQ(target.Box->ControlCount(), 2);
    auto* readA = dynamic_cast<TTextShape*>(target.Root->FindComponent("A"));
    ASSERT_NE(readA, nullptr);
    EXPECT_EQ(readA->Text(), "first");
    ASSERT_NE(readA->Caption(), nullptr);
    EXPECT_EQ(readA->Caption()->Name(), "A_Caption");
    EXPECT_EQ(readA->Caption()->Top(), readA->Top() + readA->Height() + 2);
    EXPECT_EQ(target.Root->FindComponent("Old"), nullptr);
    EXPECT_EQ(target.State(), source.State());
}

TEST(DiagramStream, EveryTruncationFailsAndChangesNothing) {
    TBytes golden = tsbtest::ReadData("caption-only.tsb");
    TDiagram d;
    d.AddText("StandardShape1_Caption", "kept", 300, 300);
    d.Box->SetBounds(1, 2, 300, 200);
    for (std::size_t n = 0; n < golden.size(); ++n)
        ASSERT_EQ(ReadFails(d, TBytes(golden.begin(), golden.begin() + n)), "Stream read error")
            << n;
}

TEST(DiagramStream, ReadErrorsAreWordedAsTheSystemWordsThem) {
    auto element = [](const std::string& cls, const std::string& name) {
        TStreamBytes b = WorkAreaHead();
        b.Str(cls).Str(name);
        return b;
    };
    struct Case {
        std::string Expected;
        TBytes Bytes;
    } cases[] = {
        {"Class TBogusShape not found", element("TBogusShape", "X").End().End().End()},
        {"Class TScrollBox not found", element("TScrollBox", "Inner").End().End().End()},
        {"A component named x already exists",
         element("TTextShape", "X").End().End().Str("TTextShape").Str("x").End().End().End()},
        {"A component named ScrollBox1 already exists",
         element("TTextShape", "ScrollBox1").End().End().End()},
        {"''1st'' is not a valid component name", element("TTextShape", "1st").End().End().End()},
        {"Error reading X.Colour: Property does not exist",
         element("TTextShape", "X").Str("Colour").Int8(1).End().End().End()},
        {"Error reading TTextShape.Font.Size.X: Invalid property path",
         element("TTextShape", "").Str("Font.Size.X").Int8(1).End().End().End()},
        {"Error reading X.Left.Y: Invalid property path",
         element("TTextShape", "X").Str("Left.Y").Int8(1).End().End().End()},
        {"Error reading X.Font.Bogus: Property does not exist",
         element("TTextShape", "X").Str("Font.Bogus").Int8(1).End().End().End()},
        {"Error reading X.CaptionAlign: Invalid property value",
         element("TTextShape", "X").Str("CaptionAlign").Ident("alMiddle").End().End().End()},
        {"Error reading X.CaptionAlign: Invalid property value",
         element("TTextShape", "X").Str("CaptionAlign").Int8(1).End().End().End()},
        {"Error reading X.Left: Invalid property value",
         element("TTextShape", "X").Str("Left").String("10").End().End().End()},
        {"Error reading X.Width: Invalid property value",
         element("TTextShape", "X").Str("Width").Raw({4}).U32(1000001).End().End().End()},
        {"Error reading TScrollBox.Left: Invalid property value",
         TStreamBytes().WorkArea().Str("Left").Raw({4}).U32(0x80000000u).End().End()},
        {"Error reading X.Text: Invalid property value",
         element("TTextShape", "X").Str("Text").Int8(1).End().End().End()},
        {"Error reading X.Font.Style: Invalid property value", element("TTextShape", "X")
                                                                   .Str("Font.Style")
                                                                   .Raw({11})
                                                                   .Str("fsWide")
                                                                   .Str("")
                                                                   .End()
                                                                   .End()
                                                                   .End()},
        {"Error reading X.Font.Charset: Invalid property value",
         element("TTextShape", "X").Str("Font.Charset").Int16(256).End().End().End()},
        {"Error reading X.Font: Invalid property value",
         element("TTextShape", "X").Str("Font").Int8(1).End().End().End()},
        {"Error reading X.OnClick: Invalid property value",
         element("TTextShape", "X").Str("OnClick").Ident("ElementClick").End().End().End()},
        {"Error reading X.OnClick: Invalid property value",
         element("TTextShape", "X").Str("OnClick").Ident("ScrollBox1MouseDown").End().End().End()},
        {"Error reading X.Left: Invalid property value",
         element("TTextShape", "X").Str("Left").Raw({20}).End().End().End()},
        {"Error reading X.Left: Invalid property value",
         element("TTextShape", "X").Str("Left").Raw({19}).U32(0).U32(1).End().End().End()},
        {"Error reading TScrollBox.OnMouseDown: Invalid property value",
         TStreamBytes().WorkArea().Str("OnMouseDown").Ident("FormClick").End().End()},
        {"Error reading TScrollBox.Bogus: Property does not exist",
         TStreamBytes().WorkArea().Str("Bogus").Raw({8}).End().End()},
        {"Error reading X.Caption: Invalid property value",
         element("TTextShape", "X").Str("Caption").Ident("ScrollBox1").End().End().End()},
        {"Invalid stream format", TStreamBytes().Raw({'T', 'P', 'F', '1'}).WorkArea().End().End()},
        {"Stream read error",
         element("TTextShape", "X").End().Str("TTextShape").Str("Y").End().End().End()},
        {"Stream read error", TStreamBytes().WorkArea().Raw({0xF2, 6, 1, 'x'})},
    };
    for (const Case& c : cases) {
        TDiagram d;
        d.AddText("Kept", "kept", 1, 1)->SetSelected(true);
        TDiagramStream::TReadOptions options;
        options.Signature = c.Expected == "Invalid stream format";
        EXPECT_EQ(ReadFails(d, c.Bytes, options), c.Expected);
    }
}

TEST(DiagramStream, AFileThatStartsWithTheSignatureIsNotADiagram) {
    TDiagram d;
    BuildCaptionScene(d);
    TBytes clip = TDiagramStream::Write(d.Box, true);
    TDiagram other;
    other.AddText("Kept", "kept", 1, 1);
    EXPECT_NE(ReadFails(other, clip), "");
    // The same bytes read as the clipboard form.
    TDiagramStream::TReadOptions options;
    options.Signature = true;
    options.Replace = false;
    TDiagramStream::Read(clip, other.Box, options);
    EXPECT_NE(other.Root->FindComponent("StandardShape1_Caption"), nullptr);
    EXPECT_NE(other.Root->FindComponent("Kept"), nullptr);
}

TEST(DiagramStream, ReferencesToNamesNotInTheStream) {
    auto bytes = [](const std::string& captionName) {
        return TStreamBytes(WorkAreaHead())
            .Str("TTextShape")
            .Str("A")
            .Str("Caption")
            .Ident(captionName)
            .End()
            .End()
            .End();
    };
    // Not anywhere: nil.
    TDiagram d;
    TDiagramStream::Read(bytes("Nobody"), d.Box);
    auto* a = dynamic_cast<TTextShape*>(d.Root->FindComponent("A"));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->Caption(), nullptr);

    // An element that the open replaces is never referred to.
    TDiagram replaced;
    replaced.AddText("OldCaption", "old", 1, 1);
    TDiagramStream::Read(bytes("OldCaption"), replaced.Box);
    EXPECT_EQ(replaced.Root->FindComponent("OldCaption"), nullptr);
    EXPECT_EQ(dynamic_cast<TTextShape*>(replaced.Root->FindComponent("A"))->Caption(), nullptr);

    // When adding (paste), an element already there is.
    TDiagram added;
    TTextShape* old = added.AddText("OldCaption", "old", 1, 1);
    TDiagramStream::TReadOptions options;
    options.Replace = false;
    TDiagramStream::Read(bytes("OldCaption"), added.Box, options);
    EXPECT_EQ(dynamic_cast<TTextShape*>(added.Root->FindComponent("A"))->Caption(), old);
}

TEST(DiagramStream, PasteHooksRenameRecordsAndTheirReferences) {
    TDiagram d;
    TTextShape* a = d.AddText("A", "a", 10, 10);
    TTextShape* cap = d.AddText("Cap", "c", 0, 0);
    TTextShape* outside = d.AddText("Outside", "o", 0, 50);
    a->SetCaption(cap);
    a->SetSelected(true);
    TBytes clip = TDiagramStream::Write(d.Box, true);
    // A reference to an element that is not copied.
    TTextShape* b = d.AddText("B", "b", 90, 90);
    b->SetCaption(outside);

    std::vector<std::pair<std::string, std::string>> renames;
    std::vector<std::string> hookNames;
    TDiagramStream::TReadOptions options;
    options.Signature = true;
    options.Replace = false;
    options.OnSetName = [&](TReader& reader, TComponent* c, std::string& name) {
        hookNames.push_back(name);
        if (!dynamic_cast<TCustomShape*>(c)) return;
        std::string base = std::string(c->ClassName() + 1);
        int n = 1;
        while (reader.NameInUse(base + std::to_string(n)))
            ++n;
        renames.emplace_back(name, base + std::to_string(n));
        name = base + std::to_string(n);
    };
    options.OnReferenceName = [&](TReader&, std::string& name) {
        for (auto& [from, to] : renames)
            if (SameText(from, name)) name = to;
    };
    TDiagramStream::Read(clip, d.Box, options);
    renames.clear();
    TDiagramStream::Read(clip, d.Box, options);
    EXPECT_EQ(hookNames,
              (std::vector<std::string>{"ScrollBox1", "A", "Cap", "ScrollBox1", "A", "Cap"}));
    auto* p1 = dynamic_cast<TTextShape*>(d.Root->FindComponent("TextShape1"));
    auto* p3 = dynamic_cast<TTextShape*>(d.Root->FindComponent("TextShape3"));
    ASSERT_NE(p1, nullptr);
    ASSERT_NE(p3, nullptr);
    EXPECT_EQ(p1->Caption(), d.Root->FindComponent("TextShape2"));
    EXPECT_EQ(p3->Caption(), d.Root->FindComponent("TextShape4"));
    EXPECT_EQ(a->Caption(), cap);
    EXPECT_TRUE(p1->Selected());
    EXPECT_EQ(d.Box->ControlCount(), 8);
}

TEST(DiagramStream, CaptionReferencesThatWouldLoopAreDropped) {
    // A given its own caption B whose caption is A; C its own caption; the
    // Caption entry given twice keeps the later value.
    TBytes bytes = TStreamBytes(WorkAreaHead())
                       .Str("TTextShape")
                       .Str("A")
                       .Str("Caption")
                       .Ident("B")
                       .End()
                       .End()
                       .Str("TTextShape")
                       .Str("B")
                       .Str("Caption")
                       .Ident("A")
                       .End()
                       .End()
                       .Str("TTextShape")
                       .Str("C")
                       .Str("Caption")
                       .Ident("C")
                       .End()
                       .End()
                       .Str("TTextShape")
                       .Str("D")
                       .Str("Caption")
                       .Ident("A")
                       .Str("Caption")
                       .Raw({13})
                       .End()
                       .End()
                       .End();
    TDiagram d;
    TDiagramStream::Read(bytes, d.Box);
    auto find = [&](const char* n) { return dynamic_cast<TTextShape*>(d.Root->FindComponent(n)); };
    EXPECT_EQ(find("A")->Caption(), find("B"));
    EXPECT_EQ(find("B")->Caption(), nullptr);
    EXPECT_EQ(find("C")->Caption(), nullptr);
    EXPECT_EQ(find("D")->Caption(), nullptr);
    EXPECT_EQ(d.Box->ControlCount(), 4);
}

TEST(DiagramStream, LongNamesAreCutTo255AndStillResolve) {
    std::string name = "N" + std::string(299, 'x');
    TDiagram d;
    TTextShape* a = d.AddText("A", "a", 10, 10);
    TTextShape* cap = d.AddText(name, "c", 0, 0);
    a->SetCaption(cap);
    TCustomShape::SelectAll(d.Box);
    TBytes bytes = TDiagramStream::Write(d.Box);
    TDiagram copy;
    TDiagramStream::Read(bytes, copy.Box);
    auto* readA = dynamic_cast<TTextShape*>(copy.Root->FindComponent("A"));
    ASSERT_NE(readA->Caption(), nullptr);
    EXPECT_EQ(readA->Caption()->Name(), name.substr(0, 255));
}

TEST(DiagramStream, TextInAnyScriptSurvives) {
    const std::string texts[] = {
        "\xCE\x94\xCE\xB9\xCE\xAC\xCE\xB3\xCF\x81\xCE\xB1\xCE\xBC\xCE\xBC\xCE\xB1",  // Greek
        "\xD0\xA1\xD1\x85\xD0\xB5\xD0\xBC\xD0\xB0 \xD1\x81\xD0\xB5\xD1\x82\xD0\xB8", // Cyrillic
        "\xE7\xBD\x91\xE7\xBB\x9C\xE5\x9B\xBE",                                      // Chinese
        "Caf\xC3\xA9 \xE2\x82\xAC\n\xF0\x9F\x94\x8C plug",                           // mixed
    };
    TDiagram d;
    int n = 0;
    for (const std::string& t : texts) {
        std::string name = "T";
        name += std::to_string(n);
        d.AddText(name, t, 10, 40 * n);
        ++n;
    }
    d.Box->Hint = "\xCE\xA7\xCF\x8E\xCF\x81\xCE\xBF\xCF\x82";
    dynamic_cast<TTextShape*>(d.Root->FindComponent("T2"))
        ->Font()
        .SetName("\xE5\xAE\x8B\xE4\xBD\x93");
    TCustomShape::SelectAll(d.Box);
    TBytes bytes = TDiagramStream::Write(d.Box);
    TDiagram copy;
    TDiagramStream::Read(bytes, copy.Box);
    EXPECT_EQ(copy.State(), d.State());
    EXPECT_EQ(dynamic_cast<TTextShape*>(copy.Root->FindComponent("T2"))->Font().Name(),
              "\xE5\xAE\x8B\xE4\xBD\x93");
    EXPECT_EQ(Hex(TDiagramStream::Write(copy.Box)), Hex(bytes));
}

TEST(DiagramStream, WorkAreaAcceptsTheScrollBoxPropertiesItDoesNotModel) {
    TBytes bytes = TStreamBytes()
                       .WorkArea()
                       .Str("HelpContext")
                       .Int8(0)
                       .Str("HorzScrollBar.Range")
                       .Int16(1000)
                       .Str("HorzScrollBar.Visible")
                       .Raw({8})
                       .Str("Anchors")
                       .Raw({11})
                       .Str("akLeft")
                       .Str("akTop")
                       .Str("")
                       .Str("Constraints.MinWidth")
                       .Int8(10)
                       .Str("Font.Name")
                       .String("Arial")
                       .Str("PopupMenu")
                       .Ident("PopupMenu1")
                       .Str("OnResize")
                       .Ident("FormResize")
                       .Str("Align")
                       .Ident("alClient")
                       .Str("Color")
                       .Ident("clRed")
                       .End()
                       .End();
    TDiagram d;
    TDiagramStream::Read(bytes, d.Box);
    EXPECT_EQ(d.Box->Align(), alClient);
    EXPECT_EQ(d.Box->Color, clRed);
}

TEST(DiagramStream, PrefixedRecordsAreRead) {
    TBytes bytes = TStreamBytes()
                       .Raw({0xF0})
                       .WorkArea()
                       .End()
                       .Raw({0xF2, 2, 3})
                       .Str("TTextShape")
                       .Str("A")
                       .End()
                       .End()
                       .Raw({0xF1})
                       .Str("TTextShape")
                       .Str("B")
                       .End()
                       .End()
                       .End();
    TDiagram d;
    TDiagramStream::Read(bytes, d.Box);
    EXPECT_NE(d.Root->FindComponent("A"), nullptr);
    EXPECT_NE(d.Root->FindComponent("B"), nullptr);
}
