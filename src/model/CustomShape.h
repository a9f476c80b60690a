// The root of every diagram element: selection, the attached caption, press
// routing with pass-through, the link to connectors when bounds change, and
// the operations that act on all elements of a container.
#pragma once

#include "core/Progress.h"

#include <cstdint>
#include <unordered_set>
#include <vector>

#include "widgets/WinControl.h"

namespace tsb {

class TTextShape;

constexpr TCursor crHand = 50;
constexpr TCursor crGrab = 51;

class TCustomShape : public TControl {
    TSB_CLASS(TCustomShape)
public:
    explicit TCustomShape(TComponent* owner);

    // False makes the element pass presses through to what lies beneath.
    bool CanProcessMouseMsg = true;
    // Set on an element reached by a passed-through press; it raises its
    // click at the next release.
    bool ClickPending = false;

    TTextShape* Caption() const { return FCaption; }
    virtual void SetCaption(TTextShape* value);
    TAlign CaptionAlign() const { return FCaptionAlign; }
    void SetCaptionAlign(TAlign value);
    bool Selected() const { return FSelected; }
    virtual void SetSelected(bool value);
    // Sets the selected flag alone, as a press on a handle does (the
    // caption keeps its own), and repaints the element.
    void SetSelectedState(bool value);
    // Changes whenever any element's selected flag is set.
    static std::uint64_t SelectionEpoch() { return FSelectionEpoch; }
    virtual void PlaceCaption();

    void SetBounds(int left, int top, int width, int height) override;
    void SetParent(TWinControl* parent) override;
    void Notification(TComponent* component, TOperation operation) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

    // The back-most other element accepting presses whose bounds contain
    // the element-relative point (all edges inclusive).
    TCustomShape* ShapeAtPoint(int x, int y) const;

    // Connector hooks: a connector is laid out again whenever an element it
    // is attached to changes its bounds.
    virtual bool IsConnector() const { return false; }
    virtual bool IsAttachedTo(const TCustomShape*) const { return false; }
    virtual void UpdateBounds() {}
    // The connectors with an end on this element, in the order they were
    // attached. Kept by the connectors themselves.
    const std::vector<TCustomShape*>& AttachedConnectors() const { return FConnectors; }

    // Only selected elements are written to a stream.
    virtual bool WritesState() const { return FSelected; }

    // True when PlaceCaption may move the caption: it, or the element
    // without a container, changed its bounds other than by being placed.
    bool CaptionDisplaced() const { return FCaptionDisplaced; }
    // The container's elements whose captions may be out of place, in child
    // order.
    static std::vector<TCustomShape*> DisplacedCaptions(const TWinControl* container);
    // The elements that have this element as their caption.
    const std::vector<TCustomShape*>& CaptionOf() const { return FCaptionOf; }

    // Operations on every element of a container; other children are skipped.
    static void DeleteAll(TWinControl* container);
    static void DeleteSelected(TWinControl* container);
    // Deletes the given elements of the container with what goes with each
    // (captions, connectors), whichever of them goes first.
    static void DeleteElements(TWinControl* container, const std::vector<TCustomShape*>& elements);
    static void UnselectAll(TWinControl* container);
    static void SelectAll(TWinControl* container);
    static bool AnySelected(TWinControl* container);
    // Writes the container's selected elements to a diagram file, replacing
    // the file only once the new one is complete ("Cannot create file %s",
    // "Stream write error").
    // With a progress object, stepped element by element; what it raises
    // leaves the file as it was.
    static void SaveToFile(const std::string& fileName, TWinControl* container,
                           TProgress* progress = nullptr);
    // Replaces the container's elements by those of a diagram file. The file
    // is read completely first; when it cannot be opened ("Cannot open file
    // %s") or read, the container is left as it was.
    static void LoadFromFile(const std::string& fileName, TWinControl* container,
                             TProgress* progress = nullptr);

    // Marks the caption as possibly out of its place, for the end of the
    // next drag to place it.
    void MarkCaptionDisplaced();

protected:
    void BeforeDestruction() override;
    // Lays out the connectors attached to this element that share its
    // container.
    void UpdateConnectors();

    // Called once PlaceCaption has put the caption in its place.
    void CaptionPlaced();
    // Sets the selected flag alone, without the setter's effects.
    void SetSelectedFlag(bool value) {
        FSelected = value;
        ++FSelectionEpoch;
    }

    TTextShape* FCaption = nullptr;
    TAlign FCaptionAlign = alNone;
    bool FSelected = false;
    static inline std::uint64_t FSelectionEpoch = 0;

private:
    friend class TConnector;
    void AddConnector(TCustomShape* connector);
    void RemoveConnector(TCustomShape* connector);

    std::vector<TCustomShape*> FConnectors;
    std::vector<TCustomShape*> FCaptionOf;
    bool FCaptionDisplaced = false;
    static inline std::unordered_set<TCustomShape*> FDisplaced;
};

// Rectangle helpers of the element classes.
inline int RectWidth(const TRect& r) {
    return r.Right - r.Left;
}
inline int RectHeight(const TRect& r) {
    return r.Bottom - r.Top;
}
inline void EnsureAtLeast(int& v, int bound) {
    if (v < bound) v = bound;
}

} // namespace tsb
