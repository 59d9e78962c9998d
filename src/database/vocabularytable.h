#pragma once
// The vocabulary table: its fields, the codes of its two coded fields, the
// values of a new word and the small routines around the main window's query.
// Widget-free: the main window passes its query and the texts of its controls.
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <utility>

namespace engine {
class Query;
}

// The 20 fields of a vocabulary table, in column order.
const QStringList& VokabelFieldNames();
constexpr int VokabelFieldCount = 20;

// Word classes (field Wortart): codes 1..14, list item = code - 1.
const QStringList& WordClassNames();
constexpr int WordClassMin = 1;
constexpr int WordClassMax = 14;
// Difficulties (field Schwierigkeit): codes 1..5, list item = code - 1.
const QStringList& DifficultyNames();
constexpr int DifficultyMin = 1;
constexpr int DifficultyMax = 5;

// The list item that shows a code, or -1 when the code lies outside the list.
int WordClassItem(int code);
int DifficultyItem(int code);

// What a new word record holds besides its lesson and empty texts.
constexpr int NewRecordWortart = 14;      // "Sonstiges"
constexpr int NewRecordSchwierigkeit = 3; // "Normal"

// The path under which a statement names an existing table. Linux has no
// short names, so the path comes back as it was given.
QString ShortPath(const QString& path);

// The statement lines that create a table at `path` (full path, extension
// included).
QStringList CreateVocabularyTableSql(const QString& path);
// Closes the query, switches its live flag on and creates the table.
void CreateVocabularyTable(engine::Query& Query, const QString& path);

// Puts the query back on the current lesson (CurrentTablePath,
// CurrentLessonCode) and opens it.
void ReopenLessonQuery(engine::Query& Query);

// Whether the user may leave the current word, judged by the texts of the
// foreign-word and translation fields. Both empty: true, and the record is
// deleted unless it is the only one of the lesson. Exactly one empty: a hint
// box, false. Both filled: true.
bool CheckRecordComplete(const QString& fremdwort, const QString& uebersetzung,
                         engine::Query& Query);

// The list items of the current record's word class and difficulty (-1 when
// a code lies outside its list). `active` is false while the query is closed,
// and then the lists are to be left as they are.
struct WordTypeAndDifficulty {
    bool active = false;
    int wortartItem = -1;
    int schwierigkeitItem = -1;
};
WordTypeAndDifficulty ShowWordTypeAndDifficulty(const engine::Query& Query);

// The values of a new word of lesson `lessonCode`, in the order the table
// expects them written: Wortart, Schwierigkeit, Lektion, Anzahl_Abfragen,
// Falsche_Antworten, Letzte_gewusst, Abgefragt, Versuche.
QList<std::pair<QString, QVariant>> NewRecordValues(const QString& lessonCode);

// Writes the new-record values into the record buffer of a query in edit or
// insert state, in that order.
void WriteNewRecordValues(engine::Query& Query, const QString& lessonCode);

// Inserts one word with the new-record values into lesson `lessonCode` through
// the open live query and posts it.
void InsertNewWordRecord(engine::Query& Query, const QString& lessonCode);
