#include "mainwindow/programentry.h"
#include "mainwindow/updater.h"
#include "platform/folders.h"
#include "platform/registry.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using namespace updater;

namespace {

QByteArray randomBytes(int size, quint32 seed) {
    QRandomGenerator generator(seed);
    QByteArray bytes(size, '\0');
    for (char& b : bytes)
        b = char(generator.bounded(256));
    return bytes;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// What the migration of a 3.0/3.1 general settings file must produce.
QByteArray migratedGeneral(QByteArray image, bool generalFields) {
    if (generalFields) {
        image[10] = 0;
        image[11] = 0;
        image[818] = image[62];
        image[819] = image[63];
    }
    for (int c = 0; c < 7; ++c)
        for (int r = 5; r <= 9; ++r) {
            image[20 + 40 * c + 2 * r] = 1;
            image[21 + 40 * c + 2 * r] = 'x';
        }
    return image;
}

QByteArray migratedSelection(QByteArray image) {
    const char values[5] = {0, 0, 1, 0, 0};
    for (int i = 0; i < 5; ++i)
        image[23 + i] = values[i];
    return image;
}

} // namespace

class TestUpdater : public QObject {
    Q_OBJECT

    QTemporaryDir* temp = nullptr;
    QString install; // the installed program folder
    QString data;    // its "data" folder
    QString source;  // the folder the update runs from
    QString savedWorkDir;
    QString home;

    QString uninstallKey(const QString& version) { return UninstallKeyPrefix + version; }

    void installVersion(const QString& version) {
        QVERIFY(QDir().mkpath(data));
        writeAll(install + "/Orvilex.exe", "old program");
        writeAll(install + "/readme.txt", "old readme");
        QVERIFY(platform::writeRegistryString(InstallKey, "dir", install));
        QVERIFY(platform::writeRegistryString(InstallKey, "Version", version));
        QVERIFY(platform::writeRegistryString(uninstallKey(version), "DisplayName",
                                              "Orvilex " + version));
        QVERIFY(platform::writeRegistryString(uninstallKey(version), "UninstallString",
                                              "C:\\alt\\unins.exe /S"));
        QVERIFY(platform::writeRegistryString(uninstallKey(version), "Publisher", "Orvitec"));
    }

    void provideUpdateFiles(const QString& except = QString()) {
        for (const ProgramFile& file : programFiles())
            if (file.name != except)
                writeAll(source + "/" + file.name, "new " + file.name.toLatin1());
    }

    // Settings files as an older version left them, and their original bytes.
    QMap<QString, QByteArray> placeOldSettings() {
        QMap<QString, QByteArray> files{
            {"gruopt.dat", randomBytes(8760, 1)},   {"AuswOpt.dat", randomBytes(272, 2)},
            {"Englischa.dat", randomBytes(272, 3)}, {"EnglischSz.dat", randomBytes(8760, 4)},
            {"sz.dat", randomBytes(8760, 5)},       {"soption.dat", randomBytes(600, 6)},
            {"kurza.dat", randomBytes(40, 7)}, // too short for a record: left alone
        };
        for (auto it = files.cbegin(); it != files.cend(); ++it)
            writeAll(data + "/" + it.key(), it.value());
        return files;
    }

    void verifyMigrated(const QMap<QString, QByteArray>& old) {
        QCOMPARE(readAll(data + "/gruopt.dat"), migratedGeneral(old["gruopt.dat"], true));
        QCOMPARE(readAll(data + "/EnglischSz.dat"), migratedGeneral(old["EnglischSz.dat"], false));
        QCOMPARE(readAll(data + "/sz.dat"), migratedGeneral(old["sz.dat"], false));
        QCOMPARE(readAll(data + "/AuswOpt.dat"), migratedSelection(old["AuswOpt.dat"]));
        QCOMPARE(readAll(data + "/Englischa.dat"), migratedSelection(old["Englischa.dat"]));
        QCOMPARE(readAll(data + "/soption.dat"), old["soption.dat"]);
        QCOMPARE(readAll(data + "/kurza.dat"), old["kurza.dat"]);
    }

  private slots:
    void init() {
        temp = new QTemporaryDir;
        QVERIFY(temp->isValid());
        install = temp->filePath("Orvilex");
        data = install + "/data";
        source = temp->filePath("update");
        QVERIFY(QDir().mkpath(install));
        QVERIFY(QDir().mkpath(source));
        platform::setRegistryFile(temp->filePath("registry.ini"));
        savedWorkDir = WorkDir;
        // The menu and desktop entries are looked for in a home of the test.
        home = temp->filePath("home");
        QVERIFY(QDir().mkpath(home + "/Desktop"));
        qputenv("HOME", home.toUtf8());
        qputenv("XDG_DATA_HOME", (home + "/.local/share").toUtf8());
        qputenv("XDG_CONFIG_HOME", (home + "/.config").toUtf8());
        qputenv("XDG_DATA_DIRS", temp->filePath("usr/share").toUtf8());
    }

    void cleanup() {
        WorkDir = savedWorkDir;
        delete temp;
        temp = nullptr;
    }

    void migratesAnOlderVersionOnceAndKeepsEveryOtherByte() {
        installVersion("3.1");
        const auto old = placeOldSettings();
        provideUpdateFiles();

        QString result = "vorher";
        RunUpdate(result, source);
        QCOMPARE(result, QString());
        QCOMPARE(WorkDir, install);

        for (const ProgramFile& file : programFiles())
            QCOMPARE(readAll(install + "/" + file.name), "new " + file.name.toLatin1());
        verifyMigrated(old);
        // The originals are kept beside the data.
        const QString backups = data + "/" + MigrationBackupFolder;
        QCOMPARE(readAll(backups + "/gruopt.dat"), old["gruopt.dat"]);
        QCOMPARE(readAll(backups + "/AuswOpt.dat"), old["AuswOpt.dat"]);
        QVERIFY(!QFile::exists(backups + "/soption.dat"));

        QCOMPARE(platform::readRegistryString(InstallKey, "Version"), QStringLiteral("3.3"));
        QVERIFY(!platform::registryKeyExists(uninstallKey("3.1")));
        QCOMPARE(platform::readRegistryString(uninstallKey("3.3"), "DisplayName"),
                 QStringLiteral("Orvilex 3.3"));
        QCOMPARE(platform::readRegistryString(uninstallKey("3.3"), "Publisher"),
                 QStringLiteral("Orvitec"));
        const QString uninstall =
            platform::readRegistryString(uninstallKey("3.3"), "UninstallString");
        QCOMPARE(uninstall, install + "/Orvilex.exe /uninstall");
        // The uninstall run finds the uninstaller beside the program.
        const auto plan = programentry::planUninstall(uninstall);
        QCOMPARE(plan.kind, programentry::UninstallPlan::Kind::CopyAndOpen);
        QCOMPARE(plan.source, install + "/olu_deinst.exe");
        QCOMPARE(platform::readRegistryString(BackupFileTypeKey, DefaultValueName),
                 QStringLiteral("Orvilex Backup-Datei"));

        // A second run finds 3.3 and leaves the settings alone.
        const QByteArray afterFirst = readAll(data + "/gruopt.dat");
        RunUpdate(result, source);
        QCOMPARE(result, QStringLiteral("33"));
        QCOMPARE(readAll(data + "/gruopt.dat"), afterFirst);
        QCOMPARE(platform::readRegistryString(uninstallKey("3.3"), "Publisher"),
                 QStringLiteral("Orvitec"));
        QCOMPARE(programentry::updateResultMessage(result),
                 QStringLiteral("Update auf Version 3.3.1 war erfolgreich."));
    }

    void version32GetsFilesAndRegistryButNoMigration() {
        installVersion("3.2");
        const auto old = placeOldSettings();
        provideUpdateFiles();
        QString result;
        RunUpdate(result, source);
        QCOMPARE(result, QString());
        for (auto it = old.cbegin(); it != old.cend(); ++it)
            QCOMPARE(readAll(data + "/" + it.key()), it.value());
        QVERIFY(!QFileInfo::exists(data + "/" + MigrationBackupFolder));
        QCOMPARE(platform::readRegistryString(InstallKey, "Version"), QStringLiteral("3.3"));
        QVERIFY(!platform::registryKeyExists(uninstallKey("3.2")));
        QVERIFY(!platform::registryKeyExists(BackupFileTypeKey));
    }

    void withoutAnInstallationNothingIsTouched() {
        provideUpdateFiles();
        QString result;
        RunUpdate(result, source);
        QCOMPARE(result,
                 QStringLiteral("Keine Orvilex-Version 3.0, 3.1 oder 3.2 zum Updaten vorhanden"));
        QVERIFY(!QFile::exists(install + "/Orvilex.exe"));
        QVERIFY(!platform::registryKeyExists(uninstallKey("3.3")));
        QVERIFY(programentry::updateResultMessage(result).startsWith(
            "Update auf Version 3.3.1 ist fehlgeschlagen ("));

        // A registered folder without the program, or an unknown version, is no installation
        // either.
        QVERIFY(platform::writeRegistryString(InstallKey, "dir", install));
        QVERIFY(platform::writeRegistryString(InstallKey, "Version", "3.1"));
        RunUpdate(result, source);
        QCOMPARE(result,
                 QStringLiteral("Keine Orvilex-Version 3.0, 3.1 oder 3.2 zum Updaten vorhanden"));
        writeAll(install + "/Orvilex.exe", "old program");
        QVERIFY(platform::writeRegistryString(InstallKey, "Version", "2.5"));
        RunUpdate(result, source);
        QCOMPARE(result,
                 QStringLiteral("Keine Orvilex-Version 3.0, 3.1 oder 3.2 zum Updaten vorhanden"));
        QCOMPARE(readAll(install + "/Orvilex.exe"), QByteArray("old program"));
    }

    void currentVersionWithoutUninstallEntryGetsOne() {
        QVERIFY(QDir().mkpath(data));
        writeAll(install + "/Orvilex.exe", "old program");
        QVERIFY(platform::writeRegistryString(InstallKey, "dir", install));
        QVERIFY(platform::writeRegistryString(InstallKey, "Version", "3.3"));
        provideUpdateFiles();
        QString result;
        RunUpdate(result, source);
        QCOMPARE(result, QStringLiteral("33"));
        QCOMPARE(platform::readRegistryString(uninstallKey("3.3"), "UninstallString"),
                 install + "/Orvilex.exe /uninstall");
    }

    void failedCopyIsReportedAndMigrationIsNotRepeated() {
        installVersion("3.0");
        const auto old = placeOldSettings();
        provideUpdateFiles("readme.txt");

        QString result;
        RunUpdate(result, source);
        QCOMPARE(result, QStringLiteral("readme.txt konnte nicht ersetzt werden"));
        QCOMPARE(programentry::updateResultMessage(result),
                 QStringLiteral("Update auf Version 3.3.1 ist fehlgeschlagen (readme.txt konnte "
                                "nicht ersetzt werden)."));
        // Files before the failing one are new, the failing one and those after it untouched.
        QCOMPARE(readAll(install + "/lizenz.txt"), QByteArray("new lizenz.txt"));
        QCOMPARE(readAll(install + "/readme.txt"), QByteArray("old readme"));
        QVERIFY(!QFile::exists(install + "/vrm.txt"));
        // Settings are migrated all the same, the registry keeps the old version.
        verifyMigrated(old);
        QCOMPARE(platform::readRegistryString(InstallKey, "Version"), QStringLiteral("3.0"));
        QVERIFY(platform::registryKeyExists(uninstallKey("3.0")));
        QVERIFY(!platform::registryKeyExists(BackupFileTypeKey));

        // The user changes a migrated cell meanwhile; the repeated update keeps it.
        QByteArray edited = readAll(data + "/gruopt.dat");
        edited[20 + 2 * 5] = 1;
        edited[21 + 2 * 5] = char(0xE9);
        writeAll(data + "/gruopt.dat", edited);
        provideUpdateFiles();
        RunUpdate(result, source);
        QCOMPARE(result, QString());
        QCOMPARE(readAll(data + "/gruopt.dat"), edited);
        QCOMPARE(readAll(install + "/readme.txt"), QByteArray("new readme.txt"));
        QCOMPARE(platform::readRegistryString(InstallKey, "Version"), QStringLiteral("3.3"));
        QCOMPARE(platform::readRegistryString(BackupFileTypeKey, DefaultValueName),
                 QStringLiteral("Orvilex Backup-Datei"));
    }

    void settingsThatCannotBeBackedUpAreLeftAloneAndReported() {
        installVersion("3.1");
        const auto old = placeOldSettings();
        provideUpdateFiles();
        // A file where the backup folder belongs.
        writeAll(data + "/" + MigrationBackupFolder, "im Weg");
        QString result;
        RunUpdate(result, source);
        QCOMPARE(result, QStringLiteral("Einstellungsdateien konnten nicht aktualisiert werden"));
        for (auto it = old.cbegin(); it != old.cend(); ++it)
            QCOMPARE(readAll(data + "/" + it.key()), it.value());
        QCOMPARE(platform::readRegistryString(InstallKey, "Version"), QStringLiteral("3.1"));
    }

    // The old version's menu folder and entries and its desktop entry get the
    // new version's names; moves that cannot be done are skipped.
    void menuAndDesktopEntriesAreRenamed() {
        const QString menu = home + "/.local/share/applications";
        const auto entry = [](const QString& path, const QByteArray& name) {
            QVERIFY(QDir().mkpath(QFileInfo(path).path()));
            writeAll(path, "[Desktop Entry]\nType=Application\nName=" + name +
                               "\nName[de]=" + name + "\nExec=Orvilex\n");
        };
        installVersion("3.1");
        provideUpdateFiles();
        entry(menu + "/Orvilex 3.1/Orvilex 3.1.desktop", "Orvilex 3.1");
        entry(menu + "/Orvilex 3.1/Orvilex Hilfe.desktop", "Orvilex Hilfe");
        entry(menu + "/Orvilex 3.1/Deinstallieren von Orvilex 3.1.desktop", "Entfernen");
        entry(home + "/Desktop/Orvilex 3.1 Vokabeltrainer.desktop", "Orvilex 3.1 Vokabeltrainer");
        QString result;
        RunUpdate(result, source);
        QCOMPARE(result, QString());
        QVERIFY(!QFileInfo::exists(menu + "/Orvilex 3.1"));
        QCOMPARE(QDir(menu + "/Orvilex 3.3").entryList(QDir::Files),
                 QStringList({"Deinstallieren von Orvilex 3.3.desktop", "Orvilex 3.3.desktop",
                              "Orvilex Hilfe.desktop"}));
        QCOMPARE(readAll(menu + "/Orvilex 3.3/Orvilex 3.3.desktop"),
                 QByteArray("[Desktop Entry]\nType=Application\nName=Orvilex 3.3\n"
                            "Name[de]=Orvilex 3.3\nExec=Orvilex\n"));
        QVERIFY(readAll(menu + "/Orvilex 3.3/Deinstallieren von Orvilex 3.3.desktop")
                    .contains("Name=Entfernen\n"));
        QCOMPARE(QDir(home + "/Desktop").entryList(QDir::Files),
                 QStringList{"Orvilex 3.3 Vokabeltrainer.desktop"});
        QVERIFY(readAll(home + "/Desktop/Orvilex 3.3 Vokabeltrainer.desktop")
                    .contains("Name=Orvilex 3.3 Vokabeltrainer\n"));

        // Run again over 3.3: the entries go into "Orvilex 3.3_"; a target that
        // exists already keeps the old entry, and its folder stays.
        entry(menu + "/Orvilex 3.3_/Orvilex Hilfe.desktop", "schon da");
        RunUpdate(result, source);
        QCOMPARE(result, QStringLiteral("33"));
        QCOMPARE(QDir(menu + "/Orvilex 3.3").entryList(QDir::Files),
                 QStringList{"Orvilex Hilfe.desktop"});
        QCOMPARE(QDir(menu + "/Orvilex 3.3_").entryList(QDir::Files),
                 QStringList({"Deinstallieren von Orvilex 3.3.desktop", "Orvilex 3.3.desktop",
                              "Orvilex Hilfe.desktop"}));
        QVERIFY(readAll(menu + "/Orvilex 3.3_/Orvilex Hilfe.desktop").contains("schon da"));

        // A menu folder in the system's applications folder is found there.
        QVERIFY(QDir(menu).removeRecursively());
        const QString system = temp->filePath("usr/share/applications");
        entry(system + "/Orvilex 3.3/Orvilex 3.3.desktop", "Orvilex 3.3");
        RunUpdate(result, source);
        QCOMPARE(result, QStringLiteral("33"));
        QVERIFY(!QFileInfo::exists(system + "/Orvilex 3.3"));
        QVERIFY(QFileInfo::exists(system + "/Orvilex 3.3_/Orvilex 3.3.desktop"));
        QVERIFY(!QFileInfo::exists(menu));

        // Without a home folder the entries cannot be found.
        qputenv("HOME", temp->filePath("nirgends").toUtf8());
        RunUpdate(result, source);
        QCOMPARE(result, QStringLiteral("Fehler beim Lesen in der Registrierung"));
        QCOMPARE(programentry::updateResultMessage(result),
                 QStringLiteral("Update auf Version 3.3.1 ist fehlgeschlagen (Fehler beim Lesen "
                                "in der Registrierung)."));
    }

    void dataFileMasksIgnoreCase() {
        QVERIFY(QDir().mkpath(data));
        for (const char* name : {"AuswOpt.dat", "GRUOPT.DAT", "Englischa.dat", "EnglischSz.dat",
                                 "o.dat", "Option.dat"})
            writeAll(data + "/" + name, "x");
        QCOMPARE(ListDataFiles(data, "*a.dat;auswopt.dat"),
                 QStringList({"AuswOpt.dat", "Englischa.dat"}));
        QCOMPARE(ListDataFiles(data, "*sz.dat;gruopt.dat"),
                 QStringList({"EnglischSz.dat", "GRUOPT.DAT"}));
    }
};

QTEST_GUILESS_MAIN(TestUpdater)
#include "tst_updater.moc"
