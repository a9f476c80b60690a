#include "model/TextShape.h"

#include <algorithm>

namespace tsb {

TTextShape::TTextShape(TComponent* owner)
    : TSizeableShape(owner), FFont(std::make_unique<TFont>()) {
    FFont->OnChange = [this] { FontChanged(); };
}

TTextShape::~TTextShape() = default;

void TTextShape::BeforeDestruction() {
    FFont->OnChange = nullptr;
    TSizeableShape::BeforeDestruction();
}

void TTextShape::FontChanged() {
    MeasureText();
    Invalidate();
}

void TTextShape::SetText(const std::string& text) {
    if (text == FText) return;
    FText = text;
    MeasureText();
    Invalidate();
}

void TTextShape::SetAutosize(bool on) {
    if (on == FAutosize) return;
    FAutosize = on;
    MeasureText();
    Invalidate();
}

void TTextShape::SetFont(const TFont& font) {
    if (&font == FFont.get()) {
        // Setting the element's own font object still re-measures.
        FontChanged();
        return;
    }
    FFont->Assign(font);
}

void TTextShape::MeasureText() {
    MinHeight = HandleHeight;
    MinWidth = HandleWidth;
    if (FAutosize && Parent()) {
        TCanvas& canvas = CanvasState();
        canvas.Font.Assign(*FFont);
        std::vector<std::string> lines = SplitLines(FText);
        for (const std::string& line : lines)
            MinWidth = std::max(MinWidth, canvas.TextWidth(line));
        MinHeight = std::max(MinHeight, canvas.TextHeight(FText) * static_cast<int>(lines.size()));
    }
    SetBounds(Left(), Top(), Width(), Height());
}

void TTextShape::SetBounds(int left, int top, int width, int height) {
    EnsureAtLeast(width, MinWidth);
    EnsureAtLeast(height, MinHeight);
    TSizeableShape::SetBounds(left, top, width, height);
}

void TTextShape::SetParent(TWinControl* parent) {
    TSizeableShape::SetParent(parent);
    MeasureText();
}

void TTextShape::Paint() {
    if (!Parent()) return;
    TCanvas* canvas = Canvas();
    canvas->Font.Assign(*FFont);
    canvas->Brush.Style = bsClear;
    canvas->DrawTextCentered({0, 0, Width(), Height()}, FText);
    TSizeableShape::Paint();
}

} // namespace tsb
