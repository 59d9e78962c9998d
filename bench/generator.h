#pragma once
// Builds the large database the benchmarks run on: 100,000 words in 200
// lessons, written through the table engine.
#include "database/lessons.h"
#include "database/vocabularytable.h"
#include "engine/query.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QString>

namespace bench {

// Milliseconds since the timer last started; starts it again.
inline double ms(QElapsedTimer& timer) {
    const double value = timer.nsecsElapsed() / 1e6;
    timer.restart();
    return value;
}

inline QString lessonCodeOf(int lesson) {
    // 200 lessons: numbers 1..100, each with sections A1 and B1.
    const int number = lesson / 2 + 1;
    return QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0')) +
           QLatin1Char(lesson % 2 ? 'B' : 'A') + QLatin1Char('1');
}

inline QString syllables(QRandomGenerator& random, int count) {
    static const char* parts[] = {"ab", "re", "ti", "mo", "ca", "ve", "lu", "na", "pro", "ex",
                                  "in", "sta", "cor", "dul", "fer", "gra", "hor", "ius"};
    QString word;
    for (int i = 0; i < count; ++i)
        word += QLatin1String(parts[random.bounded(int(std::size(parts)))]);
    return word;
}

// Creates the table at `path` with `words` words spread evenly over `lessons`
// lessons (at most 200).
inline void generateDatabase(const QString& path, int words = 100000, int lessons = 200) {
    engine::Query query;
    CreateVocabularyTable(query, path);
    QRandomGenerator random(42);
    engine::Transaction transaction(path);
    query.clearSql();
    query.addSql(QStringLiteral("SELECT * FROM ") + engine::quoteLiteral(path));
    query.addSql(QStringLiteral("WHERE ID = -1"));
    query.setRequestLive(true);
    query.open();
    for (int i = 0; i < words; ++i) {
        const QString lesson = lessonCodeOf(i * lessons / words);
        query.insertRecord({QVariant(), lesson, syllables(random, 2 + random.bounded(3)),
                            syllables(random, 2) + QStringLiteral("\r\n") + syllables(random, 3),
                            QString(), QString(), QString(), QString(), QString(), QString(),
                            syllables(random, 2), QStringLiteral("f."), 1 + random.bounded(14),
                            QString(), 1 + random.bounded(5), random.bounded(20), random.bounded(5),
                            0, random.bounded(2) == 1, false});
    }
    query.close();
    transaction.commit();
}

} // namespace bench
