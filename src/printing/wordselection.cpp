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

namespace {

const char* const TextFields[] = {"Lektion",      "Fremdwort", "Uebersetzung",   "PraeFut",
                                  "PerAor",       "Perfekt",   "Perfekt_passiv", "Aorist_passiv",
                                  "Futur_passiv", "Genitiv",   "Genus",          "Extra"};
const char* const NumberFields[] = {"Wortart", "Schwierigkeit", "Falsche_Antworten"};

} // namespace

PrintWords::PrintWords(QList<PrintWord> words)
    : count_(int(words.size())), read_(std::move(words)) {}

PrintWords::PrintWords(const engine::Query& query)
    : query_(&query), count_(query.isActive() ? query.recordCount() : 0) {
    for (const char* field : TextFields)
        columns_ << query.fieldIndex(QLatin1String(field));
    for (const char* field : NumberFields)
        columns_ << query.fieldIndex(QLatin1String(field));
    // Reserved whole: a word once read stays where it is while later ones are read.
    read_.reserve(count_);
}

const PrintWord& PrintWords::at(int index) const {
    while (query_ && read_.size() <= index && read_.size() < count_) {
        const int row = int(read_.size());
        const engine::Query& q = *query_;
        const int* column = columns_.constData();
        PrintWord word;
        word.id = q.idAt(row);
        for (QString* text :
             {&word.Lektion, &word.Fremdwort, &word.Uebersetzung, &word.PraeFut, &word.PerAor,
              &word.Perfekt, &word.Perfekt_passiv, &word.Aorist_passiv, &word.Futur_passiv,
              &word.Genitiv, &word.Genus, &word.Extra})
            *text = q.stringAt(row, *column++);
        for (int* number : {&word.Wortart, &word.Schwierigkeit, &word.Falsche_Antworten})
            *number = q.integerAt(row, *column++);
        read_ << word;
    }
    return read_.at(index);
}

QList<PrintWord> ReadPrintWords(const engine::Query& query, const PrintProgress& progress) {
    const PrintWords words(query);
    QList<PrintWord> result;
    result.reserve(words.count());
    for (int i = 0; i < words.count(); ++i) {
        result << words.at(i);
        if (progress && result.size() % 200 == 0 && !progress(result.size(), words.count())) break;
    }
    return result;
}
