#include "engine/tablefacts.h"

#include "engine/connection.h"
#include "engine/query.h"
#include "engine/statement.h"

namespace engine {

QStringList distinctValues(const QString& tablePath, const QString& field) {
    auto connection = detail::acquire(tablePath);
    const detail::Column* column = connection->schema().find(field);
    if (!column)
        throw EngineError(QStringLiteral("Feld %1 nicht gefunden.").arg(field));
    detail::Statement statement(*connection,
                                QStringLiteral("SELECT DISTINCT \"%1\" FROM %2 ORDER BY 1")
                                    .arg(column->name, QLatin1String(detail::tableName)));
    QStringList values;
    while (statement.step())
        values << statement.value(0, detail::Column::Kind::Text).toString();
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
