#include "editor/DiagramHistory.h"

#include <QEvent>
#include <algorithm>
#include <limits>

#include "core/Exception.h"
#include "model/CustomShape.h"
#include "model/DiagramStream.h"
#include "model/SizeableShape.h"
#include "model/TextShape.h"
#include "widgets/Application.h"
#include "widgets/WinControl.h"

namespace tsb {

namespace {

bool ByChildOrder(const TCustomShape* a, const TCustomShape* b) {
    return a->ChildOrder() < b->ChildOrder();
}

unsigned HooksOf(const TCustomShape* e) {
    return (e->OnClick ? TDiagramHistory::hkClick : 0u) |
           (e->OnMouseUp ? TDiagramHistory::hkMouseUp : 0u) |
           (e->OnDblClick ? TDiagramHistory::hkDblClick : 0u);
}

// Final places in the child list of elements put back among the others,
// which keep their order: each anchored element right after `anchor` of the
// others, each indexed one at its index of the whole list (or the end). Both
// lists are sorted by their numbers.
std::vector<std::pair<std::size_t, TControl*>>
FinalPlaces(std::size_t others, const std::vector<std::pair<std::size_t, TControl*>>& anchored,
            const std::vector<std::pair<std::size_t, TControl*>>& indexed) {
    constexpr std::size_t none = std::numeric_limits<std::size_t>::max();
    std::vector<std::pair<std::size_t, TControl*>> out;
    out.reserve(anchored.size() + indexed.size());
    std::size_t f = 0, q = 0, i = 0, j = 0;
    while (i < indexed.size() || j < anchored.size()) {
        std::size_t atA = none, atI = none;
        if (j < anchored.size())
            atA = f + (anchored[j].first > q ? std::min(anchored[j].first, others) - q : 0);
        if (i < indexed.size()) {
            atI = std::max(indexed[i].first, f);
            if (j == anchored.size()) atI = std::min(atI, f + (others - q));
        }
        std::size_t at = std::min(atA, atI);
        q += at - f;
        f = at;
        out.emplace_back(f++, atI <= atA ? indexed[i++].second : anchored[j++].second);
    }
    return out;
}

} // namespace

struct TDiagramHistory::TOpenChange {
    std::string Text;
    bool Page = false;
    TElementState Before;
    std::vector<TKey> Group;
    std::unordered_set<const TComponent*> Touched;
    std::unordered_set<const TComponent*> Created;
    std::vector<TComponent*> CreatedOrder;
};

TDiagramHistory::TDiagramHistory(TWinControl* workArea)
    : FWorkArea(workArea), FStack(std::make_unique<QUndoStack>()) {
    FWorkArea->OnChildBoundsChanging = [this](TControl* c, const TRect& before) {
        BoundsChanging(c, before);
    };
    if (QWidget* host = FWorkArea->Host()) host->installEventFilter(this);
    FBaseSerial = NextSerial();
    FSavedSerial = FBaseSerial;
}

TDiagramHistory::~TDiagramHistory() {
    if (FWorkArea) FWorkArea->OnChildBoundsChanging = nullptr;
    // Steps account to the history as they go.
    FStack.reset();
}

// ---------------------------------------------------------------------------
// Keys

TCustomShape* TDiagramHistory::Element(TKey key) const {
    auto it = FElementOf.find(key);
    return it == FElementOf.end() ? nullptr : it->second;
}

TDiagramHistory::TKey TDiagramHistory::KeyOf(TCustomShape* element) {
    auto [it, fresh] = FKeyOf.try_emplace(element, FNextKey);
    if (fresh) FElementOf.emplace(FNextKey++, element);
    return it->second;
}

void TDiagramHistory::Bind(TKey key, TCustomShape* element) {
    if (auto old = FElementOf.find(key); old != FElementOf.end()) FKeyOf.erase(old->second);
    FKeyOf[element] = key;
    FElementOf[key] = element;
}

void TDiagramHistory::ComponentInserted(TComponent* component) {
    if (FOpen && !FApplying && !FQuiet && FOpen->Created.insert(component).second)
        FOpen->CreatedOrder.push_back(component);
}

void TDiagramHistory::ComponentRemoved(TComponent* component) {
    if (component == static_cast<TComponent*>(FWorkArea)) FWorkArea = nullptr;
    if (auto it = FKeyOf.find(component); it != FKeyOf.end()) {
        FElementOf.erase(it->second);
        FKeyOf.erase(it);
    }
    if (auto it = FJournalIndex.find(component); it != FJournalIndex.end()) {
        FJournal[it->second].first = nullptr;
        FJournalIndex.erase(it);
    }
    if (FOpen) {
        FOpen->Created.erase(component);
        FOpen->Touched.erase(component);
    }
}

// ---------------------------------------------------------------------------
// Drags

bool TDiagramHistory::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
        Guarded([&] { NewGesture(); });
    return false;
}

void TDiagramHistory::NewGesture() {
    Flush();
    ++FGesture;
    FGestureText.clear();
}

void TDiagramHistory::BoundsChanging(TControl* control, const TRect& before) {
    if (FDepth || FApplying || FQuiet) return;
    auto* shape = As<TCustomShape>(control);
    if (!shape) return;
    if (FJournalIndex.try_emplace(shape, FJournal.size()).second)
        FJournal.emplace_back(shape, before);
    if (FGestureText.empty()) {
        auto* sizing = As<TSizeableShape>(FWorkArea->CaptureControl());
        FGestureText =
            sizing && sizing->ActiveHandle >= 0 && sizing->ActiveHandle < 8 ? "Resize" : "Move";
    }
    if (!FFlushQueued) {
        FFlushQueued = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                FFlushQueued = false;
                Guarded([&] { Flush(); });
            },
            Qt::QueuedConnection);
    }
}

void TDiagramHistory::Flush() {
    if (FJournal.empty()) return;
    std::vector<TBoundsStep::TEntry> entries;
    for (const auto& [shape, before] : FJournal)
        if (shape && shape->BoundsRect() != before)
            entries.push_back({KeyOf(shape), before, shape->BoundsRect()});
    FJournal.clear();
    FJournalIndex.clear();
    if (entries.empty()) return;
    Push(std::make_unique<TBoundsStep>(*this, FGestureText.empty() ? "Move" : FGestureText,
                                       FGesture, std::move(entries)));
}

// ---------------------------------------------------------------------------
// Changes

TDiagramHistory::TChange::TChange(TDiagramHistory& history, const std::string& text, bool page)
    : FHistory(history) {
    if (FHistory.FDepth == 0) FHistory.OpenChange(text, page);
    ++FHistory.FDepth;
}

TDiagramHistory::TChange::~TChange() {
    if (--FHistory.FDepth > 0) return;
    try {
        FHistory.CloseChange();
    } catch (...) {
        // A change that cannot be recorded leaves no history to undo into.
        FHistory.FOpen.reset();
        FHistory.Clear();
    }
}

void TDiagramHistory::TChange::Touch(TCustomShape* element) {
    FHistory.TouchAll({element});
}

void TDiagramHistory::TChange::Touch(const std::vector<TCustomShape*>& elements) {
    FHistory.TouchAll(elements);
}

void TDiagramHistory::TChange::TouchSelected() {
    std::vector<TCustomShape*> selected;
    for (TControl* c : FHistory.FWorkArea->ControlList())
        if (auto* e = As<TCustomShape>(c); e && e->Selected()) selected.push_back(e);
    FHistory.TouchAll(selected);
}

void TDiagramHistory::TChange::TouchCaptionTargets(const TReader& reader) {
    std::vector<TCustomShape*> targets;
    reader.ForEachExistingTarget([&](TComponent*, const std::string& path, TComponent* target) {
        if (SameText(path, "Caption"))
            if (auto* e = As<TCustomShape>(target)) targets.push_back(e);
    });
    FHistory.TouchAll(targets);
}

void TDiagramHistory::OpenChange(const std::string& text, bool page) {
    NewGesture();
    FOpen = std::make_unique<TOpenChange>();
    FOpen->Text = text;
    FOpen->Page = page;
    CaptureHead(page, FOpen->Before);
}

void TDiagramHistory::TouchAll(const std::vector<TCustomShape*>& elements) {
    if (!FOpen) return;
    std::vector<TCustomShape*> fresh;
    for (TCustomShape* e : Closure(elements))
        if (!FOpen->Created.count(e) && FOpen->Touched.insert(e).second) fresh.push_back(e);
    std::sort(fresh.begin(), fresh.end(), ByChildOrder);
    for (TCustomShape* e : fresh)
        FOpen->Group.push_back(KeyOf(e));
    Capture(fresh, FOpen->Before);
}

void TDiagramHistory::CloseChange() {
    std::unique_ptr<TOpenChange> open = std::move(FOpen);
    if (!open) return;
    TElementState& before = open->Before;
    before.Sort();
    TElementState after;
    CaptureHead(open->Page, after);
    std::vector<TCustomShape*> members;
    for (TKey key : open->Group)
        if (TCustomShape* e = Element(key)) members.push_back(e);
    for (TComponent* c : open->CreatedOrder) {
        if (!open->Created.count(c)) continue;
        auto* e = As<TCustomShape>(c);
        if (e && e->Parent() == FWorkArea) {
            members.push_back(e);
            open->Group.push_back(KeyOf(e));
        }
    }
    std::sort(members.begin(), members.end(), ByChildOrder);
    Capture(members, after);
    if (before == after) return;
    Push(std::make_unique<TRecordStep>(*this, open->Text, std::move(open->Group), std::move(before),
                                       std::move(after)));
}

std::vector<TCustomShape*> TDiagramHistory::Closure(const std::vector<TCustomShape*>& seed) const {
    std::vector<TCustomShape*> out;
    std::unordered_set<const TCustomShape*> seen;
    std::vector<TCustomShape*> stack(seed.begin(), seed.end());
    while (!stack.empty()) {
        TCustomShape* e = stack.back();
        stack.pop_back();
        if (!e || e->Parent() != FWorkArea || !seen.insert(e).second) continue;
        out.push_back(e);
        if (e->Caption()) stack.push_back(e->Caption());
        for (TCustomShape* owner : e->CaptionOf())
            stack.push_back(owner);
        for (TCustomShape* connector : e->AttachedConnectors())
            stack.push_back(connector);
    }
    return out;
}

std::size_t TDiagramHistory::IndexOf(const TCustomShape* element) const {
    // The child list is in child order.
    const std::vector<TControl*>& list = FWorkArea->ControlList();
    auto it = std::lower_bound(
        list.begin(), list.end(), element->ChildOrder(),
        [](const TControl* c, std::int64_t order) { return c->ChildOrder() < order; });
    return static_cast<std::size_t>(it - list.begin());
}

void TDiagramHistory::CaptureHead(bool page, TElementState& state) {
    state.Page = page;
    if (page && OnCapturePage) state.PageItem = OnCapturePage();
    state.Head.clear();
    TDiagramStream::WriteHead(state.Head, FWorkArea, page);
}

void TDiagramHistory::Capture(const std::vector<TCustomShape*>& sorted, TElementState& state) {
    for (TCustomShape* e : sorted) {
        std::size_t start = state.Data.size();
        TDiagramStream::WriteElement(state.Data, FWorkArea, e);
        state.Records.push_back({KeyOf(e), static_cast<std::uint32_t>(IndexOf(e)),
                                 static_cast<std::uint8_t>(HooksOf(e)),
                                 static_cast<std::uint32_t>(state.Data.size() - start),
                                 e->BoundsRect()});
    }
}

// ---------------------------------------------------------------------------
// Applying steps

void TDiagramHistory::ApplyState(const std::vector<TKey>& group, const TElementState& state) {
    std::vector<TCustomShape*> live;
    for (TKey key : group)
        if (TCustomShape* e = Element(key)) live.push_back(e);
    std::sort(live.begin(), live.end(), ByChildOrder);
    // The step holds everything that goes with its elements; anything more
    // would be lost with them.
    if (Closure(live).size() != live.size())
        throw Exception("The diagram no longer fits this step, which cannot be applied");

    // What comes with selecting stays as it is: the elements that stay
    // keep their selection, pointer and place in the child order, and the
    // window's hooks.
    struct TKept {
        std::size_t Anchor;
        TCursor Cursor;
        bool Selected;
        TNotifyEvent OnClick, OnDblClick;
        TMouseEvent OnMouseUp;
    };
    std::unordered_map<TKey, TKept> kept;
    for (std::size_t j = 0; j < live.size(); ++j) {
        TCustomShape* e = live[j];
        kept.emplace(KeyOf(e), TKept{IndexOf(e) - j, e->Cursor(), e->Selected(), e->OnClick,
                                     e->OnDblClick, e->OnMouseUp});
    }

    std::vector<TComponent*> created;
    TDiagramStream::TReadOptions options;
    options.Replace = true;
    options.Replacing = &live;
    options.RootProperties = state.Page ? TReader::rpExact : TReader::rpIgnore;
    options.Created = &created;
    {
        TCounter applying(FApplying);
        TDiagramStream::Read(state.Stream(), FWorkArea, options);

        std::vector<std::pair<std::size_t, TControl*>> anchored, indexed;
        for (std::size_t i = 0; i < created.size() && i < state.Records.size(); ++i) {
            auto* e = As<TCustomShape>(created[i]);
            if (!e) continue;
            const TElementState::TRecord& record = state.Records[i];
            Bind(record.Key, e);
            auto it = kept.find(record.Key);
            if (it == kept.end()) {
                indexed.emplace_back(record.Index, e);
                if (OnRecreated) OnRecreated(e, record.Hooks);
                continue;
            }
            TKept& k = it->second;
            anchored.emplace_back(k.Anchor, e);
            e->SetCursor(k.Cursor);
            e->SetSelectedState(k.Selected);
            e->OnClick = std::move(k.OnClick);
            e->OnDblClick = std::move(k.OnDblClick);
            e->OnMouseUp = std::move(k.OnMouseUp);
        }
        for (std::size_t i = 0; i < created.size() && i < state.Records.size(); ++i)
            if (auto* e = As<TCustomShape>(created[i])) SetExactBounds(e, state.Records[i].Bounds);
        std::sort(anchored.begin(), anchored.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        std::sort(indexed.begin(), indexed.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        std::size_t others = FWorkArea->ControlList().size() - anchored.size() - indexed.size();
        FWorkArea->PlaceControls(FinalPlaces(others, anchored, indexed));
    }
    if (state.Page && OnRestorePage) OnRestorePage(state.PageItem);
}

void TDiagramHistory::ApplyBounds(const std::vector<TBoundsStep::TEntry>& entries, bool forward) {
    TCounter applying(FApplying);
    // The elements first, through their setters: captions and connectors
    // follow as they did. Then every recorded bounds exactly.
    for (const TBoundsStep::TEntry& entry : entries) {
        TCustomShape* e = Element(entry.Key);
        if (!e || e->IsConnector()) continue;
        const TRect& r = forward ? entry.After : entry.Before;
        e->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    }
    for (const TBoundsStep::TEntry& entry : entries)
        if (TCustomShape* e = Element(entry.Key))
            SetExactBounds(e, forward ? entry.After : entry.Before);
}

void TDiagramHistory::SetExactBounds(TCustomShape* e, const TRect& r) {
    if (e->BoundsRect() == r) return;
    e->Invalidate();
    e->UpdateBoundsRect(r);
    e->Invalidate();
    // A caption put where it was may be out of its element's place: the end
    // of the next drag places it, as it would have.
    for (TCustomShape* owner : e->CaptionOf())
        owner->MarkCaptionDisplaced();
}

// ---------------------------------------------------------------------------
// The stack

TUndoStep* TDiagramHistory::StepAt(int index) const {
    return dynamic_cast<TUndoStep*>(const_cast<QUndoCommand*>(FStack->command(index)));
}

bool TDiagramHistory::CanUndo() {
    if (Busy()) return false;
    Flush();
    return FStack->canUndo();
}

bool TDiagramHistory::CanRedo() {
    if (Busy()) return false;
    Flush();
    return FStack->canRedo();
}

std::string TDiagramHistory::UndoText() {
    if (!Busy()) Flush();
    return FStack->undoText().toStdString();
}

std::string TDiagramHistory::RedoText() {
    if (!Busy()) Flush();
    return FStack->redoText().toStdString();
}

void TDiagramHistory::Undo() {
    if (Busy()) return;
    Flush();
    if (!FStack->canUndo()) return;
    ++FGesture;
    if (TUndoStep* step = StepAt(FStack->index() - 1)) step->Apply(false);
    {
        TCounter driving(FDriving);
        FStack->undo();
    }
    Changed();
}

void TDiagramHistory::Redo() {
    if (Busy()) return;
    Flush();
    if (!FStack->canRedo()) return;
    ++FGesture;
    if (TUndoStep* step = StepAt(FStack->index())) step->Apply(true);
    {
        TCounter driving(FDriving);
        FStack->redo();
    }
    Changed();
}

void TDiagramHistory::Push(std::unique_ptr<TUndoStep> step) {
    {
        TCounter driving(FDriving);
        FStack->push(step.release());
    }
    Trim();
    Changed();
}

void TDiagramHistory::Changed() {
    if (OnChanged) OnChanged();
}

void TDiagramHistory::Clear() {
    {
        TCounter driving(FDriving);
        FStack->clear();
    }
    FKeyOf.clear();
    FElementOf.clear();
    FJournal.clear();
    FJournalIndex.clear();
    ++FGesture;
    FGestureText.clear();
    FBaseSerial = NextSerial();
    FSavedSerial = FBaseSerial;
    Changed();
}

void TDiagramHistory::SetMemoryLimit(std::size_t bytes) {
    FMemoryLimit = bytes;
    Trim();
}

std::uint64_t TDiagramHistory::StateSerial() const {
    int index = FStack->index();
    if (index == 0) return FBaseSerial;
    TUndoStep* step = StepAt(index - 1);
    return step ? step->Serial() : FBaseSerial;
}

void TDiagramHistory::Trim() {
    int count = FStack->count();
    if (FBytes <= FMemoryLimit || count <= 1) return;
    // The oldest go first; the newest step stays whatever its size.
    std::size_t bytes = FBytes;
    int drop = 0;
    // Only steps behind the diagram's state: the history must still lead to it.
    int index = FStack->index();
    while (drop < std::min(count - 1, index) && bytes > FMemoryLimit) {
        TUndoStep* step = StepAt(drop);
        bytes -= step ? step->Bytes() : 0;
        ++drop;
    }
    if (drop == 0) return;
    // QUndoStack drops nothing from the bottom by itself once it holds
    // commands: the steps kept move to a new stack.
    std::vector<std::unique_ptr<TUndoStep>> kept;
    for (int i = drop; i < count; ++i)
        if (TUndoStep* step = StepAt(i)) kept.push_back(step->Moved());
    if (TUndoStep* last = StepAt(drop - 1)) FBaseSerial = last->Serial();
    TCounter driving(FDriving);
    FRebuilding = true;
    auto fresh = std::make_unique<QUndoStack>();
    FStack.swap(fresh);
    fresh.reset();
    for (auto& step : kept)
        FStack->push(step.release());
    for (int i = index; i < count; ++i)
        FStack->undo();
    FRebuilding = false;
    // Keys no step refers to any more.
    std::vector<TKey> used;
    for (int i = 0; i < FStack->count(); ++i)
        if (TUndoStep* step = StepAt(i)) step->CollectKeys(used);
    std::unordered_set<TKey> keep(used.begin(), used.end());
    for (auto it = FElementOf.begin(); it != FElementOf.end();) {
        if (keep.count(it->first)) {
            ++it;
            continue;
        }
        FKeyOf.erase(it->second);
        it = FElementOf.erase(it);
    }
}

} // namespace tsb
