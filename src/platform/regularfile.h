#pragma once
// Opening a file that must be a regular one. Reading a FIFO blocks until a
// writer comes, for good when none does, and a device or a folder is no file
// the program can use: whatever stands at the path is opened without waiting
// and refused unless it is a regular file.
#include <QString>

class QFile;

namespace platform {

// Whether the path (after symbolic links) names a regular file.
bool isRegularFile(const QString& path);

// Opens the path for reading without ever blocking. Returns the descriptor,
// in blocking mode again, of a regular file; -1 (errno set, EINVAL for
// anything that is not a regular file) otherwise.
int openRegularFile(const QString& path);

// Opens `file` (its fileName()) for reading through openRegularFile; the
// QFile owns the descriptor then. False when it is not a regular file or
// cannot be opened.
bool openRegularFile(QFile& file);

// The German sentence for a path that names no regular file, or an empty
// string when it does.
QString notARegularFileText(const QString& path);

} // namespace platform
