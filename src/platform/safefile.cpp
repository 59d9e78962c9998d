#include "platform/safefile.h"

#include "platform/regularfile.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace platform {

SafeFile::SafeFile(const QString& path) : QSaveFile(path) {}

bool SafeFile::open() {
    error_.clear();
    const QFileInfo target(fileName());
    if (target.exists() && !target.isWritable()) {
        fail(EACCES);
        return false;
    }
    errno = 0;
    if (QSaveFile::open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return true;
    fail(errno != 0 ? errno : EIO);
    return false;
}

bool SafeFile::writeAll(const QByteArray& bytes) {
    return write(bytes) == bytes.size() && !failed();
}

qint64 SafeFile::writeData(const char* data, qint64 length) {
    if (failed()) return -1;
    // Straight to the descriptor: a short count or an error is seen here and
    // now, not swallowed by a later flush.
    const int fd = handle();
    qint64 done = 0;
    while (done < length) {
        const ssize_t n = ::write(fd, data + done, size_t(length - done));
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(errno);
            return -1;
        }
        if (n == 0) {
            fail(ENOSPC);
            return -1;
        }
        done += n;
    }
    return done;
}

bool SafeFile::commit() {
    if (!isOpen()) {
        if (!failed()) fail(EBADF);
        return false;
    }
    if (failed()) {
        discard();
        return false;
    }
    // Blocks the file system accepted may still fail to reach the disk.
    if (::fsync(handle()) != 0 && errno != EINVAL && errno != EROFS) {
        fail(errno);
        discard();
        return false;
    }
    errno = 0;
    if (QSaveFile::commit()) return true;
    fail(errno != 0 ? errno : EIO);
    return false;
}

void SafeFile::discard() {
    if (!isOpen()) return;
    cancelWriting();
    QSaveFile::commit(); // refuses after cancelWriting() and removes the temporary file
}

void SafeFile::fail(int error) {
    if (error_.isEmpty()) error_ = writeErrorText(error);
    // Keeps QSaveFile from ever committing what was written so far.
    if (isOpen()) cancelWriting();
}

QString writeErrorText(int error) {
    switch (error) {
    case ENOSPC:
        return QStringLiteral("Auf dem Datenträger ist nicht genug Platz frei.");
    case EFBIG:
        return QStringLiteral("Die Datei wird größer, als der Datenträger erlaubt.");
    case EDQUOT:
        return QStringLiteral("Das Speicherkontingent auf dem Datenträger ist erschöpft.");
    case EACCES:
    case EPERM:
        return QStringLiteral("Es fehlt die Berechtigung zum Schreiben.");
    case EROFS:
        return QStringLiteral("Der Datenträger ist schreibgeschützt.");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("Der Ordner ist nicht vorhanden.");
    case EISDIR:
        return QStringLiteral("An dieser Stelle liegt ein Ordner.");
    case EIO:
        return QStringLiteral("Beim Schreiben ist ein Ein-/Ausgabefehler aufgetreten.");
    case EOPNOTSUPP:
    case ENOSYS:
        return QStringLiteral("Das Dateisystem des Ordners unterstützt den dafür nötigen "
                              "Vorgang nicht.");
    case ENOLCK:
        return QStringLiteral("Das Dateisystem des Ordners bietet keine Dateisperren an.");
    default:
        return QStringLiteral("Die Datei konnte nicht geschrieben werden (%1).")
            .arg(QString::fromLocal8Bit(std::strerror(error)));
    }
}

bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* error) {
    SafeFile file(path);
    if (file.open() && file.writeAll(bytes) && file.commit()) return true;
    if (error) *error = file.errorText();
    return false;
}

bool copyWholeFile(const QString& source, const QString& target, QString* error) {
    QFile in;
    if (!openRegularFile(in, source)) {
        if (error) {
            const QString odd = notARegularFileText(source);
            *error = !odd.isEmpty() ? odd
                                    : QStringLiteral("Die Datei „%1“ kann nicht gelesen werden.")
                                          .arg(QFileInfo(source).fileName());
        }
        return false;
    }
    SafeFile out(target);
    if (!out.open()) {
        if (error) *error = out.errorText();
        return false;
    }
    constexpr qint64 ChunkSize = qint64(1) << 16;
    QByteArray chunk;
    while (!(chunk = in.read(ChunkSize)).isEmpty())
        if (!out.writeAll(chunk)) break;
    if (in.error() != QFileDevice::NoError && !out.failed()) {
        out.discard();
        if (error)
            *error = QStringLiteral("Die Datei „%1“ kann nicht gelesen werden.")
                         .arg(QFileInfo(source).fileName());
        return false;
    }
    if (!out.commit()) {
        if (error) *error = out.errorText();
        return false;
    }
    QFile::setPermissions(target, in.permissions());
    return true;
}

bool addSecondName(const QString& path, const QString& other, QString* error) {
    if (::link(QFile::encodeName(path).constData(), QFile::encodeName(other).constData()) == 0)
        return true;
    if (errno == EEXIST) {
        if (error) *error = writeErrorText(EEXIST);
        return false;
    }
    if (copyWholeFile(path, other, error)) return true;
    if (errno == EEXIST) errno = EIO; // EEXIST tells a name taken, not a failed copy
    return false;
}

} // namespace platform
