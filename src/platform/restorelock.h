#pragma once
// The lock a restore holds on the database it replaces, from before it stages
// or keeps its first file until it ends. A second restore of that database
// (in another copy of the program) finds it taken and changes nothing; the
// start-up clean-up leaves the hidden files of a folder alone while a restore
// is at work there, for the old files a restore keeps carry their old age and
// its journal names them only once they all exist. The lock is a hidden file
// beside the database (".restore-<key>.lock", the key made from the database
// name without regard to case), locked while held and removed on release.
// Where another entry stands at that name (a folder, a FIFO, a file of
// another tool), every copy skips it alike and takes the next name
// (".restore-<key>.2.lock", ...). The file names the copy of the program that
// made it; where the file system has no locks (NFS without its lock service)
// the file made under a name that was free is the lock, and it counts as
// held while that copy runs.
#include <QString>

namespace platform {

class RestoreLock {
  public:
    enum class Outcome { Taken, Busy, Blocked, Failed };

    RestoreLock() = default;
    RestoreLock(const RestoreLock&) = delete;
    RestoreLock& operator=(const RestoreLock&) = delete;
    ~RestoreLock() { release(); }

    // Takes the lock of the database `base` (folder + "/" + name) in its
    // existing folder. Busy while another restore of the database holds it;
    // Blocked when blocking() stands in the way: another user's file that
    // cannot be read (errno EACCES), or entries of other programs at every
    // name (EEXIST); Failed (errno set) when the lock file cannot be made.
    Outcome take(const QString& base);
    void release();

    // The file that kept a lock from being taken (Blocked).
    QString blocking() const { return blocking_; }

  private:
    enum class Attempt { Taken, Busy, Again, Blocked, Failed };
    Attempt attempt(const QString& base);

    int handle_ = -1;
    QString path_;
    QString blocking_;
};

// Whether a restore holds its lock in `folder`. Lock files that none holds
// (left by a restore that was killed) are removed on the way.
bool restoreAtWork(const QString& folder);

// Whether a copy of the program other than this one holds a restore lock in
// `folder`. Where the file system has no locks, this tells a journal of a
// restore at work from one left by a restore that was killed.
bool restoreOfAnotherCopyAtWork(const QString& folder);

// Whether a lock call failed because the file system has no locks.
bool lacksLocks(int error);

} // namespace platform
