#include "model/ModelClasses.h"

#include "model/DiagramRoot.h"
#include "model/TextShape.h"
#include "platform/PlatformClasses.h"

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

void RegisterModelClasses() {
    RegisterClass(CustomShapeClassInfo());
    RegisterClass(MoveableShapeClassInfo());
    RegisterClass(SizeableShapeClassInfo());
    // THiddenShape, TBitmapShape, TGraphicShape, TThumbNailShape
    RegisterClass(TextShapeClassInfo());
    // TStandardShape, TRegularPolygonShape, TConnection, TConnector,
    // TLineConnector, TSingleHeadArrow, TBluntSingleHeadArrow, TDoubleHeadArrow
    RegisterClass(ScrollBoxClassInfo());
    RegisterClass(TDiagramRoot::StaticClassInfo());
}

} // namespace tsb
