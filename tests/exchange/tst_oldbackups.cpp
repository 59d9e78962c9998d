// Backups of the older program: zipped backups (".olz", ".zip") and archives
// whose table is a Paradox table, restored end to end; and what a restore
// refuses before it writes: links, oversized files, names with folders.
#include "tst_backupfixture.h"

#include "database/currentdatabase.h"
#include "database/generaloptions.h"
#include "database/lessons.h"
#include "exchange/backuprun.h"
#include "exchange/databasereplacement.h"
#include "exchange/oldbackup.h"
#include "exchange/restorerun.h"
#include "exchange/restorewindow.h"
#include "platform/filemoves.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "platform/regularfile.h"
#include "support/filesizelimit.h"
#include "support/paradoxwriter.h"

#include <QFrame>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <zip.h>

using namespace fixture;

namespace {

// A zip file made with libzip, entries in order and compressed.
bool makeZip(const QString& path, const QList<Entry>& entries) {
    int error = 0;
    zip_t* zip = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!zip) return false;
    for (const Entry& e : entries) {
        zip_source_t* source = zip_source_buffer(zip, e.data.constData(), e.data.size(), 0);
        if (!source || zip_file_add(zip, e.name.constData(), source, ZIP_FL_ENC_RAW) < 0) {
            zip_source_free(source);
            zip_discard(zip);
            return false;
        }
    }
    return zip_close(zip) == 0;
}

// "fname.hah": one string of capacity 50, the length byte first.
QByteArray nameRecord(const QByteArray& name) {
    QByteArray record(51, '\0');
    record[0] = char(name.size());
    record.replace(1, name.size(), name);
    return record;
}

// Refusals must not leak what they opened.
int openDescriptors() {
    return int(QDir("/proc/self/fd").entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size());
}

void setChangeTime(const QString& path, const QDateTime& time) {
    const timespec when{time.toSecsSinceEpoch(), 0};
    const timespec times[2]{when, when};
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW);
}

QByteArray bytesFrom(int first, int last) {
    QByteArray bytes;
    for (int b = first; b <= last; ++b)
        bytes.append(char(b));
    return bytes;
}

// The words of the old table: keys with gaps, all 8-bit codes, empty fields,
// both Booleans.
QList<paradox::Row> oldWords() {
    paradox::Row first =
        paradox::word(3, "001A1", bytesFrom(0x80, 0xbf), "lieben\r\n" + bytesFrom(0xc0, 0xff));
    first[10] = QByteArray("amoris");
    first[12] = 1;
    first[15] = 12;
    first[16] = 4;
    first[18] = true;
    paradox::Row second = paradox::word(9, "001A1", "videre", "sehen");
    second[13] = QVariant();
    second[19] = true;
    const paradox::Row third = paradox::word(10, "002A1", "rex", QByteArray());
    return {first, second, third};
}

struct OldDatabase {
    QByteArray table;
    QByteArray index;
    QByteArray lessons;
    QByteArray options;
};

} // namespace

class TestOldBackups : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    QString target; // where backup files lie
    QList<platform::MessageBoxRequest> boxes;
    QList<platform::Answer> answers;

    QMap<QString, OldDatabase> made; // pxlib stamps each table it writes with the time

    OldDatabase oldDatabase(const QString& language = "Latein") {
        if (made.contains(language)) return made[language];
        const QString work = dir->filePath("old");
        platform::ensureFolder(work);
        OldDatabase old;
        if (!paradox::writeTable(work + "/t.db", paradox::vocabularyFields(), oldWords(),
                                 work + "/t.px", 11))
            return old;
        old.table = readAll(work + "/t.db");
        old.index = readAll(work + "/t.px");
        old.lessons = "001A1Verben\r\n002A1Nomen\r\n";
        TDatabaseOptionsRec::forNewDatabase(language).save(work + "/t.opt");
        old.options = readAll(work + "/t.opt");
        made.insert(language, old);
        return old;
    }

    // An old backup of the database "Latein Vokabeln" (short name "Latein V").
    QString oldBackup(const QString& file = "Alt.olz") {
        const OldDatabase old = oldDatabase();
        const QString path = target + "/" + file;
        if (!makeZip(path, {{"fname.hah", nameRecord("Latein Vokabeln")},
                            {"Latein V.ol", old.table},
                            {"Latein V.px", old.index},
                            {"Latein V.lst", old.lessons},
                            {"Latein V.opt", old.options}}))
            return QString();
        return path;
    }

    void verifyOldWords(const QString& table) {
        const QList<paradox::Row> rows = oldWords();
        engine::Query q;
        q.addSql("SELECT * FROM " + engine::quoteLiteral(table));
        q.open();
        QCOMPARE(q.recordCount(), rows.size());
        for (int r = 0; r < rows.size(); ++r, q.next())
            for (int f = 0; f < VokabelFieldCount; ++f)
                QCOMPARE(q.value(VokabelFieldNames().at(f)),
                         paradox::convertedValue(f, rows[r].value(f)));
        q.close();
        engine::releaseTable(table);
    }

    QStringList questions() const {
        QStringList texts;
        for (const auto& box : boxes)
            if (box.buttons == platform::Buttons::YesNo) texts << box.caption + ": " + box.text;
        return texts;
    }

  private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        WorkDir = dir->filePath("work");
        target = dir->filePath("target");
        platform::ensureFolder(WorkDir + "/data");
        platform::ensureFolder(WorkDir + "/backup");
        platform::ensureFolder(target);
        made.clear();
        GeneralOptions = TGeneralOptionsRec();
        CurrentTablePath.clear();
        boxes.clear();
        answers.clear();
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& request) {
            boxes << request;
            if (request.buttons == platform::Buttons::YesNo)
                return answers.isEmpty() ? platform::Answer::No : answers.takeFirst();
            return platform::Answer::Ok;
        });
    }
    void cleanup() {
        RemoveBackupTempFolder();
        platform::setMessageBoxHandler({});
        platform::setFreeSpaceOverride({});
        CurrentTablePath.clear();
    }

    void shortNamesAndNameRecords() {
        QCOMPARE(OldBackupShortName("Latein Vokabeln"), QStringLiteral("Latein V"));
        QCOMPARE(OldBackupShortName("Griechi Wörter"), QStringLiteral("Griechi_"));
        QCOMPARE(OldBackupShortName("Kurz"), QStringLiteral("Kurz"));
        QCOMPARE(OldBackupDatabaseName(nameRecord("Caesar \xfc")), QStringLiteral("Caesar ü"));
        QCOMPARE(OldBackupDatabaseName(QByteArray("\x33"
                                                  "abc",
                                                  4)),
                 QString()); // 51 > 50
        QCOMPARE(OldBackupDatabaseName(QByteArray("\x05"
                                                  "abc",
                                                  4)),
                 QString()); // short
        for (const char* bad :
             {"..", ".", "", "../x.ol", "/abs.ol", "sub/x.ol", "sub\\x.ol", "C:x.ol"})
            QVERIFY2(!SafeZipEntryName(bad), bad);
        QVERIFY(SafeZipEntryName("Latein V.ol"));
        QVERIFY(SafeZipEntryName("a..b.ol"));
    }

    void oldZippedBackupIsRestoredAndItsTableConverted() {
        const QString backup = oldBackup();
        QVERIFY(!backup.isEmpty());
        const OldBackupOutcome outcome = RestoreOldBackup(backup, "Alt");
        QVERIFY2(outcome.restored, qPrintable(outcome.line));
        QVERIFY(outcome.line.startsWith(
            "Datenbank \"Latein Vokabeln\" wurde erfolgreich zurückgesichert. Die Tabelle "
            "\"Latein Vokabeln.ol\" lag im Format des früheren Programms (Paradox) vor"));
        QVERIFY(outcome.line.endsWith(ResultLineEnd));
        QCOMPARE(outcome.targetBase, WorkDir + "/Latein/Latein Vokabeln");
        QCOMPARE(
            filesBelow(WorkDir + "/Latein"),
            QStringList({"Latein Vokabeln.lst", "Latein Vokabeln.ol", "Latein Vokabeln.ol.paradox",
                         "Latein Vokabeln.opt", "Latein Vokabeln.px.paradox"}));
        const OldDatabase old = oldDatabase();
        QCOMPARE(readAll(WorkDir + "/Latein/Latein Vokabeln.ol.paradox"), old.table);
        QCOMPARE(readAll(WorkDir + "/Latein/Latein Vokabeln.px.paradox"), old.index);
        QCOMPARE(readAll(WorkDir + "/Latein/Latein Vokabeln.lst"), old.lessons);
        QCOMPARE(filesBelow(BackupTempFolder), QStringList()); // emptied
        verifyOldWords(WorkDir + "/Latein/Latein Vokabeln.ol");
        QVERIFY(boxes.isEmpty()); // nothing was there to ask about
    }

    void theSameTableInABackupArchive() {
        const OldDatabase old = oldDatabase("Griechisch");
        const QString archive = target + "/Caesar.olx";
        writeAll(archive, scrambled(plainArchive("Griechisch", {{"Caesar.ol", old.table},
                                                                {"Caesar.px", old.index},
                                                                {"Caesar.lst", old.lessons},
                                                                {"Caesar.opt", old.options}})));
        const RestoreOutcome outcome = RestoreArchive(archive, "Caesar");
        QCOMPARE(outcome.code, int(ArchiveOk));
        QVERIFY2(
            outcome.line.startsWith("Datenbank \"Caesar\" wurde erfolgreich "
                                    "zurückgesichert. Die Tabelle \"Caesar.ol\" lag im Format"),
            qPrintable(outcome.line));
        QVERIFY(outcome.line.contains("\"Caesar.ol.paradox\" (mit \"Caesar.px.paradox\")"));
        QCOMPARE(filesBelow(WorkDir + "/Griechisch"),
                 QStringList({"Caesar.lst", "Caesar.ol", "Caesar.ol.paradox", "Caesar.opt",
                              "Caesar.px.paradox"}));
        QCOMPARE(readAll(WorkDir + "/Griechisch/Caesar.ol.paradox"), old.table);
        verifyOldWords(WorkDir + "/Griechisch/Caesar.ol");
        // Restored files are not left private as their work files were.
        writeAll(WorkDir + "/probe", "x");
        for (const char* file : {"Caesar.ol", "Caesar.lst", "Caesar.ol.paradox"})
            QCOMPARE(QFileInfo(WorkDir + "/Griechisch/" + file).permissions(),
                     QFileInfo(WorkDir + "/probe").permissions());
        QFile::remove(WorkDir + "/probe");

        // A Paradox table that is not a vocabulary table changes nothing.
        const QString other = dir->filePath("other.db");
        QVERIFY(paradox::writeTable(other, {{"ID", pxfAutoInc, 4}, {"Name", pxfAlpha, 20}},
                                    {{1, QByteArray("x")}}));
        writeAll(archive, scrambled(plainArchive("Griechisch", {{"Caesar.ol", readAll(other)},
                                                                {"Caesar.lst", old.lessons}})));
        const QStringList before = filesBelow(WorkDir);
        const QByteArray converted = readAll(WorkDir + "/Griechisch/Caesar.ol");
        answers = {platform::Answer::Yes};
        const RestoreOutcome refused = RestoreArchive(archive, "Caesar");
        QCOMPARE(refused.code, int(ArchiveFailed));
        QVERIFY2(refused.line.contains("keine Vokabeltabelle"), qPrintable(refused.line));
        QCOMPARE(filesBelow(WorkDir), before);
        QCOMPARE(readAll(WorkDir + "/Griechisch/Caesar.ol"), converted);
    }

    void anExistingDatabaseIsReplacedOnlyOnYes() {
        const QString backup = oldBackup();
        const QString existing = makeDatabase(WorkDir, "Latein", "Latein Vokabeln", "ferre");
        const QString base = WorkDir + "/Latein/Latein Vokabeln";
        writeAll(base + ".db", "alte Tabelle der anderen Endung");
        writeAll(base + ".px", "alter Index");
        const QStringList before = filesBelow(WorkDir);
        const QByteArray table = readAll(existing);

        OldBackupOutcome outcome = RestoreOldBackup(backup, "Alt");
        QCOMPARE(questions(), QStringList("Datei existiert schon: Soll vorhandene Datenbank "
                                          "überschrieben werden?"));
        QVERIFY(!outcome.restored);
        QVERIFY(outcome.files.isEmpty());
        QCOMPARE(filesBelow(WorkDir), before);
        QCOMPARE(readAll(existing), table);
        QCOMPARE(filesBelow(BackupTempFolder), QStringList());

        // Yes: all five files go first, the ".db" and the old ".px" too.
        boxes.clear();
        answers = {platform::Answer::Yes};
        outcome = RestoreOldBackup(backup, "Alt");
        QVERIFY2(outcome.restored, qPrintable(outcome.line));
        QCOMPARE(questions().size(), 1);
        QCOMPARE(
            filesBelow(WorkDir + "/Latein"),
            QStringList({"Latein Vokabeln.lst", "Latein Vokabeln.ol", "Latein Vokabeln.ol.paradox",
                         "Latein Vokabeln.opt", "Latein Vokabeln.px.paradox"}));
        verifyOldWords(base + ".ol");
    }

    // While another copy of the program restores a database, both restores
    // of it say so, ask nothing and change nothing.
    void aDatabaseBeingRestoredElsewhereIsLeftAlone() {
        const QString backup = oldBackup();
        const QString existing = makeDatabase(WorkDir, "Latein", "Latein Vokabeln", "ferre");
        const QString archive = target + "/Latein Vokabeln.olx";
        QCOMPARE(BackupDatabase(existing, archive, WorkDir + "/backup", false, "3.2"), 0);
        platform::RestoreLock running;
        QCOMPARE(running.take(WorkDir + "/Latein/latein vokabeln"),
                 platform::RestoreLock::Outcome::Taken);
        const QStringList before = filesBelow(WorkDir);
        const QByteArray table = readAll(existing);
        answers = {platform::Answer::Yes, platform::Answer::Yes};
        const QString atWork = "Die Datenbank \"Latein Vokabeln\" wird gerade von einem anderen "
                               "Programmfenster zurückgesichert. Es wurde nichts geändert; "
                               "versuchen Sie es erneut, wenn jenes Zurücksichern beendet ist.";
        const OldBackupOutcome old = RestoreOldBackup(backup, "Alt");
        QVERIFY(!old.restored);
        QCOMPARE(old.line, RestoreResultLine("Latein Vokabeln", ArchiveFailed, atWork));
        const RestoreOutcome olx = RestoreArchive(archive, "Latein Vokabeln");
        QCOMPARE(olx.line, RestoreResultLine("Latein Vokabeln", ArchiveFailed, atWork));
        QVERIFY(boxes.isEmpty());
        QCOMPARE(filesBelow(WorkDir), before);
        QCOMPARE(readAll(existing), table);
        running.release();
        QVERIFY(RestoreOldBackup(backup, "Alt").restored);
    }

    // Yes deletes the old files before the new ones take their names; a file
    // that cannot be brought over (here it vanished from the temporary
    // folder, as a full disk would stop a copy from another disk) must not
    // leave the old database deleted and the new one half in place.
    void aFailedMoveAfterYesKeepsTheExistingDatabase() {
        const QString backup = oldBackup();
        const QString existing = makeDatabase(WorkDir, "Latein", "Latein Vokabeln", "ferre");
        const QStringList before = filesBelow(WorkDir);
        const QByteArray table = readAll(existing);
        const QByteArray lessons = readAll(WorkDir + "/Latein/Latein Vokabeln.lst");
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& request) {
            boxes << request;
            if (request.buttons != platform::Buttons::YesNo) return platform::Answer::Ok;
            QFile::remove(BackupTempFolder + "Latein V.opt");
            return platform::Answer::Yes;
        });
        const OldBackupOutcome outcome = RestoreOldBackup(backup, "Alt");
        QVERIFY(!outcome.restored);
        QVERIFY2(outcome.line.contains("nicht geschrieben"), qPrintable(outcome.line));
        QCOMPARE(filesBelow(WorkDir), before);
        QCOMPARE(readAll(existing), table);
        QCOMPARE(readAll(WorkDir + "/Latein/Latein Vokabeln.lst"), lessons);
        QCOMPARE(filesBelow(BackupTempFolder), QStringList());

        // The last file cannot take its place (a folder stands at the
        // ".opt"): the files already moved go back.
        platform::setMessageBoxHandler([](const platform::MessageBoxRequest& request) {
            return request.buttons == platform::Buttons::YesNo ? platform::Answer::Yes
                                                               : platform::Answer::Ok;
        });
        const QString options = WorkDir + "/Latein/Latein Vokabeln.opt";
        QVERIFY(QFile::remove(options));
        QVERIFY(QDir().mkpath(options + "/innen"));
        const QStringList withFolder = filesBelow(WorkDir);
        const OldBackupOutcome late = RestoreOldBackup(backup, "Alt");
        QVERIFY(!late.restored);
        QVERIFY2(late.line.contains(QString("Die Datei \"%1\" kann nicht ersetzt werden. An dieser "
                                            "Stelle liegt ein Ordner. Die Datenbank bleibt, wie "
                                            "sie war.")
                                        .arg(options)),
                 qPrintable(late.line));
        QVERIFY(late.files.isEmpty());
        QCOMPARE(filesBelow(WorkDir), withFolder);
        QCOMPARE(readAll(existing), table);
        QCOMPARE(readAll(WorkDir + "/Latein/Latein Vokabeln.lst"), lessons);
    }

    // An intact zip whose table is cut short never replaces a working database.
    void aDamagedTableInAnOldBackupIsRefused() {
        const QByteArray table = readAll(makeDatabase(dir->filePath("src"), "Latein", "x"));
        const QString existing = makeDatabase(WorkDir, "Latein", "Latein Vokabeln", "ferre");
        const QStringList before = filesBelow(WorkDir);
        const QByteArray oldTable = readAll(existing);
        QVERIFY(makeZip(target + "/Halb.olz", {{"fname.hah", nameRecord("Latein Vokabeln")},
                                               {"Latein V.ol", table.left(table.size() / 2)},
                                               {"Latein V.opt", oldDatabase().options}}));
        answers = {platform::Answer::Yes};
        const OldBackupOutcome outcome = RestoreOldBackup(target + "/Halb.olz", "Halb");
        QVERIFY(!outcome.restored);
        QVERIFY2(outcome.line.contains("Die Tabelle \"Latein Vokabeln.ol\" in der Sicherung ist "
                                       "beschädigt"),
                 qPrintable(outcome.line));
        QCOMPARE(filesBelow(WorkDir), before);
        QCOMPARE(readAll(existing), oldTable);
    }

    // A full disk while unpacking names the backup the user chose, not a
    // work file, and changes nothing.
    void aFullDiskWhileUnpacking() {
        const QString backup = oldBackup();
        const QStringList before = filesBelow(WorkDir);
        OldBackupOutcome outcome;
        {
            FileSizeLimit full(1024);
            outcome = RestoreOldBackup(backup, "Alt");
        }
        QVERIFY(!outcome.restored);
        QCOMPARE(outcome.line, QString("Fehler beim Zurücksichern von \"Latein Vokabeln\". Die "
                                       "Datei \"Latein V.ol\" aus der Sicherung \"%1\" kann nicht "
                                       "entpackt werden. Die Datei wird größer, als der "
                                       "Datenträger erlaubt.%2")
                                   .arg(backup, ResultLineEnd));
        QCOMPARE(filesBelow(WorkDir), before);
        QCOMPARE(filesBelow(BackupTempFolder), QStringList());
    }

    // The files of one database are one table and at most one of each
    // companion, names compared without regard to case; companions named in
    // another case than the table are the table's, never another database's.
    void oneDatabaseByNameWithoutRegardToCase() {
        const QString source = makeDatabase(dir->filePath("src"), "Latein", "K");
        const QByteArray table = readAll(source);
        const QByteArray options = readAll(dir->filePath("src/Latein/K.opt"));
        makeDatabase(WorkDir, "Latein", "k", "ferre");
        QMap<QString, QByteArray> other;
        for (const char* extension : {"ol", "lst", "opt"})
            other[extension] = readAll(WorkDir + "/Latein/k." + extension);
        const QString archive = target + "/Sicherung.olx";
        writeAll(archive,
                 scrambled(plainArchive(
                     "Latein", {{"K.ol", table}, {"k.lst", "001A1Neu"}, {"k.opt", options}})));
        RestoreOutcome outcome = RestoreArchive(archive, "Sicherung");
        QVERIFY2(outcome.code == ArchiveOk, qPrintable(outcome.line));
        QVERIFY(questions().isEmpty()); // there was no database "K" yet
        QStringList files = filesBelow(WorkDir + "/Latein");
        files.sort();
        QCOMPARE(files, QStringList({"K.lst", "K.ol", "K.opt", "k.lst", "k.ol", "k.opt"}));
        for (const char* extension : {"ol", "lst", "opt"})
            QCOMPARE(readAll(WorkDir + "/Latein/k." + extension), other[extension]);
        QCOMPARE(readAll(WorkDir + "/Latein/K.lst"), QByteArray("001A1Neu"));

        // Now it exists: the question names it, not the archive.
        outcome = RestoreArchive(archive, "Sicherung");
        QCOMPARE(outcome.code, int(ArchiveExists));
        QCOMPARE(questions(), QStringList("Achtung - Datenbank existiert schon: Soll vorhandene "
                                          "Datenbank \"K\" überschrieben werden?"));

        const QStringList before = filesBelow(WorkDir);
        const QList<QList<Entry>> refused{
            {{"K.ol", table}, {"K.lst", "a"}, {"k.LST", "b"}},
            {{"K.ol", table}, {"K.lst", "a"}, {"K.LST", "b"}, {"K.Lst", "c"}, {"k.lst", "d"}},
            {{"K.ol", table}, {"k.OL", table}},
            {{"K.ol", table}, {"K.db", table}},
            {{"K.ol", table}, {"K.opt", options}, {"K.OPT", options}},
            {{"K.lst", "a"}, {"K.opt", options}}};
        for (const QList<Entry>& entries : refused) {
            writeAll(archive, scrambled(plainArchive("Latein", entries)));
            answers = {platform::Answer::Yes};
            const RestoreOutcome twins = RestoreArchive(archive, "Sicherung");
            QCOMPARE(twins.code, int(ArchiveFailed));
            QVERIFY2(twins.line.contains("enthält nicht genau eine Datenbank"),
                     qPrintable(twins.line));
            QCOMPARE(filesBelow(WorkDir), before);
        }
    }

    // The unpacked files of a restore killed part-way lie in a folder of the
    // system's temporary folder: it goes at a later start.
    void leftoversOfAKilledRestoreGo() {
        RemoveBackupTempFolder();
        const QString tmp = dir->filePath("tmp");
        platform::ensureFolder(tmp);
        const QByteArray oldTmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(tmp));
        const QDateTime twoHoursAgo = QDateTime::currentDateTime().addSecs(-2 * 3600);
        // A killed restore's folder, a running copy's folder, and what is not ours.
        for (const char* folder : {"oltmp-AbCdEf", "oltmp-GhIjKl", "oltmp-fremd", "anderes"}) {
            platform::ensureFolder(tmp + "/" + folder);
            writeAll(tmp + "/" + folder + "/Latein V.ol", "x");
        }
        writeAll(tmp + "/oltmp-MnOpQr", "eine Datei");
        for (const char* entry :
             {"oltmp-AbCdEf/Latein V.ol", "oltmp-AbCdEf", "oltmp-GhIjKl", "oltmp-fremd/Latein V.ol",
              "oltmp-fremd", "anderes/Latein V.ol", "anderes", "oltmp-MnOpQr"})
            setChangeTime(tmp + "/" + entry, twoHoursAgo);
        QVERIFY(CreateBackupTempFolder());
        QStringList left = filesBelow(tmp);
        left.sort();
        if (oldTmp.isNull())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", oldTmp);
        QVERIFY(BackupTempFolder.startsWith(tmp + "/oltmp-"));
        const QString fresh = QDir(BackupTempFolder).dirName();
        QStringList expected{"anderes/",
                             "anderes/Latein V.ol",
                             "oltmp-GhIjKl/",
                             "oltmp-GhIjKl/Latein V.ol",
                             "oltmp-MnOpQr",
                             "oltmp-fremd/",
                             "oltmp-fremd/Latein V.ol",
                             fresh + "/"};
        expected.sort();
        QCOMPARE(left, expected);
    }

    void zipsWithoutTheDatabaseChangeNothing() {
        const OldDatabase old = oldDatabase();
        const QStringList before = filesBelow(WorkDir);
        const int descriptors = openDescriptors();
        const auto refused = [&](const QList<Entry>& entries, const char* reason) {
            const QString zip = target + "/x.zip";
            QVERIFY(makeZip(zip, entries));
            const OldBackupOutcome outcome = RestoreOldBackup(zip, "x");
            QVERIFY(!outcome.restored);
            QVERIFY2(outcome.line.startsWith("Fehler beim Zurücksichern von \"") &&
                         outcome.line.contains(reason),
                     qPrintable(outcome.line));
            QCOMPARE(filesBelow(WorkDir), before);
            QCOMPARE(filesBelow(BackupTempFolder), QStringList());
        };
        refused({{"Latein V.ol", old.table}, {"Latein V.opt", old.options}},
                "enthält keine Datei \"fname.hah\"");
        refused({{"fname.hah", nameRecord("Latein Vokabeln")}, {"Anderer.ol", old.table}},
                "enthält die Dateien der Datenbank \"Latein Vokabeln\" (unter dem Namen \"Latein "
                "V\") nicht");
        refused({{"fname.hah", nameRecord("Latein Vokabeln")}, {"Latein V.ol", old.table}},
                "(unter dem Namen \"Latein V\") nicht"); // no ".opt": no language
        refused({{"fname.hah", nameRecord("a/b")}, {"a/b.ol", old.table}},
                "unzulässigen Dateinamen");
        refused({{"fname.hah", nameRecord("x:y")}, {"x:y.ol", old.table}},
                "unzulässigen Dateinamen");
        refused({{"fname.hah", nameRecord("Alt")}, {"../Alt.ol", old.table}},
                "unzulässigen Dateinamen (\"../Alt.ol\")");
        refused({{"fname.hah", nameRecord("Alt")}, {"/tmp/Alt.ol", old.table}},
                "unzulässigen Dateinamen");
        refused({{"fname.hah", nameRecord("..")}, {"...ol", old.table}},
                "Der Name der Datenbank in der Sicherung (\"..\") kann nicht verwendet werden.");
        QByteArray outside = old.options;
        outside[0] = 2; // the language becomes ".."
        outside[1] = '.';
        outside[2] = '.';
        refused({{"fname.hah", nameRecord("Alt")}, {"Alt.ol", old.table}, {"Alt.opt", outside}},
                "Die Sprache der Datenbank in der Sicherung (\"..\") kann nicht verwendet");
        outside[0] = 0; // no language at all
        refused({{"fname.hah", nameRecord("Alt")}, {"Alt.ol", old.table}, {"Alt.opt", outside}},
                "Die Sprache der Datenbank fehlt in der Sicherung.");
        // The program's own folders are no language.
        for (const QByteArray& folder : {QByteArray("data"), QByteArray("Backup")}) {
            outside.replace(0, 1 + folder.size(), char(folder.size()) + folder);
            refused({{"fname.hah", nameRecord("Alt")}, {"Alt.ol", old.table}, {"Alt.opt", outside}},
                    "Die Sprache der Datenbank in der Sicherung (\"" + folder +
                        "\") kann nicht verwendet werden. Der Name ist einem Ordner des "
                        "Programms vorbehalten.");
        }
        QCOMPARE(openDescriptors(), descriptors);

        // Reading a backup must never wait: a FIFO is refused at once.
        const QString fifo = target + "/Rohr.olz";
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const OldBackupOutcome piped = RestoreOldBackup(fifo, "Rohr");
        QVERIFY(!piped.restored);
        QVERIFY2(piped.line.contains(platform::notARegularFileMessage(fifo)),
                 qPrintable(piped.line));
    }

    void truncatedAndForeignFiles() {
        const QString backup = oldBackup();
        QByteArray bytes = readAll(backup);
        const QStringList before = filesBelow(WorkDir);
        const int descriptors = openDescriptors();
        for (const int keep : {int(bytes.size()) - 10, int(bytes.size()) / 2, 30}) {
            writeAll(backup, bytes.left(keep));
            const OldBackupOutcome outcome = RestoreOldBackup(backup, "Alt");
            QVERIFY(!outcome.restored);
            QVERIFY2(outcome.line.contains("ist beschädigt oder keine ZIP-Datei"),
                     qPrintable(outcome.line));
            QCOMPARE(filesBelow(WorkDir), before);
        }
        // The end of the file is there, the compressed data damaged.
        const qsizetype at = bytes.indexOf("Latein V.ol") + 20;
        for (qsizetype i = at; i < at + 200; ++i)
            bytes[i] = char(bytes[i] ^ 0x5a);
        writeAll(backup, bytes);
        const OldBackupOutcome outcome = RestoreOldBackup(backup, "Alt");
        QVERIFY(!outcome.restored);
        QVERIFY2(outcome.line.contains("beschädigt"), qPrintable(outcome.line));
        QCOMPARE(filesBelow(WorkDir), before);
        QCOMPARE(openDescriptors(), descriptors);
    }

    void symbolicLinksAreNeverWrittenThrough() {
        // A link "Latein/wort.lst" pointing elsewhere, overwrite answered Yes.
        const QString elsewhere = dir->filePath("elsewhere.txt");
        writeAll(elsewhere, "nicht anfassen");
        const QString table = makeDatabase(dir->filePath("src"), "Latein", "wort");
        const QString archive = target + "/wort.olx";
        QCOMPARE(BackupDatabase(table, archive, QString(), true, "3.2"), int(ArchiveOk));
        platform::ensureFolder(WorkDir + "/Latein");
        QVERIFY(QFile::link(elsewhere, WorkDir + "/Latein/wort.lst"));
        answers = {platform::Answer::Yes};
        const RestoreOutcome archived = RestoreArchive(archive, "wort");
        QCOMPARE(archived.code, int(ArchiveFailed));
        QVERIFY2(archived.line.contains("symbolische Verknüpfung"), qPrintable(archived.line));
        QCOMPARE(readAll(elsewhere), QByteArray("nicht anfassen"));
        QCOMPARE(filesBelow(WorkDir + "/Latein"), QStringList("wort.lst"));

        // The same for an old backup: its ".lst" would go there.
        const QString backup = oldBackup();
        QVERIFY(QFile::link(elsewhere, WorkDir + "/Latein/Latein Vokabeln.lst"));
        const OldBackupOutcome old = RestoreOldBackup(backup, "Alt");
        QVERIFY(!old.restored);
        QVERIFY(old.line.contains("symbolische Verknüpfung"));
        QCOMPARE(readAll(elsewhere), QByteArray("nicht anfassen"));
        QCOMPARE(filesBelow(WorkDir + "/Latein"), QStringList({"Latein Vokabeln.lst", "wort.lst"}));

        // A language folder that is a link is not written into either.
        QDir(WorkDir + "/Latein").removeRecursively();
        platform::ensureFolder(dir->filePath("linked"));
        QVERIFY(QFile::link(dir->filePath("linked"), WorkDir + "/Latein"));
        QVERIFY(RestoreArchive(archive, "wort").line.contains("symbolische Verknüpfung"));
        QVERIFY(RestoreOldBackup(backup, "Alt").line.contains("symbolische Verknüpfung"));
        QCOMPARE(filesBelow(dir->filePath("linked")), QStringList());
    }

    void oversizedFilesAreRefusedBeforeTheyAreWritten() {
        // Members that claim to unpack beyond any vocabulary file.
        const QByteArray data = readAll(makeDatabase(dir->filePath("src"), "Latein", "x"));
        QByteArray huge = plainArchive("Latein", {{"x.ol", data}, {"x.lst", "001A1"}});
        const qsizetype sizeAt = TArchiveHeader::Size + 4 + 4 + 4;
        for (const quint32 size : {quint32(1) << 31, 0xffffffffu}) {
            for (int i = 0; i < 4; ++i)
                huge[sizeAt + i] = char((size >> (8 * i)) & 0xff);
            writeAll(target + "/x.olx", scrambled(huge));
            const RestoreOutcome outcome = RestoreArchive(target + "/x.olx", "x");
            QCOMPARE(outcome.code, int(ArchiveFailed));
            QVERIFY2(outcome.line.contains("zu groß"), qPrintable(outcome.line));
            QCOMPARE(filesBelow(WorkDir), QStringList({"backup/", "data/"}));
        }

        // And members that do not fit on the disk.
        platform::setFreeSpaceOverride([](const QString&) { return qint64(1000); });
        writeAll(target + "/x.olx", scrambled(plainArchive("Latein", {{"x.ol", data}})));
        const RestoreOutcome full = RestoreArchive(target + "/x.olx", "x");
        QCOMPARE(full.code, int(ArchiveWriteFailed));
        QVERIFY2(full.line.contains("nicht genug Platz"), qPrintable(full.line));
        QCOMPARE(filesBelow(WorkDir), QStringList({"backup/", "data/"}));
        const OldBackupOutcome old = RestoreOldBackup(oldBackup(), "Alt");
        QVERIFY(old.line.contains("nicht genug Platz"));
        QCOMPARE(filesBelow(WorkDir), QStringList({"backup/", "data/"}));
        QCOMPARE(filesBelow(BackupTempFolder), QStringList());

        // Each file would fit, all of them together do not.
        const qint64 room = qMax<qint64>(data.size(), oldDatabase().table.size()) + 100;
        platform::setFreeSpaceOverride([room](const QString&) { return room; });
        writeAll(target + "/x.olx",
                 scrambled(plainArchive("Latein",
                                        {{"x.ol", data}, {"x.lst", QByteArray(room - 1, 'l')}})));
        const RestoreOutcome together = RestoreArchive(target + "/x.olx", "x");
        QCOMPARE(together.code, int(ArchiveWriteFailed));
        QVERIFY2(together.line.contains("nicht genug Platz"), qPrintable(together.line));
        QCOMPARE(filesBelow(WorkDir), QStringList({"backup/", "data/"}));
        const OldDatabase parts = oldDatabase();
        QVERIFY(makeZip(target + "/Teile.olz", {{"fname.hah", nameRecord("Latein Vokabeln")},
                                                {"Latein V.ol", parts.table},
                                                {"Latein V.lst", QByteArray(int(room - 1), 'l')},
                                                {"Latein V.opt", parts.options}}));
        const OldBackupOutcome oldTogether = RestoreOldBackup(target + "/Teile.olz", "Teile");
        QVERIFY2(oldTogether.line.contains("nicht genug Platz"), qPrintable(oldTogether.line));
        QCOMPARE(filesBelow(WorkDir), QStringList({"backup/", "data/"}));
        QCOMPARE(filesBelow(BackupTempFolder), QStringList());
        platform::setFreeSpaceOverride({});

        // A lesson list far beyond any real one is refused as the program
        // would refuse it at the next opening.
        const QByteArray bigList(int(MaxLessonListBytes + 1), 'l');
        writeAll(target + "/x.olx",
                 scrambled(plainArchive("Latein", {{"x.ol", data}, {"x.lst", bigList}})));
        const RestoreOutcome bigOwn = RestoreArchive(target + "/x.olx", "x");
        QCOMPARE(bigOwn.code, int(ArchiveFailed));
        QVERIFY2(bigOwn.line.contains("Lektionsliste ist größer"), qPrintable(bigOwn.line));
        QVERIFY(makeZip(target + "/Liste.olz", {{"fname.hah", nameRecord("Latein Vokabeln")},
                                                {"Latein V.ol", parts.table},
                                                {"Latein V.lst", bigList},
                                                {"Latein V.opt", parts.options}}));
        const OldBackupOutcome bigOld = RestoreOldBackup(target + "/Liste.olz", "Liste");
        QVERIFY2(bigOld.line.contains("Lektionsliste ist größer"), qPrintable(bigOld.line));
        QCOMPARE(filesBelow(WorkDir), QStringList({"backup/", "data/"}));
        QCOMPARE(filesBelow(BackupTempFolder), QStringList());

        // A zip entry that claims more than 1 GiB: its size fields say 2 GiB.
        QByteArray zip = readAll(oldBackup());
        const QByteArray name = "Latein V.ol";
        const auto claim2GiB = [&](const QByteArray& signature, int nameAt, int sizeAt) {
            for (qsizetype at = zip.indexOf(signature); at >= 0;
                 at = zip.indexOf(signature, at + 4))
                if (zip.mid(at + nameAt, name.size()) == name) {
                    zip.replace(at + sizeAt, 4, QByteArray("\x00\x00\x00\x80", 4));
                    return true;
                }
            return false;
        };
        QVERIFY(claim2GiB(QByteArray("PK\x03\x04", 4), 30, 22)); // local header
        QVERIFY(claim2GiB(QByteArray("PK\x01\x02", 4), 46, 24)); // central directory
        writeAll(target + "/Gross.olz", zip);
        const OldBackupOutcome big = RestoreOldBackup(target + "/Gross.olz", "Gross");
        QVERIFY2(big.line.contains("zu groß"), qPrintable(big.line));
        QCOMPARE(filesBelow(WorkDir), QStringList({"backup/", "data/"}));
    }

    void restoreWindowAndCommandLine() {
        const QString backup = oldBackup("Alt.olz");
        Tzsichern window;
        QStringList opened;
        window.openDatabase = [&](const QString& path) { opened << path; };
        window.setFolder(target);
        QCOMPARE(window.flb->count(), 1);
        window.flb->item(0)->setSelected(true);
        window.BitBtn1Click();
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes[0].text.startsWith("Datenbank \"Latein Vokabeln\" wurde erfolgreich "
                                         "zurückgesichert."));
        QVERIFY(window.Panel1->isHidden());
        QVERIFY(opened.isEmpty()); // only a start with the backup opens it

        // Started with the backup: the restored database is opened.
        QVERIFY(QFile::remove(WorkDir + "/Latein/Latein Vokabeln.ol"));
        const QString line = window.entzip(backup, true);
        QVERIFY2(line.contains("erfolgreich"), qPrintable(line));
        QCOMPARE(opened, QStringList(WorkDir + "/Latein/Latein Vokabeln.ol"));
    }
};

QTEST_MAIN(TestOldBackups)
#include "tst_oldbackups.moc"
