#pragma once
// The lock a restore holds on the database it replaces, from before it stages
// or keeps its first file until it ends. A second restore of that database
// (in another copy of the program) finds it taken and changes nothing; the
// start-up clean-up leaves the hidden files of a folder alone while a restore
// is at work there, for the old files a restore keeps carry their old age and
// its journal names them only once they all exist. The lock is a hidden file
// beside the database (".restore-<key>.lock", the key made from the database
// name without regard to case), locked while held and removed on release.
#include <QString>

namespace platform {

class RestoreLock {
  public:
    enum class Outcome { Taken, Busy, Failed };

    RestoreLock() = default;
    RestoreLock(const RestoreLock&) = delete;
    RestoreLock& operator=(const RestoreLock&) = delete;
    ~RestoreLock() { release(); }

    // Takes the lock of the database `base` (folder + "/" + name) in its
    // existing folder. Busy while another restore of the database holds it;
    // Failed (errno set) when the lock file cannot be made there.
    Outcome take(const QString& base);
    void release();

  private:
    int handle_ = -1;
    QString path_;
};

// Whether a restore holds its lock in `folder`. Lock files that none holds
// (left by a restore that was killed) are removed on the way.
bool restoreAtWork(const QString& folder);

} // namespace platform
