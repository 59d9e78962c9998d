#pragma once
// The hidden files the program writes beside a target before renaming them
// onto it, and their removal after the program was stopped part-way (killed,
// or the machine switched off) and left them behind. Only names made from
// these templates are ever removed: never a user's file, never a symbolic link.
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace platform {

// Templates for QTemporaryFile, in `folder`:
// a file moved in from another file system (".move-XXXXXX.tmp"),
QString moveTemporaryTemplate(const QString& folder);
// a file of a restore waiting to be put in place (".restore-XXXXXX.tmp"),
QString restoreTemporaryTemplate(const QString& folder);
// the new table of a conversion of the table file `tableName` (".Caesar.ol-XXXXXX.tmp").
QString conversionTemporaryTemplate(const QString& folder, const QString& tableName);

// Whether a file name is one of those above, or one the engine or the
// checked write routine adds to one of them (a journal, a file written
// under another name before it replaces the staged one).
bool isOwnTemporaryName(const QString& name);

// A file still changed this recently may belong to another copy of the
// program running now; it stays until a later start.
constexpr qint64 LeftoverAgeSeconds = 60 * 60;

// Puts back the old files of a restore killed during its renames (see
// replacementjournal.h), then removes from `folder` the regular files with
// such names that were last changed before `changedBefore` and that no
// restore uses: while a restore is at work in the folder (restorelock.h),
// none of a restore's files go. Returns how many were removed.
int removeLeftoverTemporaries(const QString& folder, const QDateTime& changedBefore);

// Run at start-up: removes the leftovers older than LeftoverAgeSeconds from
// every folder directly below each of `roots` (the language folders and
// WorkDir's "data" folder). Folders reached through a symbolic link are not
// entered.
void removeLeftoverTemporariesBelow(const QStringList& roots);

} // namespace platform
