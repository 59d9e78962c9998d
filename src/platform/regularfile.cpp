#include "platform/regularfile.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

QString openErrorText(const QString& path, int cause) {
    QString reason;
    switch (cause) {
    case ENOENT:
        reason = QStringLiteral("Die Datei wurde nicht gefunden:");
        break;
    case EACCES:
    case EPERM:
        reason = QStringLiteral("Keine Leserechte für die Datei:");
        break;
    default:
        reason = QStringLiteral("Die Datei kann nicht geöffnet werden (%1):")
                     .arg(QString::fromLocal8Bit(std::strerror(cause)));
        break;
    }
    return reason + QStringLiteral("\r\n") + QDir::toNativeSeparators(path);
}

} // namespace

bool isRegularFile(const QString& path) {
    struct stat info {};
    return !path.isEmpty() && ::stat(QFile::encodeName(path).constData(), &info) == 0 &&
           S_ISREG(info.st_mode);
}

QString notARegularFileMessage(const QString& path) {
    return QStringLiteral("Dies ist keine gewöhnliche Datei (sondern etwa ein Ordner, ein Gerät "
                          "oder eine Pipe) und kann nicht gelesen werden:\r\n%1")
        .arg(QDir::toNativeSeparators(path));
}

int openRegularFile(const QString& path) {
    // O_NONBLOCK keeps open() from waiting on a FIFO; the type is then checked
    // on what was opened, so nothing can be swapped in between.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    // A regular file never blocks; the flag is dropped so that reads behave
    // as usual.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        const int cause = errno;
        ::close(fd);
        errno = cause;
        return -1;
    }
    return fd;
}

bool openRegularFile(QFile& file, const QString& path, QString* error) {
    const int fd = openRegularFile(path);
    if (fd < 0) {
        if (error)
            *error = errno == EINVAL ? notARegularFileMessage(path) : openErrorText(path, errno);
        return false;
    }
    file.setFileName(path);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        const int cause = errno;
        ::close(fd);
        if (error) *error = openErrorText(path, cause);
        return false;
    }
    return true;
}

QString notARegularFileText(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || S_ISREG(info.st_mode))
        return QString();
    return notARegularFileMessage(path);
}

} // namespace platform
