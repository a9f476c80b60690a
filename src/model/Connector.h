// Connectors: lines between two elements, attached to the middle of a chosen
// side of each, with short terminals perpendicular to the sides and arrow
// heads on them. A connector lays itself out again whenever an element it is
// attached to changes its bounds.
#pragma once

#include <cstdint>
#include <memory>

#include "model/CustomShape.h"

namespace tsb {

enum TConnectionSide : std::uint8_t { csLeft, csRight, csTop, csBottom };
enum TArrowStyle : std::uint8_t { asHalf, asOpen, asClosed, asFilled };

class TConnector;

// One end of a connector: the element, its side, and an offset along the
// side. Points are in the coordinates of the element's container. A terminal
// rectangle gives the terminal's length (width) and thickness (height).
class TConnection : public TPersistent {
public:
    // The connector that owns this end keeps the element's list of attached
    // connectors up to date; a stand-alone end has none.
    explicit TConnection(TConnector* connector = nullptr);
    const char* ClassName() const override { return "TConnection"; }

    TCustomShape* Shape() const { return FShape; }
    void SetShape(TCustomShape* shape);
    TConnectionSide Side = csRight;
    // The middle of the side: half the height on the left and right sides,
    // half the width on the top and bottom ones, 0 without an element. The
    // stored value takes no part in any geometry.
    int Offset() const;
    void SetOffset(int offset) { FOffset = offset; }
    int StoredOffset() const { return FOffset; }

    // Copies Shape, Side and the stored offset of another TConnection;
    // anything else raises "Cannot assign a %s to a %s".
    void Assign(const TPersistent& source) override;

    // Where the end touches its element (the arrow tip).
    TPoint AttachPoint() const;
    // Where the terminal meets the middle segment.
    TPoint OuterPoint(const TRect& terminal) const;
    // How far the end with its terminal reaches: left, top, right and bottom,
    // all inclusive. Without an element, the attach point (0, 0).
    TRect Extent(const TRect& terminal) const;

private:
    bool Hidden() const;

    TConnector* FConnector = nullptr;
    TCustomShape* FShape = nullptr;
    std::int32_t FOffset = 0;
};

class TConnector : public TCustomShape {
    TSB_CLASS(TConnector)
public:
    explicit TConnector(TComponent* owner);
    ~TConnector() override;

    int LineWidth() const { return FLineWidth; }
    // Widths below 1 are ignored. None of the line settings repaints.
    void SetLineWidth(int width);
    TColor LineColor = clBlack;
    TPenStyle LineStyle = psSolid;

    TConnection& StartConn() const { return *FStartConn; }
    TConnection& EndConn() const { return *FEndConn; }
    // Copy the given end into the connector's own, then lay it out again.
    void SetStartConn(const TConnection& value);
    void SetEndConn(const TConnection& value);

    // 1 is the start terminal, 2 the end terminal; other indexes give an
    // empty rectangle and change nothing. A rectangle of negative width or
    // height is ignored.
    TRect GetTerminal(int index) const;
    void SetTerminal(int index, const TRect& terminal);
    const TRect& StartTerminal() const { return FStartTerminal; }
    const TRect& EndTerminal() const { return FEndTerminal; }

    TPoint LastMidPoint;
    // The point halfway between the two outer points.
    TPoint MidPoint() const;
    // Moves the caption along with the midpoint, keeping its offset.
    void FollowCaption();

    bool IsConnector() const override { return true; }
    bool IsAttachedTo(const TCustomShape* shape) const override;
    // Takes the bounds of the line with its terminals from both ends; does
    // nothing until both ends have an element.
    void UpdateBounds() override;

    void SetBounds(int left, int top, int width, int height) override;
    void SetParent(TWinControl* parent) override;
    void SetCaption(TTextShape* value) override;
    void PlaceCaption() override;
    void Notification(TComponent* component, TOperation operation) override;
    void Paint() override;
    void MouseMove(TShiftState shift, int x, int y) override;

protected:
    void BeforeDestruction() override;
    virtual void DrawStartTerminal() {}
    virtual void DrawEndTerminal() {}
    // Raises a width and height to the line width and the terminal sizes.
    void ApplyMinimumSize(int& width, int& height) const;
    // A point of the container in the connector's client coordinates.
    TPoint ToClient(TPoint p) const { return ParentToClient(p); }

    TRect FStartTerminal;
    TRect FEndTerminal;

private:
    friend class TConnection;
    // Keeps the elements' lists of attached connectors in step with the ends.
    void ShapeChanged(TCustomShape* oldShape, TCustomShape* newShape);

    int FLineWidth = 1;
    std::unique_ptr<TConnection> FStartConn;
    std::unique_ptr<TConnection> FEndConn;
};

// A plain line with straight terminals of 10 x 10.
class TLineConnector : public TConnector {
    TSB_CLASS(TLineConnector)
public:
    explicit TLineConnector(TComponent* owner);

protected:
    void DrawStartTerminal() override;
    void DrawEndTerminal() override;
    void DrawStraightTerminal(const TConnection& end, const TRect& terminal);
};

// A one-way arrow: terminals of 20 x 10 and a head at the end element.
class TSingleHeadArrow : public TLineConnector {
    TSB_CLASS(TSingleHeadArrow)
public:
    explicit TSingleHeadArrow(TComponent* owner);

    TArrowStyle ArrowStyle() const { return FArrowStyle; }
    void SetArrowStyle(TArrowStyle style);

    // Draws the head from Base (the outer point) to Tip (the attach point),
    // both in client coordinates.
    void DrawArrowHead(TPoint base, TPoint tip);

protected:
    void DrawEndTerminal() override;

private:
    TArrowStyle FArrowStyle = asFilled;
};

// A one-way arrow with shorter terminals (15 x 10), so a shorter head.
class TBluntSingleHeadArrow : public TSingleHeadArrow {
    TSB_CLASS(TBluntSingleHeadArrow)
public:
    explicit TBluntSingleHeadArrow(TComponent* owner);
};

// A two-way arrow: heads at both elements.
class TDoubleHeadArrow : public TSingleHeadArrow {
    TSB_CLASS(TDoubleHeadArrow)
public:
    explicit TDoubleHeadArrow(TComponent* owner);

protected:
    void DrawStartTerminal() override;
};

} // namespace tsb
