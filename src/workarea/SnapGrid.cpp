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
    for (int x = 0; x <= Width(); x += FGridSize)
        for (int y = 0; y <= Height(); y += FGridSize)
            canvas->SetPixel(x, y, clGray);
}

} // namespace tsb
