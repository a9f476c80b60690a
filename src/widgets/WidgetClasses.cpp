#include "widgets/WidgetClasses.h"

#include "widgets/ScrollBox.h"

namespace tsb {

namespace {

constexpr TIdentEntry kBorderStyles[] = {{bsNone, "bsNone"}, {bsSingle, "bsSingle"}};
} // namespace

const TIdentTable BorderStyleIdents{kBorderStyles};

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

} // namespace tsb
