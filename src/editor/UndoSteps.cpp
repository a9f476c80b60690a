#include "editor/UndoSteps.h"

#include <algorithm>
#include <numeric>

#include "editor/DiagramHistory.h"
#include "widgets/Application.h"

namespace tsb {

TBytes TElementState::Stream() const {
    TBytes out;
    out.reserve(Head.size() + Data.size() + 1);
    out.insert(out.end(), Head.begin(), Head.end());
    out.insert(out.end(), Data.begin(), Data.end());
    out.push_back(0); // the end of the work area's child list
    return out;
}

void TElementState::Sort() {
    if (std::is_sorted(Records.begin(), Records.end(),
                       [](const TRecord& a, const TRecord& b) { return a.Index < b.Index; }))
        return;
    std::vector<std::size_t> offsets(Records.size());
    std::size_t at = 0;
    for (std::size_t i = 0; i < Records.size(); ++i) {
        offsets[i] = at;
        at += Records[i].Size;
    }
    std::vector<std::size_t> order(Records.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
        return Records[a].Index < Records[b].Index;
    });
    TBytes data;
    data.reserve(Data.size());
    std::vector<TRecord> records;
    records.reserve(Records.size());
    for (std::size_t i : order) {
        auto from = Data.begin() + static_cast<std::ptrdiff_t>(offsets[i]);
        data.insert(data.end(), from, from + Records[i].Size);
        records.push_back(Records[i]);
    }
    Data = std::move(data);
    Records = std::move(records);
}

std::size_t TElementState::Bytes() const {
    return sizeof(*this) + PageItem.capacity() + Head.capacity() + Data.capacity() +
           Records.capacity() * sizeof(TRecord);
}

bool TElementState::operator==(const TElementState& other) const {
    if (Head != other.Head || Data != other.Data || Records.size() != other.Records.size())
        return false;
    for (std::size_t i = 0; i < Records.size(); ++i)
        if (Records[i].Key != other.Records[i].Key || Records[i].Index != other.Records[i].Index)
            return false;
    return true;
}

// ---------------------------------------------------------------------------

TUndoStep::TUndoStep(TDiagramHistory& history, const std::string& text)
    : QUndoCommand(QString::fromStdString(text)), FHistory(history) {
    NewSerial();
}

TUndoStep::~TUndoStep() {
    SetBytes(0);
}

void TUndoStep::undo() {
    if (!FHistory.Driving()) Guarded([&] { Apply(false); });
}

void TUndoStep::redo() {
    if (!FHistory.Driving()) Guarded([&] { Apply(true); });
}

void TUndoStep::SetBytes(std::size_t bytes) {
    FHistory.Account(static_cast<std::ptrdiff_t>(bytes) - static_cast<std::ptrdiff_t>(FBytes));
    FBytes = bytes;
}

void TUndoStep::NewSerial() {
    FSerial = FHistory.NextSerial();
}

// ---------------------------------------------------------------------------

TRecordStep::TRecordStep(TDiagramHistory& history, const std::string& text,
                         std::vector<TElementKey> group, TElementState before, TElementState after)
    : TUndoStep(history, text), FGroup(std::move(group)), FBefore(std::move(before)),
      FAfter(std::move(after)) {
    Account();
}

void TRecordStep::Account() {
    SetBytes(sizeof(*this) + FGroup.capacity() * sizeof(TElementKey) + FBefore.Bytes() +
             FAfter.Bytes() + static_cast<std::size_t>(text().capacity()) * 2);
}

void TRecordStep::Apply(bool forward) {
    History().ApplyState(FGroup, forward ? FAfter : FBefore);
}

std::unique_ptr<TUndoStep> TRecordStep::Moved() {
    auto step = std::make_unique<TRecordStep>(History(), text().toStdString(), std::move(FGroup),
                                              std::move(FBefore), std::move(FAfter));
    step->TakeSerial(*this);
    SetBytes(0);
    return step;
}

void TRecordStep::CollectKeys(std::vector<TElementKey>& keys) const {
    keys.insert(keys.end(), FGroup.begin(), FGroup.end());
}

// ---------------------------------------------------------------------------

TBoundsStep::TBoundsStep(TDiagramHistory& history, const std::string& text, std::uint64_t gesture,
                         std::vector<TEntry> entries)
    : TUndoStep(history, text), FGesture(gesture), FEntries(std::move(entries)) {
    Account();
}

void TBoundsStep::Account() {
    SetBytes(sizeof(*this) + FEntries.capacity() * sizeof(TEntry) +
             FIndex.size() * (sizeof(std::pair<TElementKey, std::size_t>) + 2 * sizeof(void*)) +
             FIndex.bucket_count() * sizeof(void*) +
             static_cast<std::size_t>(text().capacity()) * 2);
}

bool TBoundsStep::mergeWith(const QUndoCommand* other) {
    auto* later = dynamic_cast<const TBoundsStep*>(other);
    if (!later || later->FGesture != FGesture || History().Rebuilding()) return false;
    if (FIndex.empty())
        for (std::size_t i = 0; i < FEntries.size(); ++i)
            FIndex.emplace(FEntries[i].Key, i);
    for (const TEntry& e : later->FEntries) {
        auto [it, fresh] = FIndex.try_emplace(e.Key, FEntries.size());
        if (fresh)
            FEntries.push_back(e);
        else
            FEntries[it->second].After = e.After;
    }
    // An element dragged back to where it was has no change left.
    auto unchanged = [](const TEntry& e) { return e.Before == e.After; };
    if (std::any_of(FEntries.begin(), FEntries.end(), unchanged)) {
        FEntries.erase(std::remove_if(FEntries.begin(), FEntries.end(), unchanged), FEntries.end());
        FIndex.clear();
    }
    if (FEntries.empty()) setObsolete(true);
    NewSerial();
    Account();
    return true;
}

void TBoundsStep::Apply(bool forward) {
    History().ApplyBounds(FEntries, forward);
}

std::unique_ptr<TUndoStep> TBoundsStep::Moved() {
    auto step = std::make_unique<TBoundsStep>(History(), text().toStdString(), FGesture,
                                              std::move(FEntries));
    step->TakeSerial(*this);
    FIndex.clear();
    SetBytes(0);
    return step;
}

void TBoundsStep::CollectKeys(std::vector<TElementKey>& keys) const {
    for (const TEntry& e : FEntries)
        keys.push_back(e.Key);
}

} // namespace tsb
