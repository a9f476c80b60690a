#include "workarea/SnapGrid.h"

namespace tsb {

TSnapGrid::TSnapGrid(TComponent* owner) : TControl(owner) {
    SetAlign(alClient);
    SetBounds(Left(), Top(), 105, 105);
    SetEnabled(false);
}

void TSnapGrid::SetGridSize(int size) {
    if (size < 1 || size == FGridSize) return;
    FGridSize = size;
    Invalidate();
}

void TSnapGrid::SetShowGrid(bool on) {
    if (on == FShowGrid) return;
    FShowGrid = on;
    Invalidate();
}

void TSnapGrid::SnapPoint(int& x, int& y) const {
    if (!SnapToGrid) return;
    x = (x / FGridSize) * FGridSize;
    y = (y / FGridSize) * FGridSize;
}

void TSnapGrid::SnapControl(TControl* control) const {
    if (!SnapToGrid || !control) return;
    control->SetTop((control->Top() / FGridSize) * FGridSize);
    control->SetLeft((control->Left() / FGridSize) * FGridSize);
}

void TSnapGrid::Paint() {
    TControl::Paint();
    if (!FShowGrid) return;
    TCanvas* canvas = Canvas();
    // Only the dots inside the area being painted: the first grid line at or
    // after its edge up to the last before its far edge.
    TRect clip = canvas->ClipRect().Intersect({0, 0, Width() + 1, Height() + 1});
    if (clip.IsEmpty()) return;
    auto first = [this](int edge) { return (edge + FGridSize - 1) / FGridSize * FGridSize; };
    const int left = first(clip.Left);
    if (left >= clip.Right) return;
    const int count = (clip.Right - 1 - left) / FGridSize + 1;
    for (int y = first(clip.Top); y < clip.Bottom; y += FGridSize)
        canvas->DotRow(left, y, count, FGridSize, clGray);
}

} // namespace tsb
