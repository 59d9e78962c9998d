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

namespace {

// The field's name as the file spells it.
QString columnName(detail::Connection& connection, const QString& field) {
    const detail::Column* column = connection.schema().find(field);
    if (!column) throw EngineError(QStringLiteral("Feld %1 nicht gefunden.").arg(field));
    return column->name;
}

QString quoted(const QString& name) {
    return QLatin1Char('"') + name + QLatin1Char('"');
}

// The rewrite is in force for the statements run while the object lives.
class RewriteInForce {
  public:
    RewriteInForce(detail::Connection& connection, const ValueRewrite& rewrite)
        : connection_(connection) {
        connection_.setValueRewrite(&rewrite);
    }
    ~RewriteInForce() { connection_.setValueRewrite(nullptr); }
    RewriteInForce(const RewriteInForce&) = delete;
    RewriteInForce& operator=(const RewriteInForce&) = delete;

  private:
    detail::Connection& connection_;
};

// Runs a statement on the rows the rewrite changes, with the rewrite in force
// (%1 in the statement is the field, %2 the table).
template <typename Run>
int overRewrittenRows(const QString& tablePath, const QString& field, const ValueRewrite& rewrite,
                      const char* sql, Run run) {
    auto connection = detail::acquire(tablePath);
    const RewriteInForce inForce(*connection, rewrite);
    detail::Statement statement(*connection,
                                QString::fromLatin1(sql).arg(quoted(columnName(*connection, field)),
                                                             QLatin1String(detail::tableName)));
    return run(statement);
}

} // namespace

QStringList distinctValues(const QString& tablePath, const QString& field, bool* allText) {
    auto connection = detail::acquire(tablePath);
    const QString column = columnName(*connection, field);
    const QString name = quoted(column);
    const QString table = QLatin1String(detail::tableName);
    QStringList values;
    bool textOnly = true;
    const auto take = [&](const detail::StoredValue& value) {
        bool asText = false;
        values << value.text(&asText);
        textOnly = textOnly && asText;
    };
    if (!leadsAnIndex(*connection, column)) {
        detail::Statement all(
            *connection, QStringLiteral("SELECT DISTINCT %1 FROM %2 ORDER BY 1").arg(name, table));
        while (all.step()) {
            const detail::StoredValue value = all.stored(0);
            if (value.isNull())
                textOnly = false;
            else
                take(value);
        }
        if (allText) *allText = textOnly;
        return values;
    }
    // Along the index from one value to the next: a seek per value, however
    // many rows share it. Each seek starts from the value as the file holds
    // it: read as text and bound as such, a BLOB (which sorts after all text)
    // would be found again and again.
    detail::Statement smallest(*connection,
                               QStringLiteral("SELECT MIN(%1) FROM %2").arg(name, table));
    detail::StoredValue value = smallest.step() ? smallest.stored(0) : detail::StoredValue();
    detail::Statement next(*connection,
                           QStringLiteral("SELECT MIN(%1) FROM %2 WHERE %1 > ?1").arg(name, table));
    while (!value.isNull()) {
        take(value);
        next.finish();
        next.bind(1, value);
        value = next.step() ? next.stored(0) : detail::StoredValue();
    }
    if (allText) {
        detail::Statement empty(
            *connection,
            QStringLiteral("SELECT 1 FROM %2 WHERE %1 IS NULL LIMIT 1").arg(name, table));
        *allText = textOnly && !empty.step();
    }
    return values;
}

int rewriteValues(const QString& tablePath, const QString& field, const ValueRewrite& rewrite) {
    return overRewrittenRows(tablePath, field, rewrite,
                             "UPDATE %2 SET %1 = rewritten_value(%1) WHERE rewritten_value(%1) "
                             "IS NOT NULL",
                             [](detail::Statement& update) { return update.run(); });
}

int countRewrites(const QString& tablePath, const QString& field, const ValueRewrite& rewrite) {
    return overRewrittenRows(
        tablePath, field, rewrite, "SELECT COUNT(*) FROM %2 WHERE rewritten_value(%1) IS NOT NULL",
        [](detail::Statement& count) { return count.step() ? int(count.int64(0)) : 0; });
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
