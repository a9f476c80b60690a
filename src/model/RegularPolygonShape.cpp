#include "model/RegularPolygonShape.h"

#include <cmath>

namespace tsb {

int RoundHalfEven(double v) {
    double f = std::floor(v);
    double rest = v - f;
    if (rest > 0.5) return static_cast<int>(f) + 1;
    if (rest < 0.5) return static_cast<int>(f);
    return std::fmod(f, 2.0) == 0.0 ? static_cast<int>(f) : static_cast<int>(f) + 1;
}

TRegularPolygonShape::TRegularPolygonShape(TComponent* owner) : TSizeableShape(owner) {
    SetBounds(Left(), Top(), 100, 80);
}

void TRegularPolygonShape::SetSides(std::uint8_t sides) {
    if (sides == FSides) return;
    FSides = sides;
    Invalidate();
}

std::vector<TPoint> TRegularPolygonShape::Vertices() const {
    int innerW = Width() - 2 * (HandleWidth / 2);
    int innerH = Height() - 2 * (HandleHeight / 2);
    double rx = innerW / 2, ry = innerH / 2;
    int cx = Width() / 2, cy = Height() / 2;
    std::vector<TPoint> points;
    points.reserve(FSides);
    for (int i = 0; i < FSides; ++i) {
        double a = 6.283185307179586 * i / FSides;
        points.push_back(
            {RoundHalfEven(rx * -std::sin(a) + cx), RoundHalfEven(ry * -std::cos(a) + cy)});
    }
    return points;
}

void TRegularPolygonShape::Paint() {
    TSizeableShape::Paint();
    if (!Parent()) return;
    TCanvas* canvas = Canvas();
    canvas->Brush.Style = bsClear;
    canvas->Pen.Color = LineColour;
    canvas->Pen.Mode = pmNot;
    std::vector<TPoint> points = Vertices();
    if (!points.empty()) canvas->Polygon(points);
}

} // namespace tsb
