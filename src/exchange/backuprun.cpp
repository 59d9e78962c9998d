#include "exchange/backuprun.h"

#include "database/lessons.h"
#include "exchange/backuparchive.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "platform/mounts.h"
#include "platform/paths.h"
#include "platform/temporaryfiles.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <unistd.h>

QString BackupTempFolder;

namespace {

QString backupFolder() {
    return platform::joinPath(WorkDir, QStringLiteral("backup"));
}

void deleteFilesIn(const QString& folder) {
    QDir dir(folder);
    const QStringList files = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& file : files)
        dir.remove(file);
}

// Nothing in the folder, nor the folder itself, changed since `before`.
bool untouchedSince(const QString& folder, const QDateTime& before) {
    if (QFileInfo(folder).lastModified() >= before) return false;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        if (it.fileInfo().lastModified() >= before) return false;
    }
    return true;
}

} // namespace

int RemoveStaleBackupTempFolders() {
    static const QRegularExpression own(QStringLiteral("^oltmp-[A-Za-z]{6}$"));
    const QDateTime before = QDateTime::currentDateTime().addSecs(-platform::LeftoverAgeSeconds);
    const QDir temp(QDir::tempPath());
    int removed = 0;
    for (const QFileInfo& folder :
         temp.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks | QDir::Hidden)) {
        if (!own.match(folder.fileName()).hasMatch() || folder.isSymLink()) continue;
        if (folder.ownerId() != ::getuid()) continue;
        if (folder.absoluteFilePath() + QLatin1Char('/') == BackupTempFolder) continue;
        if (!untouchedSince(folder.absoluteFilePath(), before)) continue;
        // Links inside are removed themselves, never followed.
        if (QDir(folder.absoluteFilePath()).removeRecursively()) ++removed;
    }
    return removed;
}

bool CreateBackupTempFolder() {
    if (!BackupTempFolder.isEmpty() && QFileInfo(BackupTempFolder).isDir()) return true;
    RemoveStaleBackupTempFolders();
    QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/oltmp-XXXXXX"));
    if (!folder.isValid()) return false;
    folder.setAutoRemove(false);
    BackupTempFolder = folder.path() + QLatin1Char('/');
    return true;
}

void ClearBackupTempFolder() {
    platform::ensureFolder(backupFolder());
    if (!BackupTempFolder.isEmpty()) deleteFilesIn(BackupTempFolder);
}

void RemoveBackupTempFolder() {
    if (BackupTempFolder.isEmpty()) return;
    deleteFilesIn(BackupTempFolder);
    QDir().rmdir(BackupTempFolder);
    BackupTempFolder.clear();
}

QString BackupName(const QString& tablePath) {
    const QString name = QFileInfo(platform::normalizePath(tablePath)).fileName();
    return name.left(name.size() - 3);
}

QString BackupArchivePath(const QString& tablePath, const QString& targetFolder) {
    QString folder = platform::normalizePath(targetFolder);
    while (folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder + QLatin1Char('/') + BackupName(tablePath) + QStringLiteral(".olx");
}

QString ArchiveResultLine(int code, const QString& detail, const QString& success,
                          const QString& failure, const QString& exists) {
    if (code == ArchiveOk) return success + ResultLineEnd;
    QString reason = detail;
    if (reason.isEmpty()) {
        switch (code) {
        case ArchiveExists:
            reason = exists;
            break;
        case ArchiveWriteFailed:
            reason = QStringLiteral("Keine Schreibrechte.");
            break;
        default:
            reason = QStringLiteral("Unbekannter Fehler.");
            break;
        }
    }
    return failure + reason + ResultLineEnd;
}

QString BackupResultLine(const QString& name, int code, const QString& detail) {
    return ArchiveResultLine(
        code, detail, QStringLiteral("Datenbank \"%1\" wurde erfolgreich gesichert.").arg(name),
        QStringLiteral("Fehler beim Sichern von \"%1\". ").arg(name),
        QStringLiteral("Datei existiert schon."));
}

QString RunBackups(const QStringList& tablePaths, const QString& targetFolder,
                   const std::function<void(const QString&)>& starting) {
    QString text;
    const QString version = QStringLiteral("3.2");
    // Writing into a folder whose file system does not answer would wait for good.
    const bool targetAnswers = platform::askFileSystem(targetFolder).answered();
    for (const QString& path : tablePaths) {
        const QString name = BackupName(path);
        if (!targetAnswers) {
            text +=
                BackupResultLine(name, ArchiveWriteFailed, platform::noAnswerMessage(targetFolder));
            continue;
        }
        ClearBackupTempFolder();
        const QString archive = BackupArchivePath(path, targetFolder);
        if (starting) starting(name + QStringLiteral(".olx"));
        // A list that a sort or an import left waiting belongs to the table as
        // it is now: it takes its place before the list is packed with it.
        SettlePendingLessonLists(platform::normalizePath(path));
        ArchiveReport report;
        int code = BackupDatabase(path, archive, backupFolder(), false, version, &report);
        if (code == ArchiveExists &&
            platform::showMessage(
                QStringLiteral("Soll vorhandene Datei \"%1\" überschrieben werden?")
                    .arg(QDir::toNativeSeparators(archive)),
                QStringLiteral("Datei existiert schon"), platform::Icon::Question,
                platform::Buttons::YesNo) == platform::Answer::Yes) {
            report = ArchiveReport();
            code = BackupDatabase(path, archive, backupFolder(), true, version, &report);
        }
        text += BackupResultLine(name, code, report.detail);
    }
    return text;
}

QString DatedBackupFolderName(const QDate& date) {
    QString day = QLocale::system().toString(date, QLocale::ShortFormat);
    for (const QChar c : {QLatin1Char('/'), QLatin1Char('\\'), QLatin1Char(':')})
        day.replace(c, QLatin1Char('-'));
    return QStringLiteral("Orvilex Sicherung (") + day + QLatin1Char(')');
}
