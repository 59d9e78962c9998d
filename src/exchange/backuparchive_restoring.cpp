// Restoring from an archive. The archive is read twice: first every record is
// checked without writing anything (names, sizes, streams, the count and the
// end of the file), then the records are unpacked beside their targets under
// hidden names, the table is checked whole, and only then do the files take
// their targets' places, all of them or none.
#include "exchange/backuparchive.h"

#include "database/databasefiles.h"
#include "database/paradoxconversion.h"
#include "database/paradoxtable.h"
#include "engine/query.h"
#include "exchange/backuparchiveprivate.h"
#include "exchange/databasereplacement.h"
#include "exchange/restoredtable.h"
#include "platform/codec.h"
#include "platform/filemoves.h"
#include "platform/paths.h"
#include "platform/regularfile.h"
#include "platform/safefile.h"
#include "platform/temporaryfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <functional>
#include <utility>
#include <vector>

using namespace archive;

namespace {

bool isTableName(const QString& name) {
    return name.endsWith(QLatin1String(".ol"), Qt::CaseInsensitive) ||
           name.endsWith(QLatin1String(".db"), Qt::CaseInsensitive);
}

bool isPrimaryIndexName(const QString& name) {
    return name.endsWith(QLatin1String(".px"), Qt::CaseInsensitive);
}

// The part of a file name before its last dot, and the part after it.
QString baseOf(const QString& name) {
    return name.left(name.lastIndexOf(QLatin1Char('.')));
}
QString extensionOf(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1);
}

Failure notOneDatabase(const QString& archivePath) {
    return Failure(ArchiveFailed,
                   QStringLiteral("Die Datei \"%1\" enthält nicht genau eine Datenbank (eine "
                                  "Tabelle und höchstens je eine Datei \".px\", \".lst\" und "
                                  "\".opt\" desselben Namens) und wird nicht zurückgesichert.")
                       .arg(shown(archivePath)));
}

// The files of one database: one table and at most one of each companion,
// all of one name. Names are compared without regard to case, as the
// program finds a database's files.
class DatabaseNames {
  public:
    bool accept(const QString& name) {
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        if (dot <= 0) return false;
        const QString base = name.left(dot);
        QString extension = name.mid(dot + 1).toLower();
        static const QStringList allowed{QStringLiteral("ol"), QStringLiteral("db"),
                                         QStringLiteral("px"), QStringLiteral("lst"),
                                         QStringLiteral("opt")};
        if (!allowed.contains(extension)) return false;
        if (base_.isNull()) base_ = base;
        if (base.compare(base_, Qt::CaseInsensitive) != 0) return false;
        if (extension == QLatin1String("db")) extension = QStringLiteral("ol"); // one table
        if (seen_.contains(extension)) return false;
        seen_ << extension;
        return true;
    }
    bool complete() const { return seen_.contains(QLatin1String("ol")); }

  private:
    QString base_;
    QStringList seen_;
};

Failure linked(const QString& path) {
    return Failure(ArchiveFailed, SymbolicLinkRefusalText(path));
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

// Takes the bytes of a record that is only checked.
class Discard : public QIODevice {
  public:
    Discard() { open(QIODevice::WriteOnly); }

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 length) override { return length; }
};

struct Member {
    QString name;
    quint32 size = 0;
    QString target;
};

// Reads the archive from its start: the header (handed to `header`, which
// may refuse it), the count and every record, whose name and size go to
// `record` with the reader standing at the record's stream, which `record`
// must read through its end. Bytes after the last record are damage: the
// count then does not match the records.
void walkArchive(
    const QString& archivePath, const std::function<void(const TArchiveHeader&)>& header,
    const std::function<void(quint32, const QString&, quint32, ArchiveReader&)>& record) {
    QFile file(archivePath);
    if (!platform::entryExists(archivePath)) throw missing(archivePath);
    if (const QString odd = platform::notARegularFileText(archivePath); !odd.isEmpty())
        throw Failure(ArchiveFailed, odd);
    if (!platform::openRegularFile(file, archivePath)) throw unreadable(archivePath);
    if (file.size() < CountOffset + 4) throw damaged(archivePath);
    ArchiveReader reader(file, archivePath);

    TArchiveHeader read;
    if (!read.fromBytes(reader.read(TArchiveHeader::Size))) throw damaged(archivePath);
    header(read);
    const quint32 count = reader.readInt32();
    if (count == 0 || count > MaxRecords) throw damaged(archivePath);
    for (quint32 i = 0; i < count; ++i) {
        const quint32 length = reader.readInt32();
        if (length == 0 || length > MaxNameLength) throw damaged(archivePath);
        const QString name = platform::codec::fromBytes(reader.read(length));
        const quint32 size = reader.readInt32();
        record(i, name, size, reader);
    }
    if (reader.fill()) throw damaged(archivePath);
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

// A table of this engine must be sound and a vocabulary table before it
// replaces anything; a Paradox table is checked whole by its conversion.
void checkStagedTable(const std::vector<Staged>& staged) {
    for (const Staged& s : staged) {
        if (!isTableName(s.name) || LooksLikeParadoxTable(s.head)) continue;
        if (const QString problem = RestoredTableProblem(s.path, s.name); !problem.isEmpty())
            throw Failure(ArchiveFailed, problem);
    }
}

void putInPlace(std::vector<Staged>& staged, const QStringList& oldFiles, ArchiveReport* report) {
    DatabaseReplacement replacement;
    for (const Staged& s : staged) {
        platform::takePermissionsOf(s.path, s.target);
        if (s.keptOriginal)
            replacement.placeNew(s.path, s.target);
        else
            replacement.replace(s.path, s.target);
    }
    for (const QString& old : oldFiles)
        replacement.remove(old);
    for (const Staged& s : staged)
        if (isTableName(s.name) && !s.keptOriginal) engine::releaseTable(s.target);
    for (const QString& old : oldFiles)
        if (isTableName(old)) engine::releaseTable(old);
    if (const QString error = replacement.commit(); !error.isEmpty())
        throw Failure(ArchiveWriteFailed, error);
    for (Staged& s : staged)
        s.path.clear();
    if (report) report->files = replacement.placed();
}

// Where each record goes. A database's companions take the name of its
// table and replace the files the database has now, found without regard to
// case but never another database's; those that nothing replaces go.
QStringList chooseTargets(QList<Member>& members, const QString& folder, bool databaseOnly) {
    if (!databaseOnly) {
        for (Member& m : members)
            m.target = folder + QLatin1Char('/') + m.name;
        return {};
    }
    QString base;
    for (const Member& m : members)
        if (isTableName(m.name)) base = folder + QLatin1Char('/') + baseOf(m.name);
    QStringList old = ExistingDatabaseFiles(base);
    for (Member& m : members) {
        m.target = DatabaseFileFor(old, base, QLatin1Char('.') + extensionOf(m.name));
        old.removeOne(m.target);
    }
    return old;
}

// With `databaseOnly`, the archive must hold exactly one database of this
// program: one table (of this engine, or a Paradox table, which is converted)
// and its companions.
void decompress(const QString& archivePath, const QString& destFolder, bool overwrite,
                TArchiveHeader& header, bool databaseOnly, ArchiveReport* report) {
    // First reading: everything is checked, nothing written.
    QList<Member> members;
    DatabaseNames database;
    qint64 total = 0;
    QString folder;
    walkArchive(
        archivePath,
        [&](const TArchiveHeader& read) {
            if (!IsUsableLanguageFromFile(read.folder)) throw unusableFolder(read.folder);
            header = read;
            folder = platform::joinPath(destFolder, read.folder);
        },
        [&](quint32, const QString& name, quint32 size, ArchiveReader& reader) {
            if (!safeName(name)) throw damaged(archivePath);
            for (const Member& m : members)
                if (m.name.compare(name, Qt::CaseInsensitive) == 0) {
                    if (databaseOnly) throw notOneDatabase(archivePath);
                    throw damaged(archivePath);
                }
            if (databaseOnly && !database.accept(name)) throw notOneDatabase(archivePath);
            if (const QString problem = RestoredFileSizeProblem(name, size); !problem.isEmpty())
                throw Failure(ArchiveFailed, problem);
            // The files together must fit: checked before a stream is read.
            total += size;
            if (total > platform::freeSpace(folder))
                throw Failure(ArchiveWriteFailed,
                              QStringLiteral("Für die Dateien der Sicherung ist auf dem "
                                             "Datenträger nicht genug Platz."));
            Discard discard;
            inflateRecord(reader, size, discard);
            members.append({name, size, QString()});
        });
    if (databaseOnly && !database.complete()) throw notOneDatabase(archivePath);
    QString databaseName;
    if (databaseOnly)
        for (const Member& m : members)
            if (isTableName(m.name)) databaseName = baseOf(m.name);
    if (databaseOnly && report) report->database = databaseName;

    if (QFileInfo(folder).isSymLink()) throw linked(folder);
    const bool folderExisted = QFileInfo(folder).isDir();
    // Taken before the old files are chosen and held until the end, so that
    // another copy of the program restoring the database meanwhile can
    // neither mix its files with these nor be asked about stale ones.
    platform::RestoreLock lock;
    std::vector<Staged> staged;
    try {
        if (!platform::ensureFolder(folder))
            throw Failure(
                ArchiveWriteFailed,
                QStringLiteral("Der Ordner \"%1\" kann nicht angelegt werden.").arg(shown(folder)));
        if (databaseOnly)
            if (const QString refusal =
                    LockForRestore(lock, folder + QLatin1Char('/') + databaseName);
                !refusal.isEmpty())
                throw Failure(ArchiveFailed, refusal);
        const QStringList oldFiles = chooseTargets(members, folder, databaseOnly);
        bool exists = !oldFiles.isEmpty();
        for (const Member& m : members)
            exists = exists || platform::entryExists(m.target);
        if (exists && !overwrite) throw EFileExists();
        for (const QString& path : oldFiles)
            if (QFileInfo(path).isSymLink()) throw linked(path);
        for (const Member& m : members)
            if (QFileInfo(m.target).isSymLink()) throw linked(m.target);

        // Second reading: the same records, now unpacked.
        walkArchive(
            archivePath,
            [&](const TArchiveHeader& read) {
                if (read.folder != header.folder) throw damaged(archivePath);
            },
            [&](quint32 i, const QString& name, quint32 size, ArchiveReader& reader) {
                // The archive must not have changed since the first reading.
                if (i >= quint32(members.size())) throw damaged(archivePath);
                const Member& m = members.at(int(i));
                if (name != m.name || size != m.size) throw damaged(archivePath);
                staged.push_back(stageMember(reader, name, m.target, size, folder));
            });
        if (databaseOnly) {
            checkStagedTable(staged);
            convertParadoxTable(staged, folder, report);
        }
        putInPlace(staged, oldFiles, report);
    } catch (...) {
        staged.clear(); // removes what was not put in place
        lock.release();
        if (!folderExisted) QDir().rmdir(folder);
        throw;
    }
}

} // namespace

int DecompressFiles(const QString& archivePath, const QString& destFolder, bool overwrite,
                    TArchiveHeader& header, const QString& /*tempFolder*/, ArchiveReport* report) {
    try {
        decompress(archivePath, destFolder, overwrite, header, false, report);
        return ArchiveOk;
    } catch (...) {
        return codeOf(std::current_exception(), report);
    }
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
