#include "graphics/GraphicsClasses.h"

#include "graphics/Font.h"
#include "graphics/Picture.h"

namespace tsb {

namespace {

constexpr TIdentEntry kPitches[] = {
    {fpDefault, "fpDefault"}, {fpVariable, "fpVariable"}, {fpFixed, "fpFixed"}};
// Set members by bit number.
constexpr TIdentEntry kFontStyles[] = {
    {0, "fsBold"}, {1, "fsItalic"}, {2, "fsUnderline"}, {3, "fsStrikeOut"}};

} // namespace

const TIdentTable FontPitchIdents{kPitches};
const TIdentTable FontStyleIdents{kFontStyles};

const TClassInfo& FontClassInfo() {
    using P = TProps<TFont>;
    static const TClassInfo info("TFont", nullptr, [] {
        std::vector<TPropInfo> p;
        TPropInfo charset = P::Ordinal(
            "Charset", TPropKind::Charset, [](const TFont& f) { return f.Charset(); },
            [](TFont& f, std::int64_t v) { f.SetCharset(static_cast<std::uint8_t>(v)); },
            std::nullopt, CharsetIdents);
        charset.MinValue = 0;
        charset.MaxValue = 255;
        p.push_back(std::move(charset));
        p.push_back(P::Ordinal(
            "Color", TPropKind::Colour, [](const TFont& f) { return f.Color(); },
            [](TFont& f, std::int64_t v) { f.SetColor(static_cast<TColor>(v)); }, std::nullopt,
            ColourIdents));
        TPropInfo height = P::Int(
            "Height", [](const TFont& f) { return f.Height(); },
            [](TFont& f, std::int64_t v) { f.SetHeight(static_cast<int>(v)); });
        height.MinValue = -32768;
        height.MaxValue = 32767;
        p.push_back(std::move(height));
        p.push_back(P::String(
            "Name", [](const TFont& f) { return f.Name(); },
            [](TFont& f, const std::string& v) { f.SetName(v); }));
        p.push_back(P::Enum(
            "Pitch", FontPitchIdents, [](const TFont& f) { return f.Pitch(); },
            [](TFont& f, std::int64_t v) { f.SetPitch(static_cast<TFontPitch>(v)); }, fpDefault));
        // Derived from Height; read when present, never written.
        TPropInfo size = P::Int(
            "Size", [](const TFont& f) { return f.Size(); },
            [](TFont& f, std::int64_t v) { f.SetSize(static_cast<int>(v)); });
        size.Stored = [](const TPersistent&) { return false; };
        size.MinValue = -32768;
        size.MaxValue = 32767;
        p.push_back(std::move(size));
        TPropInfo style = P::Ordinal(
            "Style", TPropKind::Set, [](const TFont& f) { return f.Style(); },
            [](TFont& f, std::int64_t v) { f.SetStyle(static_cast<TFontStyles>(v)); }, std::nullopt,
            FontStyleIdents);
        style.MinValue = 0;
        style.MaxValue = 15;
        p.push_back(std::move(style));
        return p;
    }());
    return info;
}

const TClassInfo& PictureClassInfo() {
    static const TClassInfo info("TPicture", nullptr, [] {
        std::vector<TPropInfo> p;
        TPropInfo data;
        data.Name = "Data";
        data.Kind = TPropKind::Binary;
        data.HasData = [](const TPersistent& o) {
            return static_cast<const TPicture&>(o).Graphic() != nullptr;
        };
        data.WriteData = [](const TPersistent& o, TBytes& out) {
            out = static_cast<const TPicture&>(o).WriteData();
        };
        data.ReadData = [](TPersistent& o, std::span<const std::uint8_t> bytes) {
            static_cast<TPicture&>(o).ReadData(bytes.data(), bytes.size());
        };
        p.push_back(std::move(data));
        return p;
    }());
    return info;
}

} // namespace tsb
