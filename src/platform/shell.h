#pragma once
// Opening documents, web pages and programs through the desktop, as the shell
// verb "open" did.
#include <QString>
#include <QStringList>

namespace platform {

// The help file the program's help commands open, set at start-up.
inline QString HelpFile;

// Opens a file or URL with the desktop's default program; false when it is
// missing or cannot be opened.
bool shellOpen(const QString& target);

// Starts a program with arguments in a working folder; false when it is missing.
bool startProgram(const QString& program, const QStringList& arguments,
                  const QString& workingFolder = QString());

} // namespace platform
