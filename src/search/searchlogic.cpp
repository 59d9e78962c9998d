#include "search/searchlogic.h"

#include "database/currentdatabase.h"
#include "database/databaseoptions.h"
#include "database/lessons.h"
#include "database/markedwords.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "platform/codec.h"

#include <algorithm>

namespace search {

namespace {

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
bool isAsciiLetter(QChar c) {
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}

// A range bound as typed; anything not a plain number counts as missing.
int boundValue(const QString& text, int fallback) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : fallback;
}

QString like(const QString& expression, const QString& pattern) {
    return QLatin1Char('(') + expression + QStringLiteral(" LIKE ") +
           engine::quoteLiteral(pattern) + QLatin1Char(')');
}

} // namespace

QStringList DifficultyItems() {
    return {QStringLiteral("Sehr Leicht"),    QStringLiteral("Leicht"),
            QStringLiteral("Normal"),         QStringLiteral("Schwierig"),
            QStringLiteral("Sehr Schwierig"), QStringLiteral("Alle")};
}

QString StoredSearchTerm(const QString& typed, int charset) {
    return platform::codec::fromDisplay(typed, charset);
}

int SearchFieldCharset(bool foreignScript) {
    return foreignScript ? DatabaseOptions.wordCharset() : DatabaseOptions.translationCharset();
}

namespace {

// The characters of `typed` (each once, a surrogate pair as one) that the
// code page cannot hold: typing would store them as "?".
QString charactersNotHeld(const QString& typed, int charset) {
    QString missing;
    for (qsizetype i = 0; i < typed.size(); ++i) {
        QString character(typed.at(i));
        if (typed.at(i).isHighSurrogate() && i + 1 < typed.size()) character += typed.at(++i);
        const QString stored = platform::codec::fromDisplay(character, charset);
        const bool held = stored.size() == 1 && platform::codec::storedByte(stored.at(0)) >= 0 &&
                          (stored != QLatin1String("?") || character == QLatin1String("?"));
        if (!held && !missing.contains(character)) missing += character;
    }
    return missing;
}

} // namespace

TermScript ChooseTermScript(const QString& typed, bool foreignScriptTicked) {
    TermScript script;
    script.foreignScript = foreignScriptTicked;
    const QString inField = charactersNotHeld(typed, SearchFieldCharset(foreignScriptTicked));
    if (inField.isEmpty()) return script;
    if (foreignScriptTicked) {
        script.unsearchable = inField;
        return script;
    }
    const QString inForeign = charactersNotHeld(typed, SearchFieldCharset(true));
    if (inForeign.isEmpty()) {
        script.foreignScript = true;
        return script;
    }
    // Name what neither code page holds; when each holds what the other
    // lacks, the term as a whole fits neither.
    QString neither;
    for (const QChar c : inForeign)
        if (inField.contains(c)) neither += c;
    script.unsearchable = neither.isEmpty() ? inField : neither;
    return script;
}

QString UnsearchableCharactersMessage(const QString& characters) {
    return QStringLiteral("Diese Zeichen des Suchbegriffs können in dieser Datenbank nicht "
                          "vorkommen und werden daher nicht gesucht: „%1“. Bitte geben Sie den "
                          "Suchbegriff ohne sie ein.")
        .arg(characters);
}

QString TermTooLongMessage(const SearchCriteria& c, const engine::Query& Query) {
    QStringList fields;
    if (c.fremdwort) fields << QStringLiteral("Fremdwort");
    if (c.uebersetzung) fields << QStringLiteral("Uebersetzung");
    if (c.genitiv) fields << QStringLiteral("Genitiv");
    if (c.bemerkungen) fields << QStringLiteral("Extra");
    int longest = 0;
    for (const QString& field : fields)
        longest = std::max(longest, Query.fieldWidth(field));
    if (fields.isEmpty() || longest <= 0 || c.term.size() <= longest) return QString();
    return QStringLiteral("Der Suchbegriff ist zu lang (%1 Zeichen). Die durchsuchten Felder "
                          "fassen höchstens %2 Zeichen; bitte einen kürzeren Suchbegriff "
                          "eingeben.")
        .arg(c.term.size())
        .arg(longest);
}

QString MaskUmlautsForLike(const QString& pattern) {
    QString masked = pattern;
    for (QChar& c : masked) {
        switch (c.unicode()) {
        case 0xC4: case 0xD6: case 0xDC: case 0xE4: case 0xF6: case 0xFC:
            c = QLatin1Char('_');
            break;
        default:
            break;
        }
    }
    return masked;
}

QString UpperAsciiLetters(const QString& text) {
    QString upper = text;
    for (QChar& c : upper)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 32);
    return upper;
}

QString LessonPatternFromText(const QString& text) {
    if (text.isEmpty() || !(isDigit(text.at(0)) || isAsciiLetter(text.at(0))))
        return QString();
    int pos = 0;
    QString number;
    while (pos < text.size() && isDigit(text.at(pos)))
        number += text.at(pos++);
    QString letter = QStringLiteral("_");
    if (pos < text.size() && isAsciiLetter(text.at(pos)))
        letter = UpperAsciiLetters(QString(text.at(pos++)));
    QString digit = QStringLiteral("_");
    if (pos < text.size() && isDigit(text.at(pos)))
        digit = text.at(pos);
    if (number.isEmpty())
        number = QStringLiteral("%");
    else if (number.size() < LessonNumberLength)
        number = number.rightJustified(LessonNumberLength, QLatin1Char('0'));
    return number + letter + digit;
}

QString CorrectedSuccessFrom(const QString& from, const QString& to) {
    if (from.trimmed().isEmpty()) return QStringLiteral("0");
    const int value = boundValue(from, -1);
    if (value < 0 || value > 100 || value > boundValue(to, 100)) return QStringLiteral("0");
    return QString::number(value);
}

QString CorrectedSuccessTo(const QString& from, const QString& to) {
    if (to.trimmed().isEmpty()) return QStringLiteral("100");
    const int value = boundValue(to, -1);
    if (value < 0 || value > 100 || boundValue(from, 0) > value) return QStringLiteral("100");
    return QString::number(value);
}

QString SearchWhereLine(const SearchCriteria& c) {
    QStringList termClauses;
    if (!c.term.isEmpty()) {
        const QString affix = c.exact ? QString() : QStringLiteral("%");
        const QString p = MaskUmlautsForLike(affix + c.term + affix);
        const QString u = MaskUmlautsForLike(
            affix + (c.caseSensitive ? c.term : UpperAsciiLetters(c.term)) + affix);
        const auto clause = [&](const QString& field) {
            return c.caseSensitive ? like(field, p)
                                   : like(QStringLiteral("UPPER(") + field + QLatin1Char(')'), u);
        };
        if (c.fremdwort)
            termClauses << (c.caseSensitive
                                ? like(QStringLiteral("Fremdwort"), p)
                                : like(QStringLiteral("Fremdwort"), p) + QStringLiteral(" OR ") +
                                      clause(QStringLiteral("Fremdwort")));
        if (c.uebersetzung) termClauses << clause(QStringLiteral("Uebersetzung"));
        if (c.genitiv) termClauses << clause(QStringLiteral("Genitiv"));
        if (c.bemerkungen) termClauses << clause(QStringLiteral("Extra"));
    }

    QStringList criteria;
    if (c.wordClassItem >= 0 && c.wordClassItem != AllWordClassesItem)
        criteria << QStringLiteral("(Wortart = %1)").arg(c.wordClassItem + 1);
    if (c.difficultyItem >= 0 && c.difficultyItem != AllDifficultiesItem)
        criteria << QStringLiteral("(Schwierigkeit = %1)").arg(c.difficultyItem + 1);
    // Only numbers reach the statement, whatever the edits hold.
    const int from = qBound(0, boundValue(c.successFrom, 0), 100);
    const int to = qBound(0, boundValue(c.successTo, 100), 100);
    if (from != 0 || to != 100)
        criteria << QStringLiteral("(((Anzahl_Abfragen-Falsche_Antworten)*100/Anzahl_Abfragen) "
                                   "BETWEEN %1 AND %2)")
                        .arg(from)
                        .arg(to);
    if (c.lastUnknown) criteria << QStringLiteral("Letzte_gewusst=FALSE");
    if (c.lastKnown) criteria << QStringLiteral("Letzte_gewusst=TRUE");
    const QString lesson = LessonPatternFromText(c.lesson);
    if (!lesson.isEmpty())
        criteria << QStringLiteral("Lektion LIKE ") + engine::quoteLiteral(lesson);

    QStringList parts;
    if (!termClauses.isEmpty()) {
        const QString group = termClauses.join(QStringLiteral(" OR "));
        parts << (criteria.isEmpty() ? group : QLatin1Char('(') + group + QLatin1Char(')'));
    }
    parts << criteria;
    if (parts.isEmpty()) return QString();
    return QStringLiteral("WHERE ") + parts.join(QStringLiteral(" AND "));
}

QStringList SearchSql(const QString& tablePath, const SearchCriteria& criteria) {
    return {QStringLiteral("SELECT * FROM ") + engine::quoteLiteral(ShortPath(tablePath)),
            SearchWhereLine(criteria)};
}

int RunSearch(engine::Query& Query, const QString& tablePath, const SearchCriteria& criteria) {
    Query.close();
    Query.setRequestLive(false);
    Query.setSql(SearchSql(tablePath, criteria));
    Query.open();
    return Query.recordCount();
}

QList<qint64> HitIds(const engine::Query& Query) {
    QList<qint64> ids;
    if (!Query.isActive()) return ids;
    const int count = Query.recordCount();
    ids.reserve(count);
    for (int row = 0; row < count; ++row)
        ids << Query.idAt(row);
    return ids;
}

QString DeleteQuestion(int count) {
    return QStringLiteral("Sollen die ") + QString::number(count) +
           QStringLiteral(" gefundenen Vokabeln wirklich gelöscht werden ?");
}

int DeleteHits(engine::Query& Query, const QList<qint64>& ids) {
    Query.setRequestLive(true);
    return DeleteMarkedWords(Query, ids);
}

int MoveHits(engine::Query& Query, const QList<qint64>& ids, const QString& target) {
    Query.setRequestLive(true);
    if (target.size() != LessonCodeLength) {
        ReopenLessonQuery(Query);
        return 0;
    }
    CurrentLessonCode = target;
    return MoveMarkedWords(Query, ids, target);
}

int CopyHits(engine::Query& Query, const QList<qint64>& ids, const QString& target,
             const WordCopyProgress& progress) {
    Query.setRequestLive(true);
    return CopyMarkedWords(Query, ids, target, progress);
}

LessonResult CopyHitsToNewLesson(engine::Query& Query, LessonList& list, const QString& numberText,
                                 const QString& letter, const QString& digit, const QString& title,
                                 const QList<qint64>& ids, const QStringList& searchSql,
                                 const WordCopyProgress& progress, int* copied) {
    if (copied) *copied = 0;
    if (!IsValidLessonNumber(numberText.trimmed())) return LessonResult::InvalidLesson;
    const QString code = LessonCode(NormalizeLessonNumber(numberText.trimmed()), letter, digit);
    if (!IsValidLessonCode(code)) return LessonResult::InvalidLesson;
    if (LessonExists(list, code)) return LessonResult::LessonExists;

    LessonList updated = list;
    updated.add(code + CleanLessonTitle(title));
    if (!SaveLessonList(updated)) return LessonResult::ListNotSaved;
    int done = 0;
    try {
        done = CopyHits(Query, ids, code, progress);
    } catch (...) {
        // The copies were rolled back: the list must not keep a lesson that
        // the user did not get.
        SaveLessonList(list);
        throw;
    }
    list = updated;
    if (copied) *copied = done;
    // The search again, so that the user sees the hits beside their copies.
    Query.close();
    Query.setRequestLive(true);
    Query.setSql(searchSql);
    Query.open();
    return LessonResult::Done;
}

QString TargetCodeFromNodes(const QString& parentText, const QString& nodeText) {
    const QString number =
        parentText.mid(8).trimmed().rightJustified(LessonNumberLength, QLatin1Char('0'));
    return number + nodeText.mid(0, 1) + nodeText.mid(2, 1);
}

} // namespace search
