#pragma once
// Words marked in the table page's grid: delete, move or copy them, and the
// reset of difficulty or quiz counters of every word of the database.
// Widget-free: the main window passes the keys of the marked rows.
//
// Marked keys are written into statements as "WHERE ID in (...)". A large
// marking is split into several such statements, run in one transaction, so
// that no statement grows beyond what the engine takes at once.
#include "database/lessonoperations.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace engine {
class Query;
}

// Keys per "ID in" list.
constexpr int MarkedIdsPerStatement = 500;

// "WHERE ID in (12,15,40)": the keys in the order given; empty for no key.
QString SelectedIdsWhere(const QList<qint64>& ids);
// The distinct keys, ascending, as WHERE lines of at most `perStatement` keys.
QStringList SelectedIdsWhereLines(const QList<qint64>& ids,
                                  int perStatement = MarkedIdsPerStatement);

// True when the marking covers every word of the lesson (`lessonWordCount`
// words), so that deleting or moving it would leave the lesson empty.
bool AllWordsMarked(const QList<qint64>& ids, int lessonWordCount);

// Each of these closes the query, changes the table in one transaction and
// opens the query on the current lesson again (editable or not as its live
// flag says). They return the number of words deleted, moved or copied.
int DeleteMarkedWords(engine::Query& Query, const QList<qint64>& ids);
int MoveMarkedWords(engine::Query& Query, const QList<qint64>& ids, const QString& target);
// Copies the marked words, in key order, into lesson `target`.
int CopyMarkedWords(engine::Query& Query, const QList<qint64>& ids, const QString& target,
                    const WordCopyProgress& progress = {});

// What "Z&urücksetzen" resets; the values are the menu items' tags.
enum class CounterReset { Difficulty = 1, QuizCounters = 2 };

// The UPDATE of every word of the table (full table path).
QStringList ResetCountersSql(const QString& tablePath, CounterReset what);
// Runs it on the open database and reopens the query on the current lesson.
// Returns the number of words changed.
int ResetCounters(engine::Query& Query, CounterReset what);
