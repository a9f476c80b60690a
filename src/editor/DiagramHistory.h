// The diagram's history for undo and redo: one QUndoStack of steps, each
// holding only what one change touched. Commands record a change by opening
// a TChange around it; the drags of the mouse are recorded as they happen.
//
// A command that changes the diagram:
//
//     TDiagramHistory::TChange change(history, "Replace All");
//     change.Touch(elements);  // before they change
//     ... change them; elements made meanwhile are recorded by themselves ...
//     // the step is pushed when the change closes, if anything changed
#pragma once

#include <QObject>
#include <QUndoStack>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/Types.h"
#include "editor/UndoSteps.h"

namespace tsb {

class TComponent;
class TControl;
class TCustomShape;
class TReader;
class TWinControl;

class TDiagramHistory : public QObject {
public:
    using TKey = TElementKey;
    // The history holds at most this much; the oldest steps go first.
    static constexpr std::size_t DefaultMemoryLimit = std::size_t(64) << 20;

    // The work area whose elements the history records; it watches the
    // work area's mouse presses to tell one drag from the next.
    explicit TDiagramHistory(TWinControl* workArea);
    ~TDiagramHistory() override;

    // The window's hooks an element has, as recorded with it.
    enum THook : unsigned { hkClick = 1, hkMouseUp = 2, hkDblClick = 4 };
    // Gives an element that undo or redo brought back the window's hooks it
    // had when it was recorded.
    std::function<void(TCustomShape*, unsigned hooks)> OnRecreated;
    // The page setting that goes with the work area's own properties (the
    // ticked page size): read when a change that may alter the page is
    // recorded, set again with the page when it is undone or redone.
    std::function<std::string()> OnCapturePage;
    std::function<void(const std::string&)> OnRestorePage;

    // One change a user makes, from construction to destruction, recorded
    // as one step named by `text` when anything changed. Changes opened
    // inside an open one belong to it. `page`: the change may alter the work
    // area's own properties (the page size, a paste's stored place).
    class TChange {
    public:
        TChange(TDiagramHistory& history, const std::string& text, bool page = false);
        ~TChange();
        TChange(const TChange&) = delete;
        TChange& operator=(const TChange&) = delete;

        // Records elements before the change touches them, with what goes
        // with each: its caption, the elements whose caption it is, and the
        // connectors attached to it.
        void Touch(TCustomShape* element);
        void Touch(const std::vector<TCustomShape*>& elements);
        void TouchSelected();
        // Existing elements that a read about to commit makes captions of
        // the elements it read (a paste).
        void TouchCaptionTargets(const TReader& reader);

    private:
        TDiagramHistory& FHistory;
    };

    // Changes made meanwhile are not recorded (reading a file, after which
    // the history starts anew).
    class TQuiet {
    public:
        explicit TQuiet(TDiagramHistory& history) : FHistory(history) { ++FHistory.FQuiet; }
        ~TQuiet() { --FHistory.FQuiet; }
        TQuiet(const TQuiet&) = delete;
        TQuiet& operator=(const TQuiet&) = delete;

    private:
        TDiagramHistory& FHistory;
    };

    // A change, an undo or a quiet read is in progress: no other may start,
    // and the diagram may be half made.
    bool Busy() const { return FDepth > 0 || FApplying > 0 || FQuiet > 0; }
    // A drag's moves not yet recorded are recorded first.
    bool CanUndo();
    bool CanRedo();
    // The names of the steps undo and redo would take ("Move").
    std::string UndoText();
    std::string RedoText();
    // Each applies its step whole or, raising the error, not at all: the
    // diagram and the history stay as they were.
    void Undo();
    void Redo();
    // Forgets every step (New, Open).
    void Clear();
    // Records the bounds changes of a drag so far as a step, merged with the
    // earlier steps of the same drag. Runs by itself after each mouse event.
    void Flush();
    // A new press: a drag from here on is a step of its own.
    void NewGesture();
    // Pushes a step whose change has been made.
    void Push(std::unique_ptr<TUndoStep> step);

    QUndoStack& Stack() const { return *FStack; }
    std::size_t Bytes() const { return FBytes; }
    std::size_t MemoryLimit() const { return FMemoryLimit; }
    void SetMemoryLimit(std::size_t bytes);
    // Names the diagram's state: the same state, reached by undo or redo,
    // has the same serial; a saved state can be recognised again.
    std::uint64_t StateSerial() const;
    // The diagram as it is now was saved (or opened, or made new).
    void MarkSaved() {
        FSavedSerial = StateSerial();
        Changed();
    }
    // No state of the history is the saved one (a diagram brought back
    // from a recovery copy).
    void MarkUnsaved() {
        FSavedSerial = 0;
        Changed();
    }
    // The diagram differs from the one saved, opened or made new.
    bool Modified() const { return StateSerial() != FSavedSerial; }
    // Called whenever the diagram's state changes: a step made, undone or
    // redone, the history cleared.
    std::function<void()> OnChanged;

    // From the owner of the elements: components it gains and loses.
    void ComponentInserted(TComponent* component);
    void ComponentRemoved(TComponent* component);

    // For the steps.
    bool Driving() const { return FDriving > 0; }
    bool Rebuilding() const { return FRebuilding; }
    void Account(std::ptrdiff_t delta) { FBytes = static_cast<std::size_t>(FBytes + delta); }
    std::uint64_t NextSerial() { return ++FSerial; }
    void ApplyState(const std::vector<TKey>& group, const TElementState& state);
    void ApplyBounds(const std::vector<TBoundsStep::TEntry>& entries, bool forward);
    TCustomShape* Element(TKey key) const;
    TKey KeyOf(TCustomShape* element);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TOpenChange;
    struct TCounter {
        explicit TCounter(int& n) : N(n) { ++N; }
        ~TCounter() { --N; }
        int& N;
    };

    void BoundsChanging(TControl* control, const TRect& before);
    void OpenChange(const std::string& text, bool page);
    void CloseChange();
    void TouchAll(const std::vector<TCustomShape*>& elements);
    std::vector<TCustomShape*> Closure(const std::vector<TCustomShape*>& seed) const;
    std::size_t IndexOf(const TCustomShape* element) const;
    void Capture(const std::vector<TCustomShape*>& sorted, TElementState& state);
    void CaptureHead(bool page, TElementState& state);
    void Bind(TKey key, TCustomShape* element);
    void SetExactBounds(TCustomShape* element, const TRect& bounds);
    void Trim();
    void Changed();
    TUndoStep* StepAt(int index) const;

    TWinControl* FWorkArea;
    std::unique_ptr<QUndoStack> FStack;
    std::size_t FBytes = 0;
    std::size_t FMemoryLimit = DefaultMemoryLimit;
    std::uint64_t FSerial = 0;
    std::uint64_t FBaseSerial = 0;
    std::uint64_t FSavedSerial = 0;
    int FDepth = 0;
    int FApplying = 0;
    int FDriving = 0;
    int FQuiet = 0;
    bool FRebuilding = false;
    std::unique_ptr<TOpenChange> FOpen;

    // Keys of the elements steps refer to, both ways.
    std::unordered_map<const TComponent*, TKey> FKeyOf;
    std::unordered_map<TKey, TCustomShape*> FElementOf;
    TKey FNextKey = 1;

    // Bounds of elements before the drag in progress changed them, in the
    // order they first changed.
    std::vector<std::pair<TCustomShape*, TRect>> FJournal;
    std::unordered_map<const TComponent*, std::size_t> FJournalIndex;
    std::uint64_t FGesture = 1;
    std::string FGestureText;
    bool FFlushQueued = false;
};

} // namespace tsb
