#pragma once
// The restore of backup files without widgets: one archive into the working
// folder with the overwrite question and its result line; old zipped backups.
#include <QString>
#include <QStringList>

// The part after the last separator, without its last "." and what follows.
QString ExtractBaseName(const QString& path);

// True for a backup archive (the name ends in "OLX", in any case).
bool IsBackupArchive(const QString& path);

// "Datenbank "name" wurde erfolgreich zurückgesichert." or the error line for
// the code; `detail`, when given, says more than the code's reason. A
// `notice` follows the success on the same line.
QString RestoreResultLine(const QString& name, int code, const QString& detail = QString(),
                          const QString& notice = QString());

struct RestoreOutcome {
    int code = 0;
    QString line;      // the result line, ended like every result line
    QStringList files; // the files written
};

// Restores an archive into VocabularyRoot() (WorkDir unless a custom
// vocabulary folder is chosen) + "/" + the folder named in the archive,
// asking before an existing database is overwritten (the question names that
// database). `displayName` is the archive's file name without its extension;
// the result line names the archive by it.
RestoreOutcome RestoreArchive(const QString& archivePath, const QString& displayName);
