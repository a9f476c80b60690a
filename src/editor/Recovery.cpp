#include "editor/Recovery.h"

#include <QDateTime>
#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
#include <algorithm>

#include "editor/DiagramHistory.h"
#include "editor/MainForm.h"
#include "model/DiagramStream.h"
#include "widgets/Application.h"

namespace tsb {

namespace {

// Writes through a temporary file renamed over the target once complete;
// the reason when it cannot.
std::string WriteAtomically(const QString& path, const QByteArray& data) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString().toStdString();
    if (file.write(data) != data.size()) {
        std::string error = file.errorString().toStdString();
        file.cancelWriting();
        return error;
    }
    if (!file.commit()) return file.errorString().toStdString();
    return {};
}

} // namespace

TRecovery::TRecovery(TMainForm* form, const QString& root) : FForm(form), FStore(root) {
    FPool.setMaxThreadCount(1);
    FTimer.setSingleShot(true);
    QObject::connect(&FTimer, &QTimer::timeout, this, [this] { Guarded([&] { Tick(); }); });
    FForm->History().OnChanged = [this] { Changed(); };
}

TRecovery::~TRecovery() {
    FForm->History().OnChanged = nullptr;
    FTimer.stop();
    try {
        if (FForm->History().Modified())
            WriteNow();
        else if (FHasCopy)
            PostRemove(CurrentCopy());
    } catch (...) {
        // Closing goes on; what could be written was.
    }
    FPool.waitForDone();
    FStore.Release();
}

QString TRecovery::CurrentCopy() {
    return FStore.OwnFolder() + QString("/%1.tsb").arg(FSequence);
}

QString TRecovery::CurrentCopyIfAny() const {
    return FHasCopy ? FStore.OwnPath() + QString("/%1.tsb").arg(FSequence) : QString();
}

TBytes TRecovery::SnapshotIfModified() const {
    if (!FForm->History().Modified()) return {};
    return TDiagramStream::WriteAll(FForm->ScrollBox1);
}

void TRecovery::Changed() {
    if (!FForm->History().Modified()) {
        // Saved, or undone back to the saved state.
        FTimer.stop();
        FFirstChange = 0;
        FWrittenSerial = 0;
        if (FHasCopy) PostRemove(CurrentCopy());
        return;
    }
    std::int64_t now = QDateTime::currentMSecsSinceEpoch();
    if (!FFirstChange) FFirstChange = now;
    FTimer.start(int(std::clamp<std::int64_t>(LongestMs - (now - FFirstChange), 0, FIdleMs)));
}

void TRecovery::Tick() {
    TDiagramHistory& history = FForm->History();
    if (!history.Modified() || history.StateSerial() == FWrittenSerial) return;
    // Not while a drag goes on or a command waits for its dialog.
    if (QGuiApplication::mouseButtons() != Qt::NoButton || history.Busy()) {
        FTimer.start(250);
        return;
    }
    FFirstChange = 0;
    std::uint64_t serial = history.StateSerial();
    try {
        Post(TDiagramStream::WriteAll(FForm->ScrollBox1), CurrentCopy(),
             QString::fromStdString(FForm->DiagramFileName()));
        FWrittenSerial = serial;
    } catch (const std::exception& e) {
        Written(e.what());
    }
}

void TRecovery::WriteNow() {
    TDiagramHistory& history = FForm->History();
    if (history.Modified() && history.StateSerial() != FWrittenSerial) {
        try {
            Post(TDiagramStream::WriteAll(FForm->ScrollBox1), CurrentCopy(),
                 QString::fromStdString(FForm->DiagramFileName()));
            FWrittenSerial = history.StateSerial();
        } catch (const std::exception& e) {
            Written(e.what());
        }
    }
    FPool.waitForDone();
}

void TRecovery::Adopt(const TRecoveryCopy& copy) {
    FTimer.stop();
    FPool.waitForDone();
    try {
        QString own = CurrentCopy();
        QFile::remove(own);
        QFile::remove(RecoveryNameFile(own));
        if (QFile::rename(copy.Path, own)) {
            QFile::rename(RecoveryNameFile(copy.Path), RecoveryNameFile(own));
            FHasCopy = true;
            FWrittenSerial = FForm->History().StateSerial();
            return;
        }
    } catch (const std::exception&) {
    }
    // Kept where it is: written anew here, the copy it came from stays.
    FWrittenSerial = 0;
    Changed();
}

void TRecovery::Replaced(TBytes snapshot, const std::string& fileName) {
    FTimer.stop();
    try {
        if (!snapshot.empty()) {
            // The replaced diagram's copy stays, listed at the next start.
            Post(std::move(snapshot), CurrentCopy(), QString::fromStdString(fileName));
            FPool.waitForDone();
            FStore.Rotate();
            FStore.LetGo();
        } else if (FHasCopy) {
            PostRemove(CurrentCopy());
        }
    } catch (const std::exception& e) {
        Written(e.what());
    }
    ++FSequence;
    FHasCopy = false;
    FWrittenSerial = 0;
    FFirstChange = 0;
}

void TRecovery::Post(TBytes data, const QString& copy, const QString& name) {
    FHasCopy = true;
    QByteArray bytes(reinterpret_cast<const char*>(data.data()), qsizetype(data.size()));
    FPool.start([this, bytes = std::move(bytes), copy, name] {
        std::string error = WriteAtomically(RecoveryNameFile(copy), name.toUtf8());
        if (error.empty()) error = WriteAtomically(copy, bytes);
        QMetaObject::invokeMethod(
            this, [this, error] { Guarded([&] { Written(error); }); }, Qt::QueuedConnection);
    });
}

void TRecovery::PostRemove(const QString& copy) {
    FHasCopy = false;
    FPool.start([copy] {
        QFile::remove(copy);
        QFile::remove(RecoveryNameFile(copy));
    });
}

void TRecovery::Written(const std::string& error) {
    if (error.empty()) {
        FFailure.clear();
        return;
    }
    // Reported once, and tried again later; editing goes on.
    if (FFailure.empty())
        FForm->SetStatusText(0, "Unsaved changes cannot be kept for recovery: " + error);
    FFailure = error;
    FWrittenSerial = 0;
    FTimer.start(RetryMs);
}

} // namespace tsb
