#include "platform/filemoves.h"
#include "platform/messagebox.h"
#include "platform/paths.h"
#include "platform/recordimage.h"
#include "platform/registry.h"
#include "platform/safefile.h"
#include "platform/temporaryfiles.h"
#include "support/filesizelimit.h"
#include "support/limitedfilesystem.h"
#include "support/testfiles.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtTest>
#include <unistd.h>

using namespace platform;

class TestSafeFile : public QObject {
    Q_OBJECT
  private:
    QTemporaryDir dir;
    QList<MessageBoxRequest> boxes;

    QString path(const QString& name) const { return dir.filePath(name); }
    // Nothing but the named files: no temporary file stays behind.
    void onlyFiles(const QStringList& names) {
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), names);
    }

  private slots:
    void init() {
        QVERIFY(dir.isValid());
        for (const QString& name : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden))
            QFile::remove(path(name));
        boxes.clear();
        setMessageBoxHandler([this](const MessageBoxRequest& r) {
            boxes << r;
            return Answer::Ok;
        });
    }
    void cleanup() { setMessageBoxHandler({}); }

    // The room left is asked of the file system itself, also for a folder a
    // restore is still to make, so a real disk never reads as full.
    void freeSpaceOfExistingAndMissingFolders() {
        const qint64 here = freeSpace(dir.path());
        QVERIFY(here > 0);
        const qint64 below = freeSpace(path("not/yet/made"));
        QVERIFY(below > 0);
        QVERIFY(qAbs(below - here) < 64 * 1024 * 1024);
    }

    void wholeFileReplacesTheOld() {
        writeFile(path("a.dat"), "old");
        QString error;
        QVERIFY(writeWholeFile(path("a.dat"), QByteArray(10000, 'n'), &error));
        QVERIFY(error.isEmpty());
        QCOMPARE(readFile(path("a.dat")), QByteArray(10000, 'n'));
        onlyFiles({"a.dat"});
    }

    // A write that would pass the limit fails as a whole: the old file keeps
    // every byte, the cause is German, and no temporary file is left.
    void fullDiskKeepsTheOldFile() {
        writeFile(path("gruopt.dat"), QByteArray(100, 'o'));
        QString error;
        bool written;
        {
            FileSizeLimit full(4096);
            written = writeWholeFile(path("gruopt.dat"), QByteArray(8760, 'n'), &error);
        }
        QVERIFY(!written);
        QCOMPARE(error, QStringLiteral("Die Datei wird größer, als der Datenträger erlaubt."));
        QCOMPARE(readFile(path("gruopt.dat")), QByteArray(100, 'o'));
        onlyFiles({"gruopt.dat"});
    }

    // Streams and chunked writers through the QIODevice interface meet the
    // same check, and commit() refuses after it.
    void streamedWritesAreCheckedToo() {
        FileSizeLimit full(1000);
        SafeFile file(path("stream.dat"));
        QVERIFY(file.open());
        QDataStream out(&file);
        for (int i = 0; i < 100; ++i)
            out << QByteArray(50, 'x');
        QVERIFY(out.status() != QDataStream::Ok);
        QVERIFY(file.failed());
        QVERIFY(!file.commit());
        QVERIFY(!QFile::exists(path("stream.dat")));
        onlyFiles({});
    }

    void nothingWrittenOnAFullDiskAtAll() {
        FileSizeLimit full(0);
        QString error;
        QVERIFY(!writeWholeFile(path("empty.dat"), "x", &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(path("empty.dat")));
    }

    void copyKeepsPermissionsAndFailsWhole() {
        writeFile(path("prog"), QByteArray(20000, 'p'));
        QFile::setPermissions(path("prog"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(copyWholeFile(path("prog"), path("copy")));
        QCOMPARE(readFile(path("copy")), QByteArray(20000, 'p'));
        QVERIFY(QFile::permissions(path("copy")) & QFile::ExeOwner);

        writeFile(path("copy"), "installed");
        QString error;
        {
            FileSizeLimit full(8192);
            QVERIFY(!copyReplacing(path("prog"), path("copy")));
            QVERIFY(!copyWholeFile(path("prog"), path("copy"), &error));
        }
        QVERIFY(!error.isEmpty());
        QCOMPARE(readFile(path("copy")), QByteArray("installed"));
        QString missing;
        QVERIFY(!copyWholeFile(path("none"), path("copy"), &missing));
        QVERIFY(missing.contains(QStringLiteral("none")));
    }

    // A settings record on a full disk: the user is told, the file stays.
    void recordOnAFullDiskIsReported() {
        writeFile(path("gruopt.dat"), QByteArray(8760, 'o'));
        bool saved;
        {
            FileSizeLimit full(4096);
            saved = saveRecordFile(path("gruopt.dat"), QByteArray(8760, 'n'));
        }
        QVERIFY(!saved);
        QCOMPARE(readFile(path("gruopt.dat")), QByteArray(8760, 'o'));
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes[0].text.startsWith(QStringLiteral("Die Einstellungen konnten nicht")));
        QVERIFY(boxes[0].text.contains(QStringLiteral("größer, als der Datenträger erlaubt")));
        onlyFiles({"gruopt.dat"});
    }

    // The registry file is written by QSettings, which reports success after
    // a short write too: it is changed whole or not at all.
    void registryOnAFullDisk() {
        const QString before = registryFile();
        setRegistryFile(path("registry.ini"));
        const QString key = "HKEY_LOCAL_MACHINE\\Software\\Orvitec\\Orvilex";
        QVERIFY(changeRegistry([](QSettings& store) {
            for (int i = 0; i < 30; ++i)
                store.setValue(QString("HKEY_LOCAL_MACHINE/x/wert%1").arg(i), QString(80, 'a'));
        }));
        QVERIFY(writeRegistryString(key, "Version", "3.2"));
        const QByteArray old = readFile(path("registry.ini"));
        bool written;
        {
            FileSizeLimit full(4096);
            written = writeRegistryString(key, "dir", QString(2000, 'd'));
        }
        QVERIFY(!written);
        QCOMPARE(readFile(path("registry.ini")), old);
        QCOMPARE(readRegistryString(key, "Version"), QString("3.2"));
        onlyFiles({"registry.ini"});
        QVERIFY(writeRegistryString(key, "dir", "/opt/orvilex"));
        QCOMPARE(readRegistryString(key, "dir"), QString("/opt/orvilex"));
        onlyFiles({"registry.ini"});
        setRegistryFile(before);
    }

    // A rename that must not replace never does, also where the file system
    // has neither the exclusive rename nor hard links to do it with.
    void aNewNameIsNeverTakenFromAnotherFile_data() {
        QTest::addColumn<bool>("withoutLinks");
        QTest::addRow("usual file system") << false;
        QTest::addRow("no hard links") << true;
    }
    void aNewNameIsNeverTakenFromAnotherFile() {
        QFETCH(bool, withoutLinks);
        LimitedFileSystem limited(withoutLinks ? LimitedFileSystem::NoLinks : 0);
        writeFile(path("neu.dat"), "neu");
        writeFile(path("alt.dat"), "alt");
        QVERIFY(QFile::link(path("nirgends"), path("link.dat")));
        for (const char* taken : {"alt.dat", "link.dat"}) {
            errno = 0;
            QVERIFY(!renameNew(path("neu.dat"), path(taken)));
            QCOMPARE(errno, EEXIST);
        }
        QCOMPARE(readFile(path("alt.dat")), QByteArray("alt"));
        QVERIFY(QFileInfo(path("link.dat")).isSymLink());
        QVERIFY(renameNew(path("neu.dat"), path("frei.dat")));
        QCOMPARE(readFile(path("frei.dat")), QByteArray("neu"));
        QVERIFY(QFile::remove(path("link.dat")));
        onlyFiles({"alt.dat", "frei.dat"});
    }

    void unwritableTargetIsNamed() {
        if (geteuid() == 0) QSKIP("root writes through any permission");
        writeFile(path("ro.dat"), "keep");
        QFile::setPermissions(path("ro.dat"), QFile::ReadOwner);
        QString error;
        QVERIFY(!writeWholeFile(path("ro.dat"), "new", &error));
        QCOMPARE(error, QStringLiteral("Es fehlt die Berechtigung zum Schreiben."));
        QCOMPARE(readFile(path("ro.dat")), QByteArray("keep"));
        QFile::setPermissions(path("ro.dat"), QFile::ReadOwner | QFile::WriteOwner);
    }

    // A program killed part-way leaves the hidden files of a move, a restore
    // or a conversion in a language folder or the data folder: the next start
    // removes them, and nothing else.
    void leftoverTemporariesGoAtTheNextStart() {
        QTemporaryDir root;
        QTemporaryDir elsewhere;
        const QString latin = root.filePath("Latein");
        const QString data = root.filePath("data");
        QVERIFY(QDir().mkpath(latin) && QDir().mkpath(data));
        const QDateTime old = QDateTime::currentDateTime().addSecs(-2 * LeftoverAgeSeconds);
        const auto leave = [&](const QString& templateName, const QDateTime& changed) {
            QTemporaryFile file(templateName);
            file.setAutoRemove(false);
            if (!file.open() || !file.setFileTime(changed, QFileDevice::FileModificationTime))
                return QString();
            return file.fileName();
        };
        const auto aged = [&](const QString& name) {
            writeFile(name, "x");
            QFile file(name);
            return file.open(QIODevice::ReadWrite) &&
                   file.setFileTime(old, QFileDevice::FileModificationTime);
        };
        QStringList leftovers{leave(moveTemporaryTemplate(latin), old),
                              leave(restoreTemporaryTemplate(data), old),
                              leave(conversionTemporaryTemplate(latin, "Caesar.ol"), old),
                              leave(conversionTemporaryTemplate(latin, "Alt.DB"), old)};
        QVERIFY(!leftovers.contains(QString()));
        for (const QString& added :
             {leftovers[1] + "-journal", leftovers[1] + ".AbCdEf", leftovers[2] + "-journal"}) {
            QVERIFY(aged(added));
            leftovers << added;
        }
        // The user's own files, and one still being written by another copy.
        const QStringList kept{"Caesar.ol",
                               ".move-AbC.tmp",
                               "move-AbCdEf.tmp",
                               ".restore-AbCdEf.tmp.bak",
                               ".Caesar.txt-AbCdEf.tmp",
                               ".restore-AbCdEf.tmp-wal"};
        for (const QString& name : kept)
            QVERIFY(aged(QDir(latin).filePath(name)));
        const QString running = leave(moveTemporaryTemplate(data), QDateTime::currentDateTime());
        // Links are neither removed nor followed.
        const QString target = leave(restoreTemporaryTemplate(elsewhere.path()), old);
        QVERIFY(QFile::link(target, latin + "/.move-LinkEd.tmp"));
        QVERIFY(QFile::link(elsewhere.path(), root.filePath("Verknüpft")));
        const QString behindLink = leave(moveTemporaryTemplate(elsewhere.path()), old);

        removeLeftoverTemporariesBelow({root.path(), root.path()});
        for (const QString& leftover : leftovers)
            QVERIFY2(!QFile::exists(leftover), qPrintable(leftover));
        QCOMPARE(QDir(latin).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name),
                 QStringList({".Caesar.txt-AbCdEf.tmp", ".move-AbC.tmp", ".move-LinkEd.tmp",
                              ".restore-AbCdEf.tmp-wal", ".restore-AbCdEf.tmp.bak", "Caesar.ol",
                              "move-AbCdEf.tmp"}));
        QVERIFY(QFile::exists(running));
        QVERIFY(QFile::exists(target));
        QVERIFY(QFile::exists(behindLink));
    }
};

QTEST_GUILESS_MAIN(TestSafeFile)
#include "tst_safefile.moc"
