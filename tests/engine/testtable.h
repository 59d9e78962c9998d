#pragma once
// The vocabulary table as the program creates it, and words to fill it with.
#include "engine/query.h"

#include <QStringList>
#include <QVariantList>

namespace testtable {

inline QStringList createStatement(const QString& path) {
    return {QStringLiteral("CREATE TABLE \"%1\"").arg(path),
            "(ID AUTOINC,",
            "Lektion CHAR(5),",
            "Fremdwort CHAR(100),",
            "Uebersetzung CHAR(150),",
            "PraeFut CHAR(40),",
            "PerAor CHAR(40),",
            "Perfekt CHAR(40),",
            "Perfekt_passiv CHAR(40),",
            "Aorist_passiv CHAR(40),",
            "Futur_passiv CHAR(40),",
            "Genitiv CHAR(150),",
            "Genus CHAR(5),",
            "Wortart SMALLINT,",
            "Extra CHAR(100),",
            "Schwierigkeit SMALLINT,",
            "Anzahl_Abfragen SMALLINT,",
            "Falsche_Antworten SMALLINT,",
            "Versuche SMALLINT,",
            "Letzte_gewusst BOOLEAN,",
            "Abgefragt BOOLEAN,",
            "PRIMARY KEY(ID))"};
}

inline void create(const QString& path) {
    engine::Query query;
    query.setSql(createStatement(path));
    query.execSql();
}

// All 20 fields in table order; the key is left to the table.
inline QVariantList word(const QString& lesson, const QString& foreign,
                         const QString& translation = QString(), int asked = 0, int wrong = 0,
                         bool known = false) {
    return {QVariant(), lesson, foreign, translation, "", "",    "",    "", "",    "",
            "",         "",     14,      "",          3,  asked, wrong, 0,  known, false};
}

inline QString select(const QString& path, const QString& rest = QString()) {
    return QStringLiteral("SELECT * FROM %1 %2").arg(engine::quoteLiteral(path), rest);
}

// Runs a SELECT and returns the value of one field of every row.
inline QVariantList column(const QString& sql, const QString& field) {
    engine::Query query;
    query.setSql({sql});
    query.open();
    QVariantList values;
    for (query.first(); !query.eof(); query.next())
        values.append(query.value(field));
    return values;
}

inline int exec(const QString& sql) {
    engine::Query query;
    query.setSql({sql});
    return query.execSql();
}

} // namespace testtable
