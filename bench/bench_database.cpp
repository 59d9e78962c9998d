// Times the table engine on a database of 100,000 words in 200 lessons:
// generation, opening one lesson, a text search over all words and a counter
// update of 10,000 words.
#include "generator.h"

#include "database/currentdatabase.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath("Gross.ol");
    QElapsedTimer timer;

    timer.start();
    bench::generateDatabase(path);
    std::printf("generate 100,000 words:        %8.1f ms\n", bench::ms(timer));
    engine::releaseTable(path); // the next open starts from a cold connection

    CurrentTablePath = path;
    CurrentLessonCode = bench::lessonCodeOf(0);
    engine::Query query;
    query.setRequestLive(true);
    timer.restart();
    ReopenLessonQuery(query);
    query.first();
    const QString firstWord = query.asString("Fremdwort");
    std::printf("open table, show first lesson: %8.1f ms (%d words)\n", bench::ms(timer), query.recordCount());

    CurrentLessonCode = bench::lessonCodeOf(117);
    timer.restart();
    ReopenLessonQuery(query);
    query.first();
    std::printf("switch lesson:                 %8.1f ms (%d words)\n", bench::ms(timer), query.recordCount());

    engine::Query search;
    search.addSql(QStringLiteral("SELECT * FROM ") + engine::quoteLiteral(path));
    search.addSql(QStringLiteral("WHERE (Fremdwort LIKE \"%ab%\") OR (UPPER(Uebersetzung) LIKE \"%AB%\")"));
    timer.restart();
    search.open();
    search.first();
    std::printf("search over all words:         %8.1f ms (%d hits)\n", bench::ms(timer), search.recordCount());

    engine::Query update;
    update.addSql(QStringLiteral("UPDATE ") + engine::quoteLiteral(path));
    update.addSql(QStringLiteral("SET Anzahl_Abfragen = Anzahl_Abfragen + 1, Letzte_gewusst = TRUE"));
    update.addSql(QStringLiteral("WHERE ID BETWEEN 20001 AND 30000"));
    timer.restart();
    const int changed = update.execSql();
    std::printf("update counters of 10,000:     %8.1f ms (%d rows)\n", bench::ms(timer), changed);
    return firstWord.isEmpty() ? 1 : 0;
}
