#pragma once
// The recent databases: up to four slots of the general settings record, most
// recent first, shown at the end of the "&Datenbank" menu.
#include <QString>
#include <functional>

class TGeneralOptionsRec;

// "Caesar [Latein]".
QString RecentDisplayText(const QString& databaseName, const QString& language);
// The menu caption of slot n (1..4): "&1 Caesar [Latein]". An "&" of the
// display text is doubled so that it shows instead of marking a shortcut.
QString RecentMenuCaption(int n, const QString& displayText);

// Puts a database at the front of the record's list: an entry of the same path
// (exact comparison, used slots only) is removed first, the others keep their
// order and the fifth drops out.
void AddRecentEntry(TGeneralOptionsRec& options, const QString& path, const QString& databaseName,
                    const QString& language);

// Removes the entries whose table file no longer exists, keeping the order of
// the others; returns how many were removed. The file is not written here: the
// next AddRecentDatabase writes the shortened list.
int RemoveMissingRecentDatabases(TGeneralOptionsRec& options);

// The path of slot n (1..4) of GeneralOptions, or "" when the slot is unused.
QString RecentDatabasePath(int n);

// Records an opened database: reads "gruopt.dat" again so that what others
// wrote there survives, puts the database at the front, writes the file and
// takes the new list into GeneralOptions (its other fields stay as they are),
// then runs RecentDatabasesChanged. False when the file could not be written
// (reported); GeneralOptions has the new list all the same.
bool AddRecentDatabase(const QString& path, const QString& databaseName, const QString& language);

// Wired by the main window to RebuildRecentFilesMenu.
extern std::function<void()> RecentDatabasesChanged;
