#pragma once
// Zipped backups of the older program (".olz", ".zip"): a zip file holding
// "fname.hah" (the database name) and the database files under the first
// eight characters of that name. They are unpacked in the program with libzip
// into the temporary folder and moved into the language folder the short-named
// ".opt" names. Widget-free; the overwrite question goes through the message
// seam.
#include <QByteArray>
#include <QString>
#include <QStringList>

// The database name of "fname.hah": one string of capacity 50 (length byte
// first, 8-bit text). Empty when the record is short or its length too big.
QString OldBackupDatabaseName(const QByteArray& record);

// The name the database files have in an old backup: the first eight
// characters of the database name; a blank as the last of them becomes "_".
QString OldBackupShortName(const QString& databaseName);

// Whether an entry name of a zip file may become a file in a folder: not
// empty, no "." or "..", no folder part, no drive, no control characters.
bool SafeZipEntryName(const QByteArray& rawName);

struct OldBackupOutcome {
    bool restored = false; // the database files were moved into place
    QString line;          // the result line for the user, ended like every result line
    QString targetBase;    // language folder + "/" + database name (no extension)
    QStringList files;     // the files written into the language folder
};

// Restores one old backup: empties the temporary folder (BackupTempFolder),
// unpacks the database's files into it, reads name and language, and moves
// the files into VocabularyRoot() + "/" + language, the folder whose language
// folders the open dialog lists and where backup archives are restored too.
// When the database exists there (".ol" or ".db") the user is asked first; on
// Yes its five files are deleted before the move, on No nothing changes.
// Paradox tables are converted on the way, before anything is replaced. The
// temporary folder is emptied again at the end. `displayName` names the
// backup in the result line until the database name is known.
OldBackupOutcome RestoreOldBackup(const QString& archivePath, const QString& displayName);
