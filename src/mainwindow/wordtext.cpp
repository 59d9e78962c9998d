#include "mainwindow/wordtext.h"

#include "database/vocabularytable.h"
#include "engine/query.h"

namespace {
QChar asciiUpper(QChar c) {
    return c >= QLatin1Char('a') && c <= QLatin1Char('z') ? QChar(c.unicode() - 32) : c;
}
} // namespace

QString CapitaliseTranslationLines(const QString& translation) {
    QStringList lines = translation.split(QStringLiteral("\r\n"));
    for (QString& line : lines) {
        if (line.isEmpty())
            continue;
        line[0] = asciiUpper(line[0]);
        for (qsizetype i = 0; i + 1 < line.size(); ++i)
            if (line[i] == QLatin1Char('('))
                line[i + 1] = asciiUpper(line[i + 1]);
    }
    return lines.join(QStringLiteral("\r\n"));
}

DuplicateQuery DuplicateWordQuery(const QString& word, qint64 id, const QString& tablePath) {
    DuplicateQuery result;
    result.lines << QStringLiteral("SELECT * FROM ") + engine::quoteLiteral(ShortPath(tablePath));
    if (word.contains(QLatin1Char('"'))) {
        result.shownWord = QString(word).replace(QLatin1Char('"'), QLatin1Char('_'));
        result.lines << QStringLiteral("WHERE Fremdwort LIKE ") + engine::quoteLiteral(result.shownWord);
    } else {
        result.shownWord = word;
        result.lines << QStringLiteral("WHERE Fremdwort = ") + engine::quoteLiteral(word);
    }
    result.lines << QStringLiteral("AND ID <> ") + QString::number(id);
    return result;
}
