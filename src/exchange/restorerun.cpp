#include "exchange/restorerun.h"

#include "database/databasefiles.h"
#include "exchange/backuparchive.h"
#include "exchange/backuprun.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "platform/mounts.h"
#include "platform/paths.h"

QString ExtractBaseName(const QString& path) {
    const QString normal = platform::normalizePath(path);
    QString name = normal.mid(normal.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0) name.truncate(dot);
    return name;
}

bool IsBackupArchive(const QString& path) {
    return path.right(3).toUpper() == QLatin1String("OLX");
}

QString RestoreResultLine(const QString& name, int code, const QString& detail,
                          const QString& notice) {
    if (code == ArchiveOk && !notice.isEmpty())
        return RestoreResultLine(name, code).chopped(ResultLineEnd.size()) + QLatin1Char(' ') +
               notice + ResultLineEnd;
    return ArchiveResultLine(
        code, detail,
        QStringLiteral("Datenbank \"%1\" wurde erfolgreich zurückgesichert.").arg(name),
        QStringLiteral("Fehler beim Zurücksichern von \"%1\". ").arg(name),
        QStringLiteral("Datenbank existiert schon."));
}

RestoreOutcome RestoreArchive(const QString& archivePath, const QString& displayName) {
    // The archive is only read, so a write-protected one restores as it is:
    // no working copy is made (and none can be deleted by mistake).
    const QString temp = platform::joinPath(WorkDir, QStringLiteral("backup"));
    // Into the folder whose language folders the open dialog lists (the
    // custom vocabulary folder when one is chosen), where the user looks.
    const QString root = VocabularyRoot();
    const QString name = ExtractBaseName(displayName);
    if (!platform::askFileSystem(archivePath).answered()) {
        RestoreOutcome silent;
        silent.code = ArchiveFailed;
        silent.line =
            RestoreResultLine(name, ArchiveFailed,
                              platform::noAnswerMessage(archivePath, QStringLiteral("Die Datei")));
        return silent;
    }
    ArchiveReport report;
    int code = RestoreDatabase(archivePath, root, temp, false, &report);
    // The question names the database that would be replaced, which need not
    // be the archive's name.
    const QString database = report.database.isEmpty() ? name : report.database;
    if (code == ArchiveExists &&
        platform::showMessage(
            QStringLiteral("Soll vorhandene Datenbank \"%1\" überschrieben werden?").arg(database),
            QStringLiteral("Achtung - Datenbank existiert schon"), platform::Icon::Question,
            platform::Buttons::YesNo) == platform::Answer::Yes) {
        report = ArchiveReport();
        code = RestoreDatabase(archivePath, root, temp, true, &report);
    }
    RestoreOutcome outcome;
    outcome.code = code;
    outcome.files = report.files;
    outcome.line = RestoreResultLine(name, code, report.detail, report.notice);
    return outcome;
}
