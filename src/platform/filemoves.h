#pragma once
// Putting finished files in place. A file is written under a name of its own
// and then renamed onto its target, so the target holds the old or the new
// contents and never half of them. A rename acts on the directory entry: a
// symbolic link standing at either name is renamed or replaced itself, never
// followed.
#include <QString>
#include <functional>

namespace platform {

// True when anything stands at the path, a dangling symbolic link included.
bool entryExists(const QString& path);

// Renames within one file system, replacing whatever stands at `to`.
bool renameReplacing(const QString& from, const QString& to);

// Renames within one file system; fails (EEXIST) when something stands at
// `to`. Where the file system has neither an exclusive rename nor hard links,
// the name is looked at and the file then renamed plainly: the caller keeps
// other copies of the program away from the name meanwhile (the lock of a
// restore, the opening of a table).
bool renameNew(const QString& from, const QString& to);

// Moves a file onto `to`, replacing what stands there. On another file system
// the file is copied into a new file beside `to` (every write checked, the
// data flushed to the disk), renamed onto it, and then the source is removed.
bool moveReplacing(const QString& from, const QString& to);

// A file made under a name of its own is private to the user; before it
// takes the place of `target` it gets the permissions of the file there, or
// those of any new file when there is none.
bool takePermissionsOf(const QString& path, const QString& target);

// The bytes free for new files in the folder's file system.
qint64 freeSpace(const QString& folder);
// Tests pretend a fuller disk; an empty function brings back the real figure.
void setFreeSpaceOverride(std::function<qint64(const QString&)> figure);

} // namespace platform
