#pragma once
// What the general settings dialog decides without widgets: the display form
// of folder paths, which stored vocabulary folder can be used, the paths of the
// shared settings files and the writing of the general settings.
#include <QString>

class TGeneralOptionsRec;

// A folder path shown in at most 50 characters: a longer path becomes its
// first three characters, "..", and its last 45.
QString ShortenPathForDisplay(const QString& path);

// Whether a stored vocabulary folder can be used: an absolute local path
// (network paths, relative paths and other systems' drive paths cannot).
bool isUsableCustomFolder(const QString& folder);

// The vocabulary folder in force for a record: its folder when usable, else
// the program's working folder.
QString vocabularyDirFor(const TGeneralOptionsRec& record, const QString& workDir);

// Points the settings-file globals at the shared files of the data folder
// (selection, quiz, print; the character table unless already chosen).
void setSharedSettingsPaths();

// Writes the settings part of `settings` (flags, table size, custom folder) to
// "gruopt.dat" on top of the file as it is now, so that the character table
// and recent databases written by others survive. GeneralOptions becomes the
// record written. A failure is reported; false then.
bool writeGeneralSettings(const TGeneralOptionsRec& settings);
