#include "engine/tablefacts.h"

#include "engine/connection.h"
#include "engine/query.h"
#include "engine/statement.h"

namespace engine {

namespace {

// Whether an index of the table starts with the column.
bool leadsAnIndex(detail::Connection& connection, const QString& column) {
    QStringList indexes;
    {
        detail::Statement list(connection,
                               QStringLiteral("SELECT name FROM sqlite_master "
                                              "WHERE type = 'index' AND tbl_name = ?1"));
        list.bind(1, QLatin1String(detail::tableName));
        while (list.step())
            indexes << list.value(0, detail::Column::Kind::Text).toString();
    }
    for (QString index : indexes) {
        index.replace(QLatin1Char('"'), QLatin1String("\"\""));
        detail::Statement info(connection, QStringLiteral("PRAGMA index_info(\"%1\")").arg(index));
        // Rows: position in the index, column number, column name.
        while (info.step())
            if (info.int64(0) == 0 && info.value(2, detail::Column::Kind::Text)
                                              .toString()
                                              .compare(column, Qt::CaseInsensitive) == 0)
                return true;
    }
    return false;
}

} // namespace

void openTable(const QString& tablePath) {
    detail::acquire(tablePath);
}

QStringList distinctValues(const QString& tablePath, const QString& field) {
    auto connection = detail::acquire(tablePath);
    const detail::Column* column = connection->schema().find(field);
    if (!column) throw EngineError(QStringLiteral("Feld %1 nicht gefunden.").arg(field));
    const QString name = QLatin1Char('"') + column->name + QLatin1Char('"');
    const QString table = QLatin1String(detail::tableName);
    QStringList values;
    if (!leadsAnIndex(*connection, column->name)) {
        detail::Statement all(
            *connection, QStringLiteral("SELECT DISTINCT %1 FROM %2 ORDER BY 1").arg(name, table));
        while (all.step())
            values << all.value(0, detail::Column::Kind::Text).toString();
        return values;
    }
    // Along the index from one value to the next: a seek per value, however
    // many rows share it.
    detail::Statement smallest(*connection,
                               QStringLiteral("SELECT MIN(%1) FROM %2").arg(name, table));
    if (!smallest.step()) return values;
    QVariant value = smallest.value(0, detail::Column::Kind::Text);
    detail::Statement next(*connection,
                           QStringLiteral("SELECT MIN(%1) FROM %2 WHERE %1 > ?1").arg(name, table));
    while (value.isValid()) {
        values << value.toString();
        next.finish();
        next.bind(1, values.last());
        value = next.step() ? next.value(0, detail::Column::Kind::Text) : QVariant();
    }
    return values;
}

qint32 tableStamp(const QString& tablePath) {
    auto connection = detail::acquire(tablePath);
    detail::Statement statement(*connection, QStringLiteral("PRAGMA user_version"));
    return statement.step() ? qint32(statement.int64(0)) : 0;
}

void setTableStamp(const QString& tablePath, qint32 stamp) {
    detail::acquire(tablePath)->execute(QStringLiteral("PRAGMA user_version = %1").arg(stamp));
}

} // namespace engine
