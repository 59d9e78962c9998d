#include "platform/filemoves.h"

#include "platform/regularfile.h"
#include "platform/temporaryfiles.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace platform {

namespace {

std::function<qint64(const QString&)>& freeSpaceOverride() {
    static std::function<qint64(const QString&)> figure;
    return figure;
}

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

// Copies `from` into a new file in the folder of `to` and renames it onto
// `to`. The copy is read through its own name only (a link at `from` is
// whatever the caller chose to move), and only when it is a regular file: a
// FIFO would block the copy, a device never end it.
bool copyOnto(const QString& from, const QString& to) {
    QFile in;
    if (!openRegularFile(in, from)) return false;
    QTemporaryFile out(moveTemporaryTemplate(QFileInfo(to).absolutePath()));
    if (!out.open()) return false;
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    while (true) {
        const qint64 n = in.read(buffer.data(), buffer.size());
        if (n < 0) return false;
        if (n == 0) break;
        if (out.write(buffer.constData(), n) != n) return false;
    }
    // A full disk may show only when the buffered data reaches it.
    if (!out.flush() || ::fsync(out.handle()) != 0) return false;
    out.close();
    takePermissionsOf(out.fileName(), to);
    if (out.error() != QFileDevice::NoError) return false;
    if (!renameReplacing(out.fileName(), to)) return false;
    out.setAutoRemove(false);
    return true;
}

// How a file system answers a call it does not offer, or a flag it does not
// know.
bool isMissingFeature(int error) {
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

} // namespace

qint64 freeSpace(const QString& folder) {
    if (freeSpaceOverride()) return freeSpaceOverride()(folder);
    // statvfs asks the file system that holds the folder itself; a look-up
    // through the mount table finds nothing inside a chroot or container
    // whose root is not a mount point, and would report no space at all.
    // A folder still to be made is measured at its nearest existing parent.
    QFileInfo place(folder);
    while (!place.exists() && !place.isRoot() && place.absolutePath() != place.absoluteFilePath())
        place = QFileInfo(place.absolutePath());
    struct statvfs info {};
    if (::statvfs(encoded(place.absoluteFilePath()).constData(), &info) != 0)
        return std::numeric_limits<qint64>::max(); // unknown: let the writes tell
    return qint64(info.f_bavail) * qint64(info.f_frsize);
}

void setFreeSpaceOverride(std::function<qint64(const QString&)> figure) {
    freeSpaceOverride() = std::move(figure);
}

bool takePermissionsOf(const QString& path, const QString& target) {
    struct stat info {};
    mode_t mode = 0;
    if (::lstat(encoded(target).constData(), &info) == 0 && S_ISREG(info.st_mode)) {
        mode = info.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    return ::chmod(encoded(path).constData(), mode) == 0;
}

bool entryExists(const QString& path) {
    struct stat info {};
    return ::lstat(encoded(path).constData(), &info) == 0;
}

bool renameReplacing(const QString& from, const QString& to) {
    return ::rename(encoded(from).constData(), encoded(to).constData()) == 0;
}

bool renameNew(const QString& from, const QString& to) {
    const QByteArray source = encoded(from);
    const QByteArray target = encoded(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return true;
    if (!isMissingFeature(errno)) return false;
    // A file system without the flag: a hard link fails on an existing name.
    if (::link(source.constData(), target.constData()) == 0) {
        ::unlink(source.constData());
        return true;
    }
    // EPERM is how a file system without hard links (FAT, many FUSE mounts)
    // answers; a rename on it still says whether a permission is missing.
    if (errno != EPERM && !isMissingFeature(errno)) return false;
    if (entryExists(to)) {
        errno = EEXIST;
        return false;
    }
    return renameReplacing(from, to);
}

bool moveReplacing(const QString& from, const QString& to) {
    if (renameReplacing(from, to)) return true;
    if (errno != EXDEV) return false;
    if (!copyOnto(from, to)) return false;
    QFile::remove(from);
    return true;
}

} // namespace platform
