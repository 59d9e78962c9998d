#include "platform/temporaryfiles.h"

#include "platform/mounts.h"
#include "platform/replacementjournal.h"
#include "platform/restorelock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace platform {

namespace {

// QTemporaryFile puts six letters in place of "XXXXXX".
const QString Random = QStringLiteral("[A-Za-z]{6}");

const QRegularExpression& ownTemporaryName() {
    static const QRegularExpression pattern(
        QStringLiteral("^(?:\\.move-%1\\.tmp"
                       // A restore's staged file: written through the checked write
                       // routine (which may add a name of its own) or filled by the engine.
                       "|\\.restore-%1\\.tmp(?:-journal|\\.%1)?"
                       // A converted table, with the engine's journal.
                       "|\\..+\\.(?i:ol|db)-%1\\.tmp(?:-journal)?)$")
            .arg(Random));
    return pattern;
}

} // namespace

QString moveTemporaryTemplate(const QString& folder) {
    return folder + QStringLiteral("/.move-XXXXXX.tmp");
}

QString restoreTemporaryTemplate(const QString& folder) {
    return folder + QStringLiteral("/.restore-XXXXXX.tmp");
}

QString conversionTemporaryTemplate(const QString& folder, const QString& tableName) {
    return folder + QStringLiteral("/.") + tableName + QStringLiteral("-XXXXXX.tmp");
}

bool isOwnTemporaryName(const QString& name) {
    return ownTemporaryName().match(name).hasMatch();
}

int removeLeftoverTemporaries(const QString& folder, const QDateTime& changedBefore) {
    int removed = 0;
    const QDir dir(folder);
    // Listed before the look for a restore at work: one that starts after the
    // look makes its files after the list.
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    const bool restoring = restoreAtWork(folder);
    // A restore killed during its renames is undone, from its kept files.
    const QSet<QString> inUse = recoverInterruptedReplacements(folder);
    for (const QString& name : names) {
        if (!isOwnTemporaryName(name) || inUse.contains(name)) continue;
        // A restore at work keeps the old files under second names as old as
        // they are, before its journal names them: its files all stay.
        if (restoring && name.startsWith(QLatin1String(".restore-"))) continue;
        const QFileInfo file(dir.filePath(name));
        if (file.isSymLink() || !file.isFile() || file.lastModified() >= changedBefore) continue;
        if (QFile::remove(file.filePath())) ++removed;
    }
    return removed;
}

void removeLeftoverTemporariesBelow(const QStringList& roots) {
    const QDateTime changedBefore = QDateTime::currentDateTime().addSecs(-LeftoverAgeSeconds);
    QStringList done;
    // A folder on a file system that does not answer is left for a later start.
    const QList<FileSystemAnswer> answers = askFileSystems(roots);
    for (int i = 0; i < roots.size(); ++i) {
        if (roots.at(i).isEmpty() || !answers.at(i).answered()) continue;
        const QDir dir(roots.at(i));
        QStringList folders;
        for (const QString& name :
             dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks)) {
            const QString folder = QDir::cleanPath(dir.absoluteFilePath(name));
            if (done.contains(folder)) continue;
            done << folder;
            folders << folder;
        }
        for (const QString& folder : foldersThatAnswer(folders))
            removeLeftoverTemporaries(folder, changedBefore);
    }
}

} // namespace platform
