#include "engine/rowappender.h"

#include "engine/connection.h"
#include "engine/query.h"
#include "engine/statement.h"

namespace engine {

using detail::Column;

RowAppender::RowAppender(const QString& tablePath) : connection_(detail::acquire(tablePath)) {
    QStringList names;
    QStringList marks;
    for (const Column& column : connection_->schema().columns) {
        names << column.name;
        marks << QStringLiteral("?");
    }
    insertSql_ = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                     .arg(QLatin1String(detail::tableName), names.join(QLatin1String(", ")),
                          marks.join(QLatin1String(", ")));
    insert_ = std::make_unique<detail::Statement>(*connection_, insertSql_);
    level_ = connection_->begin();
}

RowAppender::~RowAppender() {
    insert_.reset();
    if (done_ || !connection_->isOpen()) return;
    try {
        connection_->rollback(level_);
    } catch (const std::exception&) {
        // Closing the connection rolls back what is left.
    }
}

QStringList RowAppender::fieldNames() const {
    QStringList names;
    for (const Column& column : connection_->schema().columns)
        names << column.name;
    return names;
}

qint64 RowAppender::append(const QVariantList& values) {
    if (done_) throw EngineError(QStringLiteral("Die Transaktion ist schon abgeschlossen."));
    const auto& columns = connection_->schema().columns;
    detail::Statement& insert = *insert_;
    for (int c = 0; c < columns.size(); ++c) {
        const Column& column = columns[c];
        const QVariant value = c < values.size() ? values[c] : QVariant();
        if (column.kind == Column::Kind::Id) {
            insert.bind(c + 1, detail::toStored(column, value));
            continue;
        }
        const bool empty = !value.isValid() || value.isNull();
        insert.bind(c + 1, empty ? detail::defaultValue(column) : detail::toStored(column, value));
    }
    try {
        insert.run();
    } catch (...) {
        insert.finish();
        throw;
    }
    insert.finish();
    return connection_->lastInsertId();
}

void RowAppender::reserveKeysUpTo(qint64 key) {
    // The sequence row exists once a row was stored; before that it is made.
    detail::Statement update(*connection_,
                             QStringLiteral("UPDATE sqlite_sequence SET seq = ? WHERE name = ? "
                                            "AND seq < ?"));
    update.bind({key, QLatin1String(detail::tableName), key});
    update.run();
    detail::Statement exists(*connection_,
                             QStringLiteral("SELECT COUNT(*) FROM sqlite_sequence WHERE name = ?"));
    exists.bind(1, QLatin1String(detail::tableName));
    if (exists.step() && exists.int64(0) == 0) {
        exists.finish();
        detail::Statement insert(
            *connection_, QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES (?, ?)"));
        insert.bind({QLatin1String(detail::tableName), key});
        insert.run();
    }
}

void RowAppender::commit() {
    if (done_) return;
    insert_.reset();
    connection_->commit(level_);
    done_ = true;
}

} // namespace engine
