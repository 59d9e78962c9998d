#include "platform/restorelock.h"

#include "platform/temporaryfiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <limits>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// The names a lock may take, when what stands at the first ones is no lock
// file of the program.
constexpr int LockNames = 4;
// A lock file is made empty and then signed by its copy of the program;
// where the file system has no locks, an empty one counts as held this long.
constexpr qint64 SigningSeconds = 10;
// A lock file of an earlier version is empty; one of this version holds a
// record of its copy of the program, which is short.
const QByteArray Signature = QByteArrayLiteral("Orvilex restore lock 1\n");
constexpr qint64 MaxLockBytes = 4096;

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

// The database name can be long and hold any character a file name may: the
// lock file is named by a digest of it, in the case the file system need not
// keep, so that "Caesar" and "CAESAR", one database, share one lock.
QString lockPath(const QString& base, int number) {
    const QFileInfo info(base);
    const QByteArray key =
        QCryptographicHash::hash(info.fileName().toCaseFolded().toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    const QString other = number > 1 ? QStringLiteral(".%1").arg(number) : QString();
    return info.absolutePath() + QStringLiteral("/.restore-") + QString::fromLatin1(key) + other +
           QStringLiteral(".lock");
}

QByteArray readAt(int handle, qint64 most) {
    QByteArray bytes(most, Qt::Uninitialized);
    qint64 done = 0;
    while (done < most) {
        const ssize_t n = ::pread(handle, bytes.data() + done, size_t(most - done), done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    bytes.truncate(done);
    return bytes;
}

QByteArray systemFact(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(1024).trimmed() : QByteArray();
}

// When the process started, in the system's ticks since the machine did: a
// later process that gets the same number started later.
QByteArray startOf(qint64 process) {
    const QByteArray stat = systemFact(QStringLiteral("/proc/%1/stat").arg(process));
    // The command name in parentheses may hold blanks; the start is the 22nd
    // field, the 20th after it.
    const qsizetype name = stat.lastIndexOf(')');
    const QList<QByteArray> fields = stat.mid(name + 2).split(' ');
    return name < 0 || fields.size() < 20 ? QByteArray() : fields.at(19);
}

// The copy of the program that made a lock file: its machine, by name and by
// the start of the system (a process number means nothing after a new
// start), the process numbers it sees, and the process.
struct Owner {
    QByteArray host;
    QByteArray boot;
    QByteArray processes;
    QByteArray process;
    QByteArray started;
    bool operator==(const Owner&) const = default;
};

Owner thisCopy() {
    const qint64 process = ::getpid();
    char space[64] = {};
    const ssize_t length = ::readlink("/proc/self/ns/pid", space, sizeof space - 1);
    return {QSysInfo::machineHostName().toUtf8(),
            systemFact(QStringLiteral("/proc/sys/kernel/random/boot_id")),
            QByteArray(space, qMax<ssize_t>(length, 0)), QByteArray::number(process),
            startOf(process)};
}

QByteArray recordOf(const Owner& owner) {
    return Signature + "host " + owner.host + "\nboot " + owner.boot + "\nprocesses " +
           owner.processes + "\nprocess " + owner.process + "\nstarted " + owner.started + "\n";
}

bool parsed(const QByteArray& record, Owner& owner) {
    if (!record.startsWith(Signature)) return false;
    const QList<QByteArray> lines = record.mid(Signature.size()).split('\n');
    QByteArray* fields[] = {&owner.host, &owner.boot, &owner.processes, &owner.process,
                            &owner.started};
    const char* keys[] = {"host ", "boot ", "processes ", "process ", "started "};
    if (lines.size() < 5) return false;
    for (int i = 0; i < 5; ++i) {
        if (!lines.at(i).startsWith(keys[i])) return false;
        *fields[i] = lines.at(i).mid(qstrlen(keys[i]));
    }
    const qint64 process = owner.process.toLongLong();
    return process > 0 && process <= std::numeric_limits<pid_t>::max();
}

// Whether a copy of the program that made the lock file (`record`, changed
// `age` seconds ago) still runs. A copy on another machine, or among process
// numbers this one does not see, cannot be looked at: its lock holds until
// it is as old as a leftover. One not yet signed holds for a moment.
bool ownerRuns(const QByteArray& record, qint64 age) {
    if (record.isEmpty()) return qAbs(age) < SigningSeconds;
    Owner owner;
    if (!parsed(record, owner)) return false;
    const Owner self = thisCopy();
    if (owner.host != self.host) return age < LeftoverAgeSeconds;
    if (owner.boot != self.boot) return false; // the machine has started again since
    if (owner.processes != self.processes) return age < LeftoverAgeSeconds;
    if (::kill(pid_t(owner.process.toLongLong()), 0) != 0 && errno == ESRCH) return false;
    const QByteArray started = startOf(owner.process.toLongLong());
    return started.isEmpty() || started == owner.started;
}

bool madeHere(const QByteArray& record) {
    Owner owner;
    return parsed(record, owner) && owner == thisCopy();
}

qint64 ageOf(int handle) {
    struct stat info {};
    return ::fstat(handle, &info) == 0 ? qint64(::time(nullptr)) - qint64(info.st_mtime) : 0;
}

// Whether the locked file is still the one at its name: a lock file removed
// while another program opened it locks nothing.
bool stillNamed(int handle, const QString& path) {
    struct stat held {
    }, named{};
    return ::fstat(handle, &held) == 0 && ::lstat(encoded(path).constData(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

void removeIfStillNamed(int handle, const QString& path) {
    if (stillNamed(handle, path)) ::unlink(encoded(path).constData());
}

// What stands at a lock name.
enum class Found { Nothing, Lock, Other, Unreadable, Failed };

// Opens the entry at a lock name when it is a lock file: a regular file,
// never one reached through a link, empty or holding a record. Nothing that
// could block (a FIFO) or act (a device) is opened. For writing where this
// user may (on a network file system an exclusive lock needs it), else for
// reading, so that another user's lock can be looked at.
Found openLock(const QString& path, int& handle, QByteArray& record) {
    handle = -1;
    const QByteArray name = encoded(path);
    struct stat info {};
    if (::lstat(name.constData(), &info) != 0)
        return errno == ENOENT ? Found::Nothing : Found::Failed;
    if (!S_ISREG(info.st_mode) || info.st_size > MaxLockBytes) return Found::Other;
    const int flags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    handle = ::open(name.constData(), O_RDWR | flags);
    if (handle < 0 && (errno == EACCES || errno == EPERM || errno == EROFS))
        handle = ::open(name.constData(), O_RDONLY | flags);
    if (handle < 0) {
        if (errno == ENOENT) return Found::Nothing;
        return errno == EACCES || errno == EPERM ? Found::Unreadable : Found::Failed;
    }
    record = readAt(handle, MaxLockBytes + 1);
    Owner owner;
    if (::fstat(handle, &info) == 0 && S_ISREG(info.st_mode) &&
        (record.isEmpty() || parsed(record, owner)))
        return Found::Lock;
    ::close(handle);
    handle = -1;
    return Found::Other;
}

// Writes the record of this copy into its lock file; `synced` where the
// file is the lock itself, so that other machines see it.
bool sign(int handle, bool synced) {
    const QByteArray record = recordOf(thisCopy());
    return ::ftruncate(handle, 0) == 0 &&
           ::pwrite(handle, record.constData(), size_t(record.size()), 0) == record.size() &&
           (!synced || ::fsync(handle) == 0);
}

// Whether a restore holds a lock in `folder`, with `othersOnly` one of
// another copy of the program (told apart only where the file system has no
// locks). Lock files none holds are removed.
bool lockHeldIn(const QString& folder, bool othersOnly) {
    bool held = false;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral(".restore-*.lock")},
                                             QDir::Files | QDir::Hidden | QDir::System)) {
        const QString path = dir.filePath(name);
        int handle = -1;
        QByteArray record;
        const Found found = openLock(path, handle, record);
        // Another user's lock cannot be looked at, and may be held.
        held = held || found == Found::Unreadable;
        if (found != Found::Lock) continue;
        if (::flock(handle, LOCK_EX | LOCK_NB) == 0)
            removeIfStillNamed(handle, path);
        else if (!lacksLocks(errno))
            held = true;
        else if (madeHere(record))
            held = held || !othersOnly;
        else if (ownerRuns(record, ageOf(handle)))
            held = true;
        else
            removeIfStillNamed(handle, path);
        ::close(handle);
    }
    return held;
}

} // namespace

bool lacksLocks(int error) {
    return error == ENOLCK || error == EOPNOTSUPP || error == ENOSYS;
}

RestoreLock::Outcome RestoreLock::take(const QString& base) {
    release();
    blocking_.clear();
    // A look at the lock by another program's start-up holds it for a moment
    // only: a lock found taken is tried again for a little while.
    bool busy = false;
    for (int tries = 0; tries < 20; ++tries) {
        switch (attempt(base)) {
        case Attempt::Taken:
            return Outcome::Taken;
        case Attempt::Busy:
            busy = true;
            ::usleep(10000);
            break;
        case Attempt::Again:
            break;
        case Attempt::Blocked:
            return Outcome::Blocked;
        case Attempt::Failed:
            return Outcome::Failed;
        }
    }
    errno = EAGAIN;
    return busy ? Outcome::Busy : Outcome::Failed;
}

RestoreLock::Attempt RestoreLock::attempt(const QString& base) {
    QString path;
    int handle = -1;
    QByteArray record;
    bool made = false;
    for (int number = 1; number <= LockNames && path.isEmpty(); ++number) {
        const QString candidate = lockPath(base, number);
        switch (openLock(candidate, handle, record)) {
        case Found::Other:
            continue;
        case Found::Unreadable:
            blocking_ = candidate;
            errno = EACCES;
            return Attempt::Blocked;
        case Found::Failed:
            return Attempt::Failed;
        case Found::Nothing:
            handle = ::open(encoded(candidate).constData(),
                            O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
            if (handle < 0) return errno == EEXIST ? Attempt::Again : Attempt::Failed;
            // Readable whatever the mask, so that other users' copies see it.
            ::fchmod(handle, 0644);
            made = true;
            break;
        case Found::Lock:
            break;
        }
        path = candidate;
    }
    if (path.isEmpty()) {
        blocking_ = lockPath(base, 1);
        errno = EEXIST;
        return Attempt::Blocked;
    }
    const int refused = ::flock(handle, LOCK_EX | LOCK_NB) == 0 ? 0 : errno;
    const auto give = [&](Attempt outcome) {
        const int cause = errno;
        ::close(handle);
        errno = cause;
        return outcome;
    };
    if (refused == EWOULDBLOCK) return give(Attempt::Busy);
    if (refused != 0 && !lacksLocks(refused)) {
        if (made) ::unlink(encoded(path).constData());
        errno = refused;
        return give(Attempt::Failed);
    }
    if (refused == 0) {
        if (!stillNamed(handle, path)) return give(Attempt::Again);
        // Signed for copies that see no locks (on another machine); another
        // user's lock file cannot be written, and need not be.
        sign(handle, false);
    } else if (!made) {
        // No locks on this file system: a lock file made by another copy is
        // held while that copy runs.
        if (ownerRuns(record, ageOf(handle))) return give(Attempt::Busy);
        removeIfStillNamed(handle, path);
        return give(Attempt::Again);
    } else if (!sign(handle, true)) {
        // The file this copy made under a free name is the lock, and tells
        // who holds it.
        const int cause = errno;
        ::unlink(encoded(path).constData());
        errno = cause;
        return give(Attempt::Failed);
    }
    handle_ = handle;
    path_ = path;
    return Attempt::Taken;
}

void RestoreLock::release() {
    if (handle_ < 0) return;
    // Removed while still held: whoever opened it meanwhile sees that. One
    // that another copy took for stale and replaced is that copy's.
    removeIfStillNamed(handle_, path_);
    ::close(handle_);
    handle_ = -1;
    path_.clear();
}

bool restoreAtWork(const QString& folder) {
    return lockHeldIn(folder, false);
}

bool restoreOfAnotherCopyAtWork(const QString& folder) {
    return lockHeldIn(folder, true);
}

} // namespace platform
