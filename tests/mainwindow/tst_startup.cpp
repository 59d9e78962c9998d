#include "mainwindow/programentry.h"
#include "mainwindow/startup.h"
#include "platform/paths.h"
#include "support/testfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace programentry;

namespace {
void touch(const QString& path, const QByteArray& content = {}) {
    platform::ensureFolder(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}
QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void theRunIsChosenFromTheFirstArgument() {
        QTemporaryDir dir;
        QCOMPARE(chooseRun({"/update"}, dir.path()), Run::Update);
        QCOMPARE(chooseRun({"/UPDATE"}, dir.path()), Run::Normal);
        QCOMPARE(chooseRun({"/uninstall"}, dir.path()), Run::Uninstall);
        QCOMPARE(chooseRun({}, dir.path()), Run::Normal);
        touch(dir.filePath("update.txt"));
        QCOMPARE(chooseRun({}, dir.path()), Run::Update);
        QCOMPARE(chooseRun({"/uninstall"}, dir.path()), Run::Update);
    }

    void updateResultTexts() {
        QCOMPARE(updateResultMessage(""), QStringLiteral("Update auf Version 3.3.1 war erfolgreich."));
        QCOMPARE(updateResultMessage("33"), QStringLiteral("Update auf Version 3.3.1 war erfolgreich."));
        QCOMPARE(updateResultMessage("7"),
                 QStringLiteral("Update auf Version 3.3.1 ist fehlgeschlagen (7)."));
    }

    void uninstallEntries() {
        UninstallPlan plan = planUninstall("C:\\Prog\\Orvilex\\Orvilex.exe /uninstall");
        QCOMPARE(plan.kind, UninstallPlan::Kind::CopyAndOpen);
        QCOMPARE(plan.source, QStringLiteral("C:\\Prog\\Orvilex\\olu_deinst.exe"));
        QCOMPARE(plan.copy, QStringLiteral("C:\\temp\\olu_deinst.exe"));

        plan = planUninstall("C:\\x\\unins.exe /S");
        QCOMPARE(plan.kind, UninstallPlan::Kind::OpenOlder);
        QCOMPARE(plan.program, QStringLiteral("C:\\x\\unins.exe "));
        QCOMPARE(plan.parameters, QStringLiteral(" /S"));

        // Exactly ten characters is the older form, even "/uninstall" itself.
        QCOMPARE(planUninstall("/uninstall").kind, UninstallPlan::Kind::OpenOlder);
        QCOMPARE(planUninstall("x").kind, UninstallPlan::Kind::Failed);
        QCOMPARE(planUninstall("").kind, UninstallPlan::Kind::Failed);
        // No blank at all: the whole entry is the program.
        plan = planUninstall("C:\\x\\unins.exe");
        QCOMPARE(plan.program, QStringLiteral("C:\\x\\unins.exe"));
        QVERIFY(plan.parameters.isEmpty());
    }

    void startModeFromTheLastLetters_data() {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<int>("mode");
        QTest::newRow(".OL") << "C:/a/Caesar.OL" << int(StartDatabase);
        QTest::newRow(".ol") << "/home/u/Latein/Caesar.ol" << int(StartDatabase);
        QTest::newRow("no dot") << "Caesarol" << int(StartDatabase);
        QTest::newRow("protokol") << "protokol" << int(StartDatabase);
        QTest::newRow("/1") << "/1" << int(StartNormal);
        QTest::newRow(".olz") << "backup.olz" << int(StartZippedBackup);
        QTest::newRow(".OLX") << "Caesar.OLX" << int(StartArchive);
        QTest::newRow(".db") << "Caesar.db" << int(StartNormal);
        QTest::newRow("none") << "" << int(StartNormal);
        QTest::newRow("/UPDATE") << "/UPDATE" << int(StartNormal);
    }
    void startModeFromTheLastLetters() {
        QFETCH(QString, argument);
        QFETCH(int, mode);
        QCOMPARE(int(startup::startModeFor(argument)), mode);
    }

    void writeTestNeedsAWritableDataFolder() {
        QTemporaryDir dir;
        QVERIFY(!startup::programFolderWritable(dir.path())); // no data folder
        platform::ensureFolder(dir.filePath("data"));
        QVERIFY(startup::programFolderWritable(dir.path()));
        QVERIFY(QFile::exists(dir.filePath("data/ClearView.clr")));
        // A FIFO in its place is never waited for.
        FifoGuard fifos;
        QVERIFY(QFile::remove(dir.filePath("data/ClearView.clr")));
        fifos.make(dir.filePath("data/ClearView.clr"));
        QVERIFY(startup::programFolderWritable(dir.path()));
        QVERIFY(!fifos.waitedFor());
        QCOMPARE(QDir(dir.filePath("data")).entryList(QDir::Files | QDir::System),
                 QStringList{"ClearView.clr"});
    }

    void userFolderGetsMissingFilesOnly() {
        QTemporaryDir install, documents;
        touch(install.filePath("data/Option.dat"), "programm");
        touch(install.filePath("data/gruopt.dat"), "programm");
        touch(install.filePath("Latein/Beispiel.ol"), "tabelle");
        const QString work = startup::prepareUserFolder(install.path(), documents.path());
        QCOMPARE(work, documents.filePath("Orvilex"));
        QVERIFY(QFileInfo(work + "/backup").isDir());
        QCOMPARE(contents(work + "/data/Option.dat"), QByteArray("programm"));
        QCOMPARE(contents(work + "/Latein/Beispiel.ol"), QByteArray("tabelle"));

        // A second start keeps what the user changed.
        touch(work + "/data/gruopt.dat", "benutzer");
        touch(work + "/data/Option.dat", "benutzer");
        startup::prepareUserFolder(install.path(), documents.path());
        QCOMPARE(contents(work + "/data/gruopt.dat"), QByteArray("benutzer"));
        QCOMPARE(contents(work + "/data/Option.dat"), QByteArray("benutzer"));
    }

    void restrictedModeMessageUsesLineFeedCarriageReturn() {
        const QString text = startup::restrictedModeMessage("/home/u/Dokumente/Orvilex");
        QVERIFY(text.startsWith("Orvilex wird im Modus für eingeschränkte Benutzer gestartet.\n\r\n\r"));
        QVERIFY(text.endsWith("\"/home/u/Dokumente/Orvilex\" gespeichert."));
    }

    void screenHeightLimit() {
        QVERIFY(startup::screenTooSmall(549));
        QVERIFY(!startup::screenTooSmall(550));
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
