#pragma once
// Start-up decisions of the main window that need no widgets: the working
// folder, restricted-user mode, the start mode taken from the command line.
#include <QString>
#include <QStringList>

// How the program was started: a database, a zipped backup, a backup archive
// named on the command line, or a normal start.
enum StartModes : unsigned char { StartDatabase = 0, StartZippedBackup = 1, StartArchive = 2,
                                  StartNormal = 3 };

extern unsigned char StartMode;
extern QString StartFile;
extern QString SubstDrive; // always empty here: the user folder is used directly

namespace startup {

// The start mode for the first argument: its last letters, upper-cased,
// "OL" → database, "OLZ" → zipped backup, "OLX" → backup archive.
StartModes startModeFor(const QString& argument);

// The file named on the command line as a full path: a relative name counts
// from `startFolder`, the folder the program was started from.
QString startFilePath(const QString& argument, const QString& startFolder);

// Write test of WorkDir/data/ClearView.clr: true when the folder is writable.
bool programFolderWritable(const QString& workDir);

// Files copied into the user folder in restricted-user mode, relative to the
// program folder, in copy order.
const QStringList& restrictedModeFiles();

// Sets up the user folder below `documents` and copies what is missing from
// `installDir`; returns the new working folder. Throws platform::Error when the
// folder cannot be made.
QString prepareUserFolder(const QString& installDir, const QString& documents);

QString restrictedModeMessage(const QString& workDir);

// True for screens the program cannot be used on.
bool screenTooSmall(int screenHeight);

} // namespace startup
