#include "DrawingAreas.h"

#include "graphics/Canvas.h"
#include "model/BitmapShape.h"
#include "model/Connector.h"
#include "model/GraphicShape.h"
#include "model/RegularPolygonShape.h"
#include "model/StandardShape.h"
#include "model/TextShape.h"

using namespace tsb;

namespace tsbtest {

namespace {

// The rectangle of the inclusive corners a and b, grown by `by`.
QRect Around(TPoint a, TPoint b, int by) {
    return QRect(QPoint(std::min(a.X, b.X), std::min(a.Y, b.Y)),
                 QPoint(std::max(a.X, b.X), std::max(a.Y, b.Y)))
        .adjusted(-by, -by, by, by);
}

QRect Bounds(const TControl& c) {
    return QRect(c.Left(), c.Top(), c.Width(), c.Height());
}

// A connector's slanted or wide segments and its arrow heads; its straight
// thin terminals stay exact.
void AddConnector(const TConnector& c, TLooseAreas& areas) {
    const int reach = c.LineWidth() + 1;
    const TConnection* ends[] = {&c.StartConn(), &c.EndConn()};
    const TRect terminals[] = {c.StartTerminal(), c.EndTerminal()};
    const bool heads[] = {As<const TDoubleHeadArrow>(&c) != nullptr,
                          As<const TSingleHeadArrow>(&c) != nullptr};
    const TPoint a = ends[0]->OuterPoint(terminals[0]), b = ends[1]->OuterPoint(terminals[1]);
    if (c.LineWidth() > 1 || (a.X != b.X && a.Y != b.Y))
        areas.Curves.push_back(Around(a, b, reach));
    for (int i = 0; i < 2; ++i) {
        if (heads[i]) {
            const TRect e = ends[i]->Extent(terminals[i]);
            areas.Curves.push_back(Around({e.Left, e.Top}, {e.Right, e.Bottom}, reach));
        } else if (c.LineWidth() > 1) {
            areas.Curves.push_back(
                Around(ends[i]->AttachPoint(), ends[i]->OuterPoint(terminals[i]), reach));
        }
    }
}

} // namespace

TLooseAreas DrawingAreasOf(TWinControl& container, QSize size, QPoint at) {
    TLooseAreas areas;
    for (const TControl* control : container.ControlList()) {
        if (!control->Visible()) continue;
        if (const auto* c = As<const TConnector>(control)) {
            AddConnector(*c, areas);
        } else if (const auto* s = As<const TStandardShape>(control)) {
            if (s->ShapeType() != stRectangle && s->ShapeType() != stSquare)
                areas.Curves.push_back(Bounds(*s));
        } else if (As<const TRegularPolygonShape>(control)) {
            areas.Curves.push_back(Bounds(*control));
        } else if (As<const TTextShape>(control)) {
            areas.Text.push_back(Bounds(*control));
        } else if (As<const TGraphicShape>(control)) {
            areas.Pictures.push_back(Bounds(*control).adjusted(1, 1, -1, -1)); // in its frame
        } else if (As<const TBitmapShape>(control)) {
            areas.Pictures.push_back(Bounds(*control));
        }
    }
    for (auto* list : {&areas.Curves, &areas.Text, &areas.Pictures})
        for (QRect& r : *list)
            r.translate(at);
    areas.Inverted = InvertedPixels(size.width(), size.height(), [&](TCanvas& canvas) {
        container.PaintTo(canvas, at.x(), at.y());
    });
    return areas;
}

} // namespace tsbtest
