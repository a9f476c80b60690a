// A resizable block of text with its own font that grows to fit its text;
// the free text element and the caption of every other element.
#pragma once

#include <memory>
#include <string>

#include "graphics/Font.h"
#include "model/SizeableShape.h"

namespace tsb {

class TTextShape : public TSizeableShape {
    TSB_CLASS(TTextShape)
public:
    explicit TTextShape(TComponent* owner);
    ~TTextShape() override;

    const std::string& Text() const { return FText; }
    void SetText(const std::string& text);
    bool Autosize() const { return FAutosize; }
    void SetAutosize(bool on);
    TFont& Font() const { return *FFont; }
    // Copies the given font into the element's own.
    void SetFont(const TFont& font);

    // Raises the minimum size to the text's extent and applies it.
    void MeasureText();

    void SetBounds(int left, int top, int width, int height) override;
    void SetParent(TWinControl* parent) override;
    void Paint() override;

protected:
    void BeforeDestruction() override;

private:
    void FontChanged();

    std::string FText;
    bool FAutosize = true;
    std::unique_ptr<TFont> FFont;
};

} // namespace tsb
