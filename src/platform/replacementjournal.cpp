#include "platform/replacementjournal.h"

#include "platform/filemoves.h"
#include "platform/safefile.h"
#include "platform/temporaryfiles.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QTemporaryFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

constexpr quint32 Magic = 0x4F4A524E; // "OJRN"
constexpr quint32 Version = 1;
// A journal names a handful of files; anything larger is no journal of ours.
constexpr qint64 MaxJournalBytes = 1 << 20;
const QString JournalEnding = QStringLiteral(".journal");

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

// The journal's name for a file of its folder: the file name alone, so that a
// journal can never reach outside the folder it lies in.
bool nameInFolder(const QString& path, const QString& folder, QString& name) {
    if (path.isEmpty()) {
        name.clear();
        return true;
    }
    const QFileInfo info(path);
    name = info.fileName();
    return QDir::cleanPath(info.absolutePath()) ==
           QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

bool usableName(const QString& name) {
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && name != QLatin1String(".") &&
           name != QLatin1String("..");
}

// Staged and kept files always carry the hidden names of a restore; the
// target is a file of the database, never one of those. Every name is a bare
// file name: the hidden names allow a slash, which would lead out of the folder.
bool plausible(const ReplacementStep& step) {
    if (!usableName(step.target) || isOwnTemporaryName(step.target)) return false;
    for (const QString* name : {&step.staged, &step.kept})
        if (!name->isEmpty() && !usableName(*name)) return false;
    if (step.kind == ReplacementStep::Kind::Remove ? !step.staged.isEmpty()
                                                   : !isOwnTemporaryName(step.staged))
        return false;
    return step.kept.isEmpty() || isOwnTemporaryName(step.kept);
}

QByteArray serialized(const QList<ReplacementStep>& steps) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << Magic << Version << quint32(steps.size());
    for (const ReplacementStep& step : steps)
        out << quint8(step.kind) << step.staged << step.target << step.kept;
    out << Magic;
    return bytes;
}

bool parsed(const QByteArray& bytes, QList<ReplacementStep>& steps) {
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 magic = 0, version = 0, count = 0;
    in >> magic >> version >> count;
    if (magic != Magic || version != Version || count > 64) return false;
    for (quint32 i = 0; i < count; ++i) {
        quint8 kind = 0;
        ReplacementStep step;
        in >> kind >> step.staged >> step.target >> step.kept;
        if (kind > quint8(ReplacementStep::Kind::Remove)) return false;
        step.kind = ReplacementStep::Kind(kind);
        if (!plausible(step)) return false;
        steps << step;
    }
    in >> magic;
    return in.status() == QDataStream::Ok && magic == Magic && in.atEnd();
}

bool writeAllTo(int handle, const QByteArray& bytes) {
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(handle, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += n;
    }
    return ::fsync(handle) == 0;
}

void syncFolder(const QString& folder) {
    const int handle = ::open(encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0) return;
    ::fsync(handle);
    ::close(handle);
}

bool sameFile(const QString& a, const QString& b) {
    struct stat first {
    }, second{};
    return ::lstat(encoded(a).constData(), &first) == 0 &&
           ::lstat(encoded(b).constData(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

// Puts back what one step changed; safe to repeat, and safe for a step that
// never ran (its kept name is then a second link to the old file).
bool undo(const QDir& folder, const ReplacementStep& step) {
    const QString target = folder.filePath(step.target);
    const QString staged = step.staged.isEmpty() ? QString() : folder.filePath(step.staged);
    bool ok = true;
    if (!step.kept.isEmpty()) {
        const QString kept = folder.filePath(step.kept);
        if (entryExists(kept))
            ok = sameFile(kept, target) ? ::unlink(encoded(kept).constData()) == 0
                                        : renameReplacing(kept, target);
    } else if (!staged.isEmpty() && !entryExists(staged) && entryExists(target)) {
        // The new file took a name where none stood before.
        ok = ::unlink(encoded(target).constData()) == 0;
    }
    if (!staged.isEmpty() && entryExists(staged)) ::unlink(encoded(staged).constData());
    return ok;
}

QByteArray readJournal(int handle) {
    QByteArray bytes;
    char buffer[4096];
    while (bytes.size() <= MaxJournalBytes) {
        const ssize_t n = ::read(handle, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        bytes.append(buffer, n);
    }
    return bytes;
}

} // namespace

ReplacementJournal::~ReplacementJournal() {
    if (handle_ >= 0) ::close(handle_);
}

bool ReplacementJournal::write(const QString& folder, const QList<ReplacementStep>& steps,
                               QString* error) {
    QList<ReplacementStep> named;
    for (const ReplacementStep& step : steps) {
        ReplacementStep entry{step.kind, {}, {}, {}};
        if (!nameInFolder(step.staged, folder, entry.staged) ||
            !nameInFolder(step.target, folder, entry.target) ||
            !nameInFolder(step.kept, folder, entry.kept) || !plausible(entry)) {
            if (error) *error = writeErrorText(EINVAL);
            return false;
        }
        named << entry;
    }
    const auto fail = [&](int cause) {
        if (error) *error = writeErrorText(cause);
        if (handle_ >= 0) ::close(std::exchange(handle_, -1));
        return false;
    };
    // Written under a name the start-up clean-up knows, and given the journal's
    // name only when whole and locked: a journal seen is always complete.
    QTemporaryFile reserved(restoreTemporaryTemplate(folder));
    if (!reserved.open()) return fail(EACCES);
    handle_ = ::fcntl(reserved.handle(), F_DUPFD_CLOEXEC, 0);
    if (handle_ < 0 || ::flock(handle_, LOCK_EX) != 0) return fail(errno);
    if (!writeAllTo(handle_, serialized(named))) return fail(errno ? errno : EIO);
    const QString temporary = reserved.fileName();
    const QString journal = temporary.chopped(4) + JournalEnding;
    if (!renameNew(temporary, journal)) return fail(errno);
    reserved.setAutoRemove(false);
    syncFolder(folder);
    path_ = journal;
    folder_ = folder;
    return true;
}

void ReplacementJournal::remove() {
    if (path_.isEmpty()) return;
    ::unlink(encoded(path_).constData());
    syncFolder(folder_);
    path_.clear();
    if (handle_ >= 0) ::close(std::exchange(handle_, -1));
}

QSet<QString> recoverInterruptedReplacements(const QString& folder) {
    QSet<QString> inUse;
    const QDir dir(folder);
    const QStringList journals = dir.entryList({QStringLiteral(".restore-*") + JournalEnding},
                                               QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : journals) {
        const QString path = dir.filePath(name);
        // Opened for writing where possible: on a network file system the
        // lock below is a byte-range lock, which an exclusive lock needs.
        const int flags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
        int handle = ::open(encoded(path).constData(), O_RDWR | flags);
        if (handle < 0) handle = ::open(encoded(path).constData(), O_RDONLY | flags);
        if (handle < 0) continue;
        struct stat info {};
        QList<ReplacementStep> steps;
        const bool journal = ::fstat(handle, &info) == 0 && S_ISREG(info.st_mode);
        const bool running = journal && ::flock(handle, LOCK_EX | LOCK_NB) != 0;
        // A journal removed between its opening here and the lock belongs to
        // a replacement that has just finished: it must not be played back.
        if (journal && !running && (::fstat(handle, &info) != 0 || info.st_nlink == 0)) {
            ::close(handle);
            continue;
        }
        const bool whole = journal && parsed(readJournal(handle), steps);
        if (!whole) steps.clear();
        if (running) {
            for (const ReplacementStep& step : steps)
                inUse << step.staged << step.kept;
        } else if (journal) {
            bool undone = true;
            for (auto step = steps.crbegin(); step != steps.crend(); ++step)
                undone = undo(dir, *step) && undone;
            // One that could not be undone whole is tried again next time.
            if (undone || !whole) ::unlink(encoded(path).constData());
            syncFolder(folder);
        }
        ::close(handle);
    }
    inUse.remove(QString());
    return inUse;
}

} // namespace platform
