#include "widgets/ControlIndex.h"

#include <algorithm>

#include "widgets/Control.h"

namespace tsb {

namespace {

std::int64_t CellOf(std::int64_t v) {
    // Rounds toward minus infinity, so negative coordinates get cells of
    // their own.
    std::int64_t q = v / TControlIndex::CellSize;
    return (v % TControlIndex::CellSize != 0 && v < 0) ? q - 1 : q;
}

void EraseOne(std::vector<TControl*>& list, TControl* c) {
    auto it = std::find(list.begin(), list.end(), c);
    if (it == list.end()) return;
    *it = list.back();
    list.pop_back();
}

} // namespace

TControlIndex::TCellRange TControlIndex::CellsOf(const TRect& r) {
    std::int64_t l = std::min(r.Left, r.Right), rr = std::max(r.Left, r.Right);
    std::int64_t t = std::min(r.Top, r.Bottom), b = std::max(r.Top, r.Bottom);
    return {CellOf(l), CellOf(t), CellOf(rr), CellOf(b)};
}

std::uint64_t TControlIndex::Key(std::int64_t cx, std::int64_t cy) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(cx)) << 32) |
           static_cast<std::uint32_t>(cy);
}

void TControlIndex::Enter(TControl* c, const TCellRange& cells) {
    c->FIndexCells = {static_cast<int>(cells.Left), static_cast<int>(cells.Top),
                      static_cast<int>(cells.Right), static_cast<int>(cells.Bottom)};
    c->FIndexLarge = cells.Count() > MaxCells;
    if (c->FIndexLarge) {
        FLargeChildren.push_back(c);
        return;
    }
    for (std::int64_t y = cells.Top; y <= cells.Bottom; ++y)
        for (std::int64_t x = cells.Left; x <= cells.Right; ++x)
            FCells[Key(x, y)].push_back(c);
}

void TControlIndex::Leave(TControl* c) {
    if (c->FIndexLarge) {
        EraseOne(FLargeChildren, c);
        return;
    }
    const TRect& cells = c->FIndexCells;
    for (int y = cells.Top; y <= cells.Bottom; ++y)
        for (int x = cells.Left; x <= cells.Right; ++x) {
            auto it = FCells.find(Key(x, y));
            if (it == FCells.end()) continue;
            EraseOne(it->second, c);
            if (it->second.empty()) FCells.erase(it);
        }
}

void TControlIndex::Insert(TControl* c) {
    Enter(c, CellsOf(c->BoundsRect()));
    ++FCount;
}

void TControlIndex::Update(TControl* c) {
    TCellRange cells = CellsOf(c->BoundsRect());
    const TRect& old = c->FIndexCells;
    bool large = cells.Count() > MaxCells;
    // Most moves stay within the same buckets.
    if (large == c->FIndexLarge &&
        (large || (cells.Left == old.Left && cells.Top == old.Top && cells.Right == old.Right &&
                   cells.Bottom == old.Bottom)))
        return;
    Leave(c);
    Enter(c, cells);
}

void TControlIndex::Remove(TControl* c) {
    Leave(c);
    --FCount;
}

void TControlIndex::Query(const TRect& r, std::vector<TControl*>& out) const {
    std::size_t first = out.size();
    TCellRange cells = CellsOf(r);
    auto meets = [&](const TRect& b) {
        std::int64_t l = std::min(b.Left, b.Right), rr = std::max(b.Left, b.Right);
        std::int64_t t = std::min(b.Top, b.Bottom), bb = std::max(b.Top, b.Bottom);
        return l <= std::max(r.Left, r.Right) && rr >= std::min(r.Left, r.Right) &&
               t <= std::max(r.Top, r.Bottom) && bb >= std::min(r.Top, r.Bottom);
    };
    if (cells.Count() <= static_cast<std::int64_t>(FCells.size())) {
        for (std::int64_t y = cells.Top; y <= cells.Bottom; ++y)
            for (std::int64_t x = cells.Left; x <= cells.Right; ++x) {
                auto it = FCells.find(Key(x, y));
                if (it == FCells.end()) continue;
                for (TControl* c : it->second)
                    if (meets(c->BoundsRect())) out.push_back(c);
            }
    } else {
        // An area wider than the filled buckets: walk the buckets instead.
        for (const auto& [key, list] : FCells) {
            (void)key;
            for (TControl* c : list)
                if (meets(c->BoundsRect())) out.push_back(c);
        }
    }
    for (TControl* c : FLargeChildren)
        if (meets(c->BoundsRect())) out.push_back(c);
    auto begin = out.begin() + static_cast<std::ptrdiff_t>(first);
    std::sort(begin, out.end(),
              [](const TControl* a, const TControl* b) { return a->FChildOrder < b->FChildOrder; });
    out.erase(std::unique(begin, out.end()), out.end());
}

} // namespace tsb
