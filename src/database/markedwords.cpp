#include "database/markedwords.h"

#include "database/currentdatabase.h"
#include "database/lessons.h"
#include "database/vocabularytable.h"
#include "engine/query.h"

#include <QSet>
#include <algorithm>

namespace {

QList<qint64> distinctAscending(const QList<qint64>& ids) {
    QList<qint64> keys = ids;
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

QString idsIn(const QList<qint64>& ids, qsizetype from, qsizetype count) {
    QStringList keys;
    for (qsizetype i = from; i < from + count && i < ids.size(); ++i)
        keys << QString::number(ids.at(i));
    return QStringLiteral("WHERE ID in (") + keys.join(QLatin1Char(',')) + QLatin1Char(')');
}

// Runs one statement per WHERE line, all in one transaction.
int runForEachLine(engine::Query& Query, const QString& head, const QStringList& whereLines) {
    Query.close();
    int changed = 0;
    engine::Transaction transaction(CurrentTablePath);
    for (const QString& where : whereLines) {
        Query.setSql({head, where});
        changed += Query.execSql();
    }
    transaction.commit();
    return changed;
}

} // namespace

QString SelectedIdsWhere(const QList<qint64>& ids) {
    if (ids.isEmpty()) return QString();
    return idsIn(ids, 0, ids.size());
}

QStringList SelectedIdsWhereLines(const QList<qint64>& ids, int perStatement) {
    const QList<qint64> keys = distinctAscending(ids);
    const int chunk = qMax(1, perStatement);
    QStringList lines;
    for (qsizetype from = 0; from < keys.size(); from += chunk)
        lines << idsIn(keys, from, chunk);
    return lines;
}

bool AllWordsMarked(const QList<qint64>& ids, int lessonWordCount) {
    return distinctAscending(ids).size() >= lessonWordCount;
}

int DeleteMarkedWords(engine::Query& Query, const QList<qint64>& ids) {
    const QStringList lines = SelectedIdsWhereLines(ids);
    int deleted = 0;
    if (!lines.isEmpty())
        deleted = runForEachLine(Query,
                                 QStringLiteral("DELETE FROM ") +
                                     engine::quoteLiteral(ShortPath(CurrentTablePath)),
                                 lines);
    ReopenLessonQuery(Query);
    return deleted;
}

int MoveMarkedWords(engine::Query& Query, const QList<qint64>& ids, const QString& target) {
    const QStringList lines = SelectedIdsWhereLines(ids);
    int moved = 0;
    // Words moved under no lesson code would drop out of every lesson.
    if (!lines.isEmpty() && target.size() == LessonCodeLength)
        moved = runForEachLine(Query,
                               QStringLiteral("UPDATE ") + engine::quoteLiteral(CurrentTablePath) +
                                   QStringLiteral(" SET Lektion = ") + engine::quoteLiteral(target),
                               lines);
    ReopenLessonQuery(Query);
    return moved;
}

int CopyMarkedWords(engine::Query& Query, const QList<qint64>& ids, const QString& target,
                    const WordCopyProgress& progress) {
    Query.close();
    int copied = 0;
    if (target.size() == LessonCodeLength)
        copied = CopyWords(CurrentTablePath, SelectedIdsWhereLines(ids), target, progress);
    ReopenLessonQuery(Query);
    return copied;
}

QStringList ResetCountersSql(const QString& tablePath, CounterReset what) {
    QStringList lines{QStringLiteral("UPDATE ") + engine::quoteLiteral(tablePath)};
    if (what == CounterReset::Difficulty) {
        lines << QStringLiteral("SET Schwierigkeit = 3");
    } else {
        lines << QStringLiteral("SET Anzahl_Abfragen = 0,")
              << QStringLiteral("Falsche_Antworten = 0,")
              << QStringLiteral("Letzte_Gewusst = false,") << QStringLiteral("Abgefragt = false,")
              << QStringLiteral("Versuche = 0");
    }
    return lines;
}

int ResetCounters(engine::Query& Query, CounterReset what) {
    Query.close();
    Query.setSql(ResetCountersSql(CurrentTablePath, what));
    const int changed = Query.execSql();
    ReopenLessonQuery(Query);
    return changed;
}
