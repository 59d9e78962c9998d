#pragma once
// The files of the databases: listing the databases of the language folders,
// deleting one database with its companions, and checking a typed name.
#include <QString>
#include <QStringList>

// The databases of the language folders below `root`, as three parallel
// lists: line i of each describes the same database.
struct DatabaseListing {
    QStringList dbnames;    // full paths of the table files
    QStringList titles;     // file names
    QStringList namenliste; // language folder + "/" + file name, as shown
};
DatabaseListing ListDatabases(const QString& root);

// The folder whose language folders hold the databases: the custom vocabulary
// folder when the general settings choose it, otherwise WorkDir.
QString VocabularyRoot();

// Deletes the table file and its own ".px", ".lst" and ".opt", and the
// database's interrupted-quiz and lesson-selection files in WorkDir's "data"
// folder. A table of the same name with the other extension stays. Returns
// false when a file that exists could not be removed.
bool DeleteDatabaseFiles(const QString& tablePath);

// The parts of a table path: name, folder (with a trailing "/"), base
// (without the extension) and extension (".ol" or ".db").
struct TablePathParts {
    QString name;
    QString folder;
    QString base;
    QString extension;
};
TablePathParts SplitTablePath(const QString& tablePath);

// Files of a database are found without regard to case. Every one starts with
// the database's name: a file found in another case is another database's
// when a table of exactly that name lies beside this one.
bool BelongsToAnotherDatabase(const QString& found, const TablePathParts& parts);

// The file of the database with that ending ("lst"), found in any case but
// never another database's; the exact spelling when there is none.
QString DatabaseCompanionPath(const QString& databaseBase, const QString& ending);

// Checks a database or language name typed by the user. Returns an empty
// string when it is usable, otherwise the German message for the user.
QString CheckDatabaseName(const QString& name);
// CheckDatabaseName, and whether the 8-bit files a typed name is written to
// (options record, recent list) hold every character of it.
QString CheckTypedName(const QString& name);
// Empty when a typed language can be a database's language (the name of its
// folder and of its options record's language field), otherwise the German
// message why not: a name CheckTypedName refuses, or a folder of the program.
QString CheckTypedLanguage(const QString& language);
// A language or database name read from a file (an options record, a backup
// archive) becomes part of a path only when it passes the same check as a
// typed name: no separators, no "." or "..", no control characters. Its length
// may reach the capacity of the longest name field a file holds (old backups
// name their database with up to 50 characters), since a name typed today is
// limited more closely than one written by earlier copies of the program.
bool IsUsableNameFromFile(const QString& name);
// Whether a name is that of a folder of WorkDir that holds the program's own
// files ("data", "backup"), in any case.
bool IsProgramFolderName(const QString& name);
// A language read from a file becomes a language folder only when it passes
// IsUsableNameFromFile and names none of the program's own folders.
bool IsUsableLanguageFromFile(const QString& name);
// The German reason why a language read from a file cannot be used, empty
// when it can.
QString CheckLanguageFromFile(const QString& name);
// The language of a database whose options record names `language`. A name
// that fails IsUsableLanguageFromFile is replaced by the name of the database's own
// folder, and `message` (when given) gets the German text for the user; an
// empty language stays empty.
QString CheckedDatabaseLanguage(const QString& language, const QString& databaseBase,
                                QString* message = nullptr);
// The characters a name may not contain, in the order the message lists them.
const QString& ForbiddenNameCharacters();
QString ForbiddenCharactersMessage();
constexpr int MaxDatabaseNameLength = 30;
constexpr int MaxNameFromFileLength = 50;
