#include "platform/regularfile.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

bool isRegularFile(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

int openRegularFile(const QString& path) {
    // Without O_NONBLOCK, opening a FIFO waits for a writer.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

bool openRegularFile(QFile& file) {
    const int fd = openRegularFile(file.fileName());
    if (fd < 0) return false;
    if (file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) return true;
    ::close(fd);
    return false;
}

QString notARegularFileText(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || S_ISREG(info.st_mode))
        return QString();
    const QString shown = QDir::toNativeSeparators(path);
    if (S_ISDIR(info.st_mode))
        return QStringLiteral("\"%1\" ist ein Ordner und keine Datei.").arg(shown);
    return QStringLiteral("\"%1\" ist keine gewöhnliche Datei (sondern zum Beispiel eine "
                          "Pipe oder ein Gerät) und wird nicht gelesen.")
        .arg(shown);
}

} // namespace platform
