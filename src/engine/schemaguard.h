#pragma once
// What a table file may hold besides its words. The program creates the table
// `tableName`, SQLite's key counter for it and the index on its lesson field;
// nothing else in a file runs when the words are read or written. A file that
// holds more (a trigger or view, an index on an expression, another table)
// came from elsewhere and could act on the words behind the program's back.
#include <QString>

struct sqlite3;

namespace engine::detail {

// SQLite's settings for files that may come from elsewhere: the schema cannot
// be written around the engine (defensive mode), and the schema may use only
// functions and virtual tables that are harmless wherever they run.
void guardConnection(sqlite3* db);

enum class ForeignObject { None, Trigger, View, Table, Index };

// The first object in the file's schema that the program does not create,
// None when there is none. Returns SQLite's result code of reading the
// schema; `found` is set only when it is SQLITE_OK.
int findForeignObject(sqlite3* db, ForeignObject* found);

// The object as the object of "enthält": "einen Trigger", "eine Sicht", ...
QString foreignObjectText(ForeignObject object);

// The statement that creates the lesson index of a table whose lesson field
// is named `lessonField`.
QString lessonIndexStatement(const QString& lessonField);

} // namespace engine::detail
