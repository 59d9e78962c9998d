#pragma once
// Renaming the open database and moving it into another language's folder.
// A database is several files that only work together: the table, its ".px"
// companion when there is one, the lesson list ".lst", the options record
// ".opt", and its quiz files in WorkDir's "data" folder, which are named after
// the database name and its language (".lab", "aw.dat", "aw2.dat"). They move
// together or not at all, nothing is ever overwritten, and every check is made
// before the first file is touched.
#include <QList>
#include <QString>

// One file and where it goes.
struct DatabaseFileMove {
    QString source; // as found on disk
    QString target;
};

// A change of a database's name and/or language.
struct DatabaseRelocation {
    QString tablePath;   // the table file now, extension included
    QString language;    // its language now (names its quiz files)
    QString newName;     // the new database name (the old one to keep it)
    QString newLanguage; // the new language (the old one to keep it)
    QString newFolder;   // the folder the table goes to
};

// The folder a database goes to for a language. Language folders are
// siblings: when the database lies in a language folder of WorkDir or of the
// vocabulary folder in force, the new folder is the language's folder beside
// it; a database from anywhere else goes to the language's folder in the
// vocabulary folder. The result ends with "/".
QString LanguageFolderFor(const QString& tablePath, const QString& language);

// The moves of a relocation, one for each file of the database that exists,
// the table first. A file that stays where it is has no move.
QList<DatabaseFileMove> PlanDatabaseRelocation(const DatabaseRelocation& relocation);

// Empty when the relocation can be done, otherwise the German message saying
// why not: a name or language that cannot be a file name, a table that is
// missing, or a file of the target that exists already (also a table of the
// same name with the other extension, which would share the lesson list and
// options of the moved one).
QString CheckDatabaseRelocation(const DatabaseRelocation& relocation);

// Moves the files in order. When one cannot be moved, those already moved go
// back and the German message is returned; empty on success.
QString MoveDatabaseFiles(const QList<DatabaseFileMove>& moves);

enum class RelocationOutcome {
    Unchanged, // nothing asked for: no name, or the same name and language
    Refused,   // a check failed (reported); nothing was touched
    Failed,    // a file could not be moved or written (reported); every file is back
    Done,      // the database has its new name and language
};

// Renames the open database (CurrentTablePath and its neighbours) to
// `newName` and moves it to `newLanguage`; an empty or blank text keeps the
// name or language. The table's connection is released first (so queries on
// it are closed when the outcome is Failed or Done; the caller reopens them).
// On Done the current-database state names the new files, the options record
// carries the new language, and the recent-databases entry of the old path is
// replaced by the new one at the front of the list. Problems are shown in a
// box with the caption "Fehler".
RelocationOutcome RenameDatabaseFiles(const QString& newName, const QString& newLanguage);

// The live check of the name field: the characters that may not stand in a
// database name are removed as they are typed.
struct NameFieldCleanup {
    QString text;
    int caret = 0;
    int removed = 0; // how many characters were taken out (one message each)
};
// The nine characters, in the order of the message.
const QString& NameFieldForbiddenCharacters();
QString NameFieldForbiddenMessage();
NameFieldCleanup RemoveForbiddenNameCharacters(const QString& text, int caret);
