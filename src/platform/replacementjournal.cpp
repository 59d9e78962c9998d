#include "platform/replacementjournal.h"

#include "platform/filemoves.h"
#include "platform/restorelock.h"
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
// The earlier version named the files only; this one adds what identifies
// each of them.
constexpr quint32 NamesOnly = 1;
constexpr quint32 Version = 2;
// A journal names a handful of files; anything larger is no journal of ours.
constexpr qint64 MaxJournalBytes = 1 << 20;
const QString JournalEnding = QStringLiteral(".journal");

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

// What tells a file from another that takes its name later: the device and
// inode, which a rename keeps, and the size.
struct Identity {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = -1; // -1: no regular file
};

QDataStream& operator<<(QDataStream& out, const Identity& file) {
    return out << file.device << file.inode << file.size;
}
QDataStream& operator>>(QDataStream& in, Identity& file) {
    return in >> file.device >> file.inode >> file.size;
}

// The regular file at the path, never one reached through a link; none when
// nothing or something else stands there.
Identity regularFileAt(const QString& path) {
    struct stat info {};
    if (path.isEmpty() || ::lstat(encoded(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return {};
    return {quint64(info.st_dev), quint64(info.st_ino), qint64(info.st_size)};
}

// Whether `now` is the file the journal recorded (it recorded one). The
// device is not compared: every file a journal names lies in its folder, on
// the journal's own file system, and the number the system gives that file
// system may differ after a new start (disks found in another order), which
// is when a journal is played back.
bool is(const Identity& now, const Identity& recorded) {
    return recorded.size >= 0 && now.inode == recorded.inode && now.size == recorded.size;
}

// A step as the journal holds it, with the files it found when written: the
// new file (staged), the old one under its kept name, and the one at the
// target. A journal of the earlier version has names only.
struct Entry {
    ReplacementStep step;
    Identity placed;
    Identity kept;
    Identity replaced;
};

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

// A control character has no place in a name of ours, and a NUL would end
// the name the system sees: "E.ol\0x" would act on "E.ol".
bool usableName(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return false;
    for (const QChar c : name)
        if (c == QLatin1Char('/') || c.unicode() < 0x20 || c.unicode() == 0x7f) return false;
    return true;
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

QByteArray serialized(const QList<Entry>& entries) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << Magic << Version << quint32(entries.size());
    for (const Entry& entry : entries) {
        const ReplacementStep& step = entry.step;
        out << quint8(step.kind) << step.staged << step.target << step.kept << entry.placed
            << entry.kept << entry.replaced;
    }
    out << Magic;
    return bytes;
}

// `namesOnly` tells a journal of the earlier version.
bool parsed(const QByteArray& bytes, QList<Entry>& entries, bool& namesOnly) {
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 magic = 0, version = 0, count = 0;
    in >> magic >> version >> count;
    namesOnly = version == NamesOnly;
    if (magic != Magic || (version != Version && !namesOnly) || count > 64) return false;
    for (quint32 i = 0; i < count; ++i) {
        quint8 kind = 0;
        Entry entry;
        ReplacementStep& step = entry.step;
        in >> kind >> step.staged >> step.target >> step.kept;
        if (!namesOnly) in >> entry.placed >> entry.kept >> entry.replaced;
        if (kind > quint8(ReplacementStep::Kind::Remove)) return false;
        step.kind = ReplacementStep::Kind(kind);
        if (!plausible(step)) return false;
        entries << entry;
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

bool removed(const QString& path) {
    return ::unlink(encoded(path).constData()) == 0 || errno == ENOENT;
}

// Puts back what one step changed; safe to repeat, and safe for a step that
// never ran. A file is removed or replaced only when it is the very one the
// restore placed or kept: another that has taken the name since (another
// database's, where the journal was copied, or a link) stays as it is.
bool undo(const QDir& folder, const Entry& entry) {
    const ReplacementStep& step = entry.step;
    const QString target = folder.filePath(step.target);
    const Identity now = regularFileAt(target);
    bool ok = true;
    if (!step.kept.isEmpty()) {
        const QString kept = folder.filePath(step.kept);
        if (is(regularFileAt(kept), entry.kept)) {
            if (is(now, entry.replaced))
                ok = removed(kept); // the step never ran: the old file is in place
            else if (!entryExists(target))
                ok = renameNew(kept, target);
            else if (is(now, entry.placed))
                ok = renameReplacing(kept, target);
        }
    } else if (is(now, entry.placed)) {
        // The new file took a name where none stood before.
        ok = removed(target);
    }
    const QString staged = folder.filePath(step.staged);
    if (!step.staged.isEmpty() && is(regularFileAt(staged), entry.placed)) removed(staged);
    return ok;
}

// A journal of the earlier version names the files only. The old file under
// a kept name is put back (a regular file under the restore's own hidden
// name, never a link), but a new file that took a free name cannot be told
// from another that took it since: it stays, and so do staged files, which
// the start-up clears away with other leftovers.
bool undoNamesOnly(const QDir& folder, const ReplacementStep& step) {
    if (step.kept.isEmpty()) return true;
    const QString kept = folder.filePath(step.kept);
    const QString target = folder.filePath(step.target);
    const Identity old = regularFileAt(kept);
    const Identity now = regularFileAt(target);
    if (old.size < 0) return true;
    if (now.device == old.device && now.inode == old.inode) return removed(kept);
    if (!entryExists(target)) return renameNew(kept, target);
    return now.size < 0 || renameReplacing(kept, target);
}

// The journals this process has written and not yet removed or left, by
// device and inode: where the file system has no locks, they are what tells
// this process's journals at work from those of a program that was killed.
QSet<QPair<quint64, quint64>>& journalsAtWork() {
    static QSet<QPair<quint64, quint64>> journals;
    return journals;
}

QPair<quint64, quint64> fileOf(int handle) {
    struct stat info {};
    if (::fstat(handle, &info) != 0) return {};
    return {quint64(info.st_dev), quint64(info.st_ino)};
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
    if (handle_ < 0) return;
    journalsAtWork().remove(fileOf(handle_));
    ::close(handle_);
}

bool ReplacementJournal::write(const QString& folder, const QList<ReplacementStep>& steps,
                               QString* error) {
    QList<Entry> named;
    for (const ReplacementStep& step : steps) {
        Entry entry{{step.kind, {}, {}, {}},
                    regularFileAt(step.staged),
                    regularFileAt(step.kept),
                    regularFileAt(step.target)};
        // Staged and kept files are regular files the restore made itself.
        const bool regular = (step.staged.isEmpty() || entry.placed.size >= 0) &&
                             (step.kept.isEmpty() || entry.kept.size >= 0);
        if (!regular || !nameInFolder(step.staged, folder, entry.step.staged) ||
            !nameInFolder(step.target, folder, entry.step.target) ||
            !nameInFolder(step.kept, folder, entry.step.kept) || !plausible(entry.step)) {
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
    errno = 0;
    if (!reserved.open()) return fail(errno ? errno : EIO);
    handle_ = ::fcntl(reserved.handle(), F_DUPFD_CLOEXEC, 0);
    if (handle_ < 0) return fail(errno);
    if (::flock(handle_, LOCK_EX) != 0 && !lacksLocks(errno)) return fail(errno);
    if (!writeAllTo(handle_, serialized(named))) return fail(errno ? errno : EIO);
    const QString temporary = reserved.fileName();
    const QString journal = temporary.chopped(4) + JournalEnding;
    if (!renameNew(temporary, journal)) return fail(errno);
    reserved.setAutoRemove(false);
    syncFolder(folder);
    journalsAtWork().insert(fileOf(handle_));
    path_ = journal;
    folder_ = folder;
    return true;
}

void ReplacementJournal::remove() {
    if (path_.isEmpty()) return;
    ::unlink(encoded(path_).constData());
    syncFolder(folder_);
    path_.clear();
    if (handle_ < 0) return;
    journalsAtWork().remove(fileOf(handle_));
    ::close(std::exchange(handle_, -1));
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
        QList<Entry> entries;
        bool namesOnly = false;
        const bool journal = ::fstat(handle, &info) == 0 && S_ISREG(info.st_mode);
        // Where the file system has no locks, a journal is at work while this
        // process writes it or another copy of the program holds a restore
        // lock in the folder.
        const bool running = journal && ::flock(handle, LOCK_EX | LOCK_NB) != 0 &&
                             (!lacksLocks(errno) || journalsAtWork().contains(fileOf(handle)) ||
                              restoreOfAnotherCopyAtWork(folder));
        // A journal removed between its opening here and the lock belongs to
        // a replacement that has just finished: it must not be played back.
        if (journal && !running && (::fstat(handle, &info) != 0 || info.st_nlink == 0)) {
            ::close(handle);
            continue;
        }
        const bool whole = journal && parsed(readJournal(handle), entries, namesOnly);
        if (!whole) entries.clear();
        bool undone = true;
        if (!running && journal) {
            for (auto entry = entries.crbegin(); entry != entries.crend(); ++entry)
                undone =
                    (namesOnly ? undoNamesOnly(dir, entry->step) : undo(dir, *entry)) && undone;
            // One that could not be undone whole is tried again next time.
            if (undone || !whole) ::unlink(encoded(path).constData());
            syncFolder(folder);
        }
        // The files of a journal at work, or left for another try, stay.
        if (running || !undone)
            for (const Entry& entry : entries)
                inUse << entry.step.staged << entry.step.kept;
        ::close(handle);
    }
    inUse.remove(QString());
    return inUse;
}

} // namespace platform
