#include "mainwindow/updater.h"

#include "platform/folders.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/regularfile.h"
#include "platform/safefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <functional>

namespace updater {
namespace {

constexpr int GeneralRecordSize = 8760;
constexpr int SelectionRecordSize = 272;

const QString ProgramFileName = QStringLiteral("Orvilex.exe");

// Reads the file, lets `patch` change the image and writes it back whole and
// atomically when anything changed. Missing and short files are left alone:
// the program reads them as defaults, and writing a record over them would
// invent values the user never had.
bool patchFile(const QString& path, int recordSize, const std::function<void(QByteArray&)>& patch) {
    QFile in;
    if (!QFile::exists(path)) return true;
    if (!platform::openRegularFile(in, path)) return false;
    const QByteArray original = in.readAll();
    in.close();
    if (original.size() < recordSize) return true;
    QByteArray image = original;
    patch(image);
    if (image == original) return true;
    return platform::writeWholeFile(path, image);
}

// "HKEY_LOCAL_MACHINE\Software\…" as the group of the INI registry.
QString registryGroup(const QString& fullKey) {
    QString key = platform::normalizePath(fullKey);
    while (key.startsWith(QLatin1Char('/')))
        key.remove(0, 1);
    const int slash = key.indexOf(QLatin1Char('/'));
    const QString root = (slash < 0 ? key : key.left(slash)).toUpper();
    return slash < 0 ? root : root + key.mid(slash);
}

// Moves every value and subkey of one key to another, then removes the old
// key. A missing old key moves nothing and is no failure.
bool moveRegistryKey(const QString& fromKey, const QString& toKey) {
    const QString from = registryGroup(fromKey);
    const QString to = registryGroup(toKey);
    if (from.compare(to, Qt::CaseInsensitive) == 0) return true;
    return platform::changeRegistry([&](QSettings& store) {
        store.beginGroup(from);
        const QStringList names = store.allKeys();
        QList<QVariant> values;
        for (const QString& name : names)
            values << store.value(name);
        store.endGroup();
        for (int i = 0; i < names.size(); ++i)
            store.setValue(to + QLatin1Char('/') + names[i], values[i]);
        store.remove(from);
    });
}

// Sets the string[1] at `offset` to "x".
void setCellX(QByteArray& image, int offset) {
    image[offset] = 1;
    image[offset + 1] = 'x';
}

struct Migration {
    QString name;
    bool general = false;
    bool selection = false;
    bool charTable = false;
};

// Migrates the settings files of the data folder. Each file's original goes
// into the backup folder first; a file whose copy is already there was
// migrated by an earlier run and stays as it is, so a repeated update (after
// a failed copy left the old version in the registry) never patches the user's
// current settings a second time. False when a file could not be backed up or
// written; the other files are migrated all the same.
bool migrateSettingsFiles(const QString& dataFolder) {
    const QStringList general = ListDataFiles(dataFolder, QStringLiteral("gruopt.dat"));
    const QStringList selection = ListDataFiles(dataFolder, QStringLiteral("*a.dat;auswopt.dat"));
    const QStringList charTable = ListDataFiles(dataFolder, QStringLiteral("*sz.dat;gruopt.dat"));

    QList<Migration> migrations;
    auto entry = [&](const QString& name) -> Migration& {
        for (Migration& m : migrations)
            if (m.name == name) return m;
        migrations.append(Migration{name});
        return migrations.last();
    };
    for (const QString& name : general)
        entry(name).general = true;
    for (const QString& name : selection)
        entry(name).selection = true;
    for (const QString& name : charTable)
        entry(name).charTable = true;
    if (migrations.isEmpty()) return true;

    const QString backupFolder = platform::findCaseInsensitive(dataFolder, MigrationBackupFolder);
    if (!platform::ensureFolder(backupFolder)) return false;

    bool ok = true;
    for (const Migration& m : migrations) {
        const QString path = QDir(dataFolder).filePath(m.name);
        const QString backup = QDir(backupFolder).filePath(m.name);
        if (QFileInfo::exists(backup)) continue;
        if (!platform::copyWholeFile(path, backup)) {
            ok = false;
            continue;
        }
        bool written = true;
        if (m.general) written = written && MigrateGeneralOptionsFile(path);
        if (m.selection) written = written && MigrateSelectionOptionsFile(path);
        if (m.charTable) written = written && MigrateCharTableFile(path);
        if (!written) {
            // The file is whole (atomic writes); without its backup the next
            // run takes it up again.
            QFile::remove(backup);
            ok = false;
        }
    }
    return ok;
}

// Moves a desktop entry. The menu shows an entry by its "Name", not by its
// file name, so a name that was the old file's name follows the new one.
void moveShortcut(const QString& from, const QString& to) {
    if (!QFile::rename(from, to)) return;
    QFile file;
    if (!platform::openRegularFile(file, to)) return;
    QList<QByteArray> lines = file.readAll().split('\n');
    file.close();
    const QByteArray oldName = QFileInfo(from).completeBaseName().toUtf8();
    const QByteArray newName = QFileInfo(to).completeBaseName().toUtf8();
    bool renamed = false;
    for (QByteArray& line : lines) {
        const qsizetype equals = line.indexOf('=');
        if (equals < 0) continue;
        const QByteArray key = line.left(equals).trimmed();
        if ((key == "Name" || key.startsWith("Name[")) &&
            line.mid(equals + 1).trimmed() == oldName) {
            line = key + '=' + newName;
            renamed = true;
        }
    }
    if (renamed) platform::writeWholeFile(to, lines.join('\n'));
}

} // namespace

bool FindShortcutFolders(ShortcutFolders& folders) {
    const QFileInfo home(QDir::homePath());
    if (!home.isDir() || home.isRoot()) return false;
    folders.programs = QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
    folders.desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return !folders.programs.isEmpty() && !folders.desktop.isEmpty();
}

bool RenameShortcuts(const QString& oldVersion) {
    ShortcutFolders folders;
    if (!FindShortcutFolders(folders)) return false;
    const QString oldName = QStringLiteral("Orvilex ") + oldVersion;
    // The menu folder of the old version, where the menu has it.
    QString oldFolder;
    QDir programs;
    for (const QString& folder : folders.programs) {
        if (QFileInfo(QDir(folder).filePath(oldName)).isDir()) {
            programs.setPath(folder);
            oldFolder = programs.filePath(oldName);
            break;
        }
    }
    if (oldFolder.isEmpty()) return true;
    QString newFolder = programs.filePath(MenuFolderName);
    if (QFileInfo(newFolder).isDir()) newFolder += QLatin1Char('_');
    QDir().mkpath(newFolder);
    const QDir from(oldFolder), to(newFolder), desktop(folders.desktop);
    const QString suffix = DesktopEntrySuffix;
    moveShortcut(from.filePath(oldName + suffix), to.filePath(MenuFolderName + suffix));
    moveShortcut(from.filePath(QStringLiteral("Orvilex Hilfe") + suffix),
                 to.filePath(QStringLiteral("Orvilex Hilfe") + suffix));
    moveShortcut(from.filePath(QStringLiteral("Deinstallieren von ") + oldName + suffix),
                 to.filePath(QStringLiteral("Deinstallieren von ") + MenuFolderName + suffix));
    moveShortcut(desktop.filePath(oldName + QStringLiteral(" Vokabeltrainer") + suffix),
                 desktop.filePath(MenuFolderName + QStringLiteral(" Vokabeltrainer") + suffix));
    QDir().rmdir(oldFolder);
    return true;
}

const QList<ProgramFile>& programFiles() {
    static const QList<ProgramFile> files{
        {QStringLiteral("Orvilex.exe"),
         QStringLiteral(
             "Orvilex.exe konnte nicht ersetzt werden. Beenden Sie Orvilex, wenn es läuft")},
        {QStringLiteral("olu_deinst.exe"),
         QStringLiteral("olu_deinst.exe konnte nicht kopiert werden")},
        {QStringLiteral("Orvilex.hlp"),
         QStringLiteral(
             "Orvilex.hlp konnte nicht ersetzt werden. Beenden Sie Orvilex, wenn es läuft")},
        {QStringLiteral("Orvilex.cnt"),
         QStringLiteral(
             "Orvilex.cnt konnte nicht ersetzt werden. Beenden Sie Orvilex, wenn es läuft")},
        {QStringLiteral("lizenz.txt"), QStringLiteral("lizenz.txt konnte nicht ersetzt werden")},
        {QStringLiteral("readme.txt"), QStringLiteral("readme.txt konnte nicht ersetzt werden")},
        {QStringLiteral("uninstall-readme.txt"),
         QStringLiteral("uninstall-readme.txt konnte nicht ersetzt werden")},
        {QStringLiteral("vrm.txt"), QStringLiteral("vrm.txt konnte nicht ersetzt werden")},
    };
    return files;
}

QStringList ListDataFiles(const QString& folder, const QString& masks) {
    QDir dir(folder);
    // Without QDir::CaseSensitive the masks match as they did on the original
    // file system: "auswopt.dat" finds "AuswOpt.dat".
    dir.setNameFilters(masks.split(QLatin1Char(';'), Qt::SkipEmptyParts));
    dir.setFilter(QDir::Files | QDir::Hidden);
    return dir.entryList(QDir::NoFilter, QDir::Name);
}

bool MigrateGeneralOptionsFile(const QString& path) {
    return patchFile(path, GeneralRecordSize, [](QByteArray& image) {
        // Menu shortcuts on, the short character table.
        image[10] = 0;
        image[11] = 0;
        // The old layout kept the character-table size at 62.
        image[818] = image[62];
        image[819] = image[63];
    });
}

bool MigrateSelectionOptionsFile(const QString& path) {
    return patchFile(path, SelectionRecordSize, [](QByteArray& image) {
        static const char values[5] = {0, 0, 1, 0, 0};
        for (int i = 0; i < 5; ++i)
            image[23 + i] = values[i];
    });
}

bool MigrateCharTableFile(const QString& path) {
    return patchFile(path, GeneralRecordSize, [](QByteArray& image) {
        for (int column = 0; column < 7; ++column)
            for (int row = 5; row <= 9; ++row)
                setCellX(image, 20 + 40 * column + 2 * row);
    });
}

void RunUpdate(QString& resultText) {
    RunUpdate(resultText, QDir::currentPath());
}

void RunUpdate(QString& resultText, const QString& sourceFolder) {
    resultText.clear();
    const QString dir =
        platform::normalizePath(platform::readRegistryString(InstallKey, QStringLiteral("dir")));
    const QString version = platform::readRegistryString(InstallKey, QStringLiteral("Version"));
    const bool found = !dir.isEmpty() && QFileInfo(QDir(dir).filePath(ProgramFileName)).isFile();
    static const QStringList knownVersions{QStringLiteral("3.0"), QStringLiteral("3.1"),
                                           QStringLiteral("3.2"), QStringLiteral("3.3")};
    if (!found || !knownVersions.contains(version))
        resultText =
            QStringLiteral("Keine Orvilex-Version 3.0, 3.1 oder 3.2 zum Updaten vorhanden");
    const bool alreadyCurrent = version == CurrentVersion;
    const bool needsMigration = version == QLatin1String("3.0") || version == QLatin1String("3.1");

    if (!dir.isEmpty()) WorkDir = dir;

    if (resultText.isEmpty()) {
        for (const ProgramFile& file : programFiles()) {
            const QString source = platform::findCaseInsensitive(sourceFolder, file.name);
            const QString target = platform::findCaseInsensitive(dir, file.name);
            if (!platform::copyWholeFile(source, target)) {
                resultText = file.failureText;
                break;
            }
        }
        if (needsMigration) {
            const QString dataFolder = platform::findCaseInsensitive(dir, QStringLiteral("data"));
            if (!migrateSettingsFiles(dataFolder))
                resultText =
                    QStringLiteral("Einstellungsdateien konnten nicht aktualisiert werden");
        }
    }

    if (resultText.isEmpty()) {
        bool ok =
            platform::writeRegistryString(InstallKey, QStringLiteral("Version"), CurrentVersion);
        const QString newKey = UninstallKeyPrefix + CurrentVersion;
        ok = moveRegistryKey(UninstallKeyPrefix + version, newKey) && ok;
        // The uninstall run depends on this entry: it is created when the
        // old version had none.
        ok = platform::writeRegistryString(newKey, QStringLiteral("DisplayName"),
                                           QStringLiteral("Orvilex ") + CurrentVersion) &&
             ok;
        ok = platform::writeRegistryString(newKey, QStringLiteral("UninstallString"),
                                           QDir(dir).filePath(ProgramFileName) +
                                               QStringLiteral(" /uninstall")) &&
             ok;
        if (!ok) resultText = QStringLiteral("Fehler beim Schreiben in die Registrierung");
    }

    if (needsMigration && resultText.isEmpty()) {
        // Kept as a record only: the desktop does not read file types from here.
        if (!platform::writeRegistryString(BackupFileTypeKey, DefaultValueName,
                                           QStringLiteral("Orvilex Backup-Datei")))
            resultText = QStringLiteral("Fehler beim Schreiben in der Registrierung");
    }

    if (resultText.isEmpty() && !RenameShortcuts(version))
        resultText = QStringLiteral("Fehler beim Lesen in der Registrierung");

    if (alreadyCurrent && resultText.isEmpty()) resultText = QStringLiteral("33");
}

} // namespace updater
