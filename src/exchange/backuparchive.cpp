#include "exchange/backuparchive.h"

#include "database/databasefiles.h"
#include "database/paradoxconversion.h"
#include "database/paradoxtable.h"
#include "engine/query.h"
#include "platform/codec.h"
#include "platform/error.h"
#include "platform/filemoves.h"
#include "platform/paths.h"
#include "platform/safefile.h"
#include "platform/temporaryfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <memory>
#include <new>
#include <utility>
#include <vector>
#include <zlib.h>

namespace {

constexpr qint64 ChunkSize = qint64(1) << 20;
// A database backup holds four files; anything far beyond is damage.
constexpr quint32 MaxRecords = 64;
constexpr quint32 MaxNameLength = 255;
constexpr int CountOffset = TArchiveHeader::Size;

// A failure with its result code; `detail` is shown to the user when set.
class Failure : public std::exception {
  public:
    explicit Failure(int code, QString detail = QString())
        : code(code), detail(std::move(detail)) {}
    const char* what() const noexcept override { return "archive failure"; }
    int code;
    QString detail;
};

// A target that exists while overwriting is not allowed.
class EFileExists : public platform::Error {
  public:
    EFileExists() : platform::Error(QStringLiteral("Datei schon vorhanden")) {}
};

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

// The language folder an archive names must pass the check of a typed
// language before a path is built from it.
Failure unusableFolder(const QString& folder) {
    return Failure(ArchiveFailed,
                   QStringLiteral("Der Sprachordner \"%1\" der Sicherung ist als Ordnername "
                                  "nicht zulässig (die Zeichen . / \\ : * ? \" < > | und "
                                  "Steuerzeichen sind nicht erlaubt).")
                       .arg(folder));
}

// Text that survives the trip through 8-bit bytes unchanged.
bool fitsEightBit(const QString& text) {
    return platform::codec::fromBytes(platform::codec::toBytes(text)) == text;
}

// A folder or file name read from an archive that may be used below the
// target folder: not empty, not "." or "..", no separators or control bytes.
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

void putString(QByteArray& image, int offset, int capacity, const QString& text) {
    const QByteArray bytes = platform::codec::toBytes(text).left(capacity);
    image[offset] = char(bytes.size());
    for (int i = 0; i < bytes.size(); ++i)
        image[offset + 1 + i] = bytes.at(i);
}

// XORs bytes with the key and the archive size, position by position.
class Scrambler {
  public:
    Scrambler(const QByteArray& key, qint64 fileSize) : mask_(key) {
        const char sizeByte = char(fileSize & 0xff);
        for (char& m : mask_)
            m ^= sizeByte;
    }
    void apply(char* data, qint64 length) {
        const char* mask = mask_.constData();
        const int keyLength = int(mask_.size());
        for (qint64 i = 0; i < length; ++i) {
            data[i] ^= mask[index_];
            if (++index_ == keyLength) index_ = 0;
        }
    }

  private:
    QByteArray mask_;
    int index_ = 0;
};

// A failed write, with its cause when the device knows it.
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

// Copies `in` to `out` scrambled; `in` is read from its start.
void scrambleStream(QIODevice& in, qint64 size, QIODevice& out,
                    const QByteArray& key = ArchiveKey()) {
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

// Reads an archive and unscrambles it on the way.
class ArchiveReader {
  public:
    ArchiveReader(QFile& file, const QString& path)
        : file_(file), path_(path), scrambler_(ArchiveKey(), file.size()),
          buffer_(int(ChunkSize), '\0') {}

    // Makes unread bytes available; false at the end of the file.
    bool fill() {
        if (pos_ < length_) return true;
        const qint64 n = file_.read(buffer_.data(), ChunkSize);
        if (n < 0) throw unreadable(path_);
        scrambler_.apply(buffer_.data(), n);
        length_ = int(n);
        pos_ = 0;
        return n > 0;
    }
    char* data() { return buffer_.data() + pos_; }
    int available() const { return length_ - pos_; }
    void consume(int n) { pos_ += n; }

    QByteArray read(qint64 n) {
        QByteArray bytes;
        while (bytes.size() < n) {
            if (!fill()) throw damaged(path_);
            const int take = int(qMin<qint64>(available(), n - bytes.size()));
            bytes.append(data(), take);
            consume(take);
        }
        return bytes;
    }
    quint32 readInt32() { return int32At(read(4)); }
    const QString& path() const { return path_; }

  private:
    QFile& file_;
    QString path_;
    Scrambler scrambler_;
    QByteArray buffer_;
    int length_ = 0;
    int pos_ = 0;
};

// Inflates the zlib stream at the reader's position into `out`, which must
// receive exactly `size` bytes; the reader continues right after the stream.
// Returns the first bytes written, for a look at the file's format.
constexpr int HeadSize = 128;
QByteArray inflateRecord(ArchiveReader& reader, quint32 size, QIODevice& out) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK) throw Failure(ArchiveFailed);
    const std::unique_ptr<z_stream, int (*)(z_stream*)> guard(&z, inflateEnd);
    QByteArray output(int(ChunkSize), Qt::Uninitialized);
    QByteArray head;
    qint64 written = 0;
    while (true) {
        if (!reader.fill()) throw damaged(reader.path());
        z.next_in = reinterpret_cast<Bytef*>(reader.data());
        z.avail_in = uInt(reader.available());
        z.next_out = reinterpret_cast<Bytef*>(output.data());
        z.avail_out = uInt(output.size());
        const int rc = inflate(&z, Z_NO_FLUSH);
        reader.consume(reader.available() - int(z.avail_in));
        const qint64 produced = output.size() - qint64(z.avail_out);
        if (rc == Z_MEM_ERROR) throw std::bad_alloc();
        if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) throw damaged(reader.path());
        written += produced;
        if (written > size) throw damaged(reader.path());
        if (head.size() < HeadSize)
            head.append(output.constData(), int(qMin<qint64>(produced, HeadSize - head.size())));
        writeAll(out, output.constData(), produced);
        if (rc == Z_STREAM_END) break;
    }
    if (written != size) throw damaged(reader.path());
    return head;
}

bool isTableName(const QString& name) {
    return name.endsWith(QLatin1String(".ol"), Qt::CaseInsensitive) ||
           name.endsWith(QLatin1String(".db"), Qt::CaseInsensitive);
}

// The files of one database: a table and its companions, all of one name.
class DatabaseNames {
  public:
    bool accept(const QString& name) {
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        if (dot <= 0) return false;
        const QString base = name.left(dot);
        const QString extension = name.mid(dot + 1).toLower();
        static const QStringList allowed{QStringLiteral("ol"), QStringLiteral("db"),
                                         QStringLiteral("px"), QStringLiteral("lst"),
                                         QStringLiteral("opt")};
        if (!allowed.contains(extension)) return false;
        if (base_.isNull()) base_ = base;
        if (base.compare(base_, Qt::CaseInsensitive) != 0) return false;
        if (isTableName(name) && ++tables_ > 1) return false;
        return true;
    }
    bool complete() const { return tables_ == 1; }

  private:
    QString base_;
    int tables_ = 0;
};

bool isEngineTable(const QByteArray& head) {
    return head.isEmpty() || head.startsWith(QByteArray("SQLite format 3\0", 16));
}

bool isPrimaryIndexName(const QString& name) {
    return name.endsWith(QLatin1String(".px"), Qt::CaseInsensitive);
}

Failure linked(const QString& path) {
    return Failure(ArchiveFailed, QStringLiteral("An der Stelle von \"%1\" steht eine symbolische "
                                                 "Verknüpfung; darüber wird nicht "
                                                 "zurückgesichert.")
                                      .arg(shown(path)));
}

// A hidden name of its own beside the targets, for a file to be put in place
// later.
QString reserveStagingName(const QString& folder) {
    QTemporaryFile reserved(platform::restoreTemporaryTemplate(folder));
    if (!reserved.open()) throw writeFailure(reserved);
    reserved.setAutoRemove(false);
    return reserved.fileName();
}

// A file of the archive, unpacked beside its target under a hidden name and
// put in place once every record has been read and checked. A staged file
// that was not put in place is removed.
struct Staged {
    Staged(QString name, QString target, QString path)
        : name(std::move(name)), target(std::move(target)), path(std::move(path)) {}
    Staged(Staged&& other) noexcept
        : name(std::move(other.name)), target(std::move(other.target)),
          path(std::exchange(other.path, QString())), head(std::move(other.head)),
          keptOriginal(other.keptOriginal) {}
    Staged& operator=(Staged&&) = delete;
    ~Staged() {
        if (!path.isEmpty()) QFile::remove(path);
    }

    QString name;
    QString target;
    QString path;
    QByteArray head;
    bool keptOriginal = false; // goes to a kept name, which is never replaced
};

// Unpacks the member at the reader's position into a staged file, written
// whole or not at all.
Staged stageMember(ArchiveReader& reader, const QString& name, const QString& target, quint32 size,
                   const QString& folder) {
    Staged member(name, target, reserveStagingName(folder));
    platform::SafeFile out(member.path);
    if (!out.open()) throw writeFailure(out);
    member.head = inflateRecord(reader, size, out);
    if (!out.commit()) throw writeFailure(out);
    return member;
}

// Before a member is written: no vocabulary file is that big, and it must fit.
void checkMemberSize(const QString& name, quint32 size, const QString& folder) {
    if (qint64(size) > MaxTableFileSize)
        throw Failure(ArchiveFailed,
                      QStringLiteral("Die Datei \"%1\" in der Sicherung ist zu groß für eine "
                                     "Vokabeldatenbank.")
                          .arg(name));
    if (qint64(size) > platform::freeSpace(folder))
        throw Failure(ArchiveWriteFailed,
                      QStringLiteral("Für die Datei \"%1\" ist auf dem Datenträger nicht genug "
                                     "Platz.")
                          .arg(name));
}

// A Paradox table among the unpacked files becomes a table of this engine
// before anything is put in place; the original and its ".px" are kept
// under names that no dialog takes for a table.
void convertParadoxTable(std::vector<Staged>& staged, const QString& folder,
                         ArchiveReport* report) {
    Staged* table = nullptr;
    Staged* index = nullptr;
    for (Staged& s : staged) {
        if (isTableName(s.name) && LooksLikeParadoxTable(s.head)) table = &s;
        if (isPrimaryIndexName(s.name)) index = &s;
    }
    if (!table) return;
    Staged original(table->name, QString(), reserveStagingName(folder));
    WriteConvertedTable(table->path, original.path, table->name);
    // The converted table takes the table's place, the original a kept name.
    std::swap(original.path, table->path);
    const KeptParadoxFiles kept =
        KeptParadoxNames(table->target, index ? index->target : QString());
    original.target = kept.table;
    original.keptOriginal = true;
    if (index) {
        index->target = kept.index;
        index->keptOriginal = true;
    }
    if (report) report->notice = ParadoxConversionNotice(table->name, kept);
    staged.push_back(std::move(original)); // `table` and `index` point nowhere from here
}

void putInPlace(std::vector<Staged>& staged, ArchiveReport* report) {
    for (Staged& s : staged) {
        if (isTableName(s.name) && !s.keptOriginal) engine::releaseTable(s.target);
        platform::takePermissionsOf(s.path, s.target);
        const bool moved = s.keptOriginal ? platform::renameNew(s.path, s.target)
                                          : platform::renameReplacing(s.path, s.target);
        if (!moved) throw Failure(ArchiveWriteFailed);
        s.path.clear();
        if (report) report->files << s.target;
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
        QFile in(files.at(i));
        if (!in.exists()) throw missing(files.at(i));
        if (!in.open(QIODevice::ReadOnly)) throw unreadable(files.at(i));
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

// With `databaseOnly`, the archive must hold exactly one database of this
// program: one table (of this engine, or a Paradox table, which is converted)
// and its companions.
void decompress(const QString& archivePath, const QString& destFolder, bool overwrite,
                TArchiveHeader& header, bool databaseOnly, ArchiveReport* report) {
    QFile file(archivePath);
    if (!file.exists()) throw missing(archivePath);
    if (!file.open(QIODevice::ReadOnly)) throw unreadable(archivePath);
    if (file.size() < CountOffset + 4) throw damaged(archivePath);
    ArchiveReader reader(file, archivePath);

    TArchiveHeader read;
    if (!read.fromBytes(reader.read(TArchiveHeader::Size))) throw damaged(archivePath);
    if (!IsUsableNameFromFile(read.folder)) throw unusableFolder(read.folder);
    header = read;
    const quint32 count = reader.readInt32();
    if (count == 0 || count > MaxRecords) throw damaged(archivePath);

    const QString folder = platform::joinPath(destFolder, read.folder);
    if (QFileInfo(folder).isSymLink()) throw linked(folder);
    const bool folderExisted = QFileInfo(folder).isDir();
    std::vector<Staged> staged;
    try {
        QStringList names;
        DatabaseNames database;
        for (quint32 i = 0; i < count; ++i) {
            const quint32 length = reader.readInt32();
            if (length == 0 || length > MaxNameLength) throw damaged(archivePath);
            const QString name = platform::codec::fromBytes(reader.read(length));
            if (!safeName(name) || names.contains(name)) throw damaged(archivePath);
            if (databaseOnly && !database.accept(name)) throw damaged(archivePath);
            names << name;
            const quint32 size = reader.readInt32();
            const QString target = folder + QLatin1Char('/') + name;
            const QFileInfo info(target);
            if ((info.exists() || info.isSymLink()) && !overwrite) throw EFileExists();
            if (info.isSymLink()) throw linked(target);
            if (!platform::ensureFolder(folder)) throw Failure(ArchiveWriteFailed);
            checkMemberSize(name, size, folder);
            Staged member = stageMember(reader, name, target, size, folder);
            if (databaseOnly && isTableName(name) && !isEngineTable(member.head) &&
                !LooksLikeParadoxTable(member.head))
                throw Failure(ArchiveFailed,
                              QStringLiteral("Die Sicherung enthält eine Tabelle in einem "
                                             "Format, das hier nicht gelesen werden kann."));
            staged.push_back(std::move(member));
        }
        if (databaseOnly && !database.complete()) throw damaged(archivePath);
        if (databaseOnly) convertParadoxTable(staged, folder, report);
        // Every record is complete: now the targets are replaced.
        putInPlace(staged, report);
    } catch (...) {
        staged.clear(); // removes what was not put in place
        if (!folderExisted) QDir().rmdir(folder);
        throw;
    }
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
        QFile in(filePath);
        if (!in.open(QIODevice::ReadOnly)) return ArchiveWriteFailed;
        platform::SafeFile out(copyFirst ? MakeTargetName(folder, filePath) : filePath);
        if (!out.open()) return ArchiveExists;
        scrambleStream(in, in.size(), out, key);
        in.close();
        return out.commit() ? ArchiveOk : ArchiveWriteFailed;
    } catch (...) {
        return codeOf(std::current_exception(), nullptr);
    }
}

int CompressFiles(const QStringList& files, const QString& archivePath,
                  const TArchiveHeader& header, const QString& tempFolder, ArchiveReport* report) {
    try {
        compress(files, archivePath, header, tempFolder, report);
        return ArchiveOk;
    } catch (...) {
        return codeOf(std::current_exception(), report);
    }
}

int DecompressFiles(const QString& archivePath, const QString& destFolder, bool overwrite,
                    TArchiveHeader& header, const QString& /*tempFolder*/, ArchiveReport* report) {
    try {
        decompress(archivePath, destFolder, overwrite, header, false, report);
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

int RestoreDatabase(const QString& archivePath, const QString& destFolder,
                    const QString& /*tempFolder*/, bool overwrite, ArchiveReport* report) {
    TArchiveHeader header;
    try {
        decompress(archivePath, destFolder, overwrite, header, true, report);
        return ArchiveOk;
    } catch (...) {
        return codeOf(std::current_exception(), report);
    }
}
