#include "platform/PlatformClasses.h"

#include "platform/Font.h"
#include "platform/Picture.h"
#include "platform/ScrollBox.h"

namespace tsb {

namespace {

constexpr TIdentEntry kColours[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clNone, "clNone"},
};

constexpr TIdentEntry kCharsets[] = {
    {0, "ANSI_CHARSET"},     {1, "DEFAULT_CHARSET"},      {2, "SYMBOL_CHARSET"},
    {77, "MAC_CHARSET"},     {128, "SHIFTJIS_CHARSET"},   {129, "HANGEUL_CHARSET"},
    {130, "JOHAB_CHARSET"},  {134, "GB2312_CHARSET"},     {136, "CHINESEBIG5_CHARSET"},
    {161, "GREEK_CHARSET"},  {162, "TURKISH_CHARSET"},    {177, "HEBREW_CHARSET"},
    {178, "ARABIC_CHARSET"}, {186, "BALTIC_CHARSET"},     {204, "RUSSIAN_CHARSET"},
    {222, "THAI_CHARSET"},   {238, "EASTEUROPE_CHARSET"}, {255, "OEM_CHARSET"},
};

constexpr TIdentEntry kCursors[] = {
    {crDefault, "crDefault"},     {crNone, "crNone"},           {crArrow, "crArrow"},
    {crCross, "crCross"},         {crIBeam, "crIBeam"},         {crSizeNESW, "crSizeNESW"},
    {crSizeNS, "crSizeNS"},       {crSizeNWSE, "crSizeNWSE"},   {crSizeWE, "crSizeWE"},
    {crUpArrow, "crUpArrow"},     {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
    {crNoDrop, "crNoDrop"},       {crHSplit, "crHSplit"},       {crVSplit, "crVSplit"},
    {crMultiDrag, "crMultiDrag"}, {crSQLWait, "crSQLWait"},     {crNo, "crNo"},
    {crAppStart, "crAppStart"},   {crHelp, "crHelp"},           {crHandPoint, "crHandPoint"},
    {crSizeAll, "crSizeAll"},
};

constexpr TIdentEntry kAligns[] = {{alNone, "alNone"},     {alTop, "alTop"},
                                   {alBottom, "alBottom"}, {alLeft, "alLeft"},
                                   {alRight, "alRight"},   {alClient, "alClient"}};
constexpr TIdentEntry kBorderStyles[] = {{bsNone, "bsNone"}, {bsSingle, "bsSingle"}};
constexpr TIdentEntry kPitches[] = {
    {fpDefault, "fpDefault"}, {fpVariable, "fpVariable"}, {fpFixed, "fpFixed"}};
// Set members by bit number.
constexpr TIdentEntry kFontStyles[] = {
    {0, "fsBold"}, {1, "fsItalic"}, {2, "fsUnderline"}, {3, "fsStrikeOut"}};

} // namespace

const TIdentTable ColourIdents{kColours};
const TIdentTable CharsetIdents{kCharsets};
const TIdentTable CursorIdents{kCursors};
const TIdentTable AlignIdents{kAligns};
const TIdentTable BorderStyleIdents{kBorderStyles};
const TIdentTable FontPitchIdents{kPitches};
const TIdentTable FontStyleIdents{kFontStyles};

const TClassInfo& ControlClassInfo() {
    using P = TProps<TControl>;
    static const TClassInfo info("TControl", nullptr, [] {
        std::vector<TPropInfo> p;
        p.push_back(P::Int(
            "Tag", [](const TControl& c) { return c.Tag; },
            [](TControl& c, std::int64_t v) { c.Tag = static_cast<int>(v); }, 0));
        p.push_back(P::Int(
            "Left", [](const TControl& c) { return c.Left(); },
            [](TControl& c, std::int64_t v) { c.SetLeft(static_cast<int>(v)); }));
        p.push_back(P::Int(
            "Top", [](const TControl& c) { return c.Top(); },
            [](TControl& c, std::int64_t v) { c.SetTop(static_cast<int>(v)); }));
        p.push_back(P::Int(
            "Width", [](const TControl& c) { return c.Width(); },
            [](TControl& c, std::int64_t v) { c.SetWidth(static_cast<int>(v)); }));
        p.push_back(P::Int(
            "Height", [](const TControl& c) { return c.Height(); },
            [](TControl& c, std::int64_t v) { c.SetHeight(static_cast<int>(v)); }));
        // Positions and sizes beyond a million pixels are not diagrams: they
        // are refused when read, so no sum of two of them can overflow.
        for (std::size_t i = 1; i <= 4; ++i) {
            p[i].MinValue = -CoordinateLimit;
            p[i].MaxValue = CoordinateLimit;
        }
        TPropInfo cursor = P::Ordinal(
            "Cursor", TPropKind::Cursor, [](const TControl& c) { return c.Cursor(); },
            [](TControl& c, std::int64_t v) { c.SetCursor(static_cast<TCursor>(v)); }, crDefault,
            CursorIdents);
        cursor.MinValue = -32768;
        cursor.MaxValue = 32767;
        p.push_back(std::move(cursor));
        p.push_back(P::String(
            "Hint", [](const TControl& c) { return c.Hint; },
            [](TControl& c, const std::string& v) { c.Hint = v; }));
        return p;
    }());
    return info;
}

const TClassInfo& ScrollBoxClassInfo() {
    using P = TProps<TScrollBox>;
    using C = TProps<TControl>;
    static const TClassInfo info(
        "TScrollBox", &ControlClassInfo(),
        [] {
            std::vector<TPropInfo> p;
            p.push_back(P::Ignored("HelpContext"));
            p.push_back(P::Ignored("HorzScrollBar", TPropKind::Object));
            p.push_back(P::Ignored("VertScrollBar", TPropKind::Object));
            p.push_back(P::Enum(
                "Align", AlignIdents, [](const TScrollBox& c) { return c.Align(); },
                [](TScrollBox& c, std::int64_t v) { c.SetAlign(static_cast<TAlign>(v)); }, alNone));
            p.push_back(P::Ignored("Anchors", TPropKind::Set));
            p.push_back(P::Bool(
                "AutoScroll", [](const TScrollBox& c) { return c.AutoScroll; },
                [](TScrollBox& c, std::int64_t v) { c.AutoScroll = v != 0; }, true));
            p.push_back(P::Ignored("AutoSize", TPropKind::Boolean));
            p.push_back(P::Ignored("BiDiMode", TPropKind::Enumeration));
            p.push_back(P::Enum(
                "BorderStyle", BorderStyleIdents, [](const TScrollBox& c) { return c.BorderStyle; },
                [](TScrollBox& c, std::int64_t v) { c.BorderStyle = static_cast<TBorderStyle>(v); },
                bsSingle));
            p.push_back(P::Ignored("Constraints", TPropKind::Object));
            p.push_back(P::Ignored("DockSite", TPropKind::Boolean));
            p.push_back(P::Ignored("DragCursor", TPropKind::Cursor));
            p.push_back(P::Ignored("DragKind", TPropKind::Enumeration));
            p.push_back(P::Ignored("DragMode", TPropKind::Enumeration));
            p.push_back(P::Bool(
                "Enabled", [](const TScrollBox& c) { return c.Enabled(); },
                [](TScrollBox& c, std::int64_t v) { c.SetEnabled(v != 0); }, true));
            TPropInfo color = P::Ordinal(
                "Color", TPropKind::Colour, [](const TScrollBox& c) { return c.Color; },
                [](TScrollBox& c, std::int64_t v) {
                    c.Color = static_cast<TColor>(v);
                    c.Invalidate();
                },
                std::nullopt, ColourIdents);
            color.Stored = [](const TPersistent& o) {
                return !static_cast<const TScrollBox&>(o).ParentColor;
            };
            p.push_back(std::move(color));
            p.push_back(P::Ignored("Ctl3D", TPropKind::Boolean));
            p.push_back(P::Ignored("Font", TPropKind::Object));
            p.push_back(P::Ignored("ParentBiDiMode", TPropKind::Boolean));
            p.push_back(P::Bool(
                "ParentColor", [](const TScrollBox& c) { return c.ParentColor; },
                [](TScrollBox& c, std::int64_t v) { c.ParentColor = v != 0; }, true));
            p.push_back(P::Ignored("ParentCtl3D", TPropKind::Boolean));
            p.push_back(P::Ignored("ParentFont", TPropKind::Boolean));
            p.push_back(P::Ignored("ParentShowHint", TPropKind::Boolean));
            p.push_back(P::Ignored("PopupMenu", TPropKind::Component));
            p.push_back(P::Ignored("ShowHint", TPropKind::Boolean));
            p.push_back(P::Int(
                "TabOrder", [](const TScrollBox& c) { return c.TabOrder; },
                [](TScrollBox& c, std::int64_t v) { c.TabOrder = static_cast<int>(v); }, -1));
            p.push_back(P::Ignored("TabStop", TPropKind::Boolean));
            p.push_back(P::Bool(
                "Visible", [](const TScrollBox& c) { return c.Visible(); },
                [](TScrollBox& c, std::int64_t v) { c.SetVisible(v != 0); }, true));
            p.push_back(P::Ignored("OnCanResize", TPropKind::Method));
            p.push_back(C::Event("OnClick", &TControl::OnClick));
            p.push_back(P::Ignored("OnConstrainedResize", TPropKind::Method));
            p.push_back(P::Ignored("OnContextPopup", TPropKind::Method));
            p.push_back(C::Event("OnDblClick", &TControl::OnDblClick));
            for (const char* name :
                 {"OnDockDrop", "OnDockOver", "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag",
                  "OnEnter", "OnExit", "OnGetSiteInfo"})
                p.push_back(P::Ignored(name, TPropKind::Method));
            p.push_back(C::Event("OnMouseDown", &TControl::OnMouseDown));
            p.push_back(C::Event("OnMouseMove", &TControl::OnMouseMove));
            p.push_back(C::Event("OnMouseUp", &TControl::OnMouseUp));
            for (const char* name : {"OnMouseWheel", "OnMouseWheelDown", "OnMouseWheelUp",
                                     "OnResize", "OnStartDock", "OnStartDrag", "OnUnDock"})
                p.push_back(P::Ignored(name, TPropKind::Method));
            return p;
        }(),
        [](TComponent* owner) -> TComponent* { return new TScrollBox(owner); });
    return info;
}

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
