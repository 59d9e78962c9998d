#include "exchange/oldbackup.h"

#include "database/databasefiles.h"
#include "database/databaseoptions.h"
#include "database/paradoxconversion.h"
#include "database/paradoxtable.h"
#include "engine/query.h"
#include "exchange/backuparchive.h"
#include "exchange/backuprun.h"
#include "exchange/databasereplacement.h"
#include "exchange/restoredtable.h"
#include "exchange/restorerun.h"
#include "platform/codec.h"
#include "platform/filemoves.h"
#include "platform/messagebox.h"
#include "platform/mounts.h"
#include "platform/paths.h"
#include "platform/regularfile.h"
#include "platform/safefile.h"
#include "platform/temporaryfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QPair>
#include <QTemporaryFile>
#include <QVector>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

namespace {

constexpr int NameCapacity = 50;
constexpr int ShortNameLength = 8;
constexpr qint64 MaxNameFileSize = 1024;
const char* const NameFile = "fname.hah";
// The database files in the order they are moved.
const QStringList& databaseExtensions() {
    static const QStringList extensions{QStringLiteral(".ol"), QStringLiteral(".db"),
                                        QStringLiteral(".lst"), QStringLiteral(".opt"),
                                        QStringLiteral(".px")};
    return extensions;
}

bool isTable(const QString& extension) {
    return extension == QLatin1String(".ol") || extension == QLatin1String(".db");
}

// A reason not to restore; nothing in the language folder was changed.
class Refused : public platform::Error {
  public:
    using platform::Error::Error;
};

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

Refused damaged(const QString& archivePath) {
    return Refused(QStringLiteral("Die Datei \"%1\" ist beschädigt oder keine ZIP-Datei.")
                       .arg(shown(archivePath)));
}

Refused cannotWrite(const QString& path, const QString& cause = QString()) {
    QString text =
        QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden.").arg(shown(path));
    if (!cause.isEmpty()) text += QLatin1Char(' ') + cause;
    return Refused(text);
}

bool sameDevice(const QString& a, const QString& b) {
    struct stat first {};
    struct stat second {};
    return ::stat(QFile::encodeName(a).constData(), &first) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &second) == 0 && first.st_dev == second.st_dev;
}

// The zip file, read in place.
class ZipReader {
  public:
    explicit ZipReader(const QString& path) : path_(path) {
        if (!platform::entryExists(path))
            throw Refused(QStringLiteral("Die Datei \"%1\" fehlt.").arg(shown(path)));
        if (const QString odd = platform::notARegularFileText(path); !odd.isEmpty())
            throw Refused(odd);
        const int fd = platform::openRegularFile(path);
        if (fd < 0) throw damaged(path);
        int error = 0;
        zip_.reset(zip_fdopen(fd, ZIP_CHECKCONS, &error)); // owns the descriptor from here
        if (!zip_) {
            ::close(fd);
            throw damaged(path);
        }
        const zip_int64_t count = zip_get_num_entries(zip_.get(), 0);
        for (zip_int64_t i = 0; i < count; ++i) {
            const char* raw = zip_get_name(zip_.get(), zip_uint64_t(i), ZIP_FL_ENC_RAW);
            if (!raw) throw damaged(path);
            const QByteArray bytes(raw);
            if (!SafeZipEntryName(bytes))
                throw Refused(QStringLiteral("Die Datei \"%1\" enthält einen unzulässigen "
                                             "Dateinamen (\"%2\") und wird nicht "
                                             "zurückgesichert.")
                                  .arg(shown(path), platform::codec::fromBytes(bytes)));
            // Old zip programs wrote names in the DOS code page; libzip reads
            // that, the codec the Windows one.
            const char* guessed = zip_get_name(zip_.get(), zip_uint64_t(i), ZIP_FL_ENC_GUESS);
            names_.append({platform::codec::fromBytes(bytes),
                           guessed ? QString::fromUtf8(guessed) : QString()});
        }
    }
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    // The entry of that name in any case, -1 when there is none.
    qint64 find(const QString& name) const {
        for (int i = 0; i < names_.size(); ++i)
            for (const QString& spelling : names_[i])
                if (spelling.compare(name, Qt::CaseInsensitive) == 0) return i;
        return -1;
    }

    qint64 size(qint64 index) const {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(zip_.get(), zip_uint64_t(index), 0, &stat) != 0 ||
            !(stat.valid & ZIP_STAT_SIZE))
            throw damaged(path_);
        if (const QString problem = RestoredFileSizeProblem(names_[index].first(), stat.size);
            !problem.isEmpty())
            throw Refused(problem);
        return qint64(stat.size);
    }

    // Reads a whole entry that is at most `limit` bytes.
    QByteArray read(qint64 index, qint64 limit) const {
        const qint64 bytes = size(index);
        if (bytes > limit) throw damaged(path_);
        QByteArray data;
        readInto(index, bytes, [&](const char* chunk, qint64 n) { data.append(chunk, n); });
        return data;
    }

    // Unpacks an entry into a new file, whole or not at all.
    void extract(qint64 index, const QString& target) const {
        const qint64 bytes = size(index);
        platform::SafeFile out(target);
        if (!out.open()) throw cannotUnpack(index, out.errorText());
        try {
            readInto(index, bytes, [&](const char* chunk, qint64 n) {
                if (!out.writeAll(QByteArray::fromRawData(chunk, n)))
                    throw cannotUnpack(index, out.errorText());
            });
        } catch (...) {
            out.discard();
            throw;
        }
        if (!out.commit()) throw cannotUnpack(index, out.errorText());
    }

  private:
    template <typename Sink> void readInto(qint64 index, qint64 bytes, Sink sink) const {
        zip_file_t* file = zip_fopen_index(zip_.get(), zip_uint64_t(index), 0);
        if (!file) throw damaged(path_);
        QByteArray buffer(1 << 16, Qt::Uninitialized);
        qint64 total = 0;
        try {
            while (true) {
                // The checksum is tested when the end is read: a stream that
                // holds more or less than it says, or other bytes, is damage.
                const zip_int64_t n = zip_fread(file, buffer.data(), zip_uint64_t(buffer.size()));
                if (n < 0) throw damaged(path_);
                if (n == 0) break;
                total += n;
                if (total > bytes) throw damaged(path_);
                sink(buffer.constData(), qint64(n));
            }
        } catch (...) {
            zip_fclose(file);
            throw;
        }
        if (zip_fclose(file) != 0 || total != bytes) throw damaged(path_);
    }

    // The work file is the program's own: the message names the entry and
    // the backup the user chose.
    Refused cannotUnpack(qint64 index, const QString& cause) const {
        return Refused(QStringLiteral("Die Datei \"%1\" aus der Sicherung \"%2\" kann nicht "
                                      "entpackt werden. %3")
                           .arg(names_[index].first(), shown(path_), cause)
                           .trimmed());
    }

    QString path_;
    std::unique_ptr<zip_t, void (*)(zip_t*)> zip_{nullptr, zip_discard};
    QVector<QStringList> names_;
};

// A name read from the backup becomes part of a path only when it passes the
// check of a typed name; a language, which becomes a folder, never names one
// of the program's own folders either.
QString checkedName(const QString& name, const QString& what, bool language = false) {
    if (name.isEmpty()) throw Refused(QStringLiteral("%1 fehlt in der Sicherung.").arg(what));
    const QString problem =
        language ? CheckLanguageFromFile(name)
                 : (IsUsableNameFromFile(name) ? QString() : CheckDatabaseName(name));
    if (!problem.isEmpty())
        throw Refused(QStringLiteral("%1 in der Sicherung (\"%2\") kann nicht verwendet werden. %3")
                          .arg(what, name, problem));
    return name;
}

// One old backup, from the zip file into the language folder.
class OldRestore {
  public:
    OldRestore(const QString& archivePath, QString& name, OldBackupOutcome& outcome)
        : archivePath_(archivePath), name_(name), outcome_(outcome), temp_(BackupTempFolder) {}

    void run() {
        const ZipReader zip(archivePath_);
        const qint64 nameFile = zip.find(QLatin1String(NameFile));
        if (nameFile < 0)
            throw Refused(QStringLiteral("Die Datei \"%1\" enthält keine Datei \"fname.hah\" "
                                         "mit dem Namen der Datenbank und ist keine Sicherung "
                                         "dieses Programms.")
                              .arg(shown(archivePath_)));
        const QString databaseName = OldBackupDatabaseName(zip.read(nameFile, MaxNameFileSize));
        if (databaseName.isEmpty()) throw damaged(archivePath_);
        name_ = checkedName(databaseName, QStringLiteral("Der Name der Datenbank"));
        short_ = OldBackupShortName(databaseName);
        unpack(zip);

        TDatabaseOptionsRec options;
        options.load(work(QStringLiteral(".opt")));
        const QString language =
            checkedName(options.Language, QStringLiteral("Die Sprache der Datenbank"), true);
        const QString folder = platform::joinPath(VocabularyRoot(), language);
        if (QFileInfo(folder).isSymLink()) throw linkRefused(folder);
        target_ = folder + QLatin1Char('/') + databaseName;
        convertTables();
        // Held from before the old files are chosen until the end, so that
        // another copy of the program restoring the database meanwhile can
        // neither mix its files with these nor be asked about stale ones.
        if (!platform::ensureFolder(folder)) throw cannotWrite(folder);
        if (const QString refusal = LockForRestore(lock_, target_); !refusal.isEmpty())
            throw Refused(refusal);
        checkTargets();
        if (!mayReplace()) {
            outcome_.line = RestoreResultLine(name_, ArchiveExists);
            return;
        }
        checkSpace(folder);
        // Everything is brought beside the targets first: a copy from another
        // disk that fails then leaves the existing database as it was. Then
        // the files take their places together, or none does.
        StagedFiles staged;
        stageFiles(staged, folder);
        releaseTables();
        putInPlace(staged);
        outcome_.restored = true;
        outcome_.targetBase = target_;
    }

  private:
    QString work(const QString& extension) const { return temp_ + short_ + extension; }

    void unpack(const ZipReader& zip) {
        QMap<QString, qint64> entries;
        qint64 total = 0;
        for (const QString& extension : databaseExtensions()) {
            const qint64 entry = zip.find(short_ + extension);
            if (entry < 0) continue;
            entries.insert(extension, entry);
            total += zip.size(entry);
        }
        const bool ol = entries.contains(QLatin1String(".ol"));
        const bool db = entries.contains(QLatin1String(".db"));
        if ((!ol && !db) || !entries.contains(QLatin1String(".opt")))
            throw Refused(QStringLiteral("Die Datei \"%1\" enthält die Dateien der Datenbank "
                                         "\"%2\" (unter dem Namen \"%3\") nicht.")
                              .arg(shown(archivePath_), name_, short_));
        // One table per database.
        if (ol && db)
            throw Refused(QStringLiteral("Die Datei \"%1\" enthält zwei Tabellen der Datenbank "
                                         "\"%2\" und wird nicht zurückgesichert.")
                              .arg(shown(archivePath_), name_));
        // All of them must fit before the first is written.
        if (total > platform::freeSpace(temp_))
            throw Refused(QStringLiteral("Für die Dateien der Sicherung ist im temporären Ordner "
                                         "\"%1\" nicht genug Platz.")
                              .arg(shown(temp_)));
        for (const QString& extension : databaseExtensions()) {
            if (!entries.contains(extension)) continue;
            zip.extract(entries.value(extension), work(extension));
            present_ << extension;
        }
    }

    // Tables of the older engine become tables of this one before anything is
    // replaced, so a table that cannot be read changes nothing.
    void convertTables() {
        for (const QString& extension : present_) {
            if (!isTable(extension)) continue;
            const QString table = work(extension);
            if (IsParadoxTableFile(table)) {
                const QString converted = table + QStringLiteral(".neu");
                WriteConvertedTable(table, converted, name_ + extension);
                converted_.insert(extension, converted);
            } else if (const QString problem = RestoredTableProblem(table, name_ + extension);
                       !problem.isEmpty()) {
                throw Refused(problem);
            }
        }
    }

    static Refused linkRefused(const QString& path) {
        return Refused(SymbolicLinkRefusalText(path));
    }

    // The files the database has now, found without regard to case but never
    // another database's.
    void checkTargets() {
        old_ = ExistingDatabaseFiles(target_);
        for (const QString& extension : databaseExtensions())
            if (QFileInfo(targetFor(extension)).isSymLink())
                throw linkRefused(targetFor(extension));
        for (const QString& file : old_)
            if (QFileInfo(file).isSymLink()) throw linkRefused(file);
    }

    // A file replaces the database's file of its extension in that file's
    // spelling.
    QString targetFor(const QString& extension) const {
        return DatabaseFileFor(old_, target_, extension);
    }

    bool mayReplace() const {
        bool table = false;
        for (const QString& file : old_)
            table = table || file.endsWith(QLatin1String(".ol"), Qt::CaseInsensitive) ||
                    file.endsWith(QLatin1String(".db"), Qt::CaseInsensitive);
        if (!table) return true;
        return platform::showMessage(QStringLiteral("Soll vorhandene Datenbank überschrieben "
                                                    "werden?"),
                                     QStringLiteral("Datei existiert schon"),
                                     platform::Icon::Question,
                                     platform::Buttons::YesNo) == platform::Answer::Yes;
    }

    // Moving within one disk needs no room; from another disk the files must fit.
    void checkSpace(const QString& folder) const {
        if (sameDevice(temp_, folder)) return;
        qint64 needed = 0;
        for (const QString& extension : present_) {
            needed += QFileInfo(work(extension)).size();
            if (converted_.contains(extension)) needed += QFileInfo(converted_[extension]).size();
        }
        if (needed > platform::freeSpace(folder))
            throw Refused(QStringLiteral("Im Ordner \"%1\" ist auf dem Datenträger nicht genug "
                                         "Platz für die Datenbank.")
                              .arg(shown(folder)));
    }

    void releaseTables() const {
        for (const QString& extension : databaseExtensions())
            if (isTable(extension)) engine::releaseTable(targetFor(extension));
    }

    // Files moved in beside their targets under hidden names; those not put
    // in place are removed again.
    struct StagedFiles {
        struct File {
            QString staged;
            QString target;
            bool kept; // a kept original: its name must be free
        };
        QList<File> files;
        StagedFiles() = default;
        StagedFiles(const StagedFiles&) = delete;
        StagedFiles& operator=(const StagedFiles&) = delete;
        ~StagedFiles() {
            for (const File& file : files)
                if (!file.staged.isEmpty()) QFile::remove(file.staged);
        }
    };

    void stage(StagedFiles& staged, const QString& folder, const QString& from, const QString& to,
               bool kept = false) const {
        QTemporaryFile reserved(platform::restoreTemporaryTemplate(folder));
        if (!reserved.open()) throw cannotWrite(to);
        reserved.setAutoRemove(false);
        staged.files.append({reserved.fileName(), to, kept});
        if (!platform::moveReplacing(from, reserved.fileName())) throw cannotWrite(to);
        platform::takePermissionsOf(reserved.fileName(), to);
    }

    void stageFiles(StagedFiles& staged, const QString& folder) {
        QString keptIndex;
        for (const QString& extension : databaseExtensions()) {
            if (!present_.contains(extension)) continue;
            const QString target = targetFor(extension);
            if (!converted_.contains(extension)) {
                // The Paradox index went with the original table.
                const bool keptWithTable =
                    extension == QLatin1String(".px") && !keptIndex.isEmpty();
                stage(staged, folder, work(extension), keptWithTable ? keptIndex : target,
                      keptWithTable);
                continue;
            }
            const bool withIndex = keptIndex.isEmpty() && present_.contains(QLatin1String(".px"));
            const KeptParadoxFiles kept =
                KeptParadoxNames(target, withIndex ? targetFor(QStringLiteral(".px")) : QString());
            stage(staged, folder, converted_.value(extension), target);
            stage(staged, folder, work(extension), kept.table, true);
            if (withIndex) keptIndex = kept.index;
            notices_ << ParadoxConversionNotice(QFileInfo(target).fileName(), kept);
        }
    }

    // The old files that nothing replaces (the table of the other
    // extension, an old ".px") go with them.
    void putInPlace(StagedFiles& staged) {
        DatabaseReplacement replacement;
        QStringList targets;
        for (const StagedFiles::File& file : staged.files) {
            if (file.kept)
                replacement.placeNew(file.staged, file.target);
            else
                replacement.replace(file.staged, file.target);
            targets << file.target;
        }
        for (const QString& file : old_)
            if (!targets.contains(file)) replacement.remove(file);
        if (const QString error = replacement.commit(); !error.isEmpty()) throw Refused(error);
        for (StagedFiles::File& file : staged.files)
            file.staged.clear();
        outcome_.files = replacement.placed();
    }

  public:
    QString notice() const { return notices_.join(QLatin1Char(' ')); }

  private:
    QString archivePath_;
    QString& name_;
    OldBackupOutcome& outcome_;
    QString temp_;
    QString short_;
    QString target_;
    QStringList old_;
    QStringList present_;
    QMap<QString, QString> converted_;
    QStringList notices_;
    platform::RestoreLock lock_;
};

} // namespace

QString OldBackupDatabaseName(const QByteArray& record) {
    if (record.isEmpty()) return QString();
    const int length = quint8(record[0]);
    if (length > NameCapacity || record.size() < 1 + length) return QString();
    return platform::codec::fromBytes(record.mid(1, length));
}

QString OldBackupShortName(const QString& databaseName) {
    QString name = databaseName.left(ShortNameLength);
    if (name.endsWith(QLatin1Char(' '))) name[name.size() - 1] = QLatin1Char('_');
    return name;
}

bool SafeZipEntryName(const QByteArray& rawName) {
    if (rawName.isEmpty() || rawName == "." || rawName == "..") return false;
    for (const char c : rawName)
        if (c == '/' || c == '\\' || c == ':' || (quint8(c) < 0x20) || c == 0x7f) return false;
    return true;
}

OldBackupOutcome RestoreOldBackup(const QString& archivePath, const QString& displayName) {
    OldBackupOutcome outcome;
    QString name = displayName;
    CreateBackupTempFolder();
    ClearBackupTempFolder();
    try {
        if (BackupTempFolder.isEmpty())
            throw Refused(QStringLiteral("Der temporäre Ordner kann nicht angelegt werden."));
        if (!platform::askFileSystem(archivePath).answered())
            throw Refused(platform::noAnswerMessage(archivePath, QStringLiteral("Die Datei")));
        OldRestore restore(archivePath, name, outcome);
        restore.run();
        if (outcome.restored)
            outcome.line = RestoreResultLine(name, ArchiveOk, QString(), restore.notice());
    } catch (const platform::Error& error) {
        outcome.line = RestoreResultLine(name, ArchiveFailed, error.message());
    }
    ClearBackupTempFolder();
    return outcome;
}
