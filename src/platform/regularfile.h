#pragma once
// Reading only what is a file. Opening a FIFO for reading waits for a writer
// that never comes, and reading a device or a folder gives nothing sensible:
// every file the user can name (a table, a list, an archive, a text to
// import) is checked here before it is read.
#include <QString>

class QFile;

namespace platform {

// True when the path names a regular file (a symbolic link to one included).
bool isRegularFile(const QString& path);

// Opens `file` on `path` for reading without ever blocking: anything at the
// path but a regular file is refused. On failure `error` (when given) gets the
// German cause and the file stays closed.
bool openRegularFile(QFile& file, const QString& path, QString* error = nullptr);

// The same for a caller that needs the bare descriptor (libzip): returns it,
// in blocking mode again, or -1 with errno set (EINVAL for anything that is
// not a regular file).
int openRegularFile(const QString& path);

// "Dies ist keine gewöhnliche Datei …" and the path: the message for such a path.
QString notARegularFileMessage(const QString& path);

// That message when something other than a regular file stands at the path;
// empty for a regular file or when nothing is there.
QString notARegularFileText(const QString& path);

} // namespace platform
