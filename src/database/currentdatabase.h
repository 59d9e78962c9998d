#pragma once
// The state of the open database, read by every part of the program. Empty
// paths mean that no database is open.
#include <QString>

extern QString CurrentTablePath;      // full path of the table file, extension included
extern QString CurrentDatabaseFolder; // folder of the table, with a trailing separator
extern QString CurrentDatabaseName;   // file name without the extension
extern QString CurrentDatabaseBase;   // path without the extension (".lst", ".opt" beside it)
extern QString CurrentExtension;      // ".ol" or ".db"
extern QString CurrentLanguage;       // language of the database's options record
extern QString CurrentLessonCode;     // the lesson shown in the main window

// Settings files in force (per language when the general settings ask for it).
extern QString SelectionOptionsPath;
extern QString QuizOptionsPath;
extern QString CharTableOptionsPath;
extern QString InterruptedQuizPath;
