// A uniform grid of buckets over a windowed control's client plane that finds
// the children whose bounds meet a rectangle, so painting and hit-testing
// cost what lies under the area asked about, not the number of children.
// Children that would fill too many buckets (a grid filling the page, a long
// connector) are kept in one list of their own.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "core/Types.h"

namespace tsb {

class TControl;

class TControlIndex {
public:
    // Bucket edge in pixels, and the most buckets one child is entered in.
    static constexpr int CellSize = 256;
    static constexpr std::int64_t MaxCells = 256;

    // Enters, moves or removes a child at its current bounds.
    void Insert(TControl* c);
    void Update(TControl* c);
    void Remove(TControl* c);

    // Appends the children whose bounds, right and bottom edges included,
    // may meet the rectangle, right and bottom edges included; each once and
    // in child order. Callers test the bounds exactly.
    void Query(const TRect& r, std::vector<TControl*>& out) const;

    std::size_t Size() const { return FCount; }

private:
    struct TCellRange {
        std::int64_t Left, Top, Right, Bottom; // inclusive
        std::int64_t Count() const { return (Right - Left + 1) * (Bottom - Top + 1); }
    };
    static TCellRange CellsOf(const TRect& r);
    static std::uint64_t Key(std::int64_t cx, std::int64_t cy);
    void Enter(TControl* c, const TCellRange& cells);
    void Leave(TControl* c);

    std::unordered_map<std::uint64_t, std::vector<TControl*>> FCells;
    std::vector<TControl*> FLargeChildren;
    std::size_t FCount = 0;
};

} // namespace tsb
