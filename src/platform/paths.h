#pragma once
// Path helpers. The program builds paths with "\" separators in many places;
// here they become "/" and are joined with QDir rules.
#include <QString>

namespace platform {

// Turns "\" into "/".
QString normalizePath(const QString& path);

// Joins a folder and a relative part such as "\data\gruopt.dat".
QString joinPath(const QString& folder, const QString& relative);

// The entry of `folder` whose name equals `name` without regard to case, or
// `folder`/`name` itself when there is none (the spelling to create it with).
QString findCaseInsensitive(const QString& folder, const QString& name);

// Creates the folder and its missing parents; true when it exists afterwards.
bool ensureFolder(const QString& folder);

// Copies a file when the target does not exist yet; an existing target stays.
bool copyIfMissing(const QString& source, const QString& target);

// Copies a file, replacing the target; a failed copy leaves the old target.
bool copyReplacing(const QString& source, const QString& target);

// The folder of the running program file.
QString programFolder();

} // namespace platform
