#pragma once
// Putting a restored database in place as one step. Its new files lie staged
// beside their targets; they take the targets' names one by one, and the old
// files of the database that nothing replaces go last. Every old file is kept
// first under a second name (a hard link, or a copy where the file system has
// none), so the name of a table never stands empty, and when any step fails
// every file is put back: the database is then exactly as it was. A journal
// lists the steps while they run, so that a program killed part-way has its
// old files put back at the next start.
#include "platform/replacementjournal.h"
#include "platform/restorelock.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// The database files (".ol", ".db", ".px", ".lst", ".opt") that stand beside
// `base` (folder + "/" + database name), found without regard to case but
// never another database's. Symbolic links are listed too (callers refuse
// them); folders and other entries that are no files are not. A restore of
// the folder killed during its renames is undone first.
QStringList ExistingDatabaseFiles(const QString& base);

// The file among `existing` (ExistingDatabaseFiles of `base`) that a restored
// file of `extension` (".lst") replaces, in the spelling it has on disk;
// `base` + `extension` when the database has no file of that extension.
QString DatabaseFileFor(const QStringList& existing, const QString& base, const QString& extension);

// Why a restore refuses to write where a symbolic link stands (the folder, a
// target or an old file of the database): the German message.
QString SymbolicLinkRefusalText(const QString& path);

// Takes the lock that a restore of the database `base` (folder + "/" + name,
// the folder existing) holds from before it stages or keeps a file until it
// ends. Empty when taken; otherwise the German reason (another restore of the
// database at work, a file at the lock's place that stands in the way, or a
// folder that cannot be written), and nothing changed.
QString LockForRestore(platform::RestoreLock& lock, const QString& base);

// For tests: called after each rename or removal with the number done so far;
// returning true abandons the replacement there, leaving every file as a
// program killed at that moment would. An empty function runs to the end.
void SetReplacementInterruption(std::function<bool(int stepsDone)> stop);

class DatabaseReplacement {
  public:
    // `staged` takes the place of `target`, replacing what stands there.
    void replace(const QString& staged, const QString& target);
    // `staged` takes a name that must be free (a kept original).
    void placeNew(const QString& staged, const QString& target);
    // An old file of the database that nothing replaces: it goes.
    void remove(const QString& old);

    // Does every step in the order given (removals last). Returns an empty
    // string on success, otherwise the German reason, after everything was
    // put back as it was.
    QString commit();
    // The targets written by a commit that succeeded.
    QStringList placed() const;

  private:
    using Kind = platform::ReplacementStep::Kind;
    // What the journal holds of a step, and whether it has run.
    struct Step : platform::ReplacementStep {
        bool done = false;
    };
    QString keepOldFiles();
    QString writeJournal(platform::ReplacementJournal& journal) const;
    QString run(Step& step);
    // Undoes the steps done, in reverse order. False when an old file could
    // not be put back (it is left under its kept name, named in `stranded`).
    bool rollBack(QStringList& stranded);
    void dropKept();

    QList<Step> steps_;
};
