#include "quiz/quizstore.h"

#include "database/lessons.h"
#include "database/vocabularytable.h"
#include "engine/query.h"

#include <algorithm>

namespace {

// Statement lines are kept short; the engine joins them anyway.
constexpr int LessonLineLength = 200;
// IDs per UPDATE when the counters of a new quiz are reset.
constexpr int ResetChunk = 1000;

QString tableLine(const QString& tablePath) {
    return QStringLiteral("SELECT * FROM ") + engine::quoteLiteral(ShortPath(tablePath));
}

// The counters as numbers: a table written by another program may hold empty
// (NULL) counters, which count as 0.
const QString Asked = QStringLiteral("COALESCE(Anzahl_Abfragen,0)");
const QString Wrong = QStringLiteral("COALESCE(Falsche_Antworten,0)");

// Runs `set` on the words with these IDs, in chunks, all in one transaction
// (a failure leaves every word as it was); `condition` narrows the rows.
void updateWords(const QString& tablePath, const QList<qint64>& ids, const QString& set,
                 const QString& condition, const QuizStore::Progress& progress) {
    engine::Transaction transaction(tablePath);
    engine::Query update;
    for (qsizetype from = 0; from < ids.size(); from += ResetChunk) {
        QStringList keys;
        const qsizetype to = std::min<qsizetype>(ids.size(), from + ResetChunk);
        for (qsizetype k = from; k < to; ++k)
            keys << QString::number(ids.at(k));
        update.setSql({QStringLiteral("UPDATE ") + engine::quoteLiteral(tablePath), set,
                       QStringLiteral("WHERE ID in (") + keys.join(QLatin1Char(',')) +
                           QLatin1Char(')') + condition});
        update.execSql();
        if (progress) progress(int(to), int(ids.size()));
    }
    transaction.commit();
}

} // namespace

const std::array<QString, 6>& QuizFormFieldNames() {
    static const std::array<QString, 6> names{
        QStringLiteral("PraeFut"),       QStringLiteral("PerAor"),
        QStringLiteral("Perfekt"),       QStringLiteral("Perfekt_passiv"),
        QStringLiteral("Aorist_passiv"), QStringLiteral("Futur_passiv")};
    return names;
}

// --- the selection statement ------------------------------------------------------------

QStringList QuizSelectionConditions(const QuizSelection& selection) {
    const TSelectionOptionsRec& o = selection.options;
    const bool difficulty[5] = {o.sl, o.l, o.n, o.s, o.ss};
    if (selection.lessonCodes.isEmpty() ||
        !std::any_of(std::begin(difficulty), std::end(difficulty),
                     [](bool ticked) { return ticked; }))
        return {};

    QStringList lines;
    QString line = QStringLiteral("WHERE (");
    for (int k = 0; k < selection.lessonCodes.size(); ++k) {
        if (line.size() > LessonLineLength) {
            lines << line;
            line.clear();
        }
        line += (k == 0 ? QStringLiteral("(Lektion=") : QStringLiteral("OR(Lektion=")) +
                engine::quoteLiteral(selection.lessonCodes.at(k)) + QLatin1Char(')');
    }
    lines << line + QLatin1Char(')');

    if (o.ComboBox1 != 0) lines << QStringLiteral("AND (Wortart=%1)").arg(o.ComboBox1);

    QStringList levels;
    for (int k = 0; k < 5; ++k)
        if (difficulty[k]) levels << QStringLiteral("(Schwierigkeit=%1)").arg(k + 1);
    lines << QStringLiteral("AND (") + levels.join(QStringLiteral(" OR ")) + QLatin1Char(')');

    QString extra;
    // Only words that were asked and answered wrongly the last time: a word
    // never asked was not answered wrongly.
    if (o.CheckBox1) extra += QStringLiteral("AND (Letzte_gewusst=FALSE) AND (Anzahl_Abfragen>0) ");
    if (o.cbgenus) extra += QStringLiteral("AND (Genus<>\"\") ");
    if (o.cbgeni) extra += QStringLiteral("AND (Genitiv<>\"\") ");
    if (o.cbsf)
        extra +=
            QStringLiteral("AND ((PraeFut<>\"\")OR(PerAor<>\"\")OR(Perfekt<>\"\")OR"
                           "(Perfekt_Passiv<>\"\")OR(Aorist_Passiv<>\"\")OR(Futur_Passiv<>\"\"))");
    if (!extra.isEmpty()) lines << extra.trimmed();

    // The band of right answers in whole numbers, without division: a word
    // asked n times with w wrong answers has 100·(n − w)/n percent, a word
    // never asked (empty counters included) 0 percent. The lower end is
    // exact; the upper end takes one percent more, so that "bis 33 %" holds
    // a word known once in three times (33.3 %).
    const int lower = qBound(0, o.SelStart, TSelectionOptionsRec::MaxPercent);
    const int upper = qBound(0, o.SelEnd, TSelectionOptionsRec::MaxPercent) + 1;
    if (lower > 0)
        lines << QStringLiteral("AND (%1>0) AND ((%1-%2)*100>=%1*%3)").arg(Asked, Wrong).arg(lower);
    lines << QStringLiteral("AND ((%1-%2)*100<=%1*%3)").arg(Asked, Wrong).arg(upper);

    lines << QStringLiteral("AND (Uebersetzung <> \"\") AND (Fremdwort <> \"\")");
    return lines;
}

QStringList QuizSelectionSql(const QString& tablePath, const QuizSelection& selection) {
    const QStringList conditions = QuizSelectionConditions(selection);
    if (conditions.isEmpty()) return {};
    return QStringList{tableLine(tablePath)} + conditions;
}

// --- reading a word -------------------------------------------------------------------------

QuizWord QuizWordFromQuery(const engine::Query& q) {
    QuizWord w;
    w.ID = q.currentId();
    w.Lektion = q.asString(QStringLiteral("Lektion"));
    w.Fremdwort = q.asString(QStringLiteral("Fremdwort"));
    w.Uebersetzung = q.asString(QStringLiteral("Uebersetzung"));
    for (int k = 0; k < 6; ++k)
        w.Forms[k] = q.asString(QuizFormFieldNames()[k]);
    w.Genitiv = q.asString(QStringLiteral("Genitiv"));
    w.Genus = q.asString(QStringLiteral("Genus"));
    w.Wortart = q.asInteger(QStringLiteral("Wortart"));
    w.Extra = q.asString(QStringLiteral("Extra"));
    w.Schwierigkeit = q.asInteger(QStringLiteral("Schwierigkeit"));
    w.Anzahl_Abfragen = q.asInteger(QStringLiteral("Anzahl_Abfragen"));
    w.Falsche_Antworten = q.asInteger(QStringLiteral("Falsche_Antworten"));
    w.Versuche = q.asInteger(QStringLiteral("Versuche"));
    w.Letzte_gewusst = q.asBoolean(QStringLiteral("Letzte_gewusst"));
    w.Abgefragt = q.asBoolean(QStringLiteral("Abgefragt"));
    return w;
}

// --- the table store ------------------------------------------------------------------------

TableQuizStore::TableQuizStore(const QString& tablePath)
    : tablePath_(tablePath), Query(std::make_unique<engine::Query>()),
      mQuery(std::make_unique<engine::Query>()) {}

TableQuizStore::~TableQuizStore() {
    close();
}

void TableQuizStore::close() {
    Query->close();
    mQuery->close();
}

QList<qint64> TableQuizStore::selectWords(const QuizSelection& selection) {
    Query->close();
    const QStringList sql = QuizSelectionSql(tablePath_, selection);
    if (sql.isEmpty()) return {};
    Query->setRequestLive(true);
    Query->setSql(sql);
    Query->open();
    QList<qint64> ids;
    ids.reserve(Query->recordCount());
    for (int row = 0; row < Query->recordCount(); ++row)
        ids.append(Query->idAt(row));
    return ids;
}

void TableQuizStore::resetQuizState(const QList<qint64>& ids, const Progress& progress) {
    updateWords(tablePath_, ids,
                QStringLiteral("SET Abgefragt = FALSE, Versuche = 0, Anzahl_Abfragen = %1, "
                               "Falsche_Antworten = %2")
                    .arg(Asked, Wrong),
                QString(), progress);
}

void TableQuizStore::fillEmptyCounters(const QList<qint64>& ids) {
    updateWords(tablePath_, ids,
                QStringLiteral("SET Anzahl_Abfragen = %1, Falsche_Antworten = %2, "
                               "Versuche = COALESCE(Versuche,0)")
                    .arg(Asked, Wrong),
                QStringLiteral(" AND ((Anzahl_Abfragen IS NULL) OR (Falsche_Antworten IS NULL) "
                               "OR (Versuche IS NULL))"),
                {});
}

bool TableQuizStore::locate(qint64 id) {
    if (Query->isActive() && Query->locate(id)) return true;
    // The word is not in the selection the query holds (a store used
    // without a selection): open it on its own.
    Query->setRequestLive(true);
    Query->setSql({tableLine(tablePath_), QStringLiteral("WHERE ID = %1").arg(id)});
    Query->open();
    return Query->locate(id);
}

std::optional<QuizWord> TableQuizStore::readWord(qint64 id) {
    if (!locate(id)) return std::nullopt;
    return QuizWordFromQuery(*Query);
}

void TableQuizStore::writeWord(const QuizWord& word) {
    if (!locate(word.ID)) return;
    const QuizWord stored = QuizWordFromQuery(*Query);
    auto set = [this](const char* field, const QVariant& value) {
        Query->setValue(QLatin1String(field), value);
    };
    if (word.Fremdwort != stored.Fremdwort) set("Fremdwort", word.Fremdwort);
    if (word.Uebersetzung != stored.Uebersetzung) set("Uebersetzung", word.Uebersetzung);
    for (int k = 0; k < 6; ++k)
        if (word.Forms[k] != stored.Forms[k])
            Query->setValue(QuizFormFieldNames()[k], word.Forms[k]);
    if (word.Genitiv != stored.Genitiv) set("Genitiv", word.Genitiv);
    if (word.Genus != stored.Genus) set("Genus", word.Genus);
    if (word.Wortart != stored.Wortart) set("Wortart", word.Wortart);
    if (word.Extra != stored.Extra) set("Extra", word.Extra);
    if (word.Schwierigkeit != stored.Schwierigkeit) set("Schwierigkeit", word.Schwierigkeit);
    if (word.Anzahl_Abfragen != stored.Anzahl_Abfragen)
        set("Anzahl_Abfragen", word.Anzahl_Abfragen);
    if (word.Falsche_Antworten != stored.Falsche_Antworten)
        set("Falsche_Antworten", word.Falsche_Antworten);
    if (word.Versuche != stored.Versuche) set("Versuche", word.Versuche);
    if (word.Letzte_gewusst != stored.Letzte_gewusst) set("Letzte_gewusst", word.Letzte_gewusst);
    if (word.Abgefragt != stored.Abgefragt) set("Abgefragt", word.Abgefragt);
    if (Query->state() == engine::Query::State::Edit) Query->post();
}

void TableQuizStore::ensureDifficultLessonListed() {
    if (LessonExists(baumlist, DifficultWordsLessonCode)) return;
    baumlist.add(DifficultWordsLessonCode + DifficultWordsLessonTitle);
    SaveLessonList(baumlist);
    if (lessonListChanged) lessonListChanged();
}

bool TableQuizStore::copyToDifficultLesson(const QuizWord& word) {
    ensureDifficultLessonListed();
    // Found and inserted with bound values, so any character of the word
    // (a double quote too) is compared and copied as it is.
    mQuery->setRequestLive(true);
    mQuery->setSql(
        {tableLine(tablePath_),
         QStringLiteral("WHERE Fremdwort=") + engine::quoteLiteral(word.Fremdwort),
         QStringLiteral("AND Uebersetzung=") + engine::quoteLiteral(word.Uebersetzung),
         QStringLiteral("AND Lektion=") + engine::quoteLiteral(DifficultWordsLessonCode)});
    mQuery->open();
    const bool present = !mQuery->isEmpty();
    if (!present) {
        QVariantList values{QVariant(), DifficultWordsLessonCode, word.Fremdwort,
                            word.Uebersetzung};
        for (const QString& form : word.Forms)
            values << form;
        values << word.Genitiv << word.Genus << word.Wortart << word.Extra << word.Schwierigkeit
               << word.Anzahl_Abfragen << word.Falsche_Antworten << word.Versuche
               << word.Letzte_gewusst << word.Abgefragt;
        mQuery->insertRecord(values);
    }
    mQuery->close();
    return !present;
}
