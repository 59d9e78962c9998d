#pragma once
// The backup run of the backup window without widgets: one archive per chosen
// database, the overwrite question, the result text; the temporary folder.
#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>

// Ends every line of the result texts (line feed, then carriage return).
inline const QString ResultLineEnd = QStringLiteral("\n\r");

// The program's private temporary folder, with a trailing "/". Set once by
// CreateBackupTempFolder and kept for the whole run.
extern QString BackupTempFolder;
// Creates a private folder below the system's temporary folder, once; first
// the stale folders of earlier runs go (RemoveStaleBackupTempFolders).
bool CreateBackupTempFolder();
// A restore killed part-way leaves its unpacked files in its folder below the
// system's temporary folder. Removes this user's folders of that name whose
// contents have not changed for LeftoverAgeSeconds (a copy of the program
// running now may still use a younger one). Returns how many went.
int RemoveStaleBackupTempFolders();
// Makes sure WorkDir + "/backup" exists, then deletes every file in
// BackupTempFolder (folders inside it stay).
void ClearBackupTempFolder();
// Empties and removes BackupTempFolder (at shutdown); a later
// CreateBackupTempFolder makes a new one.
void RemoveBackupTempFolder();

// The name a database's archive gets: its file name without the extension.
QString BackupName(const QString& tablePath);
// folder (without a trailing separator) + "/" + name + ".olx".
QString BackupArchivePath(const QString& tablePath, const QString& targetFolder);

// One line of a result text: `success` for ArchiveOk, else `failure` followed
// by `detail` or, without one, the code's reason (`exists` for ArchiveExists).
QString ArchiveResultLine(int code, const QString& detail, const QString& success,
                          const QString& failure, const QString& exists);

// "Datenbank "name" wurde erfolgreich gesichert." or the error line for the
// code; `detail`, when given, says more than the code's reason.
QString BackupResultLine(const QString& name, int code, const QString& detail = QString());

// Backs up each database into the target folder, asking before an archive is
// overwritten; `starting` is told each archive's file name first. Returns the
// result text, one line per database.
QString RunBackups(const QStringList& tablePaths, const QString& targetFolder,
                   const std::function<void(const QString& archiveName)>& starting = {});

// The name of the dated backup folder: "Orvilex Sicherung (" + the date in the
// system's short format + ")". Separators a date format may contain become "-".
QString DatedBackupFolderName(const QDate& date);
