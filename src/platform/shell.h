#pragma once
// Opening documents, web pages and programs through the desktop, as the shell
// verb "open" did.
#include <QString>
#include <QStringList>

namespace platform {

// The name of the help file, set at start-up. The help itself is built into
// the program (mainwindow/helpcommands.h); topics name it as "file::/page".
inline QString HelpFile;

// Opens a file or URL with the desktop's default program; false when it is
// missing or cannot be opened.
bool shellOpen(const QString& target);

// Starts a program with arguments in a working folder; false when it is missing.
bool startProgram(const QString& program, const QStringList& arguments,
                  const QString& workingFolder = QString());

} // namespace platform
