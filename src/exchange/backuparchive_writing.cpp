// Writing an archive: the files packed record by record into a plain archive,
// which is then scrambled into place whole.
#include "exchange/backuparchive.h"

#include "database/databasefiles.h"
#include "engine/query.h"
#include "exchange/backuparchiveprivate.h"
#include "platform/codec.h"
#include "platform/paths.h"
#include "platform/regularfile.h"
#include "platform/safefile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <memory>
#include <zlib.h>

using namespace archive;

namespace {

// Appends the zlib stream (level 9, window bits 15, memory level 8) of the
// file's first `size` bytes.
void deflateFile(QFile& in, qint64 size, QIODevice& out) {
    z_stream z{};
    if (deflateInit2(&z, 9, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw Failure(ArchiveFailed);
    const std::unique_ptr<z_stream, int (*)(z_stream*)> guard(&z, deflateEnd);
    QByteArray input(int(ChunkSize), Qt::Uninitialized);
    QByteArray output(int(ChunkSize), Qt::Uninitialized);
    qint64 read = 0;
    int flush = Z_NO_FLUSH;
    do {
        qint64 n = 0;
        if (read < size) {
            n = in.read(input.data(), qMin(ChunkSize, size - read));
            // The file became shorter while it was packed.
            if (n <= 0) throw unreadable(in.fileName());
            read += n;
        }
        flush = read == size ? Z_FINISH : Z_NO_FLUSH;
        z.next_in = reinterpret_cast<Bytef*>(input.data());
        z.avail_in = uInt(n);
        do {
            z.next_out = reinterpret_cast<Bytef*>(output.data());
            z.avail_out = uInt(output.size());
            if (deflate(&z, flush) == Z_STREAM_ERROR) throw Failure(ArchiveFailed);
            writeAll(out, output.constData(), output.size() - qint64(z.avail_out));
        } while (z.avail_out == 0);
    } while (flush != Z_FINISH);
}

void compress(const QStringList& files, const QString& archivePath, const TArchiveHeader& header,
              const QString& tempFolder, ArchiveReport* report) {
    if (files.isEmpty()) throw Failure(ArchiveFailed);
    QStringList names;
    for (const QString& path : files) {
        const QString name = fileName(path);
        if (!fitsEightBit(name) || names.contains(name) || !safeName(name))
            throw Failure(
                ArchiveFailed,
                QStringLiteral("Der Dateiname \"%1\" kann nicht gesichert werden.").arg(name));
        names << name;
    }

    // The plain archive first: the scrambling needs its final size.
    const QString archiveFolder = QFileInfo(archivePath).absolutePath();
    const QString workFolder =
        !tempFolder.isEmpty() && platform::ensureFolder(tempFolder) ? tempFolder : archiveFolder;
    QTemporaryFile plain(platform::joinPath(workFolder, QStringLiteral("olx-XXXXXX.tmp")));
    if (!plain.open()) throw Failure(ArchiveWriteFailed);

    QByteArray head = header.toBytes();
    putInt32(head, quint32(files.size()));
    writeAll(plain, head.constData(), head.size());
    for (int i = 0; i < files.size(); ++i) {
        QFile in;
        if (!QFile::exists(files.at(i))) throw missing(files.at(i));
        // A FIFO would block the backup, a device make a member of nothing
        // or of endless bytes: only regular files are packed.
        if (const QString odd = platform::notARegularFileText(files.at(i)); !odd.isEmpty())
            throw Failure(ArchiveFailed, odd);
        if (!platform::openRegularFile(in, files.at(i))) throw unreadable(files.at(i));
        const qint64 size = in.size();
        if (size > qint64(0xffffffffu))
            throw Failure(ArchiveFailed,
                          QStringLiteral("Die Datei \"%1\" ist zu groß.").arg(shown(files.at(i))));
        const QByteArray name = platform::codec::toBytes(names.at(i));
        QByteArray record;
        putInt32(record, quint32(name.size()));
        record.append(name);
        putInt32(record, quint32(size));
        writeAll(plain, record.constData(), record.size());
        deflateFile(in, size, plain);
    }
    if (!plain.flush()) throw writeFailure(plain);

    const qint64 size = plain.size();
    if (!plain.seek(0)) throw Failure(ArchiveWriteFailed);
    platform::SafeFile archive(archivePath);
    if (!archive.open()) throw writeFailure(archive);
    scrambleStream(plain, size, archive);
    if (!archive.commit()) throw writeFailure(archive);
    if (report) report->files = files;
}

} // namespace

int CompressFiles(const QStringList& files, const QString& archivePath,
                  const TArchiveHeader& header, const QString& tempFolder, ArchiveReport* report) {
    try {
        compress(files, archivePath, header, tempFolder, report);
        return ArchiveOk;
    } catch (...) {
        return codeOf(std::current_exception(), report);
    }
}

int BackupDatabase(const QString& dbPath, const QString& archivePath, const QString& tempFolder,
                   bool overwrite, const QString& version, ArchiveReport* report) {
    if (QFileInfo::exists(archivePath) && !overwrite) return ArchiveExists;
    QString base = platform::normalizePath(dbPath);
    QString folder = base;
    if (CutExtension(base) != ArchiveOk || ParentFolderName(folder) != ArchiveOk)
        return ArchiveBadPath;
    if (!IsUsableNameFromFile(folder)) {
        if (report) report->detail = unusableFolder(folder).detail;
        return ArchiveBadPath;
    }
    if (!fitsEightBit(folder) || !fitsEightBit(fileName(dbPath))) {
        if (report)
            report->detail = QStringLiteral("Der Name der Datenbank oder ihres Ordners enthält "
                                            "Zeichen, die in einer Sicherungsdatei nicht "
                                            "gespeichert werden können.");
        return ArchiveBadPath;
    }
    if (!QFileInfo(dbPath).isFile()) {
        if (report) report->detail = missing(dbPath).detail;
        return ArchiveFailed;
    }

    TArchiveHeader header;
    header.version = version.left(TArchiveHeader::VersionCapacity);
    header.folder = folder.left(TArchiveHeader::FolderCapacity);

    // The companions in the spelling they have on disk. No ".px" is written
    // by this program: it is packed when an older copy left one, and
    // otherwise has no record at all, so that the restore creates no empty
    // file in its place.
    auto companion = [&](const char* extension) {
        return DatabaseCompanionPath(base.chopped(1), QLatin1String(extension)); // "name."
    };
    QStringList files{dbPath};
    if (const QString px = companion("px"); QFileInfo(px).isFile()) files << px;
    files << companion("lst") << companion("opt");

    try {
        engine::releaseTable(dbPath);
    } catch (const platform::Error& error) {
        // An edit that cannot be stored keeps the table open.
        if (report) report->detail = error.message();
        return ArchiveFailed;
    } catch (const std::exception&) {
        return ArchiveFailed;
    }
    return CompressFiles(files, archivePath, header, tempFolder, report);
}
