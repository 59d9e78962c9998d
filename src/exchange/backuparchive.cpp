// The archive's format: its header, the key and the scrambling, the names
// built from paths, and the failures the routines turn into result codes.
#include "exchange/backuparchive.h"

#include "database/databasefiles.h"
#include "exchange/backuparchiveprivate.h"
#include "platform/codec.h"
#include "platform/paths.h"
#include "platform/regularfile.h"
#include "platform/safefile.h"

#include <QDir>
#include <QFile>
#include <cerrno>

namespace archive {

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString fileName(const QString& path) {
    const QString normal = platform::normalizePath(path);
    return normal.mid(normal.lastIndexOf(QLatin1Char('/')) + 1);
}

Failure damaged(const QString& archivePath) {
    return Failure(ArchiveFailed,
                   QStringLiteral("Die Datei \"%1\" ist beschädigt oder keine Sicherungsdatei.")
                       .arg(shown(archivePath)));
}

Failure missing(const QString& path) {
    return Failure(ArchiveFailed, QStringLiteral("Die Datei \"%1\" fehlt.").arg(shown(path)));
}

Failure unreadable(const QString& path) {
    return Failure(ArchiveWriteFailed,
                   QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden.").arg(shown(path)));
}

Failure unusableFolder(const QString& folder) {
    const QString why = IsProgramFolderName(folder)
                            ? QStringLiteral("der Name ist einem Ordner des Programms vorbehalten")
                            : QStringLiteral("die Zeichen . / \\ : * ? \" < > | und "
                                             "Steuerzeichen sind nicht erlaubt");
    return Failure(ArchiveFailed,
                   QStringLiteral("Der Sprachordner \"%1\" der Sicherung ist als Ordnername "
                                  "nicht zulässig (%2).")
                       .arg(folder, why));
}

bool fitsEightBit(const QString& text) {
    return platform::codec::fromBytes(platform::codec::toBytes(text)) == text;
}

bool safeName(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return false;
    for (const QChar c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20 ||
            c.unicode() == 0x7f)
            return false;
    return true;
}

void putInt32(QByteArray& bytes, quint32 value) {
    for (int i = 0; i < 4; ++i)
        bytes.append(char((value >> (8 * i)) & 0xff));
}

quint32 int32At(const QByteArray& bytes) {
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | quint8(bytes.at(i));
    return value;
}

Failure writeFailure(const QIODevice& out) {
    if (const auto* safe = dynamic_cast<const platform::SafeFile*>(&out))
        return Failure(ArchiveWriteFailed, safe->errorText());
    if (const auto* file = dynamic_cast<const QFileDevice*>(&out);
        file && file->error() == QFileDevice::ResourceError)
        return Failure(ArchiveWriteFailed, platform::writeErrorText(ENOSPC));
    return Failure(ArchiveWriteFailed,
                   QStringLiteral("Eine Datei konnte nicht vollständig geschrieben werden."));
}

void writeAll(QIODevice& out, const char* data, qint64 length) {
    if (out.write(data, length) != length) throw writeFailure(out);
}

void scrambleStream(QIODevice& in, qint64 size, QIODevice& out, const QByteArray& key) {
    Scrambler scrambler(key, size);
    QByteArray buffer(int(ChunkSize), Qt::Uninitialized);
    qint64 done = 0;
    while (done < size) {
        const qint64 n = in.read(buffer.data(), qMin(ChunkSize, size - done));
        if (n <= 0) throw Failure(ArchiveWriteFailed);
        scrambler.apply(buffer.data(), n);
        writeAll(out, buffer.constData(), n);
        done += n;
    }
}

int codeOf(const std::exception_ptr& error, ArchiveReport* report) {
    try {
        std::rethrow_exception(error);
    } catch (const Failure& failure) {
        if (report) report->detail = failure.detail;
        return failure.code;
    } catch (const EFileExists&) {
        return ArchiveExists;
    } catch (const platform::Error& error) {
        // The engine's or the conversion's own message.
        if (report) report->detail = error.message();
        return ArchiveFailed;
    } catch (const std::exception&) {
        return ArchiveFailed;
    }
}

} // namespace archive

using namespace archive;

namespace {

void putString(QByteArray& image, int offset, int capacity, const QString& text) {
    const QByteArray bytes = platform::codec::toBytes(text).left(capacity);
    image[offset] = char(bytes.size());
    for (int i = 0; i < bytes.size(); ++i)
        image[offset + 1 + i] = bytes.at(i);
}

} // namespace

// --- header -------------------------------------------------------------------

QByteArray TArchiveHeader::toBytes() const {
    QByteArray image(Size, '\0');
    putString(image, VersionOffset, VersionCapacity, version);
    putString(image, FolderOffset, FolderCapacity, folder);
    return image;
}

bool TArchiveHeader::fromBytes(const QByteArray& image) {
    if (image.size() < Size) return false;
    const int folderLength = quint8(image.at(FolderOffset));
    if (folderLength > FolderCapacity) return false;
    const int versionLength = qMin<int>(quint8(image.at(VersionOffset)), VersionCapacity);
    version = platform::codec::fromBytes(image.mid(VersionOffset + 1, versionLength));
    folder = platform::codec::fromBytes(image.mid(FolderOffset + 1, folderLength));
    return true;
}

// --- names --------------------------------------------------------------------

const QByteArray& ArchiveKey() {
    static const QByteArray key = platform::codec::toBytes(
        QStringLiteral("§k4v71(29p08zwa55)R&?LMNQ%*318ä2xy6!=/(()!?615t03ôbhuk"));
    return key;
}

QString MakeTargetName(const QString& folder, const QString& path) {
    QString base = platform::normalizePath(folder);
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base + QLatin1Char('/') + fileName(path);
}

int CutExtension(QString& path) {
    for (qsizetype i = path.size() - 2; i >= 0; --i) {
        const QChar c = path.at(i);
        if (c == QLatin1Char('/') || c == QLatin1Char('\\')) break;
        if (c == QLatin1Char('.')) {
            path.truncate(i + 1);
            return ArchiveOk;
        }
    }
    return ArchiveBadPath;
}

int ParentFolderName(QString& path) {
    const QString normal = platform::normalizePath(path);
    const qsizetype last = normal.size() >= 2 ? normal.lastIndexOf(QLatin1Char('/'), -2) : -1;
    if (last <= 0) return ArchiveBadPath;
    const qsizetype before = normal.lastIndexOf(QLatin1Char('/'), last - 1);
    if (before < 0) return ArchiveBadPath;
    path = normal.mid(before + 1, last - before - 1);
    return ArchiveOk;
}

// --- routines -------------------------------------------------------------------

int ScrambleFile(const QString& filePath, const QByteArray& key, const QString& folder,
                 bool copyFirst) {
    if (key.isEmpty()) return ArchiveFailed;
    try {
        QFile in;
        if (!platform::openRegularFile(in, filePath)) return ArchiveWriteFailed;
        platform::SafeFile out(copyFirst ? MakeTargetName(folder, filePath) : filePath);
        if (!out.open()) return ArchiveExists;
        scrambleStream(in, in.size(), out, key);
        in.close();
        return out.commit() ? ArchiveOk : ArchiveWriteFailed;
    } catch (...) {
        return codeOf(std::current_exception(), nullptr);
    }
}
