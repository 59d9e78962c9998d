#include "exchange/databasereplacement.h"

#include "database/databasefiles.h"
#include "platform/filemoves.h"
#include "platform/paths.h"
#include "platform/replacementjournal.h"
#include "platform/safefile.h"
#include "platform/temporaryfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

bool isRegular(const QString& path) {
    struct stat info {};
    return ::lstat(encoded(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

// A second name for an existing file, beside it. Empty (with the cause in
// `error`) on failure.
QString keepUnderSecondName(const QString& path, QString& error) {
    const QString folder = QFileInfo(path).absolutePath();
    for (int attempt = 0; attempt < 16; ++attempt) {
        QTemporaryFile reserved(platform::restoreTemporaryTemplate(folder));
        errno = 0;
        if (!reserved.open()) {
            error = platform::writeErrorText(errno ? errno : EIO);
            return QString();
        }
        // The name is freed for the link; QTemporaryFile must not remove the
        // link afterwards.
        reserved.setAutoRemove(false);
        const QString name = reserved.fileName();
        reserved.close();
        QFile::remove(name);
        if (platform::addSecondName(path, name, &error)) return name;
        if (errno == EEXIST) continue;
        return QString();
    }
    error = platform::writeErrorText(EEXIST);
    return QString();
}

std::function<bool(int)>& interruption() {
    static std::function<bool(int)> stop;
    return stop;
}

} // namespace

void SetReplacementInterruption(std::function<bool(int)> stop) {
    interruption() = std::move(stop);
}

QStringList ExistingDatabaseFiles(const QString& base) {
    const QFileInfo info(platform::normalizePath(base));
    // The files a restore chooses to replace and remove must be those of the
    // database, not of one half restored: otherwise the playback at its commit
    // brings back an old file that the new restore does not remove.
    platform::recoverInterruptedReplacements(info.absolutePath());
    const TablePathParts parts = SplitTablePath(info.filePath() + QStringLiteral(".ol"));
    QStringList files;
    for (const char* extension : {".ol", ".db", ".px", ".lst", ".opt"}) {
        const QString found =
            platform::findCaseInsensitive(info.path(), info.fileName() + QLatin1String(extension));
        struct stat entry {};
        if (::lstat(encoded(found).constData(), &entry) != 0) continue;
        if (!S_ISREG(entry.st_mode) && !S_ISLNK(entry.st_mode)) continue;
        if (BelongsToAnotherDatabase(found, parts)) continue;
        files << found;
    }
    return files;
}

QString DatabaseFileFor(const QStringList& existing, const QString& base,
                        const QString& extension) {
    for (const QString& file : existing)
        if (file.endsWith(extension, Qt::CaseInsensitive)) return file;
    return base + extension;
}

QString SymbolicLinkRefusalText(const QString& path) {
    return QStringLiteral("An der Stelle von \"%1\" steht eine symbolische Verknüpfung; darüber "
                          "wird nicht zurückgesichert.")
        .arg(shown(path));
}

QString LockForRestore(platform::RestoreLock& lock, const QString& base) {
    switch (lock.take(base)) {
    case platform::RestoreLock::Outcome::Taken:
        return QString();
    case platform::RestoreLock::Outcome::Busy:
        return QStringLiteral("Die Datenbank \"%1\" wird gerade von einem anderen "
                              "Programmfenster zurückgesichert. Es wurde nichts geändert; "
                              "versuchen Sie es erneut, wenn jenes Zurücksichern beendet ist.")
            .arg(QFileInfo(base).fileName());
    case platform::RestoreLock::Outcome::Blocked:
        if (errno == EACCES)
            return QStringLiteral("Die Datenbank \"%1\" kann nicht zurückgesichert werden: Die "
                                  "Sperrdatei \"%2\" gehört einem anderen Benutzer und kann nicht "
                                  "gelesen werden; vielleicht sichert er die Datenbank gerade "
                                  "zurück. Es wurde nichts geändert.")
                .arg(QFileInfo(base).fileName(), shown(lock.blocking()));
        return QStringLiteral("Die Datenbank \"%1\" kann nicht zurückgesichert werden: An der "
                              "Stelle der Sperrdatei \"%2\" und ihrer Ausweichnamen liegen "
                              "Einträge, die nicht zum Programm gehören. Es wurde nichts geändert.")
            .arg(QFileInfo(base).fileName(), shown(lock.blocking()));
    case platform::RestoreLock::Outcome::Failed:
        break;
    }
    const int cause = errno;
    return QStringLiteral("Im Ordner \"%1\" kann nicht geschrieben werden. %2")
        .arg(shown(QFileInfo(base).absolutePath()), platform::writeErrorText(cause));
}

void DatabaseReplacement::replace(const QString& staged, const QString& target) {
    steps_.append(Step{{Kind::Replace, staged, target, {}}});
}

void DatabaseReplacement::placeNew(const QString& staged, const QString& target) {
    steps_.append(Step{{Kind::PlaceNew, staged, target, {}}});
}

void DatabaseReplacement::remove(const QString& old) {
    steps_.append(Step{{Kind::Remove, {}, old, {}}});
}

QString DatabaseReplacement::keepOldFiles() {
    for (Step& step : steps_) {
        if (step.kind == Kind::PlaceNew || !isRegular(step.target)) continue;
        QString cause;
        step.kept = keepUnderSecondName(step.target, cause);
        if (step.kept.isEmpty())
            return QStringLiteral(
                       "Die vorhandene Datei \"%1\" kann nicht beiseitegelegt werden. %2")
                .arg(shown(step.target), cause);
    }
    return QString();
}

QString DatabaseReplacement::run(Step& step) {
    bool ok = true;
    int cause = 0;
    QString failure;
    switch (step.kind) {
    case Kind::Replace:
        ok = platform::renameReplacing(step.staged, step.target);
        cause = errno;
        failure = QStringLiteral("Die Datei \"%1\" kann nicht ersetzt werden. %2");
        break;
    case Kind::PlaceNew:
        ok = platform::renameNew(step.staged, step.target);
        cause = errno;
        failure = QStringLiteral("Die Datei \"%1\" kann nicht angelegt werden. %2");
        break;
    case Kind::Remove:
        ok = ::unlink(encoded(step.target).constData()) == 0 || errno == ENOENT;
        cause = errno;
        failure = QStringLiteral("Die vorhandene Datei \"%1\" kann nicht gelöscht werden. %2");
        break;
    }
    if (!ok) return failure.arg(shown(step.target), platform::writeErrorText(cause));
    step.done = true;
    return QString();
}

QString DatabaseReplacement::commit() {
    // An earlier replacement in this folder that was stopped, or could not put
    // everything back, is finished first: its journal must not later undo
    // this one.
    if (!steps_.isEmpty())
        platform::recoverInterruptedReplacements(QFileInfo(steps_.first().target).absolutePath());
    QString error = keepOldFiles();
    platform::ReplacementJournal journal;
    if (error.isEmpty()) error = writeJournal(journal);
    if (error.isEmpty()) {
        // The new files first, the old ones that nothing replaces last: a
        // program stopped in between leaves a table in place.
        int done = 0;
        for (const bool removals : {false, true}) {
            for (Step& step : steps_) {
                if ((step.kind == Kind::Remove) != removals) continue;
                error = run(step);
                if (!error.isEmpty()) break;
                if (interruption() && interruption()(++done)) return QStringLiteral("Abgebrochen.");
            }
            if (!error.isEmpty()) break;
        }
        if (error.isEmpty()) {
            journal.remove();
            dropKept();
            return QString();
        }
    }
    QStringList stranded;
    if (rollBack(stranded)) {
        journal.remove();
        error += QStringLiteral(" Die Datenbank bleibt, wie sie war.");
    } else {
        // The journal stays: the next start puts the stranded files back.
        error += QStringLiteral(" Nicht alle alten Dateien konnten zurückgelegt werden; sie liegen "
                                "noch unter: %1")
                     .arg(stranded.join(QStringLiteral(", ")));
    }
    dropKept();
    return error;
}

QString DatabaseReplacement::writeJournal(platform::ReplacementJournal& journal) const {
    if (steps_.isEmpty()) return QString();
    // A program stopped during the renames below leaves this journal behind;
    // the next start (or opening) puts the old files back from it.
    QList<platform::ReplacementStep> steps;
    for (const Step& step : steps_)
        steps.append(step);
    const QString folder = QFileInfo(steps_.first().target).absolutePath();
    QString cause;
    if (journal.write(folder, steps, &cause)) return QString();
    return QStringLiteral("Im Ordner \"%1\" kann nicht geschrieben werden. %2")
        .arg(shown(folder), cause);
}

bool DatabaseReplacement::rollBack(QStringList& stranded) {
    for (auto step = steps_.rbegin(); step != steps_.rend(); ++step) {
        if (!step->done) continue;
        if (!step->kept.isEmpty()) {
            const bool back = step->kind == Kind::Remove
                                  ? platform::renameNew(step->kept, step->target)
                                  : platform::renameReplacing(step->kept, step->target);
            if (back)
                step->kept.clear();
            else
                stranded << shown(std::exchange(step->kept, QString()));
        } else if (step->kind != Kind::Remove) {
            // Nothing stood there before.
            QFile::remove(step->target);
        }
        step->done = false;
    }
    return stranded.isEmpty();
}

void DatabaseReplacement::dropKept() {
    for (Step& step : steps_)
        if (!step.kept.isEmpty()) QFile::remove(std::exchange(step.kept, QString()));
}

QStringList DatabaseReplacement::placed() const {
    QStringList targets;
    for (const Step& step : steps_)
        if (step.kind != Kind::Remove && step.done) targets << step.target;
    return targets;
}
