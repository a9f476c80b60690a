#include "model/ModelClasses.h"

#include "graphics/GraphicsClasses.h"
#include "graphics/ImageList.h"
#include "graphics/Picture.h"
#include "model/BitmapShape.h"
#include "model/Connector.h"
#include "model/DiagramRoot.h"
#include "model/GraphicShape.h"
#include "model/HiddenShape.h"
#include "model/RegularPolygonShape.h"
#include "model/StandardShape.h"
#include "model/TextShape.h"
#include "widgets/WidgetClasses.h"

namespace tsb {

namespace {

constexpr TIdentEntry kShapeTypes[] = {{0, "stRectangle"},   {1, "stSquare"},  {2, "stRoundRect"},
                                       {3, "stRoundSquare"}, {4, "stEllipse"}, {5, "stCircle"}};
constexpr TIdentEntry kSides[] = {{0, "csLeft"}, {1, "csRight"}, {2, "csTop"}, {3, "csBottom"}};
constexpr TIdentEntry kArrowStyles[] = {
    {0, "asHalf"}, {1, "asOpen"}, {2, "asClosed"}, {3, "asFilled"}};
constexpr TIdentEntry kPenStyles[] = {{0, "psSolid"},      {1, "psDash"},       {2, "psDot"},
                                      {3, "psDashDot"},    {4, "psDashDotDot"}, {5, "psClear"},
                                      {6, "psInsideFrame"}};

template <class T> TComponent* Create(TComponent* owner) {
    return new T(owner);
}

// The caption of an element: a text element that does not lead back to the
// element through the captions' own captions.
void SetCaptionRef(TCustomShape& shape, TComponent* target) {
    auto* caption = dynamic_cast<TTextShape*>(target);
    for (const TCustomShape* c = caption; c; c = c->Caption())
        if (c == &shape) return;
    shape.SetCaption(caption);
}

} // namespace

const TIdentTable ShapeTypeIdents{kShapeTypes};
const TIdentTable ConnectionSideIdents{kSides};
const TIdentTable ArrowStyleIdents{kArrowStyles};
const TIdentTable PenStyleIdents{kPenStyles};

const TClassInfo& CustomShapeClassInfo() {
    using P = TProps<TCustomShape>;
    using C = TProps<TControl>;
    static const TClassInfo info(
        "TCustomShape", &ControlClassInfo(),
        [] {
            std::vector<TPropInfo> p;
            p.push_back(P::Bool(
                "CanProcessMouseMsg", [](const TCustomShape& s) { return s.CanProcessMouseMsg; },
                [](TCustomShape& s, std::int64_t v) { s.CanProcessMouseMsg = v != 0; }));
            TPropInfo caption;
            caption.Name = "Caption";
            caption.Kind = TPropKind::Component;
            caption.GetRef = [](const TPersistent& o) -> TComponent* {
                return static_cast<const TCustomShape&>(o).Caption();
            };
            caption.CheckRef = [](const TPersistent&, TComponent* target) {
                if (!dynamic_cast<TTextShape*>(target)) ThrowInvalidPropertyValue();
            };
            caption.SetRef = [](TPersistent& o, TComponent* target) {
                SetCaptionRef(static_cast<TCustomShape&>(o), target);
            };
            p.push_back(std::move(caption));
            p.push_back(P::Enum(
                "CaptionAlign", AlignIdents, [](const TCustomShape& s) { return s.CaptionAlign(); },
                [](TCustomShape& s, std::int64_t v) {
                    s.SetCaptionAlign(static_cast<TAlign>(v));
                }));
            p.push_back(P::Bool(
                "Selected", [](const TCustomShape& s) { return s.Selected(); },
                [](TCustomShape& s, std::int64_t v) { s.SetSelected(v != 0); }));
            p.push_back(C::Event("OnClick", &TControl::OnClick));
            p.push_back(C::Event("OnDblClick", &TControl::OnDblClick));
            p.push_back(C::Event("OnMouseUp", &TControl::OnMouseUp));
            return p;
        }(),
        &Create<TCustomShape>);
    return info;
}

const TClassInfo& MoveableShapeClassInfo() {
    static const TClassInfo info("TMoveableShape", &CustomShapeClassInfo(), {},
                                 &Create<TMoveableShape>);
    return info;
}

const TClassInfo& SizeableShapeClassInfo() {
    static const TClassInfo info("TSizeableShape", &MoveableShapeClassInfo(), {},
                                 &Create<TSizeableShape>);
    return info;
}

const TClassInfo& TextShapeClassInfo() {
    using P = TProps<TTextShape>;
    static const TClassInfo info(
        "TTextShape", &SizeableShapeClassInfo(),
        [] {
            std::vector<TPropInfo> p;
            p.push_back(P::String(
                "Text", [](const TTextShape& s) { return s.Text(); },
                [](TTextShape& s, const std::string& v) { s.SetText(v); }));
            p.push_back(P::Bool(
                "Autosize", [](const TTextShape& s) { return s.Autosize(); },
                [](TTextShape& s, std::int64_t v) { s.SetAutosize(v != 0); }));
            p.push_back(P::Object("Font", FontClassInfo(),
                                  [](TTextShape& s) -> TPersistent* { return &s.Font(); }));
            return p;
        }(),
        &Create<TTextShape>);
    return info;
}

const TClassInfo& HiddenShapeClassInfo() {
    static const TClassInfo info("THiddenShape", &MoveableShapeClassInfo(), {},
                                 &Create<THiddenShape>);
    return info;
}

const TClassInfo& BitmapShapeClassInfo() {
    using P = TProps<TBitmapShape>;
    static const TClassInfo info(
        "TBitmapShape", &MoveableShapeClassInfo(),
        [] {
            std::vector<TPropInfo> p;
            TPropInfo images;
            images.Name = "Images";
            images.Kind = TPropKind::Component;
            images.GetRef = [](const TPersistent& o) -> TComponent* {
                return static_cast<const TBitmapShape&>(o).Images();
            };
            images.CheckRef = [](const TPersistent&, TComponent* target) {
                if (!dynamic_cast<TImageList*>(target)) ThrowInvalidPropertyValue();
            };
            images.SetRef = [](TPersistent& o, TComponent* target) {
                static_cast<TBitmapShape&>(o).SetImages(dynamic_cast<TImageList*>(target));
            };
            p.push_back(std::move(images));
            p.push_back(P::Int(
                "ImageIndex", [](const TBitmapShape& s) { return s.ImageIndex(); },
                [](TBitmapShape& s, std::int64_t v) { s.SetImageIndex(static_cast<int>(v)); }));
            return p;
        }(),
        &Create<TBitmapShape>);
    return info;
}

const TClassInfo& GraphicShapeClassInfo() {
    using P = TProps<TGraphicShape>;
    static const TClassInfo info(
        "TGraphicShape", &MoveableShapeClassInfo(),
        [] {
            std::vector<TPropInfo> p;
            p.push_back(P::Object("Image", PictureClassInfo(),
                                  [](TGraphicShape& s) -> TPersistent* { return &s.Image(); }));
            p.push_back(P::Bool(
                "Transparent", [](const TGraphicShape& s) { return s.Transparent(); },
                [](TGraphicShape& s, std::int64_t v) { s.SetTransparent(v != 0); }));
            return p;
        }(),
        &Create<TGraphicShape>);
    return info;
}

const TClassInfo& ThumbNailShapeClassInfo() {
    using P = TProps<TThumbNailShape>;
    static const TClassInfo info(
        "TThumbNailShape", &GraphicShapeClassInfo(),
        [] {
            std::vector<TPropInfo> p;
            p.push_back(P::String(
                "ImageName", [](const TThumbNailShape& s) { return s.ImageName(); },
                [](TThumbNailShape& s, const std::string& v) { s.SetImageName(v); }));
            return p;
        }(),
        &Create<TThumbNailShape>);
    return info;
}

const TClassInfo& StandardShapeClassInfo() {
    using P = TProps<TStandardShape>;
    static const TClassInfo info(
        "TStandardShape", &SizeableShapeClassInfo(),
        [] {
            std::vector<TPropInfo> p;
            p.push_back(P::Enum(
                "ShapeType", ShapeTypeIdents, [](const TStandardShape& s) { return s.ShapeType(); },
                [](TStandardShape& s, std::int64_t v) {
                    s.SetShapeType(static_cast<TShapeType>(v));
                }));
            p.push_back(P::Ordinal(
                "LineColour", TPropKind::Colour,
                [](const TStandardShape& s) { return s.LineColour; },
                [](TStandardShape& s, std::int64_t v) { s.LineColour = static_cast<TColor>(v); }, 0,
                ColourIdents));
            return p;
        }(),
        &Create<TStandardShape>);
    return info;
}

const TClassInfo& RegularPolygonShapeClassInfo() {
    using P = TProps<TRegularPolygonShape>;
    static const TClassInfo info(
        "TRegularPolygonShape", &SizeableShapeClassInfo(),
        [] {
            std::vector<TPropInfo> p;
            TPropInfo sides = P::Int(
                "Sides", [](const TRegularPolygonShape& s) { return s.Sides(); },
                [](TRegularPolygonShape& s, std::int64_t v) {
                    s.SetSides(static_cast<std::uint8_t>(v));
                },
                4);
            sides.MinValue = 0;
            sides.MaxValue = 255;
            p.push_back(std::move(sides));
            p.push_back(P::Ordinal(
                "LineColour", TPropKind::Colour,
                [](const TRegularPolygonShape& s) { return s.LineColour; },
                [](TRegularPolygonShape& s, std::int64_t v) {
                    s.LineColour = static_cast<TColor>(v);
                },
                0, ColourIdents));
            return p;
        }(),
        &Create<TRegularPolygonShape>);
    return info;
}

const TClassInfo& ConnectionClassInfo() {
    using P = TProps<TConnection>;
    static const TClassInfo info("TConnection", nullptr, [] {
        std::vector<TPropInfo> p;
        TPropInfo shape;
        shape.Name = "Shape";
        shape.Kind = TPropKind::Component;
        shape.GetRef = [](const TPersistent& o) -> TComponent* {
            return static_cast<const TConnection&>(o).Shape();
        };
        // An end attaches to an element that is not itself a connector.
        shape.CheckRef = [](const TPersistent&, TComponent* target) {
            auto* s = dynamic_cast<TCustomShape*>(target);
            if (!s || s->IsConnector()) ThrowInvalidPropertyValue();
        };
        shape.SetRef = [](TPersistent& o, TComponent* target) {
            static_cast<TConnection&>(o).SetShape(dynamic_cast<TCustomShape*>(target));
        };
        p.push_back(std::move(shape));
        p.push_back(P::Enum(
            "Side", ConnectionSideIdents, [](const TConnection& c) { return c.Side; },
            [](TConnection& c, std::int64_t v) { c.Side = static_cast<TConnectionSide>(v); }));
        p.push_back(P::Int(
            "Offset", [](const TConnection& c) { return c.Offset(); },
            [](TConnection& c, std::int64_t v) { c.SetOffset(static_cast<int>(v)); }));
        return p;
    }());
    return info;
}

const TClassInfo& ConnectorClassInfo() {
    using P = TProps<TConnector>;
    static const TClassInfo info(
        "TConnector", &CustomShapeClassInfo(),
        [] {
            std::vector<TPropInfo> p;
            TPropInfo width = P::Int(
                "LineWidth", [](const TConnector& c) { return c.LineWidth(); },
                [](TConnector& c, std::int64_t v) { c.SetLineWidth(static_cast<int>(v)); }, 1);
            // Wider pens are not lines of a diagram.
            width.MaxValue = MaxLineWidth;
            p.push_back(std::move(width));
            p.push_back(P::Enum(
                "LineStyle", PenStyleIdents, [](const TConnector& c) { return c.LineStyle; },
                [](TConnector& c, std::int64_t v) { c.LineStyle = static_cast<TPenStyle>(v); },
                psSolid));
            p.push_back(P::Ordinal(
                "LineColor", TPropKind::Colour, [](const TConnector& c) { return c.LineColor; },
                [](TConnector& c, std::int64_t v) { c.LineColor = static_cast<TColor>(v); }, 0,
                ColourIdents));
            p.push_back(P::Object("StartConn", ConnectionClassInfo(),
                                  [](TConnector& c) -> TPersistent* { return &c.StartConn(); }));
            p.push_back(P::Object("EndConn", ConnectionClassInfo(),
                                  [](TConnector& c) -> TPersistent* { return &c.EndConn(); }));
            return p;
        }(),
        &Create<TConnector>);
    return info;
}

const TClassInfo& LineConnectorClassInfo() {
    static const TClassInfo info("TLineConnector", &ConnectorClassInfo(), {},
                                 &Create<TLineConnector>);
    return info;
}

const TClassInfo& SingleHeadArrowClassInfo() {
    using P = TProps<TSingleHeadArrow>;
    static const TClassInfo info(
        "TSingleHeadArrow", &LineConnectorClassInfo(),
        [] {
            std::vector<TPropInfo> p;
            p.push_back(P::Enum(
                "ArrowStyle", ArrowStyleIdents,
                [](const TSingleHeadArrow& a) { return a.ArrowStyle(); },
                [](TSingleHeadArrow& a, std::int64_t v) {
                    a.SetArrowStyle(static_cast<TArrowStyle>(v));
                }));
            return p;
        }(),
        &Create<TSingleHeadArrow>);
    return info;
}

const TClassInfo& BluntSingleHeadArrowClassInfo() {
    static const TClassInfo info("TBluntSingleHeadArrow", &SingleHeadArrowClassInfo(), {},
                                 &Create<TBluntSingleHeadArrow>);
    return info;
}

const TClassInfo& DoubleHeadArrowClassInfo() {
    static const TClassInfo info("TDoubleHeadArrow", &SingleHeadArrowClassInfo(), {},
                                 &Create<TDoubleHeadArrow>);
    return info;
}

void RegisterModelClasses() {
    RegisterClass(CustomShapeClassInfo());
    RegisterClass(MoveableShapeClassInfo());
    RegisterClass(SizeableShapeClassInfo());
    RegisterClass(HiddenShapeClassInfo());
    RegisterClass(BitmapShapeClassInfo());
    RegisterClass(GraphicShapeClassInfo());
    RegisterClass(ThumbNailShapeClassInfo());
    RegisterClass(TextShapeClassInfo());
    RegisterClass(StandardShapeClassInfo());
    RegisterClass(RegularPolygonShapeClassInfo());
    RegisterClass(ConnectionClassInfo());
    RegisterClass(ConnectorClassInfo());
    RegisterClass(LineConnectorClassInfo());
    RegisterClass(SingleHeadArrowClassInfo());
    RegisterClass(BluntSingleHeadArrowClassInfo());
    RegisterClass(DoubleHeadArrowClassInfo());
    RegisterClass(ScrollBoxClassInfo());
    RegisterClass(TDiagramRoot::StaticClassInfo());
}

} // namespace tsb
