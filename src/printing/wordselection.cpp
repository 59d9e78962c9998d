#include "printing/wordselection.h"

#include "database/lessons.h"
#include "database/vocabularytable.h"
#include "engine/query.h"

QString PrintLessonEntryText(const QString& line) {
    const int split = std::min<int>(LessonCodeLength, line.size());
    QString entry = line.left(split) + QStringLiteral(" [") + line.mid(split) + QStringLiteral("]");
    if (entry.startsWith(QStringLiteral("00")))
        entry.replace(0, 2, QStringLiteral("  "));
    else if (entry.startsWith(QLatin1Char('0')))
        entry[0] = QLatin1Char(' ');
    return entry;
}

QStringList PrintLessonEntries(const LessonList& list) {
    QStringList entries;
    entries.reserve(list.count());
    for (const QString& line : list.lines())
        entries << PrintLessonEntryText(line);
    return entries;
}

QString CardLessonLabel(const QString& entryText) {
    int start = 0;
    while (start < entryText.size() && entryText.at(start) == QLatin1Char(' '))
        ++start;
    return entryText.mid(start);
}

QStringList PrintSelectionSql(const QString& tablePath, const QStringList& lessonCodes,
                              const TPrintSelectionOptions& options) {
    QStringList sql;
    sql << QStringLiteral("SELECT * FROM ") + engine::quoteLiteral(ShortPath(tablePath));
    sql << QStringLiteral("WHERE (Lektion <> \"\") AND (Fremdwort<>\"\")");
    // Codes come from the lesson list file; they pass the quoting routine like
    // any text from outside, which leaves a normal code exactly as it is.
    for (int i = 0; i < lessonCodes.size(); ++i)
        sql << (i == 0 ? QStringLiteral("AND ((Lektion = ") : QStringLiteral("OR (Lektion = ")) +
                   engine::quoteLiteral(lessonCodes.at(i)) + QStringLiteral(") ");
    if (!lessonCodes.isEmpty()) sql.last() += QLatin1Char(')');

    if (options.comw == 14)
        sql << QStringLiteral("AND ((Wortart=14))");
    else if (options.comw != 0)
        sql << QStringLiteral("AND (Wortart=%1)").arg(options.comw);
    if (options.nge) sql << QStringLiteral("AND (Genitiv<>\"\")");
    if (options.nse) sql << QStringLiteral("AND (Genus<>\"\")");
    if (options.nst)
        sql << QStringLiteral("AND ((PraeFut<>\"\")OR(PerAor<>\"\")OR(Perfekt<>\"\")OR"
                              "(Perfekt_Passiv<>\"\")OR(Aorist_Passiv<>\"\")OR"
                              "(Futur_Passiv<>\"\"))");

    switch (options.primary) {
    case PrintOrder::Lesson:
        sql << QStringLiteral("ORDER BY Lektion");
        break;
    case PrintOrder::ForeignWord:
        sql << QStringLiteral("ORDER BY Fremdwort");
        break;
    case PrintOrder::Translation:
        sql << QStringLiteral("ORDER BY Uebersetzung");
        break;
    case PrintOrder::WordClass:
        sql << QStringLiteral("ORDER BY Wortart");
        break;
    case PrintOrder::Difficulty:
        sql << QStringLiteral("ORDER BY Schwierigkeit");
        break;
    }
    if (options.sab) sql.last() += QStringLiteral(" DESC");
    switch (options.secondary) {
    case PrintSecondaryOrder::ForeignWord:
        sql.last() += QStringLiteral(", Fremdwort");
        break;
    case PrintSecondaryOrder::Translation:
        sql.last() += QStringLiteral(", Uebersetzung");
        break;
    case PrintSecondaryOrder::WrongAnswers:
        sql.last() += QStringLiteral(", Falsche_Antworten DESC");
        break;
    case PrintSecondaryOrder::Keep:
        break;
    }
    sql.last() += QStringLiteral(", ID");
    return sql;
}

QChar UpperAscii(QChar c) {
    return c >= QLatin1Char('a') && c <= QLatin1Char('z') ? QChar(c.unicode() - 32) : c;
}

QString UpperFirstAscii(const QString& text) {
    QString result = text;
    if (!result.isEmpty()) result[0] = UpperAscii(result.at(0));
    return result;
}

QString PrintTitleLine(const QString& databaseName, const QString& language,
                       const QStringList& chosenEntries, PrintOrder primary) {
    QString title = UpperFirstAscii(databaseName + QStringLiteral(" -  ") + language);
    if (chosenEntries.size() == 1 && primary == PrintOrder::Lesson)
        title += QStringLiteral("\r\n\r\n") + chosenEntries.first();
    return title;
}

QList<PrintWord> ReadPrintWords(engine::Query& query, const PrintProgress& progress) {
    QList<PrintWord> words;
    if (!query.isActive()) return words;
    const int total = query.recordCount();
    words.reserve(total);
    for (query.first(); !query.eof(); query.next()) {
        PrintWord word;
        word.id = query.currentId();
        word.Lektion = query.asString(QStringLiteral("Lektion"));
        word.Fremdwort = query.asString(QStringLiteral("Fremdwort"));
        word.Uebersetzung = query.asString(QStringLiteral("Uebersetzung"));
        word.PraeFut = query.asString(QStringLiteral("PraeFut"));
        word.PerAor = query.asString(QStringLiteral("PerAor"));
        word.Perfekt = query.asString(QStringLiteral("Perfekt"));
        word.Perfekt_passiv = query.asString(QStringLiteral("Perfekt_passiv"));
        word.Aorist_passiv = query.asString(QStringLiteral("Aorist_passiv"));
        word.Futur_passiv = query.asString(QStringLiteral("Futur_passiv"));
        word.Genitiv = query.asString(QStringLiteral("Genitiv"));
        word.Genus = query.asString(QStringLiteral("Genus"));
        word.Extra = query.asString(QStringLiteral("Extra"));
        word.Wortart = query.asInteger(QStringLiteral("Wortart"));
        word.Schwierigkeit = query.asInteger(QStringLiteral("Schwierigkeit"));
        word.Falsche_Antworten = query.asInteger(QStringLiteral("Falsche_Antworten"));
        words << word;
        if (progress && words.size() % 200 == 0 && !progress(words.size(), total)) break;
    }
    return words;
}
