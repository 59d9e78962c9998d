#pragma once
// The check of a table that a restore is about to put in place of a working
// database: a table cut short or damaged inside an intact archive must not
// replace the good copy.
#include <QString>

// Opens the table file read-only and checks it whole: a table of this
// program's engine (an SQLite file) at all, nothing in it but what the program
// creates (no trigger, view or other object that could act on the words),
// SQLite's integrity check, and the vocabulary table with every field the
// program reads. Returns
// the German reason when it is unusable, empty when it is sound. `shownName`
// names the table in the reason.
QString RestoredTableProblem(const QString& path, const QString& shownName);

// Why a file of a backup is not unpacked, judged by its name and size before
// a byte of it is written: no file of a vocabulary database comes near
// MaxTableFileSize, and a lesson list (".lst") over MaxLessonListBytes would
// not be read. The German reason, empty when the size is fine.
QString RestoredFileSizeProblem(const QString& name, quint64 size);
