#pragma once
// The program's own updater: installs the new program files over an
// installed version 3.0 to 3.3, migrates the settings files of versions 3.0
// and 3.1 to the current record layouts and updates the installation's
// registry entries. It reports through one result text: empty or "33" on
// success, otherwise a German description of what failed.
//
// Settings files are changed byte by byte in place: every byte the migration
// does not own stays as the user left it. Before a file is changed, its
// original is copied into the backup folder below "data"; a file that already
// has a copy there counts as migrated and is not touched again.
#include <QString>
#include <QStringList>

namespace updater {

inline const QString InstallKey = QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Orvitec\\Orvilex");
inline const QString UninstallKeyPrefix = QStringLiteral(
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvilex ");
inline const QString BackupFileTypeKey = QStringLiteral("HKEY_CLASSES_ROOT\\.olx");
// The INI registry keeps a key's default value under this name.
inline const QString DefaultValueName = QStringLiteral("Default");
inline const QString CurrentVersion = QStringLiteral("3.3");
// The program's desktop entry, in the applications menu's folder
// "Orvilex 3.3", and the name the desktop's copy of it has.
inline const QString MenuFolderName = QStringLiteral("Orvilex ") + CurrentVersion;
inline const QString DesktopEntrySuffix = QStringLiteral(".desktop");
// Folder below "data" that keeps the originals of migrated settings files.
inline const QString MigrationBackupFolder = QStringLiteral("Sicherung vor Update 3.3");

struct ProgramFile {
    QString name;
    QString failureText;
};
// The files copied from the update folder into the installation, in order.
const QList<ProgramFile>& programFiles();

// The names of `folder`'s files matching one of the ";"-separated masks,
// without regard to case, sorted. No limit on their number.
QStringList ListDataFiles(const QString& folder, const QString& masks);

// The migrations of one settings file. Each patches only its own bytes and
// keeps the rest; a missing file or one shorter than its record is left
// alone (true). False when a file was to be changed and could not be written.
bool MigrateGeneralOptionsFile(const QString& path);
bool MigrateSelectionOptionsFile(const QString& path);
bool MigrateCharTableFile(const QString& path);

// Where the shortcuts lie on this desktop: the applications folders of the
// freedesktop menu (the user's first, then the system's) and the user's
// desktop folder. False when there is no home folder to find them in.
struct ShortcutFolders {
    QStringList programs;
    QString desktop;
};
bool FindShortcutFolders(ShortcutFolders& folders);

// Gives the old version's menu folder and entries and its desktop entry the
// current version's names. A move that fails is skipped. False when the
// folders cannot be found.
bool RenameShortcuts(const QString& oldVersion);

// Runs the update from the current folder.
void RunUpdate(QString& resultText);
// Runs the update with the new program files taken from `sourceFolder`.
void RunUpdate(QString& resultText, const QString& sourceFolder);

} // namespace updater
