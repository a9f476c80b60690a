#include "editor/RecoveryStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "core/Exception.h"
#include "model/CustomShape.h"
#include "model/DiagramRoot.h"
#include "model/DiagramStream.h"

namespace tsb {

namespace {

const char* const kLock = "lock";

std::unique_ptr<QLockFile> LockOf(const QString& folder) {
    auto lock = std::make_unique<QLockFile>(folder + "/" + kLock);
    // A running editor holds its lock for hours: only a lock whose process
    // is gone is stale.
    lock->setStaleLockTime(0);
    return lock;
}

// The elements of a copy, or why it cannot be read.
void ReadCopy(TRecoveryCopy& copy) {
    try {
        TDiagramRoot root;
        TCustomShape::LoadFromFile(copy.Path.toStdString(), root.ScrollBox1);
        copy.Elements = 0;
        for (TControl* c : root.ScrollBox1->ControlList())
            copy.Elements += As<TCustomShape>(c) ? 1 : 0;
    } catch (const std::exception& e) {
        copy.Error = e.what();
    }
}

} // namespace

QString RecoveryNameFile(const QString& copyPath) {
    return copyPath.left(copyPath.size() - 4) + ".name";
}

QString RecoveryCopyName(const QString& copyPath) {
    QFile file(RecoveryNameFile(copyPath));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll()).trimmed();
}

TRecoveryStore::TRecoveryStore(const QString& root)
    : FRoot(root.isEmpty() ? StandardRoot() : root) {}

TRecoveryStore::~TRecoveryStore() {
    LetGo();
}

QString TRecoveryStore::StandardRoot() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state)) state = QDir::homePath() + "/.local/state";
    return state + "/tresselby/recovery";
}

QString TRecoveryStore::OwnFolder() {
    if (FOwnLock) return FOwn;
    QString folder = FRoot + QString("/editor-%1-%2")
                                 .arg(QCoreApplication::applicationPid())
                                 .arg(QDateTime::currentMSecsSinceEpoch());
    if (!QDir().mkpath(folder))
        throw Exception(FormatMessage("Cannot create folder %s", {folder.toStdString()}));
    auto lock = LockOf(folder);
    if (!lock->tryLock(0))
        throw Exception(FormatMessage("Cannot lock folder %s", {folder.toStdString()}));
    FOwn = folder;
    FOwnLock = std::move(lock);
    return FOwn;
}

void TRecoveryStore::Release() {
    if (!FOwnLock) return;
    FOwnLock->unlock();
    FOwnLock.reset();
    // rmdir removes only an empty folder.
    QDir().rmdir(FOwn);
    FOwn.clear();
}

std::vector<QString> TRecoveryStore::CopiesIn(const QString& folder) const {
    std::vector<QString> out;
    for (const QFileInfo& f : QDir(folder).entryInfoList({"*.tsb"}, QDir::Files))
        out.push_back(f.filePath());
    return out;
}

void TRecoveryStore::Adopt() {
    for (const QFileInfo& f : QDir(FRoot).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QString folder = f.filePath();
        if (folder == FOwn) continue;
        bool taken = false;
        for (const auto& [path, lock] : FTaken)
            taken = taken || path == folder;
        if (taken) continue;
        auto lock = LockOf(folder);
        // A folder another running editor holds is its own.
        if (lock->tryLock(0)) FTaken.emplace_back(folder, std::move(lock));
    }
}

std::vector<QString> TRecoveryStore::KeptCopies(const QString& current) {
    Adopt();
    std::vector<QString> paths;
    for (const auto& [folder, lock] : FTaken)
        for (const QString& p : CopiesIn(folder))
            paths.push_back(p);
    if (!FOwn.isEmpty())
        for (const QString& p : CopiesIn(FOwn))
            if (p != current) paths.push_back(p);
    return paths;
}

std::vector<TRecoveryCopy> TRecoveryStore::List(const QString& current) {
    std::vector<TRecoveryCopy> out;
    for (const QString& p : KeptCopies(current)) {
        TRecoveryCopy copy;
        copy.Path = p;
        copy.FileName = RecoveryCopyName(p);
        copy.Changed = QFileInfo(p).lastModified();
        ReadCopy(copy);
        out.push_back(std::move(copy));
    }
    std::sort(out.begin(), out.end(),
              [](const TRecoveryCopy& a, const TRecoveryCopy& b) { return a.Changed > b.Changed; });
    return out;
}

void TRecoveryStore::Delete(const TRecoveryCopy& copy) {
    QFile::remove(copy.Path);
    QFile::remove(RecoveryNameFile(copy.Path));
}

void TRecoveryStore::Rotate(const QString& current) {
    std::vector<QFileInfo> copies;
    for (const QString& p : KeptCopies(current))
        copies.emplace_back(p);
    if (copies.size() <= std::size_t(MaxCopies)) return;
    std::sort(copies.begin(), copies.end(), [](const QFileInfo& a, const QFileInfo& b) {
        return a.lastModified() > b.lastModified();
    });
    for (std::size_t i = MaxCopies; i < copies.size(); ++i) {
        TRecoveryCopy gone;
        gone.Path = copies[i].filePath();
        Delete(gone);
    }
}

void TRecoveryStore::LetGo() {
    for (auto& [folder, lock] : FTaken) {
        lock->unlock();
        QDir().rmdir(folder);
    }
    FTaken.clear();
}

} // namespace tsb
