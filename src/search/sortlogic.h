#pragma once
// Sorting the open database and dividing it anew into lessons, without the
// window. The words are read, ordered in memory and written in that order into
// a new table file; only when every word is written is the old file replaced
// (or moved to the backup copy), so a failure at any point leaves the database
// as it was and no word is ever lost. The sort keys are computed in memory and
// never written into the words' fields.
#include "database/lessonoperations.h"

#include <QString>
#include <QStringList>
#include <functional>

class LessonList;

namespace engine {
class Query;
}

namespace sorting {

// Keys: the item index of the key boxes.
enum SortKey { KeyFremdwort = 0, KeyUebersetzung = 1, KeyExtra = 2, KeyWortart = 3,
               KeyStatistik = 4 };

// Lesson size of an item of the size box; 0 for the intuitive sections.
int LessonSizeOfItem(int item);

// The sort key of a Greek foreign word: "{" + transliteration + marks + word + "}".
// `codepage1253` picks the accent table of the Greek character set; otherwise
// the one of the symbol font "Greek".
QString GreekSortKey(const QString& word, bool codepage1253);
// A title text cut before its first line feed or carriage return.
QString TrimSortKey(const QString& text);
// Twice the share of wrong answers in percent, rounded halves to even.
int StatisticsValue(int anzahlAbfragen, int falscheAntworten);

struct SortOptions {
    bool full = false;     // rbprim: whole database, lessons anew
    int key = KeyFremdwort;
    int lessonSize = 20;   // full mode; 0 = intuitive sections
    bool descending = false;
    bool greek = false;        // the database writes Greek
    bool codepage1253 = false; // ... in character set 161
    bool backup = true;        // cbsicher
    QString backupBase;        // path without extension of the backup copy
    QString workBase;          // path without extension of the work table
    // Tests: called right after the new table took the old one's place; true
    // ends the run there, as a program killed at that moment would.
    std::function<bool()> stopAfterSwap;
};

// One word as read: the values of the 20 fields in column order.
using WordRecord = QVariantList;

// The lines of the new lesson list of a full sort, for words already in the
// sorted order (fields as named by `fieldNames`), and the code each word gets.
struct Division {
    QStringList codes;     // per word
    QStringList listLines; // code + title, per section
};
Division DivideIntoLessons(const QList<WordRecord>& words, const QStringList& fieldNames,
                           const SortOptions& options);

// Orders the words (stable: equal keys keep their order).
void SortWords(QList<WordRecord>& words, const QStringList& fieldNames, const SortOptions& options);

// How a run ended.
struct SortOutcome {
    bool done = false;
    QString error;         // German message when not done
    int words = 0;         // words written
    QStringList listLines; // full mode: the new lesson list, with the old one's other lines
    QString listError;     // full mode: the table is sorted, but its new list is not in place
};

// Sorts the table at `tablePath` (full path with extension) and replaces it.
// Every query on the table is closed first. Nothing on disk changes unless the
// whole new table was written. A full sort writes the new lesson list before
// the table is replaced and puts it in place right after, tied to the new
// table by its stamp (lessons.h), so that a run stopped in between still
// leaves a table with the list that belongs to it.
SortOutcome SortTable(const QString& tablePath, const SortOptions& options,
                      const WordCopyProgress& progress = {});

// The whole run on the open database, as the window does it: SortTable, then
// the new list saved (full mode), the first lesson made current and the query
// opened on it.
SortOutcome SortOpenDatabase(engine::Query& Query, LessonList& list, const SortOptions& options,
                             const WordCopyProgress& progress = {});

// The work table of a sort: WorkDir + "/tempsort" (".ol" or ".db" added).
QString WorkTableBase();
// Removes the work table with its companions and journal, as a sort stopped
// part-way may leave them. Run at start-up and before every sort.
void RemoveWorkFiles(const QString& workBase);

// The backup copy's base for a name in the language folder of WorkDir, and the
// first free name: `name`, then with "_" appended while a ".lst" file of that
// name exists.
QString BackupBase(const QString& name);
QString FreeBackupName(const QString& name);

} // namespace sorting
