#pragma once
// The journal of a set of renames that must happen all or not at all (the
// files of a restored database taking the places of the old ones). Before the
// first rename the journal lists every step, synced to the disk, and the
// program holds a lock on it while it works; removing it is the moment the
// new files count as in place. A program killed before that leaves the
// journal unlocked, and the next start (or the next opening of a database in
// that folder) puts every old file back from its kept second name. Where the
// file system has no locks, a journal of another program counts as at work
// while a copy of the program holds a restore lock in its folder. The
// journal records what identifies each file it names (device, inode, size),
// and a step is undone only where the files at its names are still those
// (same inode and size: a disk may come back under another device number).
#include <QList>
#include <QSet>
#include <QString>

namespace platform {

struct ReplacementStep {
    enum class Kind : quint8 { Replace, PlaceNew, Remove };
    Kind kind = Kind::Replace;
    QString staged; // the new file waiting beside the target; empty for a removal
    QString target;
    QString kept; // the old file's second name; empty when none stood there
};

class ReplacementJournal {
  public:
    ReplacementJournal() = default;
    ReplacementJournal(const ReplacementJournal&) = delete;
    ReplacementJournal& operator=(const ReplacementJournal&) = delete;
    // Releases the lock; a journal not removed stays for the next start.
    ~ReplacementJournal();

    // Writes the steps, all in `folder`, to a new journal there, synced and
    // locked. Staged and kept files must be regular files. False (with the
    // German cause in `error`) when it cannot be written; nothing is left
    // behind then.
    bool write(const QString& folder, const QList<ReplacementStep>& steps, QString* error);
    // Removes the journal: the renames are final, or were all undone.
    void remove();

  private:
    int handle_ = -1;
    QString path_;
    QString folder_;
};

// Undoes the renames of every journal in `folder` whose program no longer
// runs, and removes those journals. Returns the file names (without folder)
// that journals of programs still at work name, or journals that could not be
// undone whole and stay for another try: they must not be touched.
QSet<QString> recoverInterruptedReplacements(const QString& folder);

} // namespace platform
