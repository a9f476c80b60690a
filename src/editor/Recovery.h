// Recovery copies of a window's unsaved diagram. While the diagram differs
// from the one saved, opened or made new, a copy of it is written when the
// editor is idle, at most a few seconds after the last change: serialised on
// the GUI thread, written by a worker thread through a temporary file that
// is renamed over the copy. Saving, or undoing back to the saved state,
// removes it. A diagram replaced (New, Open, closing the window) with
// unsaved changes leaves its copy kept. A failed write is reported once in
// the hint panel of the status bar and tried again later.
#pragma once

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <string>

#include "core/ClassInfo.h"
#include "editor/RecoveryStore.h"

namespace tsb {

class TMainForm;

class TRecovery : public QObject {
public:
    // Idle time before a copy is written after a change, and the longest a
    // stream of changes puts it off.
    static constexpr int IdleMs = 2000;
    static constexpr int LongestMs = 8000;
    static constexpr int RetryMs = 30000;

    TRecovery(TMainForm* form, const QString& root = {});
    // Tests make the editor idle sooner.
    void SetIdleMs(int ms) { FIdleMs = ms; }
    // Keeps the copy of unsaved changes, removes it otherwise.
    ~TRecovery() override;

    TRecoveryStore& Store() { return FStore; }
    // The copy of the diagram as it is now, in the own folder (made on
    // first use); CurrentCopyIfAny only once one was written.
    QString CurrentCopy();
    QString CurrentCopyIfAny() const;

    // The diagram in the diagram stream's own form, every element written
    // whatever its selection; empty when nothing is unsaved.
    TBytes SnapshotIfModified() const;
    // The diagram was replaced (New, Open, a recovered copy); `snapshot` is
    // what SnapshotIfModified gave before, kept as the replaced diagram's
    // copy under `fileName`.
    void Replaced(TBytes snapshot, const std::string& fileName);
    // Takes a copy just opened as the copy of the diagram: it moves into the
    // own folder.
    void Adopt(const TRecoveryCopy& copy);
    // Writes the copy now if one is due, and waits for the writes.
    void WriteNow();
    // The last failure, reported in the hint panel; empty when none.
    const std::string& Failure() const { return FFailure; }

private:
    void Changed();
    void Tick();
    void Post(TBytes data, const QString& copy, const QString& name);
    void PostRemove(const QString& copy);
    void Written(const std::string& error);

    TMainForm* FForm;
    TRecoveryStore FStore;
    // Writes one at a time, in order.
    QThreadPool FPool;
    QTimer FTimer;
    std::int64_t FFirstChange = 0;
    int FIdleMs = IdleMs;
    std::uint64_t FWrittenSerial = 0;
    int FSequence = 1;
    bool FHasCopy = false;
    std::string FFailure;
};

} // namespace tsb
