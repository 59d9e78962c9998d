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

// "Dies ist keine gewöhnliche Datei …" and the path: the message for such a path.
QString notARegularFileMessage(const QString& path);

} // namespace platform
