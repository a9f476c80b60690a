// Rulers along the top and left of the area the control covers, counting the
// pixels of a target control, with a pair of hair-lines that mark the
// pointer's position on both.
#pragma once

#include <cstdint>

#include "widgets/Control.h"

namespace tsb {

enum TRulers : std::uint8_t { ruNone, ruHorz, ruVert, ruBoth };

class TqmRuler : public TControl {
    TSB_CLASS(TqmRuler)
public:
    // Fills its parent and takes no mouse input.
    explicit TqmRuler(TComponent* owner);

    TControl* Target() const { return FTarget; }
    // Forgotten when the target is destroyed.
    void SetTarget(TControl* target);
    bool Flat() const { return FFlat; }
    void SetFlat(bool flat);
    TColor HairLineColor() const { return FHairLineColor; }
    void SetHairLineColor(TColor color);
    TRulers Rulers() const { return FRulers; }
    void SetRulers(TRulers rulers);
    TColor BackGround() const { return FBackGround; }
    void SetBackGround(TColor color);
    int RulerWidth() const { return FRulerWidth; }
    void SetRulerWidth(int width);

    // Hair-line position in target coordinates, and the inner rectangles of
    // the scales as the last paint left them.
    TPoint HairPos{-100, -100};
    TRect HorzScale;
    TRect VertScale;

    // Moves the hair-lines to a point of the target's client area, drawing
    // straight onto the parent's surface: each line is drawn again at its
    // old place, which erases it, and then at the new one.
    void MoveHairLine(TPoint p);

    void Notification(TComponent* component, TOperation operation) override;
    void Paint() override;

private:
    void PaintStrip(TCanvas& canvas, TRect r);
    // The horizontal ruler, or with `vert` the vertical one: the same
    // drawing with the axes exchanged.
    void PaintRuler(TCanvas& canvas, bool vert);
    void SetLabelFont(TCanvas& canvas);
    // The hair-line across one ruler's scale at the target's pixel pos.
    void HairLine(TCanvas& canvas, bool vert, int pos);
    TRect HairLineRect(bool vert, int pos) const;
    bool HairLineShown(const TRect& scale, bool vert, int along) const;
    // Where the target shows in the parent, zoomed or not; its zoom.
    TRect TargetRect() const;
    double TargetZoom() const;
    // Pixels from a scale's zero to where the target's pixel pos shows.
    int OnScale(int pos) const;

    TControl* FTarget = nullptr;
    bool FFlat = false;
    TColor FHairLineColor = clRed;
    TRulers FRulers = ruBoth;
    TColor FBackGround = clWhite;
    int FRulerWidth = 25;
};

} // namespace tsb
