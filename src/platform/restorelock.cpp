#include "platform/restorelock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

// The database name can be long and hold any character a file name may: the
// lock file is named by a digest of it, in the case the file system need not
// keep, so that "Caesar" and "CAESAR", one database, share one lock.
QString lockPath(const QString& base) {
    const QFileInfo info(base);
    const QByteArray key =
        QCryptographicHash::hash(info.fileName().toCaseFolded().toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    return info.absolutePath() + QStringLiteral("/.restore-") + QString::fromLatin1(key) +
           QStringLiteral(".lock");
}

// Opened for writing: on a network file system an exclusive lock needs it.
int openLockFile(const QString& path, int create) {
    const int handle = ::open(encoded(path).constData(),
                              O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | create, 0600);
    struct stat info {};
    if (handle < 0 || (::fstat(handle, &info) == 0 && S_ISREG(info.st_mode))) return handle;
    ::close(handle);
    errno = EINVAL;
    return -1;
}

// Whether the locked file is still the one at its name: a lock file removed
// while another program opened it locks nothing.
bool stillNamed(int handle, const QString& path) {
    struct stat held {
    }, named{};
    return ::fstat(handle, &held) == 0 && ::lstat(encoded(path).constData(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

} // namespace

RestoreLock::Outcome RestoreLock::take(const QString& base) {
    release();
    const QString path = lockPath(base);
    // A look at the lock by another program's start-up holds it for a moment
    // only: a lock found taken is tried again for a little while.
    bool busy = false;
    for (int attempt = 0; attempt < 20; ++attempt) {
        const int handle = openLockFile(path, O_CREAT);
        if (handle < 0) return Outcome::Failed;
        if (::flock(handle, LOCK_EX | LOCK_NB) != 0) {
            const int cause = errno;
            ::close(handle);
            if (cause != EWOULDBLOCK) {
                errno = cause;
                return Outcome::Failed;
            }
            busy = true;
            ::usleep(10000);
            continue;
        }
        if (stillNamed(handle, path)) {
            handle_ = handle;
            path_ = path;
            return Outcome::Taken;
        }
        ::close(handle);
    }
    errno = EAGAIN;
    return busy ? Outcome::Busy : Outcome::Failed;
}

void RestoreLock::release() {
    if (handle_ < 0) return;
    // Removed while still held: whoever opened it meanwhile sees that.
    ::unlink(encoded(path_).constData());
    ::close(handle_);
    handle_ = -1;
    path_.clear();
}

bool restoreAtWork(const QString& folder) {
    bool atWork = false;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral(".restore-*.lock")},
                                             QDir::Files | QDir::Hidden | QDir::System)) {
        const QString path = dir.filePath(name);
        const int handle = openLockFile(path, 0);
        if (handle < 0) {
            // Another user's lock cannot be looked at, and may be held.
            atWork = atWork || errno == EACCES || errno == EPERM;
            continue;
        }
        if (::flock(handle, LOCK_EX | LOCK_NB) != 0)
            atWork = true;
        else if (stillNamed(handle, path))
            ::unlink(encoded(path).constData());
        ::close(handle);
    }
    return atWork;
}

} // namespace platform
