#include "database/vocabularytable.h"

#include "database/currentdatabase.h"
#include "engine/query.h"
#include "platform/messagebox.h"

const QStringList& VokabelFieldNames() {
    static const QStringList names{"ID",
                                   "Lektion",
                                   "Fremdwort",
                                   "Uebersetzung",
                                   "PraeFut",
                                   "PerAor",
                                   "Perfekt",
                                   "Perfekt_passiv",
                                   "Aorist_passiv",
                                   "Futur_passiv",
                                   "Genitiv",
                                   "Genus",
                                   "Wortart",
                                   "Extra",
                                   "Schwierigkeit",
                                   "Anzahl_Abfragen",
                                   "Falsche_Antworten",
                                   "Versuche",
                                   "Letzte_gewusst",
                                   "Abgefragt"};
    return names;
}

const QStringList& WordClassNames() {
    static const QStringList names{QStringLiteral("Verb"),
                                   QStringLiteral("Substantiv"),
                                   QStringLiteral("Adjektiv"),
                                   QStringLiteral("Präposition (Verhältniswort)"),
                                   QStringLiteral("Konjunktion (Bindewort)"),
                                   QStringLiteral("Pronomen (Fürwort)"),
                                   QStringLiteral("Fragewort"),
                                   QStringLiteral("Numerale (Zählwort)"),
                                   QStringLiteral("Adverb (Umstandswort)"),
                                   QStringLiteral("Artikel"),
                                   QStringLiteral("Interjektion (Ausrufewort)"),
                                   QStringLiteral("Akklamation (Zustimmungswort)"),
                                   QStringLiteral("Ausdruck"),
                                   QStringLiteral("Sonstiges")};
    return names;
}

const QStringList& DifficultyNames() {
    static const QStringList names{QStringLiteral("Sehr leicht"), QStringLiteral("Leicht"),
                                   QStringLiteral("Normal"), QStringLiteral("Schwierig"),
                                   QStringLiteral("Sehr schwierig")};
    return names;
}

int WordClassItem(int code) {
    return code >= WordClassMin && code <= WordClassMax ? code - 1 : -1;
}

int DifficultyItem(int code) {
    return code >= DifficultyMin && code <= DifficultyMax ? code - 1 : -1;
}

QString ShortPath(const QString& path) {
    return path;
}

QStringList CreateVocabularyTableSql(const QString& path) {
    return {QStringLiteral("CREATE TABLE ") + engine::quoteLiteral(path),
            QStringLiteral("(ID AUTOINC,"),
            QStringLiteral("Lektion CHAR(5),"),
            QStringLiteral("Fremdwort CHAR(100),"),
            QStringLiteral("Uebersetzung CHAR(150),"),
            QStringLiteral("PraeFut CHAR(40),"),
            QStringLiteral("PerAor CHAR(40),"),
            QStringLiteral("Perfekt CHAR(40),"),
            QStringLiteral("Perfekt_passiv CHAR(40),"),
            QStringLiteral("Aorist_passiv CHAR(40),"),
            QStringLiteral("Futur_passiv CHAR(40),"),
            QStringLiteral("Genitiv CHAR(150),"),
            QStringLiteral("Genus CHAR(5),"),
            QStringLiteral("Wortart SMALLINT,"),
            QStringLiteral("Extra CHAR(100),"),
            QStringLiteral("Schwierigkeit SMALLINT,"),
            QStringLiteral("Anzahl_Abfragen SMALLINT,"),
            QStringLiteral("Falsche_Antworten SMALLINT,"),
            QStringLiteral("Versuche SMALLINT,"),
            QStringLiteral("Letzte_gewusst BOOLEAN,"),
            QStringLiteral("Abgefragt BOOLEAN,"),
            QStringLiteral("PRIMARY KEY(ID))")};
}

void CreateVocabularyTable(engine::Query& Query, const QString& path) {
    Query.close();
    Query.setRequestLive(true);
    Query.clearSql();
    for (const QString& line : CreateVocabularyTableSql(path))
        Query.addSql(line);
    Query.execSql();
}

void ReopenLessonQuery(engine::Query& Query) {
    Query.close();
    Query.clearSql();
    Query.addSql(QStringLiteral("SELECT * FROM ") +
                 engine::quoteLiteral(ShortPath(CurrentTablePath)));
    Query.addSql(QStringLiteral("WHERE Lektion = ") + engine::quoteLiteral(CurrentLessonCode));
    Query.open();
}

bool CheckRecordComplete(const QString& fremdwort, const QString& uebersetzung,
                         engine::Query& Query) {
    const bool noForeign = fremdwort.isEmpty();
    const bool noTranslation = uebersetzung.isEmpty();
    if (noForeign && noTranslation) {
        // The only word of a lesson stays, even empty: a lesson never runs dry.
        if (!Query.isActive() || Query.recordCount() < 2) return true;
        if (Query.state() == engine::Query::State::Insert) {
            // Never stored: dropping the buffer is the deletion.
            Query.cancel();
        } else {
            if (Query.state() == engine::Query::State::Edit) Query.cancel();
            Query.deleteRecord();
        }
        return true;
    }
    if (!noForeign && !noTranslation) return true;
    platform::showMessage(QStringLiteral("Bitte zuerst Datensatz vervollständigen"),
                          QStringLiteral("Hinweis"), platform::Icon::Information);
    return false;
}

WordTypeAndDifficulty ShowWordTypeAndDifficulty(const engine::Query& Query) {
    WordTypeAndDifficulty result;
    if (!Query.isActive()) return result;
    result.active = true;
    if (Query.isEmpty()) return result;
    result.wortartItem = WordClassItem(Query.asInteger(QStringLiteral("Wortart")));
    result.schwierigkeitItem = DifficultyItem(Query.asInteger(QStringLiteral("Schwierigkeit")));
    return result;
}

QList<std::pair<QString, QVariant>> NewRecordValues(const QString& lessonCode) {
    return {{QStringLiteral("Wortart"), NewRecordWortart},
            {QStringLiteral("Schwierigkeit"), NewRecordSchwierigkeit},
            {QStringLiteral("Lektion"), lessonCode},
            {QStringLiteral("Anzahl_Abfragen"), 0},
            {QStringLiteral("Falsche_Antworten"), 0},
            {QStringLiteral("Letzte_gewusst"), false},
            {QStringLiteral("Abgefragt"), false},
            {QStringLiteral("Versuche"), 0}};
}

void WriteNewRecordValues(engine::Query& Query, const QString& lessonCode) {
    for (const auto& [field, value] : NewRecordValues(lessonCode))
        Query.setValue(field, value);
}

void InsertNewWordRecord(engine::Query& Query, const QString& lessonCode) {
    Query.insert();
    WriteNewRecordValues(Query, lessonCode);
    Query.post();
}
