#include "engine/schemaguard.h"

#include "engine/schema.h"

#include <memory>
#include <sqlite3.h>

namespace engine::detail {

namespace {

QString textOf(sqlite3_stmt* statement, int column) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)));
}

bool isOwnObject(const QString& type, const QString& name, const QString& sql) {
    const QLatin1String table(tableName);
    if (type == QLatin1String("table"))
        return (name.compare(table, Qt::CaseInsensitive) == 0 &&
                sql.startsWith(QLatin1String("CREATE TABLE"), Qt::CaseInsensitive)) ||
               name == QLatin1String("sqlite_sequence");
    // The lesson index exactly as the program writes it: an index of another
    // shape may hold expressions, which run whenever a word is written.
    if (type == QLatin1String("index"))
        return sql.compare(lessonIndexStatement(QStringLiteral("Lektion")), Qt::CaseInsensitive) ==
               0;
    return false;
}

ForeignObject kindOf(const QString& type) {
    if (type == QLatin1String("trigger")) return ForeignObject::Trigger;
    if (type == QLatin1String("view")) return ForeignObject::View;
    if (type == QLatin1String("index")) return ForeignObject::Index;
    return ForeignObject::Table;
}

} // namespace

void guardConnection(sqlite3* db) {
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
}

int findForeignObject(sqlite3* db, ForeignObject* found) {
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v2(db, "SELECT type, name, sql FROM sqlite_master", -1, &raw, nullptr);
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(raw, sqlite3_finalize);
    if (rc != SQLITE_OK) return rc;
    ForeignObject first = ForeignObject::None;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        const QString type = textOf(raw, 0);
        if (first == ForeignObject::None && !isOwnObject(type, textOf(raw, 1), textOf(raw, 2)))
            first = kindOf(type);
    }
    if (rc != SQLITE_DONE) return rc;
    *found = first;
    return SQLITE_OK;
}

QString foreignObjectText(ForeignObject object) {
    switch (object) {
    case ForeignObject::Trigger:
        return QStringLiteral("einen Trigger");
    case ForeignObject::View:
        return QStringLiteral("eine Sicht");
    case ForeignObject::Index:
        return QStringLiteral("einen weiteren Index");
    case ForeignObject::Table:
        return QStringLiteral("eine weitere Tabelle");
    case ForeignObject::None:
        break;
    }
    return QString();
}

QString lessonIndexStatement(const QString& lessonField) {
    return QStringLiteral("CREATE INDEX %1_%2 ON %1 (%2)")
        .arg(QLatin1String(tableName), lessonField);
}

} // namespace engine::detail
