// Restoring from an archive: every record unpacked beside its target under a
// hidden name, checked, and only then put in place.
#include "exchange/backuparchive.h"

#include "database/databasefiles.h"
#include "database/paradoxconversion.h"
#include "database/paradoxtable.h"
#include "engine/query.h"
#include "exchange/backuparchiveprivate.h"
#include "platform/codec.h"
#include "platform/filemoves.h"
#include "platform/paths.h"
#include "platform/safefile.h"
#include "platform/temporaryfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <utility>
#include <vector>

using namespace archive;

namespace {

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
