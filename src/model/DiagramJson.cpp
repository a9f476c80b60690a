#include "model/DiagramJson.h"

#include <cstdio>

#include "core/FileStream.h"
#include "core/Idents.h"
#include "core/TextEncoding.h"
#include "graphics/Graphic.h"
#include "graphics/GraphicsClasses.h"
#include "graphics/ImageList.h"
#include "graphics/Picture.h"
#include "model/BitmapShape.h"
#include "model/Connector.h"
#include "model/GraphicShape.h"
#include "model/ModelClasses.h"
#include "model/RegularPolygonShape.h"
#include "model/StandardShape.h"
#include "model/TextShape.h"

namespace tsb {

namespace {

void AppendString(std::string& out, const std::string& value) {
    out += '"';
    // Invalid UTF-8 becomes U+FFFD, so the document always parses.
    for (char ch : Utf16ToUtf8(Utf8ToUtf16(value))) {
        auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", c);
                out += escape;
            } else {
                out += ch;
            }
        }
    }
    out += '"';
}

// Members of one JSON object, written in the order they are given.
class TObject {
public:
    explicit TObject(std::string& out) : FOut(out) { FOut += '{'; }
    ~TObject() { FOut += '}'; }
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;

    std::string& Key(const char* key) {
        if (FAny) FOut += ", ";
        FAny = true;
        AppendString(FOut, key);
        FOut += ": ";
        return FOut;
    }
    void Str(const char* key, const std::string& value) { AppendString(Key(key), value); }
    void Int(const char* key, std::int64_t value) { Key(key) += std::to_string(value); }
    void Bool(const char* key, bool value) { Key(key) += value ? "true" : "false"; }
    // The element's name, or null without one.
    void Ref(const char* key, const TComponent* target) {
        if (target)
            Str(key, target->Name());
        else
            Key(key) += "null";
    }

private:
    std::string& FOut;
    bool FAny = false;
};

// An enumeration value by its identifier without the type's two-letter
// prefix: csLeft is "left", psDashDot "dashDot".
std::string EnumName(TIdentTable table, std::int64_t value) {
    const char* ident = IdentOfValue(table, value);
    std::string name = ident ? ident + 2 : std::to_string(value);
    if (ident && !name.empty()) name[0] = static_cast<char>(name[0] - 'A' + 'a');
    return name;
}

void WriteFont(std::string& out, const TFont& font) {
    TObject o(out);
    o.Str("name", font.Name());
    o.Int("height", font.Height());
    o.Int("size", font.Size());
    o.Str("colour", ColorToHex(font.Color()));
    std::string& styles = o.Key("style");
    styles += '[';
    const char* const kStyles[] = {"bold", "italic", "underline", "strikeOut"};
    for (int bit = 0; bit < 4; ++bit)
        if (font.Style() & (1u << bit)) {
            if (styles.back() != '[') styles += ", ";
            AppendString(styles, kStyles[bit]);
        }
    styles += ']';
    o.Int("charset", font.Charset());
    o.Str("pitch", EnumName(FontPitchIdents, font.Pitch()));
}

void WriteEnd(std::string& out, const TConnection& end) {
    TObject o(out);
    o.Ref("element", end.Shape());
    o.Str("side", EnumName(ConnectionSideIdents, end.Side));
    const TPoint p = end.AttachPoint();
    o.Int("x", p.X);
    o.Int("y", p.Y);
}

void WriteCaption(std::string& out, const TCustomShape& element) {
    const TTextShape* caption = element.Caption();
    if (!caption) {
        out += "null";
        return;
    }
    TObject o(out);
    o.Str("name", caption->Name());
    o.Str("text", caption->Text());
    o.Str("position", EnumName(AlignIdents, element.CaptionAlign()));
    WriteFont(o.Key("font"), caption->Font());
}

// The properties of the element's kind, after the common ones.
void WriteKind(TObject& o, const TCustomShape& element) {
    if (auto* text = As<const TTextShape>(&element)) {
        o.Ref("captionOf", text->CaptionOf().empty() ? nullptr : text->CaptionOf().front());
        o.Str("text", text->Text());
        o.Bool("autosize", text->Autosize());
        WriteFont(o.Key("font"), text->Font());
    } else if (auto* standard = As<const TStandardShape>(&element)) {
        o.Str("shapeType", EnumName(ShapeTypeIdents, standard->ShapeType()));
        o.Str("lineColour", ColorToHex(standard->LineColour));
    } else if (auto* polygon = As<const TRegularPolygonShape>(&element)) {
        o.Int("sides", polygon->Sides());
        o.Str("lineColour", ColorToHex(polygon->LineColour));
    } else if (auto* graphic = As<const TGraphicShape>(&element)) {
        const TGraphic* picture = graphic->Image().Graphic();
        std::string& p = o.Key("picture");
        if (picture) {
            TObject po(p);
            po.Str("format", picture->ClassName());
            po.Int("width", picture->Width());
            po.Int("height", picture->Height());
        } else {
            p += "null";
        }
        o.Bool("transparent", graphic->Transparent());
        if (auto* thumb = As<const TThumbNailShape>(graphic))
            o.Str("imageName", thumb->ImageName());
    } else if (auto* bitmap = As<const TBitmapShape>(&element)) {
        o.Ref("imageList", bitmap->Images());
        o.Int("imageIndex", bitmap->ImageIndex());
    } else if (auto* connector = As<const TConnector>(&element)) {
        o.Int("lineWidth", connector->LineWidth());
        o.Str("lineStyle", EnumName(PenStyleIdents, connector->LineStyle));
        o.Str("lineColour", ColorToHex(connector->LineColor));
        if (auto* arrow = As<const TSingleHeadArrow>(connector))
            o.Str("arrowStyle", EnumName(ArrowStyleIdents, arrow->ArrowStyle()));
        WriteEnd(o.Key("start"), connector->StartConn());
        WriteEnd(o.Key("end"), connector->EndConn());
    }
}

void WriteElement(std::string& out, const TCustomShape& element) {
    TObject o(out);
    o.Str("class", element.ClassName());
    o.Str("name", element.Name());
    {
        TObject b(o.Key("bounds"));
        b.Int("left", element.Left());
        b.Int("top", element.Top());
        b.Int("width", element.Width());
        b.Int("height", element.Height());
    }
    WriteCaption(o.Key("caption"), element);
    WriteKind(o, element);
}

} // namespace

std::string TDiagramJson::Write(const TWinControl* container) {
    std::string out = "{\n  \"format\": \"tresselby-diagram\",\n  \"version\": 1,\n  \"page\": ";
    {
        TObject page(out);
        page.Int("width", container->Width());
        page.Int("height", container->Height());
        page.Str("colour", ColorToHex(container->Color));
    }
    out += ",\n  \"elements\": [";
    const char* separator = "\n    ";
    for (const TControl* c : container->ControlList())
        if (auto* element = As<const TCustomShape>(c)) {
            out += separator;
            separator = ",\n    ";
            WriteElement(out, *element);
        }
    out += "\n  ]\n}\n";
    return out;
}

void TDiagramJson::SaveToFile(const std::string& fileName, const TWinControl* container) {
    const std::string text = Write(container);
    WriteFileBytes(fileName, TBytes(text.begin(), text.end()));
}

} // namespace tsb
