// The steps of the diagram's history. A step holds only what it touched:
// the records of its elements in the diagram stream's own form with their
// places in the child order, or the bounds a drag changed.
#pragma once

#include <QUndoCommand>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/ClassInfo.h"
#include "core/Types.h"

namespace tsb {

class TDiagramHistory;

// Elements stand for themselves in steps by a key that outlives them: an
// element that undo brings back takes the key it had.
using TElementKey = std::uint32_t;

// Elements of the work area as a work-area record of the file form: its
// start (with the work area's own properties when the page is part of the
// state), each element's record in child order, and the end.
struct TElementState {
    struct TRecord {
        TElementKey Key = 0;
        // Place in the work area's child list.
        std::uint32_t Index = 0;
        // The window's hooks the element had (TDiagramHistory::THook bits).
        std::uint8_t Hooks = 0;
        std::uint32_t Size = 0;
        // Reading places captions and connectors anew; the element gets
        // its bounds back exactly.
        TRect Bounds;
    };
    bool Page = false;
    // The page setting beside the work area's own properties.
    std::string PageItem;
    TBytes Head;
    TBytes Data;
    std::vector<TRecord> Records;

    // The whole work-area record.
    TBytes Stream() const;
    // Puts the records in child order.
    void Sort();
    std::size_t Bytes() const;
    bool operator==(const TElementState& other) const;
};

// Runs under QUndoStack. The history applies a step itself before it moves
// the stack's index, so a step that fails leaves the diagram and the stack
// as they were; undo() and redo() apply the step only when something else
// drives the stack.
class TUndoStep : public QUndoCommand {
public:
    TUndoStep(TDiagramHistory& history, const std::string& text);
    ~TUndoStep() override;
    TUndoStep(const TUndoStep&) = delete;
    TUndoStep& operator=(const TUndoStep&) = delete;

    void undo() override;
    void redo() override;
    // Brings the diagram to the state after the step (forward) or before it.
    virtual void Apply(bool forward) = 0;
    // A new step with this one's content, which this one gives up: for the
    // history's dropping of its oldest steps.
    virtual std::unique_ptr<TUndoStep> Moved() = 0;
    virtual void CollectKeys(std::vector<TElementKey>& keys) const = 0;

    // Names the diagram state after the step; a merge gives a new one.
    std::uint64_t Serial() const { return FSerial; }
    std::size_t Bytes() const { return FBytes; }

protected:
    TDiagramHistory& History() const { return FHistory; }
    void SetBytes(std::size_t bytes);
    void NewSerial();
    void TakeSerial(const TUndoStep& other) { FSerial = other.FSerial; }

private:
    TDiagramHistory& FHistory;
    std::size_t FBytes = 0;
    std::uint64_t FSerial = 0;
};

// Elements placed, deleted, pasted or edited: the records of every element
// the change touched, with what goes with them (captions, their elements,
// connectors), before and after.
class TRecordStep : public TUndoStep {
public:
    TRecordStep(TDiagramHistory& history, const std::string& text, std::vector<TElementKey> group,
                TElementState before, TElementState after);
    void Apply(bool forward) override;
    std::unique_ptr<TUndoStep> Moved() override;
    void CollectKeys(std::vector<TElementKey>& keys) const override;

    const TElementState& Before() const { return FBefore; }
    const TElementState& After() const { return FAfter; }

private:
    void Account();
    std::vector<TElementKey> FGroup;
    TElementState FBefore;
    TElementState FAfter;
};

// What one drag moved or resized: the bounds of each element before and
// after. The steps of one drag merge into one.
class TBoundsStep : public TUndoStep {
public:
    struct TEntry {
        TElementKey Key;
        TRect Before;
        TRect After;
    };
    static constexpr int MergeId = 0x7b5;

    TBoundsStep(TDiagramHistory& history, const std::string& text, std::uint64_t gesture,
                std::vector<TEntry> entries);
    int id() const override { return MergeId; }
    bool mergeWith(const QUndoCommand* other) override;
    void Apply(bool forward) override;
    std::unique_ptr<TUndoStep> Moved() override;
    void CollectKeys(std::vector<TElementKey>& keys) const override;

    const std::vector<TEntry>& Entries() const { return FEntries; }

private:
    void Account();
    std::uint64_t FGesture;
    std::vector<TEntry> FEntries;
    // Entry of each key, built for merging.
    std::unordered_map<TElementKey, std::size_t> FIndex;
};

} // namespace tsb
