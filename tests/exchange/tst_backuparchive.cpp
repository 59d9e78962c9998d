#include "tst_backupfixture.h"

#include "engine/tablefacts.h"
#include "exchange/backuparchive.h"
#include "exchange/backuprun.h"
#include "exchange/databasereplacement.h"
#include "platform/filemoves.h"
#include "platform/folders.h"
#include "platform/regularfile.h"
#include "platform/temporaryfiles.h"
#include "support/filesizelimit.h"
#include "support/limitedfilesystem.h"
#include "support/testfiles.h"

#include <QDataStream>
#include <QMap>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <functional>
#include <memory>
#include <poll.h>
#include <pwd.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

using namespace fixture;

namespace {

// Another copy of the program, in a child process: it runs `work` and hands
// its text to answer(), or hands one earlier through tell(); then it stays
// at work until the object goes, which kills it as a program is killed.
class OtherCopy {
  public:
    explicit OtherCopy(const std::function<QByteArray()>& work) {
        int ends[2];
        if (::pipe(ends) != 0) return;
        child_ = ::fork();
        if (child_ == 0) {
            ::close(ends[0]);
            toldTo() = ends[1];
            tell(work());
            stay();
        }
        ::close(ends[1]);
        answer_ = ends[0];
    }
    ~OtherCopy() { end(); }
    OtherCopy(const OtherCopy&) = delete;
    OtherCopy& operator=(const OtherCopy&) = delete;

    // In the child: hands `text` to answer(), once.
    static void tell(const QByteArray& text) {
        if (toldTo() < 0) return;
        if (::write(toldTo(), text.constData(), size_t(text.size())) < 0) ::_exit(1);
        ::close(std::exchange(toldTo(), -1));
    }
    // In the child: at work until killed.
    [[noreturn]] static void stay() {
        while (true)
            ::pause();
    }
    // What the child told; never waits longer than a minute.
    QByteArray answer() {
        QByteArray text;
        pollfd wait{answer_, POLLIN, 0};
        char buffer[512];
        while (::poll(&wait, 1, 60000) == 1) {
            const ssize_t n = ::read(answer_, buffer, sizeof buffer);
            if (n <= 0) break;
            text.append(buffer, n);
        }
        return text;
    }
    void end() {
        if (child_ > 0) {
            ::kill(child_, SIGKILL);
            ::waitpid(child_, nullptr, 0);
        }
        if (answer_ >= 0) ::close(answer_);
        child_ = -1;
        answer_ = -1;
    }

  private:
    static int& toldTo() {
        static int end = -1;
        return end;
    }

    pid_t child_ = -1;
    int answer_ = -1;
};

} // namespace

class TestBackupArchive : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    QString root;   // the language folders of the databases
    QString target; // where archives go
    QString dest;   // where they are restored
    QString temp;

    QString path(const QString& relative) const {
        return platform::joinPath(dir->path(), relative);
    }

    QString archiveOf(const QByteArray& plain, const QString& name = QStringLiteral("x.olx")) {
        const QString file = platform::joinPath(target, name);
        writeAll(file, scrambled(plain));
        return file;
    }

    // A restore stopped after `steps` renames, as a kill would stop it.
    void restoreKilledAfter(const QString& archive, int steps) {
        SetReplacementInterruption([steps](int done) { return done >= steps; });
        RestoreDatabase(archive, dest, temp, true);
        SetReplacementInterruption({});
    }

    // A journal as the program's earlier version wrote it, with the names of
    // each step's files only (kind, staged, target, kept).
    static QByteArray earlierJournal(const QList<QStringList>& steps) {
        QByteArray made;
        QDataStream out(&made, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out << quint32(0x4F4A524E) << quint32(1) << quint32(steps.size());
        for (const QStringList& step : steps)
            out << quint8(step[0].toUInt()) << step[1] << step[2] << step[3];
        out << quint32(0x4F4A524E);
        return made;
    }

    // An archive of the database "Caesar" in `root`, and another database of
    // that name at `dest` with a stale index, for the archive to replace.
    // Returns the archive; empty when it cannot be made.
    QString archiveOverAnOldDatabase() {
        const QString archive = target + "/Caesar.olx";
        if (BackupDatabase(makeDatabase(root, "Latein", "Caesar"), archive, temp, false, "3.2") !=
            0)
            return QString();
        makeDatabase(dest, "Latein", "Caesar", "ferre");
        return writeAll(dest + "/Latein/Caesar.px", "stale index") ? archive : QString();
    }

    // Every file below a folder with its contents.
    static QMap<QString, QByteArray> contentsBelow(const QString& folder) {
        QMap<QString, QByteArray> contents;
        for (const QString& name : filesBelow(folder))
            contents.insert(name, readAll(folder + "/" + name));
        return contents;
    }

  private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        root = path("work");
        target = path("target");
        dest = path("dest");
        temp = path("work/backup");
        for (const QString& folder : {root, target, dest})
            QVERIFY(platform::ensureFolder(folder));
    }

    void roundTripOfARealDatabase() {
        const QString table = makeDatabase(root, "Latein", "Caesar");
        const QString base = root + "/Latein/Caesar.";
        const QString archive = target + "/Caesar.olx";
        ArchiveReport packed;
        QCOMPARE(BackupDatabase(table, archive, temp, false, "3.2", &packed), int(ArchiveOk));
        // No ".px" beside the table: it gets no record at all.
        QCOMPARE(packed.files, QStringList({table, base + "lst", base + "opt"}));
        QVERIFY(!QFileInfo::exists(archive + "t"));
        QCOMPARE(filesBelow(temp), QStringList()); // no work files left

        ArchiveReport restored;
        QCOMPARE(RestoreDatabase(archive, dest, temp, false, &restored), int(ArchiveOk));
        QCOMPARE(filesBelow(dest), QStringList({"Latein/", "Latein/Caesar.lst", "Latein/Caesar.ol",
                                                "Latein/Caesar.opt"}));
        QCOMPARE(restored.files.size(), 3);
        for (const char* extension : {"ol", "lst", "opt"})
            QCOMPARE(readAll(dest + "/Latein/Caesar." + extension), readAll(base + extension));

        // The restored table is a working table with its words.
        engine::Query q;
        q.addSql("SELECT * FROM " + engine::quoteLiteral(dest + "/Latein/Caesar.ol"));
        q.open();
        QCOMPARE(q.recordCount(), 3);
        q.last();
        QCOMPARE(q.asString("Fremdwort"), QStringLiteral("Übung"));
        q.close();
        engine::releaseTable(dest + "/Latein/Caesar.ol");
        // The archive itself never changes by a restore.
        const QByteArray before = readAll(archive);
        QCOMPARE(RestoreDatabase(archive, dest, temp, true), int(ArchiveOk));
        QCOMPARE(readAll(archive), before);
    }

    // A sort or an import stopped before its new list took its place leaves
    // that list waiting beside the new table: a backup taken then packs the
    // list that belongs to the table, not the old one.
    void aBackupPacksTheListThatWaitsForItsTable() {
        const QString table = makeDatabase(root, "Latein", "Caesar");
        const qint32 stamp = NewLessonListStamp();
        QVERIFY(WritePendingLessonList(LessonList({"001A1Sortiert"}), table, stamp, nullptr));
        engine::setTableStamp(table, stamp);
        engine::releaseTable(table);
        const QString workDir = std::exchange(WorkDir, root);
        const QString result = RunBackups({table}, target);
        WorkDir = workDir;
        QVERIFY2(result.contains("erfolgreich gesichert"), qPrintable(result));
        TArchiveHeader header;
        QCOMPARE(DecompressFiles(target + "/Caesar.olx", dest, false, header, temp),
                 int(ArchiveOk));
        QCOMPARE(readAll(dest + "/Latein/Caesar.lst"), QByteArray("001A1Sortiert\r\n"));
        QCOMPARE(filesBelow(root + "/Latein"),
                 QStringList({"Caesar.lst", "Caesar.ol", "Caesar.opt"}));
    }

    void pxCompanionAndEmptyFilesArePacked() {
        const QString table = makeDatabase(root, "Englisch", "Words");
        const QString px = root + "/Englisch/Words.px";
        writeAll(px, QByteArray());
        const QString archive = target + "/Words.olx";
        QCOMPARE(BackupDatabase(table, archive, temp, false, "3.2"), int(ArchiveOk));
        TArchiveHeader header;
        QCOMPARE(DecompressFiles(archive, dest, false, header, temp), int(ArchiveOk));
        QCOMPARE(header.version, QStringLiteral("3.2"));
        QCOMPARE(header.folder, QStringLiteral("Englisch"));
        QVERIFY(QFileInfo::exists(dest + "/Englisch/Words.px"));
        QCOMPARE(QFileInfo(dest + "/Englisch/Words.px").size(), 0);

        // Record order: table, ".px", ".lst", ".opt"; the empty file is an
        // empty zlib stream with S = 0.
        const QByteArray plain = scrambled(readAll(archive));
        QCOMPARE(int32At(plain, 232), 4u);
        QCOMPARE(int32At(plain, 236), 8u);
        QCOMPARE(plain.mid(240, 8), QByteArray("Words.ol"));
        QCOMPARE(int32At(plain, 248), quint32(QFileInfo(table).size()));
        QCOMPARE(quint8(plain.at(252)), quint8(0x78));
        QCOMPARE(quint8(plain.at(253)), quint8(0xda)); // level 9
        const QByteArray emptyRecord =
            QByteArray("\x08\0\0\0Words.px\0\0\0\0", 16) + zlibStream(QByteArray());
        QVERIFY(plain.contains(emptyRecord));
    }

    void headerLayout() {
        TArchiveHeader header;
        header.version = "3.2";
        header.folder = "Französisch";
        const QByteArray image = header.toBytes();
        QCOMPARE(image.size(), 232);
        QCOMPARE(image.left(4), QByteArray("\x03"
                                           "3.2"));
        QCOMPARE(int(image.at(6)), 11);
        QCOMPARE(image.mid(7, 11), platform::codec::toBytes("Französisch"));
        QCOMPARE(image.mid(37), QByteArray(232 - 37, '\0')); // reserved strings and bytes
        TArchiveHeader read;
        QVERIFY(read.fromBytes(image));
        QCOMPARE(read.folder, header.folder);
        QCOMPARE(read.version, header.version);

        // Strings are cut to their capacity; a length byte beyond it is damage.
        header.version = "3.2.123";
        header.folder = QString(40, 'x');
        const QByteArray cut = header.toBytes();
        QCOMPARE(int(cut.at(0)), 5);
        QCOMPARE(int(cut.at(6)), 30);
        QCOMPARE(cut.at(37), '\0');
        QByteArray broken = cut;
        broken[6] = char(31);
        QVERIFY(!read.fromBytes(broken));
        QVERIFY(!read.fromBytes(cut.left(231)));
    }

    void scrambling() {
        QCOMPARE(ArchiveKey().size(), 54);
        QCOMPARE(quint8(ArchiveKey().at(0)), quint8(0xa7)); // "§"
        QByteArray plain(300, 'A');
        plain[0] = '\0';
        const QString file = path("plain.bin");
        writeAll(file, plain);
        QCOMPARE(ScrambleFile(file, ArchiveKey(), QString(), false), 0);
        const QByteArray once = readAll(file);
        QCOMPARE(once.size(), 300);
        // stored = plain XOR key[p mod 54] XOR (size mod 256)
        for (int p : {0, 1, 53, 54, 299})
            QCOMPARE(quint8(once.at(p)),
                     quint8(quint8(plain.at(p)) ^ quint8(ArchiveKey().at(p % 54)) ^ (300 % 256)));
        QCOMPARE(ScrambleFile(file, ArchiveKey(), QString(), false), 0);
        QCOMPARE(readAll(file), plain);
        QVERIFY(!QFileInfo::exists(file + "t"));

        // The size enters every byte.
        const QString other = path("other.bin");
        writeAll(other, plain.left(299));
        QCOMPARE(ScrambleFile(other, ArchiveKey(), QString(), false), 0);
        QVERIFY(readAll(other).at(1) != once.at(1));

        // With a copy first, the file itself stays as it is.
        QCOMPARE(ScrambleFile(file, ArchiveKey(), target, true), 0);
        QCOMPARE(readAll(file), plain);
        QCOMPARE(readAll(target + "/plain.bin"), once);
        QCOMPARE(ScrambleFile(path("missing.bin"), ArchiveKey(), QString(), false), 2);
    }

    void pathHelpers() {
        QString p = "/a/Latein/wort.ol";
        QCOMPARE(CutExtension(p), 0);
        QCOMPARE(p, QStringLiteral("/a/Latein/wort."));
        p = "/a.b/wort";
        QCOMPARE(CutExtension(p), 4);
        QCOMPARE(p, QStringLiteral("/a.b/wort"));
        p = "C:\\a\\Latein\\wort.ol";
        QCOMPARE(ParentFolderName(p), 0);
        QCOMPARE(p, QStringLiteral("Latein"));
        p = "/wort.ol";
        QCOMPARE(ParentFolderName(p), 4);
        QCOMPARE(MakeTargetName("/t/", "C:\\x\\wort.ol"), QStringLiteral("/t/wort.ol"));
        QCOMPARE(MakeTargetName("/", "wort.ol"), QStringLiteral("/wort.ol"));
    }

    void resultCodesOfTheBackup() {
        const QString table = makeDatabase(root, "Latein", "Caesar");
        const QString archive = target + "/Caesar.olx";
        writeAll(archive, "old archive");
        // The archive exists: nothing is written without permission.
        QCOMPARE(BackupDatabase(table, archive, temp, false, "3.2"), int(ArchiveExists));
        QCOMPARE(readAll(archive), QByteArray("old archive"));
        // Unusable paths.
        QCOMPARE(BackupDatabase(root + "/Latein/Caesar", target + "/a.olx", temp, false, "3.2"),
                 int(ArchiveBadPath));
        QCOMPARE(BackupDatabase("Caesar.ol", target + "/b.olx", temp, false, "3.2"),
                 int(ArchiveBadPath));
        // A missing companion stops the backup and leaves the old archive as it was.
        QFile::remove(root + "/Latein/Caesar.opt");
        ArchiveReport report;
        QCOMPARE(BackupDatabase(table, archive, temp, true, "3.2", &report), int(ArchiveFailed));
        QVERIFY(report.detail.contains("Caesar.opt"));
        QCOMPARE(readAll(archive), QByteArray("old archive"));
        QCOMPARE(filesBelow(target), QStringList({"Caesar.olx"}));
        // A folder that cannot be written.
        const QString locked = path("locked");
        platform::ensureFolder(locked);
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
        const QString fresh = makeDatabase(root, "Latein", "Cicero");
        if (!QFileInfo(locked).isWritable()) // permissions do not bind the superuser
            QCOMPARE(BackupDatabase(fresh, locked + "/Cicero.olx", temp, false, "3.2"),
                     int(ArchiveWriteFailed));
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(BackupDatabase(fresh, path("nowhere/Cicero.olx"), temp, false, "3.2"),
                 int(ArchiveWriteFailed));
    }

    void restoreOverAnExistingDatabase() {
        const QString table = makeDatabase(root, "Latein", "Caesar");
        const QString archive = target + "/Caesar.olx";
        QCOMPARE(BackupDatabase(table, archive, temp, false, "3.2"), 0);
        // Another database of the same name lives at the destination.
        const QString existing = makeDatabase(dest, "Latein", "Caesar", "ferre");
        const QByteArray oldTable = readAll(existing);
        QFile::remove(dest + "/Latein/Caesar.lst");
        // Without permission nothing at all is unpacked (not even the files
        // that do not exist there).
        QCOMPARE(RestoreDatabase(archive, dest, temp, false), int(ArchiveExists));
        QCOMPARE(readAll(existing), oldTable);
        QVERIFY(!QFileInfo::exists(dest + "/Latein/Caesar.lst"));
        // With permission every file is replaced, also under an open table.
        engine::Query open;
        open.addSql("SELECT * FROM " + engine::quoteLiteral(existing));
        open.open();
        QCOMPARE(RestoreDatabase(archive, dest, temp, true), int(ArchiveOk));
        QVERIFY(!open.isActive());
        QCOMPARE(readAll(existing), readAll(table));
        QCOMPARE(readAll(dest + "/Latein/Caesar.lst"), readAll(root + "/Latein/Caesar.lst"));

        // One table per database: a ".db" takes the place of the ".ol", and
        // an old ".px" that the archive does not replace goes too.
        writeAll(dest + "/Latein/Caesar.px", "alter Index");
        const QString db = archiveOf(
            plainArchive("Latein", {{"Caesar.db", readAll(table)},
                                    {"Caesar.lst", "001A1"},
                                    {"Caesar.opt", readAll(root + "/Latein/Caesar.opt")}}),
            "Caesar.olx");
        ArchiveReport report;
        QCOMPARE(RestoreDatabase(db, dest, temp, true, &report), int(ArchiveOk));
        QCOMPARE(filesBelow(dest), QStringList({"Latein/", "Latein/Caesar.db", "Latein/Caesar.lst",
                                                "Latein/Caesar.opt"}));
        QCOMPARE(report.files, QStringList({dest + "/Latein/Caesar.db", dest + "/Latein/Caesar.lst",
                                            dest + "/Latein/Caesar.opt"}));
    }

    // A restore replaces the whole database or leaves it exactly as it was:
    // here the last file cannot take its place, a folder stands there.
    void aRestoreFailingAtTheLastFileLeavesTheOldDatabase() {
        const QString table = makeDatabase(root, "Latein", "Caesar");
        const QString archive = target + "/Caesar.olx";
        QCOMPARE(BackupDatabase(table, archive, temp, false, "3.2"), 0);
        const QString existing = makeDatabase(dest, "Latein", "Caesar", "ferre");
        QVERIFY(QFile::remove(dest + "/Latein/Caesar.opt"));
        QVERIFY(QDir().mkpath(dest + "/Latein/Caesar.opt/innen"));
        const QStringList before = filesBelow(dest);
        const QByteArray oldTable = readAll(existing);
        const QByteArray oldList = readAll(dest + "/Latein/Caesar.lst");
        ArchiveReport report;
        QCOMPARE(RestoreDatabase(archive, dest, temp, true, &report), int(ArchiveWriteFailed));
        QCOMPARE(report.detail,
                 "Die Datei \"" + dest +
                     "/Latein/Caesar.opt\" kann nicht ersetzt "
                     "werden. An dieser Stelle liegt ein Ordner. Die Datenbank bleibt, "
                     "wie sie war.");
        QVERIFY(report.files.isEmpty());
        QCOMPARE(filesBelow(dest), before);
        QCOMPARE(readAll(existing), oldTable);
        QCOMPARE(readAll(dest + "/Latein/Caesar.lst"), oldList);
    }

    // A program killed while the restored files take their places leaves its
    // journal: the next start puts the old database back whole, and leaves a
    // restore that is still at work alone.
    void aRestoreKilledDuringItsRenamesIsUndoneAtTheNextStart_data() {
        QTest::addColumn<int>("stopAfter");
        QTest::addColumn<bool>("restoredAgain"); // before any new start
        QTest::addColumn<bool>("renumbered");    // the disk back under another device number
        QTest::addColumn<bool>("withoutLocks");  // NFS without its lock service
        // The table, the list, the options, then the stale index goes.
        for (int steps = 1; steps <= 4; ++steps)
            QTest::addRow("killed after %d of 4 steps", steps) << steps << false << false << false;
        QTest::addRow("killed after 2, then restored again") << 2 << true << false << false;
        // The stale index, gone before the kill, must not come back beside
        // the table of the second restore.
        QTest::addRow("killed after 4, then restored again") << 4 << true << false << false;
        // Power lost: after the new start the system may number the disk
        // otherwise (another order of disks), the files keep their inodes.
        QTest::addRow("killed after 2, the disk renumbered") << 2 << false << true << false;
        QTest::addRow("killed after 2, no locks") << 2 << false << false << true;
    }
    void aRestoreKilledDuringItsRenamesIsUndoneAtTheNextStart() {
        QFETCH(int, stopAfter);
        QFETCH(bool, restoredAgain);
        QFETCH(bool, renumbered);
        QFETCH(bool, withoutLocks);
        LimitedFileSystem limited(withoutLocks ? LimitedFileSystem::NoLocks : 0);
        const QString archive = archiveOverAnOldDatabase();
        QVERIFY(!archive.isEmpty());
        const QString folder = dest + "/Latein";
        // Old files make old kept links, which a start-up clean-up would take.
        const QDateTime old =
            QDateTime::currentDateTime().addSecs(-2 * platform::LeftoverAgeSeconds);
        QMap<QString, QByteArray> before;
        for (const QString& name : filesBelow(folder)) {
            QFile file(folder + "/" + name);
            QVERIFY(file.open(QIODevice::ReadWrite) &&
                    file.setFileTime(old, QFileDevice::FileModificationTime));
            before.insert(name, readAll(file.fileName()));
        }
        int steps = 0;
        bool runningLeftAlone = false;
        SetReplacementInterruption([&](int done) {
            steps = done;
            if (done < stopAfter) return false;
            const QStringList during = filesBelow(folder);
            platform::removeLeftoverTemporariesBelow({dest});
            runningLeftAlone = filesBelow(folder) == during;
            return true;
        });
        ArchiveReport report;
        QCOMPARE(RestoreDatabase(archive, dest, temp, true, &report), int(ArchiveWriteFailed));
        SetReplacementInterruption({});
        QCOMPARE(steps, stopAfter);
        QVERIFY(runningLeftAlone);
        QCOMPARE(filesBelow(folder).filter(".journal").size(), 1);
        QVERIFY(readAll(folder + "/Caesar.ol") != before.value("Caesar.ol"));

        if (restoredAgain) {
            // The second restore finishes the first one's journal, which
            // therefore cannot undo it at the next start.
            QCOMPARE(RestoreDatabase(archive, dest, temp, true, &report), int(ArchiveOk));
            platform::removeLeftoverTemporariesBelow({dest});
            QCOMPARE(filesBelow(folder), QStringList({"Caesar.lst", "Caesar.ol", "Caesar.opt"}));
            for (const char* extension : {".ol", ".lst", ".opt"})
                QCOMPARE(readAll(folder + "/Caesar" + extension),
                         readAll(root + "/Latein/Caesar" + extension));
            return;
        }
        if (renumbered) {
            struct stat disk {};
            QCOMPARE(::stat(QFile::encodeName(folder).constData(), &disk), 0);
            QByteArray device, other;
            QDataStream(&device, QIODevice::WriteOnly) << quint64(disk.st_dev);
            QDataStream(&other, QIODevice::WriteOnly) << quint64(disk.st_dev + 1);
            const QString journal = folder + "/" + filesBelow(folder).filter(".journal").value(0);
            QByteArray recorded = readAll(journal);
            QVERIFY(recorded.contains(device));
            QVERIFY(writeAll(journal, recorded.replace(device, other)));
        }
        // A journal made up to name a file outside its folder changes nothing
        // there (written as the program writes its own).
        const QString outside = dest + "/.Fremd.ol-ABCDEF.tmp";
        QVERIFY(writeAll(outside, "not the journal's"));
        QVERIFY(writeAll(folder + "/.restore-ABCDEF.journal",
                         earlierJournal({{"0", "./../.Fremd.ol-ABCDEF.tmp", "Caesar.ol", ""}})));
        platform::removeLeftoverTemporariesBelow({dest});
        QCOMPARE(readAll(outside), QByteArray("not the journal's"));
        QVERIFY(QFile::remove(outside));
        QStringList after = filesBelow(folder);
        after.sort();
        QCOMPARE(after, before.keys());
        for (auto file = before.cbegin(); file != before.cend(); ++file)
            QVERIFY2(readAll(folder + "/" + file.key()) == file.value(), qPrintable(file.key()));
    }

    // A journal undoes a step only where the file at its name is the one its
    // restore placed or kept: never another database's file, never through a
    // symbolic link, never a name cut short at a control character.
    void aJournalTouchesOnlyTheFilesOfItsOwnRestore() {
        const QString archive = target + "/Caesar.olx";
        QCOMPARE(
            BackupDatabase(makeDatabase(root, "Latein", "Caesar"), archive, temp, false, "3.2"), 0);
        const QString folder = dest + "/Latein";
        const QString outside = path("outside.ol");
        QVERIFY(writeAll(outside, "draussen"));

        // A new database killed after its three files took their names. Its
        // journal copied beside another database of that name changes nothing
        // there; at home it takes back what its restore placed, but not a
        // list that has since taken the name.
        restoreKilledAfter(archive, 3);
        const QStringList journals = filesBelow(folder).filter(".journal");
        QCOMPARE(journals.size(), 1);
        const QString other = path("other");
        makeDatabase(other, "Latein", "Caesar", "ferre");
        QVERIFY(QFile::copy(folder + "/" + journals[0], other + "/Latein/" + journals[0]));
        QMap<QString, QByteArray> untouched = contentsBelow(other + "/Latein");
        platform::removeLeftoverTemporariesBelow({other});
        untouched.remove(journals[0]);
        QCOMPARE(contentsBelow(other + "/Latein"), untouched);
        QVERIFY(writeAll(folder + "/neu.lst", "001A1Eigene"));
        QVERIFY(platform::renameReplacing(folder + "/neu.lst", folder + "/Caesar.lst"));
        platform::removeLeftoverTemporariesBelow({dest});
        QCOMPARE(contentsBelow(folder), (QMap<QString, QByteArray>{{"Caesar.lst", "001A1Eigene"}}));

        // Over an existing database, killed after the table: the old table's
        // kept name now holds a symbolic link, which never takes its place.
        makeDatabase(dest, "Latein", "Caesar", "ferre");
        const QByteArray oldTable = readAll(folder + "/Caesar.ol");
        restoreKilledAfter(archive, 1);
        QString kept;
        for (const QString& name : filesBelow(folder).filter(".tmp"))
            if (readAll(folder + "/" + name) == oldTable) kept = folder + "/" + name;
        QVERIFY(QFile::remove(kept) && QFile::link(outside, kept));
        platform::removeLeftoverTemporariesBelow({dest});
        QVERIFY(!QFileInfo(folder + "/Caesar.ol").isSymLink());
        QCOMPARE(readAll(folder + "/Caesar.ol"), readAll(root + "/Latein/Caesar.ol"));
        QCOMPARE(readAll(outside), QByteArray("draussen"));
        QVERIFY(QFile::remove(kept));
        QCOMPARE(filesBelow(folder), QStringList({"Caesar.lst", "Caesar.ol", "Caesar.opt"}));

        // Journals of the earlier version, which name files only: a name with
        // a NUL in it, a new file over one that stands there now and a kept
        // link change nothing; a kept regular file is still put back.
        const QMap<QString, QByteArray> before = contentsBelow(folder);
        QVERIFY(writeAll(folder + "/.restore-GHIJKL.tmp", "fremd"));
        QVERIFY(writeAll(folder + "/.restore-EFGHIJ.tmp", "alter Index"));
        QVERIFY(QFile::link(outside, folder + "/.restore-YZABCD.tmp"));
        QVERIFY(writeAll(folder + "/.restore-ABCDEF.journal",
                         earlierJournal({{"2", "", QString("Caesar.ol") + QChar(u'\0') + "x",
                                          ".restore-GHIJKL.tmp"}})));
        QVERIFY(writeAll(
            folder + "/.restore-BCDEFG.journal",
            earlierJournal({{"1", ".restore-MNOPQR.tmp", "Caesar.opt", ""},
                            {"0", ".restore-STUVWX.tmp", "Caesar.lst", ".restore-YZABCD.tmp"},
                            {"2", "", "Caesar.px", ".restore-EFGHIJ.tmp"}})));
        platform::removeLeftoverTemporariesBelow({dest});
        QMap<QString, QByteArray> after = before;
        after.insert(".restore-GHIJKL.tmp", "fremd");
        after.insert(".restore-YZABCD.tmp", "draussen");
        after.insert("Caesar.px", "alter Index");
        QCOMPARE(contentsBelow(folder), after);
        QVERIFY(QFileInfo(folder + "/.restore-YZABCD.tmp").isSymLink());
        QCOMPARE(readAll(outside), QByteArray("draussen"));
    }

    // Two copies of the program restoring one database at once: the second
    // finds the first at work, says so and changes nothing, and the first
    // ends with its own files only. A start-up meanwhile takes none of a
    // running restore's files for leftovers, though its kept links are old.
    void oneRestoreOfADatabaseAtATime() {
        const QString first = target + "/Caesar.olx";
        QCOMPARE(BackupDatabase(makeDatabase(root, "Latein", "Caesar"), first, temp, false, "3.2"),
                 0);
        const QString second = target + "/Zweite.olx";
        QCOMPARE(BackupDatabase(makeDatabase(path("zweite"), "Latein", "CAESAR", "esse"), second,
                                temp, false, "3.2"),
                 0);
        const QString folder = dest + "/Latein";
        makeDatabase(dest, "Latein", "Caesar", "ferre");
        bool asked = false;
        bool unchanged = false;
        int code = -1;
        ArchiveReport secondReport;
        SetReplacementInterruption([&](int) {
            if (asked) return false;
            asked = true;
            const QMap<QString, QByteArray> during = contentsBelow(folder);
            code = RestoreDatabase(second, dest, temp, true, &secondReport);
            unchanged = contentsBelow(folder) == during;
            return false;
        });
        const int firstCode = RestoreDatabase(first, dest, temp, true);
        SetReplacementInterruption({});
        QCOMPARE(firstCode, int(ArchiveOk));
        QCOMPARE(code, int(ArchiveFailed));
        QCOMPARE(secondReport.detail,
                 QString("Die Datenbank \"CAESAR\" wird gerade von einem anderen Programmfenster "
                         "zurückgesichert. Es wurde nichts geändert; versuchen Sie es erneut, "
                         "wenn jenes Zurücksichern beendet ist."));
        QVERIFY(unchanged);
        QCOMPARE(filesBelow(folder), QStringList({"Caesar.lst", "Caesar.ol", "Caesar.opt"}));
        for (const char* extension : {".ol", ".lst", ".opt"})
            QCOMPARE(readAll(folder + "/Caesar" + extension),
                     readAll(root + "/Latein/Caesar" + extension));

        // A restore at work before its journal is written: it holds its lock
        // and has kept the old table under a second name, as old as the table.
        const QDateTime old =
            QDateTime::currentDateTime().addSecs(-2 * platform::LeftoverAgeSeconds);
        QFile table(folder + "/Caesar.ol");
        QVERIFY(table.open(QIODevice::ReadWrite) &&
                table.setFileTime(old, QFileDevice::FileModificationTime));
        table.close();
        const QString kept = folder + "/.restore-ABCDEF.tmp";
        QString lock;
        {
            platform::RestoreLock running;
            QCOMPARE(running.take(folder + "/caesar"), platform::RestoreLock::Outcome::Taken);
            lock = folder + "/" + filesBelow(folder).filter(".lock").value(0);
            QCOMPARE(::link(QFile::encodeName(table.fileName()).constData(),
                            QFile::encodeName(kept).constData()),
                     0);
            platform::removeLeftoverTemporariesBelow({dest});
            QVERIFY(QFileInfo::exists(kept));
            QCOMPARE(RestoreDatabase(first, dest, temp, true), int(ArchiveFailed));
        }
        // A killed restore leaves its lock file, locked by none: the next
        // restore takes it, and a start-up clears it away.
        QVERIFY(writeAll(lock, ""));
        QCOMPARE(RestoreDatabase(first, dest, temp, true), int(ArchiveOk));
        QVERIFY(writeAll(lock, ""));
        platform::removeLeftoverTemporariesBelow({dest});
        QCOMPARE(filesBelow(folder), QStringList({"Caesar.lst", "Caesar.ol", "Caesar.opt"}));
    }

    // A folder without hard links, exclusive renames or locks (a FUSE or
    // FAT disk, NFS without its lock service): a restore over a database
    // puts it in place whole, and one killed part-way is undone at the next
    // start; no lock file stays behind.
    void restoreWhereTheFileSystemLacksLinksOrLocks_data() {
        QTest::addColumn<int>("missing");
        QTest::addRow("no hard links") << int(LimitedFileSystem::NoLinks);
        QTest::addRow("no locks") << int(LimitedFileSystem::NoLocks);
        QTest::addRow("neither") << int(LimitedFileSystem::NoLinks | LimitedFileSystem::NoLocks);
    }
    void restoreWhereTheFileSystemLacksLinksOrLocks() {
        QFETCH(int, missing);
        const QString archive = archiveOverAnOldDatabase();
        QVERIFY(!archive.isEmpty());
        const QString folder = dest + "/Latein";
        const QMap<QString, QByteArray> before = contentsBelow(folder);
        LimitedFileSystem limited(missing);
        // Another copy at work after the last rename, the stale index gone: a
        // start meanwhile leaves its files alone. Killed then, it leaves its
        // lock file and journal, and the next start puts every old file back.
        {
            OtherCopy restoring([&] {
                SetReplacementInterruption([](int done) {
                    if (done < 4) return false;
                    OtherCopy::tell("at work");
                    OtherCopy::stay();
                });
                RestoreDatabase(archive, dest, temp, true);
                return QByteArray("done");
            });
            QCOMPARE(restoring.answer(), QByteArray("at work"));
            const QMap<QString, QByteArray> during = contentsBelow(folder);
            platform::removeLeftoverTemporariesBelow({dest});
            QCOMPARE(contentsBelow(folder), during);
        }
        QCOMPARE(filesBelow(folder).filter(".journal").size(), 1);
        QCOMPARE(filesBelow(folder).filter(".lock").size(), 1);
        platform::removeLeftoverTemporariesBelow({dest});
        QCOMPARE(contentsBelow(folder), before);

        ArchiveReport report;
        QCOMPARE(RestoreDatabase(archive, dest, temp, true, &report), int(ArchiveOk));
        QVERIFY2(report.detail.isEmpty(), qPrintable(report.detail));
        QCOMPARE(filesBelow(folder), QStringList({"Caesar.lst", "Caesar.ol", "Caesar.opt"}));
        for (const char* extension : {".ol", ".lst", ".opt"})
            QCOMPARE(readAll(folder + "/Caesar" + extension),
                     readAll(root + "/Latein/Caesar" + extension));
    }

    // What stands at the lock's name and is no lock file of the program (a
    // folder, a FIFO, a file of another tool) stays as it is and keeps no
    // restore out. Where the file system has no locks, a copy at work keeps
    // the others out, one that was killed does not. Another user's lock that
    // cannot be read is named; one that can tells a restore at work.
    void whatStandsAtTheLockNameKeepsNoRestoreOut() {
        const QString archive = target + "/Caesar.olx";
        QCOMPARE(
            BackupDatabase(makeDatabase(root, "Latein", "Caesar"), archive, temp, false, "3.2"), 0);
        const QString folder = dest + "/Latein";
        makeDatabase(dest, "Latein", "Caesar", "ferre");
        QString lock;
        {
            platform::RestoreLock probe;
            QCOMPARE(probe.take(folder + "/Caesar"), platform::RestoreLock::Outcome::Taken);
            lock = folder + "/" + filesBelow(folder).filter(".lock").value(0);
        }
        const QStringList database{"Caesar.lst", "Caesar.ol", "Caesar.opt"};
        const auto restored = [&] {
            ArchiveReport report;
            const int code = RestoreDatabase(archive, dest, temp, true, &report);
            platform::removeLeftoverTemporariesBelow({dest});
            return code == ArchiveOk ? QString() : report.detail;
        };
        QVERIFY(QDir().mkpath(lock + "/innen"));
        QCOMPARE(restored(), QString());
        QCOMPARE(filesBelow(folder),
                 QStringList({lock.section('/', -1) + "/", lock.section('/', -1) + "/innen/"}) +
                     database);
        QVERIFY(QDir(lock).removeRecursively());
        {
            FifoGuard fifos;
            fifos.make(lock);
            QCOMPARE(restored(), QString());
            QVERIFY(QFileInfo(lock).exists() && !QFileInfo(lock).isFile());
            QVERIFY(QFile::remove(lock));
            QVERIFY(!fifos.waitedFor());
        }
        QVERIFY(writeAll(lock, "Notizen eines anderen Programms"));
        QCOMPARE(restored(), QString());
        QCOMPARE(readAll(lock), QByteArray("Notizen eines anderen Programms"));
        QVERIFY(QFile::remove(lock));
        QCOMPARE(filesBelow(folder), database);

        const QString busy =
            "Die Datenbank \"Caesar\" wird gerade von einem anderen Programmfenster "
            "zurückgesichert. Es wurde nichts geändert; versuchen Sie es erneut, wenn jenes "
            "Zurücksichern beendet ist.";
        {
            LimitedFileSystem nfs(LimitedFileSystem::NoLocks);
            OtherCopy holder([&]() -> QByteArray {
                platform::RestoreLock held;
                OtherCopy::tell(LockForRestore(held, folder + "/Caesar").toUtf8());
                OtherCopy::stay();
            });
            QCOMPARE(holder.answer(), QByteArray());
            QCOMPARE(restored(), busy);
            QCOMPARE(filesBelow(folder).filter(".lock").size(), 1);
            holder.end();
            QCOMPARE(restored(), QString());
            QCOMPARE(filesBelow(folder), database);
        }

        if (geteuid() != 0) QSKIP("another user's lock files need root to be made");
        const passwd* nobody = ::getpwnam("nobody");
        if (!nobody) QSKIP("no user \"nobody\" to restore as");
        for (const QString& below : {dir->path(), dest, folder})
            QVERIFY(QFile::setPermissions(below, QFile::ReadOwner | QFile::WriteOwner |
                                                     QFile::ExeOwner | QFile::ExeOther));
        const auto lockedByNobody = [&] {
            OtherCopy other([&] {
                platform::RestoreLock mine;
                if (::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0)
                    return QByteArray("no change of user");
                return LockForRestore(mine, folder + "/Caesar").toUtf8();
            });
            return QString::fromUtf8(other.answer());
        };
        {
            platform::RestoreLock held;
            QCOMPARE(held.take(folder + "/Caesar"), platform::RestoreLock::Outcome::Taken);
            const QString answer = lockedByNobody();
            if (answer == "no change of user") QSKIP("no change to another user here");
            QCOMPARE(answer, busy);
        }
        // A lock file of an earlier version, readable by its user only.
        QVERIFY(writeAll(lock, ""));
        QVERIFY(QFile::setPermissions(lock, QFile::ReadOwner | QFile::WriteOwner));
        QCOMPARE(lockedByNobody(),
                 "Die Datenbank \"Caesar\" kann nicht zurückgesichert werden: Die Sperrdatei \"" +
                     lock +
                     "\" gehört einem anderen Benutzer und kann nicht gelesen werden; vielleicht "
                     "sichert er die Datenbank gerade zurück. Es wurde nichts geändert.");
        QCOMPARE(readAll(lock), QByteArray());
    }

    // An intact archive whose table is damaged or no vocabulary table never
    // replaces a working database.
    void aDamagedTableInAnIntactArchiveIsRefused_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QByteArray>("added"); // SQL run on a sound table (kind 5)
        QTest::newRow("cut in half") << 0 << "ist beschädigt" << QByteArray();
        QTest::newRow("last page missing") << 1 << "ist beschädigt" << QByteArray();
        QTest::newRow("page overwritten") << 2 << "ist beschädigt" << QByteArray();
        QTest::newRow("another table")
            << 3 << "keine Vokabeltabelle dieses Programms (es fehlt das Feld \"Lektion\")"
            << QByteArray();
        QTest::newRow("empty") << 4 << "Format, das hier nicht gelesen werden kann" << QByteArray();
        // A restored table must not carry SQL of its own that acts on the words.
        const QString carrying =
            "Die Tabelle \"Caesar.ol\" in der Sicherung ist keine Vokabeltabelle dieses "
            "Programms (sie enthält %1) und wird nicht zurückgesichert.";
        QTest::newRow("trigger")
            << 5 << carrying.arg("einen Trigger")
            << QByteArray("CREATE TRIGGER t AFTER UPDATE ON VokabelTable BEGIN DELETE FROM "
                          "VokabelTable; END");
        QTest::newRow("view") << 5 << carrying.arg("eine Sicht")
                              << QByteArray("CREATE VIEW v AS SELECT * FROM VokabelTable");
        QTest::newRow("expression index")
            << 5 << carrying.arg("einen weiteren Index")
            << QByteArray("CREATE INDEX x ON VokabelTable (abs(Wortart))");
        QTest::newRow("second table") << 5 << carrying.arg("eine weitere Tabelle")
                                      << QByteArray("CREATE TABLE Notizen (Text)");
    }
    void aDamagedTableInAnIntactArchiveIsRefused() {
        QFETCH(int, kind);
        QFETCH(QString, reason);
        QFETCH(QByteArray, added);
        const QString sound = makeDatabase(root, "Latein", "Caesar");
        if (kind == 5) {
            sqlite3* db = nullptr;
            QCOMPARE(sqlite3_open(QFile::encodeName(sound).constData(), &db), SQLITE_OK);
            QCOMPARE(sqlite3_exec(db, added.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
            sqlite3_close(db);
        }
        QByteArray table = readAll(sound);
        if (kind == 0) table = table.left(table.size() / 2);
        if (kind == 1) table.chop(4096);
        if (kind == 2) table.replace(4096, 8, QByteArray(8, '\x7f')); // a page's header
        if (kind == 3) {
            const QString foreign = path("foreign.ol");
            sqlite3* db = nullptr;
            QCOMPARE(sqlite3_open(QFile::encodeName(foreign).constData(), &db), SQLITE_OK);
            QCOMPARE(sqlite3_exec(db,
                                  "CREATE TABLE VokabelTable (ID INTEGER PRIMARY KEY, "
                                  "Fremdwort CHAR(40))",
                                  nullptr, nullptr, nullptr),
                     SQLITE_OK);
            sqlite3_close(db);
            table = readAll(foreign);
        }
        if (kind == 4) table.clear();
        const QString existing = makeDatabase(dest, "Latein", "Caesar", "ferre");
        const QStringList before = filesBelow(dest);
        const QByteArray oldTable = readAll(existing);
        const QString file =
            archiveOf(plainArchive("Latein", {{"Caesar.ol", table}, {"Caesar.lst", "001A1"}}));
        ArchiveReport report;
        QCOMPARE(RestoreDatabase(file, dest, temp, true, &report), int(ArchiveFailed));
        QVERIFY2(report.detail.contains(reason), qPrintable(report.detail));
        QCOMPARE(filesBelow(dest), before);
        QCOMPARE(readAll(existing), oldTable);
    }

    // Reading an archive or a file to pack must never wait: a FIFO is refused
    // at once, and so is a device, whose endless or missing bytes would make
    // a backup that restores nothing.
    void fifosAndDevicesAreNeitherArchiveNorMember() {
        FifoGuard fifos;
        const QString fifo = target + "/Caesar.olx";
        fifos.make(fifo);
        ArchiveReport report;
        QCOMPARE(RestoreDatabase(fifo, dest, temp, true, &report), int(ArchiveFailed));
        QCOMPARE(report.detail, platform::notARegularFileMessage(fifo));
        QCOMPARE(filesBelow(dest), QStringList());

        const QString table = makeDatabase(root, "Latein", "Cicero");
        const QString archive = target + "/Cicero.olx";
        writeAll(archive, "old archive");
        const QString base = root + "/Latein/Cicero.";
        const QByteArray list = readAll(base + "lst");
        const QByteArray options = readAll(base + "opt");
        auto refused = [&](const QString& member) {
            ArchiveReport report;
            QCOMPARE(BackupDatabase(table, archive, temp, true, "3.2", &report),
                     int(ArchiveFailed));
            QCOMPARE(report.detail, platform::notARegularFileMessage(member));
            QCOMPARE(readAll(archive), QByteArray("old archive"));
            QCOMPARE(filesBelow(temp), QStringList());
            QVERIFY(QFile::remove(member));
        };
        QVERIFY(QFile::remove(base + "lst"));
        fifos.make(base + "lst");
        refused(base + "lst");
        writeAll(base + "elsewhere", list);
        QVERIFY(QFile::link(base + "elsewhere", base + "lst")); // a link to a file is packed
        QVERIFY(QFile::remove(base + "opt"));
        fifos.make(base + "opt");
        refused(base + "opt");
        QVERIFY(QFile::link("/dev/zero", base + "opt"));
        refused(base + "opt");
        writeAll(base + "opt", options);
        QCOMPARE(BackupDatabase(table, archive, temp, true, "3.2"), int(ArchiveOk));
        QCOMPARE(RestoreDatabase(archive, dest, temp, true), int(ArchiveOk));
        QCOMPARE(readAll(dest + "/Latein/Cicero.lst"), list);
        QCOMPARE(readAll(dest + "/Latein/Cicero.opt"), options);
        QVERIFY(!fifos.waitedFor());
    }

    // Neither the archive nor a restored database is left half written when
    // the disk is full: the old files stay and the cause is named.
    void fullDiskLeavesArchiveAndDatabaseAsTheyWere() {
        const QString table = makeDatabase(root, "Latein", "Caesar");
        QByteArray noise(64 * 1024, Qt::Uninitialized);
        QRandomGenerator rng(7);
        for (char& c : noise)
            c = char(rng.bounded(256));
        QVERIFY(writeAll(root + "/Latein/Caesar.lst", noise)); // does not compress
        const QString archive = target + "/Caesar.olx";
        QVERIFY(writeAll(archive, "older backup"));
        ArchiveReport report;
        int code;
        {
            FileSizeLimit full(16 * 1024);
            code = BackupDatabase(table, archive, temp, true, "3.2", &report);
        }
        QCOMPARE(code, int(ArchiveWriteFailed));
        QVERIFY(!report.detail.isEmpty());
        QCOMPARE(readAll(archive), QByteArray("older backup"));
        QCOMPARE(filesBelow(target), QStringList({"Caesar.olx"}));
        QCOMPARE(filesBelow(temp), QStringList());

        QCOMPARE(BackupDatabase(table, archive, temp, true, "3.2"), int(ArchiveOk));
        const QString existing = makeDatabase(dest, "Latein", "Caesar", "ferre");
        const QStringList before = filesBelow(dest);
        const QByteArray oldList = readAll(dest + "/Latein/Caesar.lst");
        ArchiveReport restored;
        {
            FileSizeLimit full(16 * 1024);
            code = RestoreDatabase(archive, dest, temp, true, &restored);
        }
        QCOMPARE(code, int(ArchiveWriteFailed));
        QCOMPARE(restored.detail, QString("Die Datei wird größer, als der Datenträger erlaubt."));
        QCOMPARE(filesBelow(dest), before);
        QCOMPARE(readAll(dest + "/Latein/Caesar.lst"), oldList);
    }

    void damagedArchivesLeaveTheDatabaseAlone() {
        const QString table = makeDatabase(root, "Latein", "Caesar");
        const QString archive = target + "/Caesar.olx";
        QCOMPARE(BackupDatabase(table, archive, temp, false, "3.2"), 0);
        const QString existing = makeDatabase(dest, "Latein", "Caesar", "ferre");
        const QStringList before = filesBelow(dest);
        const QByteArray oldTable = readAll(existing);
        const QByteArray plain = scrambled(readAll(archive));

        QList<QByteArray> broken;
        for (qsizetype length : {qsizetype(0), qsizetype(100), qsizetype(235), qsizetype(240),
                                 qsizetype(260), plain.size() / 2, plain.size() - 1})
            broken << plain.left(length);
        QByteArray flipped = plain;
        flipped[plain.size() - 20] = char(flipped[plain.size() - 20] ^ 0x55);
        broken << flipped;
        QByteArray hugeCount = plain;
        hugeCount.replace(232, 4, QByteArray("\xff\xff\xff\x7f", 4));
        broken << hugeCount;
        // A count that does not match the records, and bytes after the last one.
        QByteArray fewer = plain;
        fewer.replace(232, 4, QByteArray("\x02\0\0\0", 4));
        broken << fewer << plain + "Rest";
        QByteArray shortSize = plain; // S smaller than the stream's data
        shortSize.replace(240 + int(int32At(plain, 236)), 4, QByteArray("\x10\0\0\0", 4));
        broken << shortSize;
        for (const QByteArray& bytes : broken) {
            const QString file = archiveOf(bytes, "broken.olx");
            ArchiveReport report;
            QCOMPARE(RestoreDatabase(file, dest, temp, true, &report), int(ArchiveFailed));
            QVERIFY(report.detail.contains("beschädigt"));
            QCOMPARE(filesBelow(dest), before);
            QCOMPARE(readAll(existing), oldTable);
        }
        // A foreign file and a missing one.
        writeAll(target + "/foreign.olx", QByteArray(5000, 'z'));
        QCOMPARE(RestoreDatabase(target + "/foreign.olx", dest, temp, true), int(ArchiveFailed));
        QCOMPARE(RestoreDatabase(target + "/none.olx", dest, temp, true), int(ArchiveFailed));
        QCOMPARE(filesBelow(dest), before);
    }

    void craftedNamesNeverWriteOutsideTheTarget() {
        const QByteArray data("data");
        const QList<QPair<QByteArray, QByteArray>> cases{{"..", "x.ol"},
                                                         {"../evil", "x.ol"},
                                                         {"a/b", "x.ol"},
                                                         {"a\\b", "x.ol"},
                                                         {"", "x.ol"},
                                                         {".", "x.ol"},
                                                         {"Latein", "../x.ol"},
                                                         {"Latein", "..\\x"},
                                                         {"Latein", ".."},
                                                         {"Latein", "/etc/x"},
                                                         {"Latein", QByteArray("a\0b", 3)},
                                                         {"Latein", ""},
                                                         {"data", "x.ol"},
                                                         {"BACKUP", "x.ol"}};
        const QString inner = path("dest/inner");
        platform::ensureFolder(inner);
        for (const auto& [folder, name] : cases) {
            const QString file = archiveOf(plainArchive(folder, {{name, data}}), "evil.olx");
            TArchiveHeader header;
            ArchiveReport report;
            QCOMPARE(DecompressFiles(file, inner, true, header, temp, &report), int(ArchiveFailed));
            // A folder name is refused by the check of typed language names.
            if (name == "x.ol")
                QVERIFY(
                    report.detail.startsWith("Der Sprachordner \"" + QString::fromLatin1(folder)));
            QCOMPARE(filesBelow(dir->path() + "/dest"), QStringList({"inner/"}));
            QVERIFY(!QFileInfo::exists(path("x.ol")));
            QVERIFY(!QFileInfo::exists(path("dest/x.ol")));
        }
        // The same record under a harmless name is fine.
        const QString good = archiveOf(plainArchive("Latein", {{"x.ol", data}}), "good.olx");
        TArchiveHeader header;
        QCOMPARE(DecompressFiles(good, inner, true, header, temp), int(ArchiveOk));
        QCOMPARE(readAll(inner + "/Latein/x.ol"), data);
        // Twice the same name is damage too.
        const QString twice =
            archiveOf(plainArchive("Latein", {{"y.ol", data}, {"y.ol", data}}), "twice.olx");
        QCOMPARE(DecompressFiles(twice, inner, true, header, temp), int(ArchiveFailed));
        QVERIFY(!QFileInfo::exists(inner + "/Latein/y.ol"));
    }

    void foreignTableFormatIsNotRestored() {
        // An archive whose table is neither one of this program's tables nor
        // a table of the older engine would replace a working database with
        // one that cannot be opened.
        const QString existing = makeDatabase(dest, "Latein", "Alt", "ferre");
        const QByteArray oldTable = readAll(existing);
        const QString file = archiveOf(
            plainArchive("Latein", {{"Alt.ol", QByteArray(2048, '\x05')}, {"Alt.lst", "001A1"}}),
            "Alt.olx");
        ArchiveReport report;
        QCOMPARE(RestoreDatabase(file, dest, temp, true, &report), int(ArchiveFailed));
        QVERIFY(report.detail.contains("Format, das hier nicht gelesen werden kann"));
        QCOMPARE(readAll(existing), oldTable);
    }

    // A table that another tool wrote may hold lesson values that are no text:
    // it restores, and the opening after the restore ends and puts every word
    // under a listed lesson.
    void aRestoredTableWithLessonValuesOfNoTextOpens() {
        const QString made = makeDatabase(root, "Latein", "Caesar");
        execOnFile(made, "UPDATE VokabelTable SET Lektion = x'3030314131' WHERE ID = 1; "
                         "UPDATE VokabelTable SET Lektion = CAST(x'ff4131' AS TEXT) WHERE ID = 2");
        const QString file = archiveOf(
            plainArchive("Latein", {{"Caesar.ol", readAll(made)}, {"Caesar.lst", "001A1Verben"}}));
        QCOMPARE(RestoreDatabase(file, dest, temp, true), int(ArchiveOk));
        const QString restored = dest + "/Latein/Caesar.ol";
        LessonList list;
        QString message;
        {
            Deadline deadline(10, "the opening of the restored table");
            LoadLessonListForOpening(list, restored, &message);
        }
        QCOMPARE(list.lines(), QStringList({"000A1Ohne Lektion", "001A1Verben"}));
        QVERIFY2(message.contains("Bei einer Vokabel war der Lektionscode abweichend") &&
                     message.contains("Eine Vokabel gehörte zu keiner Lektion"),
                 qPrintable(message));
        engine::Query q;
        q.addSql("SELECT * FROM " + engine::quoteLiteral(restored) + " WHERE Lektion = \"001A1\"");
        q.open();
        QCOMPARE(q.recordCount(), 2);
        q.close();
        engine::releaseTable(restored);
    }

    void restoreTakesOnlyTheFilesOfOneDatabase() {
        // A database restore writes nothing but a table and its companions:
        // not the settings of the data folder, not two tables, not none.
        const QByteArray table = readAll(makeDatabase(root, "Latein", "Caesar"));
        platform::ensureFolder(dest + "/data");
        writeAll(dest + "/data/gruopt.dat", "settings");
        const QList<QPair<QByteArray, QList<Entry>>> cases{
            {"data", {{"gruopt.dat", "evil"}}},
            {"data", {{"x.ol", table}, {"gruopt.dat", "evil"}}},
            {"Latein", {{"x.ol", table}, {"y.lst", "001A1"}}},
            {"Latein", {{"x.ol", table}, {"x.db", table}}},
            {"Latein", {{"x.lst", "001A1"}, {"x.opt", ""}}}};
        for (const auto& [folder, entries] : cases) {
            const QString file = archiveOf(plainArchive(folder, entries), "evil.olx");
            QCOMPARE(RestoreDatabase(file, dest, temp, true), int(ArchiveFailed));
            QCOMPARE(readAll(dest + "/data/gruopt.dat"), QByteArray("settings"));
            QCOMPARE(filesBelow(dest), QStringList({"data/", "data/gruopt.dat"}));
        }
        const QString good = archiveOf(
            plainArchive("Latein", {{"x.OL", table}, {"x.px", ""}, {"X.lst", "001A1"}}), "x.olx");
        QCOMPARE(RestoreDatabase(good, dest, temp, true), int(ArchiveOk));
    }
};

QTEST_GUILESS_MAIN(TestBackupArchive)
#include "tst_backuparchive.moc"
