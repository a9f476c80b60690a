// The folders of recovery copies: $XDG_STATE_HOME/tresselby/recovery (by
// default ~/.local/state/tresselby/recovery) holds one folder for each
// running editor, guarded by a lock file. A copy is a diagram file
// ("N.tsb") with the name of the file the diagram had beside it ("N.name").
// The folders of editors that closed or crashed are free: their copies are
// offered at the next start.
#pragma once

#include <QDateTime>
#include <QLockFile>
#include <QString>
#include <memory>
#include <string>
#include <vector>

namespace tsb {

struct TRecoveryCopy {
    QString Path;      // the copy's diagram file
    QString FileName;  // the file the diagram had; empty for "Untitled"
    QDateTime Changed; // when the copy was last written
    int Elements = -1; // how many elements it holds, once read
    std::string Error; // why it cannot be read, once read
};

class TRecoveryStore {
public:
    // The most copies kept; the oldest go first.
    static constexpr int MaxCopies = 20;

    // `root`: the recovery folder; empty for the standard one.
    explicit TRecoveryStore(const QString& root = {});
    ~TRecoveryStore();
    TRecoveryStore(const TRecoveryStore&) = delete;
    TRecoveryStore& operator=(const TRecoveryStore&) = delete;

    // $XDG_STATE_HOME/tresselby/recovery.
    static QString StandardRoot();
    const QString& Root() const { return FRoot; }

    // This editor's own folder, made and locked on first use; raises the
    // reason when it cannot be.
    QString OwnFolder();
    // The own folder once made; empty before.
    const QString& OwnPath() const { return FOwn; }
    // Gives up the own folder: unlocked, and removed when it holds no copy.
    void Release();

    // The copies of the free folders of other editors, which stay locked
    // while this store holds them, and the copies kept in the own folder
    // apart from `current`; newest first. Each copy is read for its count of
    // elements or its error.
    std::vector<TRecoveryCopy> List(const QString& current = {});
    // Removes a copy and its name file; a free folder left empty goes.
    static void Delete(const TRecoveryCopy& copy);
    // Keeps at most MaxCopies of the listed and own copies, apart from
    // `current`; the oldest go first.
    void Rotate(const QString& current = {});
    // Unlocks the free folders List took, removing those left empty.
    void LetGo();

private:
    void Adopt();
    // The copies of the folders taken and of the own folder, apart from
    // `current`, after taking the free folders.
    std::vector<QString> KeptCopies(const QString& current);
    std::vector<QString> CopiesIn(const QString& folder) const;

    QString FRoot;
    QString FOwn;
    std::unique_ptr<QLockFile> FOwnLock;
    // Free folders of other editors, locked while listed.
    std::vector<std::pair<QString, std::unique_ptr<QLockFile>>> FTaken;
};

// The name file beside a copy, which holds the file the diagram had.
QString RecoveryNameFile(const QString& copyPath);
// Reads the name file of a copy: the file the diagram had, or empty.
QString RecoveryCopyName(const QString& copyPath);

} // namespace tsb
